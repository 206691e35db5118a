#include "files/unfinished_save.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <set>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>

#include "files/load_messages.h"
#include "files/save_words.h"
#include "platform/disk/save_contents.h"
#include "platform/platform.h"
#include "platform/window_ports.h"

namespace lintora {

namespace {

// How long an open waits for a save running on another computer before it
// offers the file all the same: a save there takes a moment, a record left
// by a computer that went down stays for good.
constexpr auto kElsewhereWait = std::chrono::seconds(2);

UnfinishedSavesFinder& Finder() {
    static UnfinishedSavesFinder finder;
    return finder;
}

std::vector<RecordedSave> Find(SystemCalls& sys, const std::string& path, std::vector<DamagedRecord>* damaged) {
    return Finder() ? Finder()(sys, path, damaged) : UnfinishedSaves(sys, path, damaged);
}

std::string NameOf(const std::string& path) { return std::filesystem::path(path).filename().string(); }

std::string Listed(const std::vector<std::string>& items) {
    std::string where;
    for (std::size_t k = 0; k < items.size(); ++k)
        where += (k == 0 ? "" : k + 1 == items.size() ? " and " : ", ") + items[k];
    return where;
}

// A save that stopped may have stopped with the program or with a full
// disk: neither is claimed.
std::string StoppedText(const std::string& name, const std::vector<std::string>& copies) {
    return "A save of " + name + " did not finish. Its earlier contents are kept in " + Listed(copies) + ".";
}

std::string PartOnlyText(const SaveRecord& record) {
    return NameOf(record.file) + " holds only part of its new work; its earlier contents are kept in " + record.copy +
           ".";
}

std::string MissingText(const SaveRecord& record) {
    return "A save of " + NameOf(record.file) + " did not finish, and its earlier contents, kept in " + record.copy +
           ", are no longer there.";
}

std::string OutOfReachText(const SaveRecord& record, bool fileReached) {
    return "A save of " + NameOf(record.file) + " did not finish. Its earlier contents are kept in " + record.copy +
           ", but " + (fileReached ? "that copy" : "the file or that copy") +
           " cannot be reached now (a drive that is not plugged in, or a network folder not connected). Nothing "
           "was removed: they will be offered again once " +
           (fileReached ? "the copy" : "both") + " can be reached.";
}

std::string BeganText(const SaveRecord& record) {
    const std::time_t began = record.began;
    std::tm local {};
    char when[64] = "";
    if (record.began > 0 && ::localtime_r(&began, &local)) std::strftime(when, sizeof when, "%H:%M on %-d %B %Y", &local);
    return *when ? ", where that save began at " + std::string(when) : "";
}

// Each damaged record is named once while the program runs.
void TellDamaged(const std::vector<DamagedRecord>& damaged) {
    static std::set<std::string> told;
    for (const DamagedRecord& record : damaged)
        if (told.insert(record.path).second)
            ShowProblem("The record of a save " + record.path +
                        " cannot be read (a full disk may have cut it short, or it was changed by hand), so it was "
                        "passed over. You may delete it once you have checked the files you saved last.");
}

enum class PutBack {
    Done,    // the file holds its earlier contents again
    Kept,    // No: the file keeps its part, the copy is the user's
    Failed,  // told why; the copy and its record stay
    Later,   // no answer: asked again at the next open
};

// Asks whether to put back the earlier contents of a file that holds only
// part of its new work, and does as answered.
PutBack OfferPutBack(SystemCalls& sys, const RecordedSave& save) {
    const std::string name = NameOf(save.record.file), copy = save.record.copy;
    const MsgResult answer = MsgBox("A save of " + name + " did not finish, and the file holds only part of the " +
                                        "new work. Put back its earlier contents, kept in " + copy + "?",
                                    MsgButtons::YesNo, MsgIcon::Exclamation);
    if (answer == MsgResult::No) {
        DropRecord(sys, save);
        return PutBack::Kept;
    }
    if (answer != MsgResult::Yes) return PutBack::Later;
    std::string earlier;
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
    RemoveCopyAndRecord(sys, save);
    return PutBack::Done;
}

std::string PutBackText(const SaveRecord& record) {
    return NameOf(record.file) + ": its earlier contents were put back from " + record.copy + ".";
}

}  // namespace

void FindUnfinishedSavesBy(UnfinishedSavesFinder finder) { Finder() = std::move(finder); }

UnfinishedSave::UnfinishedSave(const std::string& path, bool fileFree) : path_(path), name_(NameOf(path)) {
    std::vector<DamagedRecord> damaged;
    saves_ = Find(RealSystem(), path, &damaged);
    TellDamaged(damaged);
    // The file's lock decides: a saver that runs while nobody holds the file
    // writes another file now (one this name no longer reaches), and its
    // record is left to it.
    if (fileFree) std::erase_if(saves_, [](const RecordedSave& s) { return s.end == SaveEnd::Running; });
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
    const auto until = std::chrono::steady_clock::now() + kElsewhereWait;
    while (elsewhere() != saves_.end() && std::chrono::steady_clock::now() < until) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        saves_ = Find(RealSystem(), path_, nullptr);
    }
    const auto save = elsewhere();
    if (save == saves_.end()) return true;
    const MsgResult answer =
        MsgBox(name_ + " is being saved on the computer " + save->record.host + BeganText(save->record) +
                   ", or that save stopped there. Open it all the same? Until that save has finished, the file may "
                   "hold only part of its work.",
               MsgButtons::YesNo, MsgIcon::Exclamation);
    // Nothing of that save's is touched: it may still be running.
    std::erase_if(saves_, [](const RecordedSave& s) { return s.end == SaveEnd::RunningElsewhere; });
    return answer == MsgResult::Yes;
}

