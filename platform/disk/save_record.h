#pragma once
// The program's own records of its saves, kept in the user's state folder
// while a save runs, in a folder of their own for each folder of files
// (RecordsFolderName): of a save that writes a file in place, which file,
// which copy holds its earlier contents, what the new contents are (their
// length and a hash of each block, enough to tell a beginning of them); of
// a scratch name given beside a file, which folder, which name, which file.
// Each says which process saves, and the save holds a lock on its record
// for as long as it runs: a record whose lock anyone can take belongs to a
// save that is over. One format, one reader, one rule for "still running".
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include <sys/types.h>

#include "platform/disk/system_calls.h"

namespace lintora {

struct FileId {
    std::uint64_t device = 0, inode = 0;
    bool operator==(const FileId&) const = default;
};
FileId IdOf(const struct stat& status);

// The new contents are told by blocks of this size.
constexpr std::size_t kRecordBlock = 4096;
std::vector<std::uint64_t> BlockHashes(const std::string& contents);
std::uint64_t BlockHash(const char* bytes, std::size_t size);
// What tells the copy's contents from a file that took its name since.
std::uint64_t CopyHash(const std::string& contents);

enum class RecordKind { Save, Scratch };

struct SaveRecord {
    RecordKind kind = RecordKind::Save;
    // A save in place: its file and the copy of its earlier contents (paths).
    std::string file, copy;
    FileId fileId, copyId;
    // The copy's length and CopyHash; a record of an earlier program knows
    // its copy by its inode alone.
    bool copyKnown = false;
    std::uint64_t copyLength = 0, copyHash = 0;
    // The file's modification time once it was cut (0 until then).
    std::int64_t cutSeconds = 0, cutNanos = 0;
    std::uint64_t newLength = 0;
    std::vector<std::uint64_t> blocks;
    // A scratch name given in folder to the file of inode (0 where it has
    // none yet).
    std::string folder, scratch;
    FileId folderId;
    std::uint64_t scratchInode = 0;
    // Who saves: the process, when it started (SystemCalls::ProcessStart),
    // the boot and host it runs on, and whether it holds its record's lock
    // (a file system may keep none).
    pid_t pid = 0;
    std::uint64_t started = 0;
    std::string boot, host;
    std::int64_t began = 0;  // when the save began, in seconds since 1970 (0 where not recorded)
    bool locked = false;
    // The user was told of its copy, which is his from then on: the program
    // never removes it.
    bool told = false;
    // Where no lock could be had, another save changed the file while this
    // one wrote it: the file may hold that save's work, not this one's.
    bool overtaken = false;
    // Opened all the same while its saver seemed to run on another host:
    // a stopped save like any other from then on.
    bool givenUp = false;
    // The record's name in the state folder, once read from there.
    std::string where;
};

// The folder of the files a record is about.
std::string RecordFolder(const SaveRecord& record);
// This process as a saver, into record.
void FillSaver(SystemCalls& sys, SaveRecord& record);

// The record as its file holds it, and back; false for text that is none
// (cut short, damaged, or of an older format).
std::string RecordText(const SaveRecord& record);
bool ParseRecord(const std::string& text, SaveRecord& record);

// A record on disk, in the state folder; held locked while it is.
class KeptRecord {
public:
    KeptRecord() = default;
    KeptRecord(KeptRecord&& other) noexcept { *this = std::move(other); }
    KeptRecord& operator=(KeptRecord&& other) noexcept {
        sys_ = std::exchange(other.sys_, nullptr);
        folder_ = std::move(other.folder_);
        file_ = std::move(other.file_);
        name_ = std::move(other.name_);
        text_ = std::move(other.text_);
        return *this;
    }
    // Writes record under a new name of its own in the records of its folder
    // in the state folder (open at folder), put on disk where sync; 0, or
    // the error.
    int Make(SystemCalls& sys, int folder, SaveRecord record, bool sync = true);
    // Writes it again, put on disk only when sync.
    int Rewrite(SaveRecord record, bool sync);
    // The cut of a save's file, written over its place in the record
    // (not put on disk).
    int SetCut(std::int64_t seconds, std::int64_t nanos);
    void Remove();
    bool made() const { return sys_ != nullptr; }

private:
    int Write(bool sync);
    SystemCalls* sys_ = nullptr;
    Descriptor folder_, file_;
    std::string name_, text_;
    bool locked_ = false;
};

// A record found in the state folder, by its name there.
struct FoundRecord {
    std::string name;
    SaveRecord record;
};
// A record that cannot be read (cut short, changed by hand): its path, and
// the file and copy it names where that part of it can be read ("" where not).
struct DamagedRecord {
    std::string path, file, copy;
};
// The records of saves in place of every folder (start-up), or of the
// folder of the file at path alone (an open); a record that cannot be read
// is passed over, its path in damaged.
std::vector<FoundRecord> SaveRecords(SystemCalls& sys, std::vector<DamagedRecord>* damaged = nullptr);
std::vector<FoundRecord> SaveRecordsOf(SystemCalls& sys, const std::string& path,
                                       std::vector<DamagedRecord>* damaged = nullptr);
// The records of kind of the files of folderPath.
std::vector<FoundRecord> RecordsOfFolder(SystemCalls& sys, int state, const std::string& folderPath,
                                         RecordKind kind, std::vector<DamagedRecord>* damaged = nullptr);
void RemoveSaveRecord(SystemCalls& sys, const std::string& name);
// Writes record over the record named where in the state folder; 0, or the error.
int ReplaceRecord(SystemCalls& sys, const std::string& where, const SaveRecord& record);

// Whether the save of a record runs: Running while a saver holds its lock
// (or, where the file system keeps no locks, while its process runs: the
// same host and boot, the same process id and start); Elsewhere for
// another host's record that no lock shows running, of which nothing is to
// be removed or written on that test alone; else Over.
enum class Saver { Over, Running, Elsewhere };
Saver SaverOf(SystemCalls& sys, int recordFd, const SaveRecord& record);
// The same for a record read from the state folder.
Saver SaverOf(SystemCalls& sys, const SaveRecord& record);
// True unless the save is over.
bool SaveRunning(SystemCalls& sys, const SaveRecord& record);

// Once per start: the records of scratch names whose folder has been gone
// for long, and the folders of records left empty. Records of saves in
// place are never dropped here.
void CleanOldScratchRecords(SystemCalls& sys);

}  // namespace lintora
