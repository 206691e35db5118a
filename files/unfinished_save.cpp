#include "files/unfinished_save.h"

#include <algorithm>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>

#include "files/file_saving.h"
#include "platform/disk/save_contents.h"
#include "platform/platform.h"
#include "platform/window_ports.h"

namespace lintora {

namespace {

std::string NameOf(const std::string& path) { return std::filesystem::path(path).filename().string(); }

std::string StoppedText(const std::string& name, const std::vector<std::string>& copies) {
    std::string where;
    for (std::size_t k = 0; k < copies.size(); ++k)
        where += (k == 0 ? "" : k + 1 == copies.size() ? " and " : ", ") + copies[k];
    return name + " was being saved when the program stopped. Its earlier contents are kept in " + where + ".";
}

// Asks whether to put back the earlier contents of a file that holds only
// part of its new work. True when the question is settled (put back, or
// the copy left to the user); false when the file keeps its part and its
// record for a later answer, or where the copy could not be put back.
bool OfferPutBack(SystemCalls& sys, const RecordedSave& save, bool& keptCopy) {
    const std::string name = NameOf(save.record.file);
    const MsgResult answer = MsgBox(name + " was being saved when the program stopped and holds only part of the " +
                                        "new work. Put back its earlier contents, kept in " + save.record.copy + "?",
                                    MsgButtons::YesNo, MsgIcon::Exclamation);
    if (answer == MsgResult::No) {
        DropRecord(sys, save);
        keptCopy = true;
        return true;
    }
    if (answer != MsgResult::Yes) return false;
    std::string earlier;
    if (ReadEarlierCopy(sys, save.record, earlier) != 0) {
        ShowProblem(StoppedText(name, {save.record.copy}));
        return false;
    }
    const SaveResult result = SaveContents(save.record.file, earlier, sys);
    if (!result.saved()) {
        ShowProblem("Error occurred while trying to save file, please retry.\n" +
                    NotSavedText(save.record.file, result));
        return false;
    }
    RemoveCopyAndRecord(sys, save);
    return true;
}

}  // namespace

UnfinishedSave::UnfinishedSave(const std::string& path)
    : path_(path), name_(NameOf(path)), saves_(UnfinishedSaves(RealSystem(), path)) {}

bool UnfinishedSave::Running() const {
    return std::any_of(saves_.begin(), saves_.end(), [](const RecordedSave& s) { return s.end == SaveEnd::Running; });
}

void UnfinishedSave::TellRunning() const { TellSaveRunning(name_); }

void TellSaveRunning(const std::string& name) {
    ShowProblem(name + " is being saved by another copy of the program. Open it again when that save has finished.");
}

void UnfinishedSave::OfferEarlierContents() {
    std::erase_if(saves_, [&](const RecordedSave& save) {
        bool keptCopy = false;
        if (save.end != SaveEnd::PartOfNew || !OfferPutBack(RealSystem(), save, keptCopy)) return false;
        if (keptCopy) partOnly_.push_back(save.record);
        return true;
    });
}

bool UnfinishedSave::TellStopped(bool /*whole*/) const {
    // Named as the save named it, whichever of its names the file was opened by.
    for (const SaveRecord& record : partOnly_)
        MainWindow().SetStatusLabel(NameOf(record.file) + " holds only part of its new work; its earlier contents "
                                    "are kept in " + record.copy + ".");
    std::vector<std::string> copies;
    for (const RecordedSave& save : saves_) copies.push_back(save.record.copy);
    if (copies.empty()) return false;
    ShowProblem(StoppedText(NameOf(saves_.front().record.file), copies));
    return true;
}

void TellUnfinishedSaves(const std::string& opened) {
    SystemCalls& sys = RealSystem();
    struct stat status {};
    const Descriptor at(sys, opened.empty() ? -1 : sys.OpenAt(AT_FDCWD, opened, O_PATH));
    const bool known = at.open() && sys.Status(at.get(), status) == 0;
    for (const RecordedSave& save : UnfinishedSaves(sys, "")) {
        if (save.end == SaveEnd::Running || (known && save.record.fileId == IdOf(status))) continue;
        bool keptCopy = false;
        if (save.end == SaveEnd::PartOfNew) {
            (void)OfferPutBack(sys, save, keptCopy);
        } else {
            ShowProblem(StoppedText(NameOf(save.record.file), {save.record.copy}));
        }
    }
}

}  // namespace lintora
