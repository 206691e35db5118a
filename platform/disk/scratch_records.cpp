#include "platform/disk/scratch_records.h"

#include <cerrno>
#include <filesystem>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>

#include "platform/disk/copies_folder.h"
#include "platform/disk/scratch_file.h"

namespace lintora {

ScratchRecord::ScratchRecord(SystemCalls& sys, int folder, std::string folderPath)
    : sys_(sys), folder_(folder), folderPath_(std::move(folderPath)) {}

void ScratchRecord::Note(const std::string& name, std::uint64_t inode) {
    SaveRecord note;
    note.kind = RecordKind::Scratch;
    note.folder = folderPath_;
    struct stat folder {};
    if (sys_.Status(folder_, folder) == 0) note.folderId = IdOf(folder);
    note.scratch = name;
    note.scratchInode = inode;
    if (kept_.made()) {
        (void)kept_.Rewrite(std::move(note), false);
        return;
    }
    int error = 0;
    const Descriptor state = OpenCopiesFolder(sys_, true, error);
    // Under its name from the start: a record is short enough that each write of it is whole.
    if (state.open()) (void)kept_.Make(sys_, state.get(), std::move(note), false);
}

void RemoveLeftScratchFiles(SystemCalls& sys, int folder, const std::string& folderPath) {
    int error = 0;
    const Descriptor state = OpenCopiesFolder(sys, false, error);
    if (!state.open()) return;
    const std::vector<FoundRecord> records = RecordsOfFolder(sys, state.get(), folderPath, RecordKind::Scratch);
    struct stat folderStatus {};
    if (records.empty() || sys.Status(folder, folderStatus) != 0) return;
    for (const FoundRecord& found : records) {
        const SaveRecord& note = found.record;
        // A name the program never gives is never its own scratch file.
        if (!IsScratchName(note.scratch, ".tmp") || note.folderId != IdOf(folderStatus) ||
            SaverOf(sys, note) != Saver::Over)
            continue;
        // Only the very file its record names; a name that stands for
        // another file now is left to it.
        const Descriptor scratch(sys, sys.OpenAt(folder, note.scratch, O_PATH | O_NOFOLLOW));
        struct stat status {};
        if (scratch.open() && note.scratchInode != 0 && sys.Status(scratch.get(), status) == 0 &&
            S_ISREG(status.st_mode) && static_cast<std::uint64_t>(status.st_ino) == note.scratchInode &&
            status.st_dev == folderStatus.st_dev && sys.Unlink(folder, note.scratch) != 0 && errno != ENOENT)
            continue;  // still there: so is its record
        (void)sys.Unlink(state.get(), found.name);
    }
}

void RemoveLeftScratchFiles(SystemCalls& sys, int folder) {
    std::error_code ec;
    const std::filesystem::path path =
        std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(folder), ec);
    if (!ec) RemoveLeftScratchFiles(sys, folder, path.string());
}

}  // namespace lintora
