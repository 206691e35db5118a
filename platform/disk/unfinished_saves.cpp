// Judging the saves in place that did not finish, by their records and what their files and copies hold now.
#include "platform/disk/unfinished_saves.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>


namespace lintora {

namespace fs = std::filesystem;

namespace {

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// What a name of a record stands for now.
enum class Reach {
    There,  // the very file recorded
    Gone,   // proven gone: its folder is there and the file is not, or another file has its name
    Away,   // not to be reached now: a drive not plugged in, a share away
};

// Where a recorded name would not open with error. A folder on another device than recorded that holds nothing is where
// a drive is mounted when it is plugged in, and proves nothing.
Reach Unopened(SystemCalls& sys, const std::string& path, int error, std::uint64_t device) {
    if (error == ELOOP || error == EINVAL) return Reach::Gone;  // a link or a folder has its name
    if (error != ENOENT) return Reach::Away;
    const Descriptor folder(sys, sys.OpenAt(AT_FDCWD, fs::path(path).parent_path().string(), O_PATH | O_DIRECTORY));
    struct stat status {};
    if (!folder.open() || sys.Status(folder.get(), status) != 0) return Reach::Away;
    std::vector<std::string> names;
    return static_cast<std::uint64_t>(status.st_dev) == device ||
                   (sys.ListNames(folder.get(), names) == 0 && !names.empty())
               ? Reach::Gone
               : Reach::Away;
}

// True when the copy read (earlier) is the one recorded: by its contents,
// since device and inode numbers change as a drive is mounted again.
bool IsRecordedCopy(const SaveRecord& record, const std::string& earlier) {
    return earlier.size() == record.copyLength && CopyHash(earlier) == record.copyHash;
}

// Opens and reads the recorded copy; 0, ESTALE where another file has its
// name now (or it is the file itself), or the error.
int ReadCopy(SystemCalls& sys, const SaveRecord& record, Descriptor& copy, struct stat& status, std::string& bytes) {
    if (const int err = OpenOrdinary(sys, AT_FDCWD, record.copy, copy, status)) return err;
    if (const int err = ReadWhole(sys, copy.get(), bytes)) return err;
    Descriptor file;
    struct stat fileStatus {};
    if (!IsRecordedCopy(record, bytes) ||
        (OpenOrdinary(sys, AT_FDCWD, record.file, file, fileStatus) == 0 && SameFile(status, fileStatus)))
        return ESTALE;
    return 0;
}

// How far file (its trailing zeros dropped) is a beginning of what the record says was written. Whole blocks are told
// by their hashes, the last block of all the new contents too however short; a shorter part after them is no block, and
// is a beginning only as far as can be checked. Less than one block tells nothing of the new contents.
enum class Begins { No, Nothing, Blocks, Torn };
Begins BeginsNewContents(const SaveRecord& record, const std::string& file) {
    if (file.size() > record.newLength) return Begins::No;
    const std::size_t whole = file.size() == record.newLength ? file.size() : file.size() / kRecordBlock * kRecordBlock;
    for (std::size_t at = 0, block = 0; at < whole; at += kRecordBlock, ++block)
        if (block >= record.blocks.size() ||
            BlockHash(file.data() + at, std::min(kRecordBlock, whole - at)) != record.blocks[block])
            return Begins::No;
    if (whole == 0 && file.size() < record.newLength) return Begins::Nothing;
    return whole == file.size() ? Begins::Blocks : Begins::Torn;
}

// A record that names no file and copy of its own: made by hand, or torn.
bool Unsound(const SaveRecord& record) {
    const fs::path file(record.file), copy(record.copy);
    return !file.is_absolute() || !copy.is_absolute() || !file.has_filename() || !copy.has_filename() ||
           file.lexically_normal() == copy.lexically_normal();
}

// What became of the save of record; sound false for a record that cannot be one of the program's.
SaveEnd Judge(SystemCalls& sys, const SaveRecord& record, bool& sound, bool& blank) {
    if (Unsound(record)) {
        sound = false;
        return SaveEnd::Changed;
    }
    switch (SaverOf(sys, record)) {
        case Saver::Running: return SaveEnd::Running;
        case Saver::Elsewhere: return SaveEnd::RunningElsewhere;
        case Saver::Over: break;
    }
    Descriptor copy, file;
    struct stat copyStatus {}, status {};
    std::string earlier, bytes;
    int err = OpenOrdinary(sys, AT_FDCWD, record.copy, copy, copyStatus);
    if (err == 0) err = ReadWhole(sys, copy.get(), earlier);
    const Reach copyReach = err != 0 ? Unopened(sys, record.copy, err, record.copyId.device)
                            : IsRecordedCopy(record, earlier) ? Reach::There
                                                                          : Reach::Gone;
    err = OpenOrdinary(sys, AT_FDCWD, record.file, file, status);
    if (err == 0) err = ReadWhole(sys, file.get(), bytes);
    const Reach fileReach = err == 0 ? Reach::There : Unopened(sys, record.file, err, record.fileId.device);
    if (copy.open() && file.open() && SameFile(copyStatus, status)) {
        sound = false;
        return SaveEnd::Changed;
    }
    // Stopped before its copy was named and before it touched the file,
    // which still holds what the copy was to keep: nothing was lost.
    if (copyReach == Reach::Gone && fileReach == Reach::There && IsRecordedCopy(record, bytes)) return SaveEnd::Done;
    // A file cleared for the save and not yet written through holds zeros there, which a reader takes for no text.
    bytes.erase(bytes.find_last_not_of('\0') + 1);
    blank = bytes.empty();
    // A save that finished and let its copy go, its record not yet.
    const Begins begins = BeginsNewContents(record, bytes);
    if (fileReach == Reach::There && copyReach != Reach::Away && bytes.size() == record.newLength &&
        begins == Begins::Blocks)
        return SaveEnd::Done;
    if (copyReach == Reach::Gone) return SaveEnd::CopyMissing;
    if (copyReach == Reach::Away || fileReach == Reach::Away) return SaveEnd::OutOfReach;
    if (fileReach == Reach::Gone) return SaveEnd::FileGone;
    if (earlier == bytes) return SaveEnd::Done;
    // Written since the cut, and by this save alone.
    const bool sinceCut = record.cutSeconds == 0 || status.st_mtim.tv_sec > record.cutSeconds ||
                          (status.st_mtim.tv_sec == record.cutSeconds && status.st_mtim.tv_nsec >= record.cutNanos);
    if (!sinceCut || begins == Begins::No) return SaveEnd::Changed;
    return begins == Begins::Blocks ? SaveEnd::PartOfNew
           : begins == Begins::Torn ? SaveEnd::TornPartOfNew
                                    : SaveEnd::NothingOfNew;
}

}  // namespace

bool SaveOfFile(SystemCalls& sys, const SaveRecord& record, const FoundFile& found) {
    if ((fs::path(found.folderPath) / found.name).string() == record.file) return true;
    // Another name of it: both names stand for one file now, whatever its numbers were.
    const Descriptor at(sys, sys.OpenAt(found.folder.get(), found.name, O_PATH));
    const Descriptor recorded(sys, sys.OpenAt(AT_FDCWD, record.file, O_PATH));
    struct stat a {}, b {};
    return at.open() && recorded.open() && sys.Status(at.get(), a) == 0 && sys.Status(recorded.get(), b) == 0 &&
           SameFile(a, b);
}

namespace {

std::vector<RecordedSave> Judged(SystemCalls& sys, std::vector<FoundRecord>& records, const FoundFile* found,
                                 std::vector<DamagedRecord>* damaged) {
    std::vector<RecordedSave> saves;
    for (FoundRecord& record : records) {
        if (found && !SaveOfFile(sys, record.record, *found)) continue;
        RecordedSave save{record.name, std::move(record.record), SaveEnd::Changed};
        bool sound = true;
        save.end = Judge(sys, save.record, sound, save.blank);
        if (sound) saves.push_back(std::move(save));
        else NoteDamaged(damaged, save.recordName, save.record);
    }
    return saves;
}

}  // namespace

std::vector<RecordedSave> UnfinishedSaves(SystemCalls& sys, const FoundFile& found,
                                         std::vector<DamagedRecord>* damaged) {
    // An open reads its own file's records alone.
    std::vector<FoundRecord> records = SaveRecordsOf(sys, found, damaged);
    return Judged(sys, records, &found, damaged);
}

std::vector<RecordedSave> UnfinishedSaves(SystemCalls& sys, const std::string& path,
                                         std::vector<DamagedRecord>* damaged) {
    FoundFile found;
    if (!path.empty() && FindFile(sys, path, found).saved()) return UnfinishedSaves(sys, found, damaged);
    if (!path.empty()) return {};
    std::vector<FoundRecord> records = SaveRecords(sys, damaged);
    return Judged(sys, records, nullptr, damaged);
}

void SettleSaves(SystemCalls& sys, std::vector<RecordedSave>& saves, const std::string& open) {
    std::erase_if(saves, [&](const RecordedSave& save) {
        if (save.end == SaveEnd::CopyMissing) DropRecord(sys, save);  // told once, then nothing is left to keep
        if (save.end == SaveEnd::Done) (void)RemoveCopyAndRecord(sys, save, open);
        return save.end == SaveEnd::Done;
    });
}

int ReadEarlierCopy(SystemCalls& sys, const SaveRecord& record, std::string& bytes) {
    Descriptor copy, file;
    struct stat copyStatus {}, status {};
    if (const int err = ReadCopy(sys, record, copy, copyStatus, bytes)) return err;
    // A copy made by root bears the file's owner; any other is the user's.
    if (copyStatus.st_uid == sys.User()) return 0;
    if (OpenOrdinary(sys, AT_FDCWD, record.file, file, status) != 0) return EPERM;
    return copyStatus.st_uid == status.st_uid ? 0 : EPERM;
}

void DropRecord(SystemCalls& sys, const RecordedSave& save) { RemoveSaveRecord(sys, save.recordName); }

bool RemoveCopyAndRecord(SystemCalls& sys, const RecordedSave& save, const std::string& open) {
    const fs::path path(save.record.copy);
    Descriptor copy;
    struct stat status {}, openStatus {};
    std::string bytes;
    // A copy the user was told of is his own.
    const std::string folderPath = save.record.told ? "" : path.parent_path().string();
    const Descriptor folder(sys, folderPath.empty() ? -1 : sys.OpenAt(AT_FDCWD, folderPath, O_PATH | O_DIRECTORY));
    const Descriptor opened(sys, open.empty() ? -1 : sys.OpenAt(AT_FDCWD, open, O_PATH));
    // Root's copy of another user's file bears that user as its owner; no record deletes the file shown in the window.
    const bool gone = !Unsound(save.record) && folder.open() && ReadCopy(sys, save.record, copy, status, bytes) == 0 &&
                      (status.st_uid == sys.User() || sys.User() == 0) &&
                      !(opened.open() && sys.Status(opened.get(), openStatus) == 0 && SameFile(status, openStatus)) &&
                      sys.Unlink(folder.get(), path.filename().string()) == 0;
    DropRecord(sys, save);
    return gone;
}

}  // namespace lintora