void UnfinishedSave::OfferEarlierContents() {
    std::erase_if(saves_, [&](const RecordedSave& save) {
        if (save.end != SaveEnd::PartOfNew) return false;
        switch (OfferPutBack(RealSystem(), save)) {
            case PutBack::Done: notes_.push_back(PutBackText(save.record)); return true;
            case PutBack::Kept: partOnly_.push_back(save.record); return true;
            // Told already; the file holds only part of its new work all the same.
            case PutBack::Failed: partOnly_.push_back(save.record); return true;
            case PutBack::Later: return false;
        }
        return false;
    });
}

bool UnfinishedSave::TellStopped(bool whole) { return Tell(whole ? Read::Whole : Read::Part); }

void UnfinishedSave::TellBlank(bool zeros) {
    if (!Tell(zeros ? Read::Zeros : Read::Empty)) TellEmptyFile();
}

bool UnfinishedSave::Tell(Read read) {
    for (const SaveRecord& record : partOnly_) notes_.push_back(PartOnlyText(record));
    // Named as the save named it, whichever of its names the file was opened by.
    if (!notes_.empty()) {
        std::string line;
        for (const std::string& note : notes_) line += (line.empty() ? "" : " ") + note;
        MainWindow().SetStatusLabel(line);
    }
    bool told = false;
    std::vector<std::string> copies;
    for (const SaveRecord& record : partOnly_) copies.push_back(record.copy);
    const std::size_t keptOverPart = copies.size();
    for (const RecordedSave& save : saves_) {
        if (save.end == SaveEnd::CopyMissing) {
            ShowProblem(MissingText(save.record));
            DropRecord(RealSystem(), save);
            told = true;
        } else if (save.end == SaveEnd::OutOfReach) {
            ShowProblem(OutOfReachText(save.record, true));
            told = true;
        } else {
            copies.push_back(save.record.copy);
        }
    }
    std::erase_if(saves_, [](const RecordedSave& s) { return s.end == SaveEnd::CopyMissing; });
    if (read == Read::Zeros || (read == Read::Empty && !copies.empty())) {
        // A save cleared the file and stopped before it wrote.
        const std::filesystem::path file(name_);
        const std::string where =
            !copies.empty() ? "Its earlier contents are kept in " + Listed(copies)
                            : "Its earlier contents may be kept in a copy beside it, \"" + file.stem().string() +
                                  " (earlier contents)" + file.extension().string() +
                                  "\", or in the folder ~/.local/state/Lintora of whoever saved it";
        ShowProblem(name_ + (read == Read::Zeros ? " holds only zeros" : " is empty") +
                    ": a save of it stopped before it wrote. " + where + "; open that copy, or save the work again.");
        return true;
    }
    copies.erase(copies.begin(), copies.begin() + static_cast<std::ptrdiff_t>(keptOverPart));
    if (!copies.empty()) {
        ShowProblem(StoppedText(NameOf(saves_.front().record.file), copies));
        told = true;
    }
    // Whatever else is told, a file that is not the whole work says so.
    if (told && read == Read::Part) TellCutShort(name_);
    // An empty file nothing above accounts for is told as such all the same.
    return told && read != Read::Empty;
}

void TellUnfinishedSaves(const std::string& opened) {
    SystemCalls& sys = RealSystem();
    std::vector<DamagedRecord> damaged;
    const std::vector<RecordedSave> saves = Find(sys, "", &damaged);
    TellDamaged(damaged);
    std::vector<std::string> notes;
    for (const RecordedSave& save : saves) {
        // Another copy of the program's, here or on another computer, is told at its open.
        if (save.end == SaveEnd::Running || save.end == SaveEnd::RunningElsewhere ||
            (!opened.empty() && SaveOfFile(sys, save.record, opened)))
            continue;
        if (save.end == SaveEnd::PartOfNew) {
            const PutBack putBack = OfferPutBack(sys, save);
            if (putBack == PutBack::Done) notes.push_back(PutBackText(save.record));
            if (putBack == PutBack::Kept) notes.push_back(PartOnlyText(save.record));
        } else if (save.end == SaveEnd::CopyMissing) {
            ShowProblem(MissingText(save.record));
            DropRecord(sys, save);
        } else if (save.end == SaveEnd::OutOfReach) {
            ShowProblem(OutOfReachText(save.record, false));
        } else {
            ShowProblem(StoppedText(NameOf(save.record.file), {save.record.copy}));
        }
    }
    std::string line;
    for (const std::string& note : notes) line += (line.empty() ? "" : " ") + note;
    if (!line.empty()) MainWindow().SetStatusLabel(line);
}

}  // namespace lintora
