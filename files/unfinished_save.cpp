// Asking about and telling the user's saves that did not finish, at each
// open of their files and once at start-up.
#include "files/unfinished_save.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <set>

#include "files/load_messages.h"
#include "files/save_words.h"
#include "platform/disk/save_contents.h"
#include "platform/platform.h"
#include "platform/window_ports.h"

namespace lintora {

namespace {

// How long an open waits for a save running on another computer before it
// asks: a save there takes a moment, a record left by a computer that went
// down stays for good.
constexpr auto kElsewhereWait = std::chrono::seconds(5);

std::string NameOf(const std::string& path) { return std::filesystem::path(path).filename().string(); }

std::string Listed(const std::vector<std::string>& items) {
    std::string where;
    for (std::size_t k = 0; k < items.size(); ++k)
        where += (k == 0 ? "" : k + 1 == items.size() ? " and " : ", ") + items[k];
    return where;
}

std::string Joined(const std::vector<std::string>& lines, const char* between) {
    std::string text;
    for (const std::string& line : lines) text += (text.empty() ? "" : between) + line;
    return text;
}

std::string MissingText(const SaveRecord& record) {
    return "A save of " + NameOf(record.file) + " did not finish, and its earlier contents, kept in " + record.copy +
           ", are no longer there.";
}

std::string OutOfReachText(const SaveRecord& record) {
    return "A save of " + NameOf(record.file) + " did not finish. Its earlier contents are kept in " + record.copy +
           ", but that copy cannot be reached now (a drive that is not plugged in, or a network folder not "
           "connected). Nothing was removed: they will be offered again once the copy can be reached.";
}

std::string BeganText(const SaveRecord& record) {
    const std::time_t began = record.began;
    std::tm local {};
    char when[64] = "";
    if (record.began > 0 && ::localtime_r(&began, &local))
        std::strftime(when, sizeof when, "%H:%M on %-d %B %Y", &local);
    return *when ? ", where that save began at " + std::string(when) : "";
}

std::string DamagedText(const DamagedRecord& record) {
    std::string names;
    if (!record.file.empty()) names += " It names the file " + record.file;
    if (!record.copy.empty()) names += (names.empty() ? " It names the copy " : " and the copy ") + record.copy;
    return "The record of a save " + record.path +
           " cannot be read (a full disk may have cut it short, or it was changed by hand), so it was passed over." +
           names + (names.empty() ? "" : ".") + " You may delete it once you have checked the files you saved last.";
}

// The damaged records named while the program runs: each once, by the start-up box or at an open.
std::set<std::string>& ToldDamaged() {
    static std::set<std::string> told;
    return told;
}

// True for a stopped save the user is asked about: its copy can be read
// and the file holds neither the whole new work nor its earlier contents.
bool Asked(const RecordedSave& save) {
    return save.end == SaveEnd::PartOfNew || save.end == SaveEnd::TornPartOfNew ||
           save.end == SaveEnd::NothingOfNew || save.end == SaveEnd::Changed;
}

// What the file of a stopped save holds now, in the user's words.
std::string HoldsText(const RecordedSave& save) {
    const std::string name = NameOf(save.record.file);
    // Where no lock could be had, another save changed the file as this one ran.
    if (save.record.overtaken)
        return "A save of " + name + " did not finish, and another save changed the file while it ran: " + name +
               " may hold that other save's work.";
    switch (save.end) {
        case SaveEnd::PartOfNew:
            return "A save of " + name + " did not finish: the file holds the beginning of the new work.";
        case SaveEnd::TornPartOfNew:
            return "A save of " + name +
                   " did not finish: the file holds the beginning of the new work, as far as can be checked.";
        case SaveEnd::NothingOfNew:
            return "A save of " + name + " did not finish: the file holds nothing of the new work" +
                   (save.blank ? " (it is empty, or holds only zeros)." : ", or less than can be checked.");
        default:
            return "A save of " + name + " did not finish, and the file was changed after it stopped: it holds "
                                        "something else than the new work.";
    }
}

// The question, with No the default where the file may hold work of the
// user's that a put-back would undo.
MsgResult AskPutBack(const RecordedSave& save) {
    const bool changed = save.record.overtaken || save.end == SaveEnd::Changed ||
                         (save.end == SaveEnd::NothingOfNew && !save.blank);
    return MsgBox(HoldsText(save) + " Put back its earlier contents, kept in " + save.record.copy +
                      (changed ? ", over what it holds now?" : "?"),
                  changed ? MsgButtons::YesNoDefaultNo : MsgButtons::YesNo, MsgIcon::Exclamation);
}

enum class PutBack {
    Done,          // the file holds its earlier contents again
    DoneCopyKept,  // so, and the copy stays the user's (open in the program, or told of before)
    Kept,          // No: the file keeps what it holds, the copy is the user's
    Failed,        // told why; the copy and its record stay
    Later,         // no answer: asked again at the next open
};

// Asks about a stopped save and does as answered; open: the file open in the program.
PutBack OfferPutBack(SystemCalls& sys, const RecordedSave& save, const std::string& open) {
    const std::string name = NameOf(save.record.file), copy = save.record.copy;
    const MsgResult answer = AskPutBack(save);
    if (answer == MsgResult::No) {
        DropRecord(sys, save);
        return PutBack::Kept;
    }
    if (answer != MsgResult::Yes) return PutBack::Later;
    std::string earlier;
    // Compared whole with what was recorded before a byte of it is written.
    if (ReadEarlierCopy(sys, save.record, earlier) != 0) {
        ShowProblem("The earlier contents of " + name + " could not be put back: " + copy +
                    " cannot be read as the copy that was kept. It stays where it is.");
        return PutBack::Failed;
    }
    const SaveResult result = SaveContents(save.record.file, earlier, sys);
    if (!result.saved()) {
        ShowProblem("The earlier contents of " + name + " could not be put back.\n" +
                    NotSavedText(save.record.file, result) + "\nThey are still kept in " + copy + ".");
        return PutBack::Failed;
    }
    return RemoveCopyAndRecord(sys, save, open) ? PutBack::Done : PutBack::DoneCopyKept;
}

std::string PutBackText(const SaveRecord& record) {
    return NameOf(record.file) + ": its earlier contents were put back from " + record.copy + ".";
}

// of: "this file" under the buttons, the file's name in a box.
std::string KeptText(const std::vector<std::string>& copies, const std::string& of) {
    return "The earlier contents of " + of + ", from a save that did not finish, are in " + Listed(copies) +
           ", yours to keep or delete.";
}

}  // namespace

UnfinishedSave::UnfinishedSave(SystemCalls& sys, const FoundFile& found, bool fileFree, bool atStart)
    : sys_(sys), found_(found), name_(found.name) {
    std::vector<DamagedRecord> damaged;
    saves_ = UnfinishedSaves(sys_, found_, atStart ? nullptr : &damaged);
    for (const DamagedRecord& record : damaged)
        if (ToldDamaged().insert(record.path).second) ShowProblem(DamagedText(record));
    // The file's lock decides: a saver that runs while nobody holds the file
    // writes another file now (one this name no longer reaches), and its
    // record is left to it; one that could take no lock says nothing so.
    if (fileFree)
        std::erase_if(saves_, [](const RecordedSave& s) { return s.end == SaveEnd::Running && s.record.locked; });
}

void UnfinishedSave::Settle(const std::string& open) {
    open_ = open;
    SettleSaves(sys_, saves_, open_);
}

bool UnfinishedSave::Running() const {
    return std::any_of(saves_.begin(), saves_.end(), [](const RecordedSave& s) { return s.end == SaveEnd::Running; });
}

void UnfinishedSave::TellRunning() const { TellSaveRunning(name_); }

void TellSaveRunning(const std::string& name) {
    ShowProblem(name + " is being saved by another copy of the program. Open it again when that save has finished.");
}

bool UnfinishedSave::OpenWhileSavedElsewhere() {
    auto elsewhere = [&] {
        return std::find_if(saves_.begin(), saves_.end(),
                            [](const RecordedSave& s) { return s.end == SaveEnd::RunningElsewhere; });
    };
    const auto until = sys_.Now() + kElsewhereWait;
    while (elsewhere() != saves_.end() && sys_.Now() < until) {
        sys_.Sleep(std::chrono::milliseconds(200));
        saves_ = UnfinishedSaves(sys_, found_);
    }
    bool open = true;
    for (auto save = elsewhere(); save != saves_.end(); save = elsewhere()) {
        const MsgResult answer =
            MsgBox(name_ + " is being saved on the computer " + save->record.host + BeganText(save->record) +
                       ", or that save stopped there. Open it all the same? Until that save has finished, the file "
                       "may hold only part of its work.",
                   MsgButtons::YesNo, MsgIcon::Exclamation);
        if (answer != MsgResult::Yes) {
            open = false;
            break;
        }
        // Its saver may still be writing: nothing of it is deleted. Asked once, its record ends; its copy,
        // where it is there, is the user's.
        std::string earlier;
        if (ReadEarlierCopy(sys_, save->record, earlier) == 0) kept_.push_back(save->record.copy);
        DropRecord(sys_, *save);
        saves_.erase(save);
    }
    return open;
}

void UnfinishedSave::AskAboutStoppedSaves() {
    std::erase_if(saves_, [&](const RecordedSave& save) {
        if (!Asked(save)) return false;
        switch (OfferPutBack(sys_, save, open_)) {
            case PutBack::DoneCopyKept: kept_.push_back(save.record.copy); [[fallthrough]];
            case PutBack::Done: putBack_.push_back(PutBackText(save.record)); break;
            case PutBack::Kept: kept_.push_back(save.record.copy); break;
            case PutBack::Failed: return false;  // told; the copy stays named
            case PutBack::Later: return false;
        }
        return true;
    });
}

void UnfinishedSave::NoteKeptCopies() const {
    if (!putBack_.empty()) MainWindow().SetStatusLabel(Joined(putBack_, " "));
    // The line under the buttons wraps, where the status line cuts a long path.
    std::vector<std::string> notes = putBack_;
    if (!kept_.empty()) notes.push_back(KeptText(kept_, "this file"));
    MainWindow().SetFileNote(Joined(notes, " "));
}

void UnfinishedSave::TellNotLoaded() const {
    std::vector<std::string> told = putBack_;
    if (!kept_.empty()) told.push_back(KeptText(kept_, name_));
    if (!told.empty()) ShowProblem(Joined(told, " "));
}

bool UnfinishedSave::TellStopped(bool whole) {
    bool told = false;
    for (const RecordedSave& save : saves_) {
        if (save.end == SaveEnd::CopyMissing) ShowProblem(MissingText(save.record));
        if (save.end == SaveEnd::OutOfReach) ShowProblem(OutOfReachText(save.record));
        told = told || save.end == SaveEnd::CopyMissing || save.end == SaveEnd::OutOfReach;
    }
    saves_.clear();
    // Whatever else is told, a file that is not the whole work says so.
    if (told && !whole) TellCutShort(name_);
    return told;
}

void UnfinishedSave::TellBlank(bool zeros) {
    std::vector<std::string> copies = kept_;
    for (const RecordedSave& save : saves_)
        if (Asked(save)) copies.push_back(save.record.copy);
    const bool told = TellStopped(true);
    // What was put back holds no text of its own.
    if (!putBack_.empty() || (!zeros && copies.empty())) {
        if (!told) TellEmptyFile();
        return TellNotLoaded();
    }
    // A save cleared the file and stopped before it wrote.
    const std::filesystem::path file(name_);
    const std::string where =
        !copies.empty() ? "Its earlier contents are kept in " + Listed(copies)
                        : "Its earlier contents may be kept in a copy beside it, \"" + file.stem().string() +
                              " (earlier contents)" + file.extension().string() +
                              "\", or in the folder ~/.local/state/Lintora of whoever saved it";
    ShowProblem(name_ + (zeros ? " holds only zeros" : " is empty") + ": a save of it stopped before it wrote. " +
                where + "; open that copy to go on from the work as it was before that save.");
}

namespace {

// The start-up box names this many at most, so that it fits the screen.
constexpr std::size_t kNamedAtStart = 10;

// The first a of asked and o of others as bullets: those an open asks about first, with that promise.
std::string Bulleted(const std::vector<std::string>& asked, std::size_t a, const std::vector<std::string>& others,
                     std::size_t o, bool more) {
    const auto bullets = [](const std::vector<std::string>& lines, std::size_t n) {
        return "• " + Joined({lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(n)}, "\n• ");
    };
    std::string text;
    const bool after = o > 0 || more;  // the promise is for those above it alone
    if (a > 0)
        text = bullets(asked, a) + "\n\n" +
               (a == 1 ? after ? "The one above is" : "It is" : after ? "Each of those above is" : "Each is") +
               " asked about when its file is opened.";
    if (o > 0) text += (text.empty() ? "" : "\n\n") + bullets(others, o);
    return text;
}

}  // namespace

void TellUnfinishedSaves(SystemCalls& sys, const std::string& open) {
    std::vector<DamagedRecord> damaged;
    // Scratch names long left go first; one whose record cannot be read is told with the rest.
    CleanOldScratchRecords(sys, &damaged);
    std::vector<RecordedSave> saves = UnfinishedSaves(sys, "", &damaged);
    SettleSaves(sys, saves, open);
    FoundFile opened;
    const bool isOpen = !open.empty() && FindFile(sys, open, opened).saved();
    // Another copy of the program's, here or on another computer, is told at its open.
    std::erase_if(saves, [&](const RecordedSave& save) {
        return save.end == SaveEnd::Running || save.end == SaveEnd::RunningElsewhere || save.end == SaveEnd::Done ||
               (isOpen && SaveOfFile(sys, save.record, opened));
    });
    // Those an open asks about, and those it cannot. Those out of reach or whose file is gone the user may forget:
    // their records end, no copy is deleted.
    std::vector<std::string> asked, others;
    std::vector<const RecordedSave*> forgettable;
    std::size_t away = 0;
    for (const RecordedSave& save : saves) {
        const SaveRecord& r = save.record;
        if (save.end == SaveEnd::CopyMissing) {
            others.push_back(r.file + ": its earlier contents, kept in " + r.copy + ", are no longer there.");
        } else if (save.end == SaveEnd::OutOfReach) {
            // Asked once both can be reached.
            asked.push_back(r.file + ": its earlier contents are kept in " + r.copy +
                            ", but the file or that copy cannot be reached now.");
            forgettable.push_back(&save);
            ++away;
        } else if (save.end == SaveEnd::FileGone) {
            others.push_back(r.file + ": the file is no longer there; its earlier contents are kept in " + r.copy +
                             ".");
            forgettable.push_back(&save);
        } else {
            asked.push_back(r.file + ": its earlier contents are kept in " + r.copy + ".");
        }
    }
    for (const DamagedRecord& record : damaged) {
        others.push_back(DamagedText(record));
        ToldDamaged().insert(record.path);
    }
    const std::size_t all = asked.size() + others.size();
    if (all == 0) return;
    const std::size_t a = std::min(asked.size(), kNamedAtStart), o = std::min(others.size(), kNamedAtStart - a);
    const bool more = all > a + o;
    std::string text = std::string(all == 1 ? "A save of yours" : "Saves of yours") + " did not finish:\n\n" +
                       Bulleted(asked, a, others, o, more);
    if (more) text += "\n\n" + std::to_string(all - a - o) + " more are listed under Show Details.";
    // Every one of them, where the box cannot hold them all.
    const std::string details = more ? Bulleted(asked, asked.size(), others, others.size(), false) : "";
    if (forgettable.empty()) return (void)MsgBox(text, MsgButtons::Ok, MsgIcon::Exclamation, "", details);
    const std::size_t gone = forgettable.size() - away;
    const std::string which = gone == 0   ? "that cannot be reached"
                              : away == 0 ? "whose file is no longer there"
                                          : "that cannot be reached or whose file is no longer there";
    // With the count of the rest in one paragraph, which stays in sight where the box's text must scroll.
    text += std::string((a > 0 && o == 0) || more ? " " : "\n\n") +
            (forgettable.size() == 1
                 ? "Forget the one " + which + "? Its record ends: it is told no more at each start, nor asked about "
                                               "when its file is opened; no copy is deleted."
                 : "Forget the " + std::to_string(forgettable.size()) + " " + which +
                       "? Their records end: they are told no more at each start, nor asked about when their files "
                       "are opened; no copy is deleted.");
    // A drive not plugged in is the usual cause: forgetting is never the default, nor a box closed unanswered.
    if (MsgBox(text, MsgButtons::YesNoDefaultNo, MsgIcon::Exclamation, "", details) != MsgResult::Yes) return;
    for (const RecordedSave* save : forgettable) DropRecord(sys, *save);
}

}  // namespace lintora
