#pragma once
// The program's own records of its saves, kept in the user's state folder while a save runs, in a folder of their own
// for each file saved in place and each folder given scratch names (RecordsFolderName): of a save that writes a file in
// place, which file, which copy holds its earlier contents, what the new contents are (their length and a hash of each
// block, enough to tell a beginning of them); of a scratch name given in a folder, which folder and which name. Each
// says which process saves, and the save holds a lock on its record for as long as it runs. One file for the record:
// its format, its writer (whole before it has its name), its lister, and the one rule for "still running".
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <sys/types.h>

#include "platform/disk/system_calls.h"

namespace lintora {

struct FileId {
    std::uint64_t device = 0, inode = 0;
    bool operator==(const FileId&) const = default;
};
FileId IdOf(const struct stat& status);

// FNV-1a: names the records folder of a path, and marks a copy's cut label.
std::uint64_t PathHash(std::string_view text);

// The new contents are told by blocks of this size.
constexpr std::size_t kRecordBlock = 4096;
std::vector<std::uint64_t> BlockHashes(const std::string& contents);
std::uint64_t BlockHash(const char* bytes, std::size_t size);
// What tells the copy's contents from a file that took its name since.
std::uint64_t CopyHash(const std::string& contents);

enum class RecordKind { Save, Scratch };
enum class Saver { Over, Running, Elsewhere };

struct SaveRecord {
    RecordKind kind = RecordKind::Save;
    // A save in place: its file and the copy of its earlier contents (paths), and the copy's length and CopyHash.
    std::string file, copy;
    FileId fileId, copyId;
    bool linked = false;  // the file had other names: its record is kept by its inode (not written in the record)
    std::uint64_t copyLength = 0, copyHash = 0;
    // The file's modification time once it was cut (0 until then).
    std::int64_t cutSeconds = 0, cutNanos = 0;
    std::uint64_t newLength = 0;
    std::vector<std::uint64_t> blocks;
    // A scratch name given in folder (a path, links resolved).
    std::string folder, scratch;
    // Who saves: the process, when it started (SystemCalls::ProcessStart), the boot and host it runs on, and
    // whether it holds its record's lock (a file system may keep none).
    pid_t pid = 0;
    std::uint64_t started = 0;
    std::string boot, host;
    std::int64_t began = 0;  // when the save began, in seconds since 1970 (0 where not recorded)
    bool locked = false;
    // The user was told of its copy, which is his from then on: the program never removes it.
    bool told = false;
    // Where no lock could be had, another save changed the file while this one wrote it.
    bool overtaken = false;
    unsigned format = 0;  // of the text it was read from
    // Once read from the state folder: the record's name there, and its saver as judged when it was listed.
    std::string where;
    Saver saver = Saver::Over;
};

// What names the records folder that holds a record: a save's file, or its inode where it had other names (which
// names it whatever its path, and stays as a drive is mounted again); the folder of scratch names.
std::string RecordPath(const SaveRecord& record);

// The record as its file holds it (format 3), and back from format 2 or 3; false for text that is none (cut short,
// damaged, of another format), whose whole lines (file, copy) are read all the same.
std::string RecordText(const SaveRecord& record);
bool ParseRecord(const std::string& text, SaveRecord& record);

// ".records-" and 16 hex digits of PathHash(path): the folder of the state folder that holds the records of path
// (RecordPath), each named ".<kind>.<16 random hex>.record", so that an open reads only those of its own file.
constexpr char kRecordsFolderPrefix[] = ".records-";
std::string RecordsFolderName(std::string_view path);

// A record on disk, in the state folder, held locked while it is. Each text of it is written whole and put on
// disk under a scratch name, locked from the start, then given its name, and its folder synced.
class KeptRecord {
public:
    KeptRecord() = default;
    KeptRecord(KeptRecord&& other) noexcept { *this = std::move(other); }
    KeptRecord& operator=(KeptRecord&& other) noexcept;
    // Writes record under a new name in the records of its folder in the state folder (open at state); 0, or the error.
    int Make(SystemCalls& sys, int state, SaveRecord record);
    // Writes it again, over itself.
    int Rewrite(SaveRecord record);
    // The cut of a save's file, written over its place in the record (not put on disk).
    int SetCut(std::int64_t seconds, std::int64_t nanos);
    void Remove();
    bool made() const { return sys_ != nullptr; }

private:
    SystemCalls* sys_ = nullptr;
    Descriptor folder_, file_;
    std::string name_, text_;
};

// A record found in the state folder, by its name there.
struct FoundRecord {
    std::string name;
    SaveRecord record;
};
// A record that cannot be read (cut short, changed by hand): its path, and the file and copy it names where that
// part of it can be read ("" where not).
struct DamagedRecord {
    std::string path, file, copy;
};
// Adds the record name (in the state folder) to damaged, where given.
void NoteDamaged(std::vector<DamagedRecord>* damaged, const std::string& name, const SaveRecord& record);
// The records of saves in place of every file (start-up), or of the file at path alone (an open: those kept by its
// path or inode); one that cannot be read is passed over and put in damaged, one of a later version left untold.
struct FoundFile;
std::vector<FoundRecord> SaveRecords(SystemCalls& sys, std::vector<DamagedRecord>* damaged = nullptr);
std::vector<FoundRecord> SaveRecordsOf(SystemCalls& sys, const std::string& path,
                                       std::vector<DamagedRecord>* damaged = nullptr);
std::vector<FoundRecord> SaveRecordsOf(SystemCalls& sys, const FoundFile& file,
                                       std::vector<DamagedRecord>* damaged = nullptr);
// Removes the record name (FoundRecord::name), and its records folder where that leaves it empty.
void RemoveSaveRecord(SystemCalls& sys, const std::string& name);

// Whether the save of a record runs: Running while a saver holds its lock; Over once nobody does, where the file
// system shows every saver's lock here (a local one; a network one whose locks reach other hosts). Where it does
// not, or keeps no locks: Running while its process runs (the same host and boot, the same process id and start),
// Elsewhere for another host's record, of which nothing is to be removed or written on that test alone.
Saver SaverOf(SystemCalls& sys, int recordFd, const SaveRecord& record);
// The same for a record read from the state folder, as judged when it was listed.
Saver SaverOf(SystemCalls& sys, const SaveRecord& record);

// The record of the scratch names given in one folder by one save, kept from just before a name is given until
// it is gone: a crash in between leaves a scratch file that the next save or open there knows as the program's
// own. Left where it cannot be written (the save goes on).
class ScratchRecord {
public:
    // state: the state folder where the save holds it open, else -1.
    ScratchRecord(SystemCalls& sys, std::string folderPath, int state = -1);
    // Records that name is about to be given, in place of what was recorded before.
    void Note(const std::string& name);
    // Once the name is gone.
    void Remove() { kept_.Remove(); }

private:
    SystemCalls& sys_;
    std::string folderPath_;
    int state_;
    KeptRecord kept_;
};

// Removes the scratch files of folder (at folderPath, links resolved) that a record names, whose save is over, in
// the program's own form of name and of the user's own, and their records. A file the program has no record of
// stays, whatever its name; so does one of a save that runs, here or on another host. state: as above.
void RemoveLeftScratchFiles(SystemCalls& sys, int folder, const std::string& folderPath, int state = -1);

// Once per start: the scratch names of the state folder and its records folders whose saves are over, the
// records of scratch names whose folder has been gone for long, and the folders of records left empty. A record
// that cannot be read stays, and is put in damaged; records of saves in place are never dropped here.
void CleanOldScratchRecords(SystemCalls& sys, std::vector<DamagedRecord>* damaged = nullptr);

}  // namespace lintora
