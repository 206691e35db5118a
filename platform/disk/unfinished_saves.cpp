#include "platform/disk/unfinished_saves.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>

#include "platform/disk/copies_folder.h"

namespace lintora {

namespace fs = std::filesystem;

namespace {

// Opens path for reading without following a link or waiting on it; only
// an ordinary file. 0, or the error.
int OpenOrdinary(SystemCalls& sys, const std::string& path, Descriptor& fd, struct stat& status) {
    fd = Descriptor(sys, sys.OpenAt(AT_FDCWD, path, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY));
    if (!fd.open()) return errno;
    if (sys.Status(fd.get(), status) != 0) return errno;
    return S_ISREG(status.st_mode) ? 0 : EINVAL;
}

// True when the first bytes of what the record says was written make up
// file, block by block. A write stopped by a crash leaves whole pages, and
// so whole blocks; a part of a block cannot be told, and is no beginning.
// The last block of all the new contents is told too, however short.
bool BeginsNewContents(const SaveRecord& record, const std::string& file) {
    if (file.size() > record.newLength || (file.size() % kRecordBlock != 0 && file.size() != record.newLength))
        return false;
    for (std::size_t at = 0, block = 0; at < file.size(); at += kRecordBlock, ++block)
        if (block >= record.blocks.size() ||
            BlockHash(file.data() + at, std::min(kRecordBlock, file.size() - at)) != record.blocks[block])
            return false;
    return true;
}

SaveEnd Judge(SystemCalls& sys, const SaveRecord& record) {
    switch (SaverOf(sys, record)) {
        case Saver::Running: return SaveEnd::Running;
        case Saver::Elsewhere: return SaveEnd::RunningElsewhere;
        case Saver::Over: break;
    }
    Descriptor copy;
    struct stat copyStatus {};
    const int copyError = OpenOrdinary(sys, record.copy, copy, copyStatus);
    if (copyError == ENOENT || (copyError == 0 && IdOf(copyStatus) != record.copyId)) return SaveEnd::CopyGone;
    Descriptor file;
    struct stat status {};
    std::string bytes;
    if (copyError != 0 || OpenOrdinary(sys, record.file, file, status) != 0 || IdOf(status) != record.fileId ||
        ReadWhole(sys, file.get(), bytes) != 0)
        return SaveEnd::Changed;
    // A file cleared for the save and not yet written through holds zeros
    // there, which a reader takes for no text.
    bytes.erase(bytes.find_last_not_of('\0') + 1);
    if (bytes.size() == record.newLength && BeginsNewContents(record, bytes)) return SaveEnd::Done;
    std::string earlier;
    if (bytes.size() == static_cast<std::uint64_t>(copyStatus.st_size) &&
        ReadWhole(sys, copy.get(), earlier) == 0 && earlier == bytes)
        return SaveEnd::Done;
    // Written since the cut, and by this save alone.
    const bool sinceCut = record.cutSeconds == 0 || status.st_mtim.tv_sec > record.cutSeconds ||
                          (status.st_mtim.tv_sec == record.cutSeconds && status.st_mtim.tv_nsec >= record.cutNanos);
    return sinceCut && BeginsNewContents(record, bytes) ? SaveEnd::PartOfNew : SaveEnd::Changed;
}

}  // namespace

std::vector<RecordedSave> UnfinishedSaves(SystemCalls& sys, const std::string& path,
                                         std::vector<DamagedRecord>* damaged) {
    std::vector<RecordedSave> saves;
    // An open reads the records of its file's folder alone.
    std::vector<std::string> damagedPaths;
    std::vector<FoundRecord> records = path.empty() ? SaveRecords(sys, &damagedPaths) : SaveRecordsOf(sys, path, &damagedPaths);
    if (damaged)
        for (std::string& at : damagedPaths) damaged->push_back({std::move(at)});
    if (records.empty()) return saves;  // the usual case: the file is not looked at
    FileId id;
    bool known = false;
    if (!path.empty()) {
        const Descriptor at(sys, sys.OpenAt(AT_FDCWD, path, O_PATH));
        struct stat status {};
        known = at.open() && sys.Status(at.get(), status) == 0;
        id = IdOf(status);
    }
    for (FoundRecord& found : records) {
        if (!path.empty() && (known ? found.record.fileId != id : found.record.file != path)) continue;
        RecordedSave save{found.name, std::move(found.record), SaveEnd::Changed};
        save.end = Judge(sys, save.record);
        if (save.end == SaveEnd::Done) {
            RemoveCopyAndRecord(sys, save);
        } else if (save.end == SaveEnd::CopyGone) {
            DropRecord(sys, save);
        } else {
            saves.push_back(std::move(save));
        }
    }
    return saves;
}

int ReadEarlierCopy(SystemCalls& sys, const SaveRecord& record, std::string& bytes) {
    Descriptor copy, file;
    struct stat copyStatus {}, status {};
    if (const int err = OpenOrdinary(sys, record.copy, copy, copyStatus)) return err;
    if (IdOf(copyStatus) != record.copyId) return ESTALE;
    // A copy made by root bears the file's owner; any other is the user's.
    const bool owners = copyStatus.st_uid == sys.User() ||
                        (OpenOrdinary(sys, record.file, file, status) == 0 && copyStatus.st_uid == status.st_uid);
    if (!owners) return EPERM;
    return ReadWhole(sys, copy.get(), bytes);
}

void DropRecord(SystemCalls& sys, const RecordedSave& save) { RemoveSaveRecord(sys, save.recordName); }

void RemoveCopyAndRecord(SystemCalls& sys, const RecordedSave& save) {
    const fs::path copy(save.record.copy);
    const Descriptor folder(sys, sys.OpenAt(AT_FDCWD, copy.parent_path().string(), O_PATH | O_DIRECTORY));
    const std::string name = copy.filename().string();
    const Descriptor at(sys, folder.open() ? sys.OpenAt(folder.get(), name, O_PATH | O_NOFOLLOW) : -1);
    struct stat status {};
    // Root's copy of another user's file bears that user as its owner.
    if (at.open() && sys.Status(at.get(), status) == 0 && IdOf(status) == save.record.copyId &&
        (status.st_uid == sys.User() || sys.User() == 0))
        (void)sys.Unlink(folder.get(), name);
    DropRecord(sys, save);
}

}  // namespace lintora
