#pragma once
// The program's own record of a save that writes a file in place, kept in
// the user's own folder for copies while the save runs: which file, which
// copy holds its earlier contents, what the new contents are (their length
// and a hash of each block, enough to tell a beginning of them), and which
// process saves. It is on disk before the file is cut, so that after a
// crash the program knows the copy as its own, and the next open can tell
// a save that finished from one that stopped half-way.
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

struct SaveRecord {
    std::string file, copy;  // paths
    FileId fileId, copyId;
    // The copy's length and CopyHash; a record of an earlier program knows
    // its copy by its inode alone.
    bool copyKnown = false;
    std::uint64_t copyLength = 0, copyHash = 0;
    // The file's modification time once it was cut (0 until then).
    std::int64_t cutSeconds = 0, cutNanos = 0;
    std::uint64_t newLength = 0;
    std::vector<std::uint64_t> blocks;
    pid_t pid = 0;
    std::string boot, host;
    std::int64_t began = 0;  // when the save began, in seconds since 1970 (0 where not recorded)
};

// The record as its file holds it, and back; false for text that is none.
std::string RecordText(const SaveRecord& record);
bool ParseRecord(const std::string& text, SaveRecord& record);

// A record on disk, in the user's folder for copies.
class KeptRecord {
public:
    KeptRecord() = default;
    KeptRecord(KeptRecord&& other) noexcept { *this = std::move(other); }
    KeptRecord& operator=(KeptRecord&& other) noexcept {
        sys_ = std::exchange(other.sys_, nullptr);
        folder_ = std::move(other.folder_);
        file_ = std::move(other.file_);
        name_ = std::move(other.name_);
        return *this;
    }
    // Writes record under a new name of its own in folder and puts it on
    // disk; 0, or the error.
    int Make(SystemCalls& sys, int folder, const SaveRecord& record);
    // Writes it again, put on disk only when sync.
    int Rewrite(const SaveRecord& record, bool sync);
    void Remove();
    bool made() const { return sys_ != nullptr; }

private:
    SystemCalls* sys_ = nullptr;
    Descriptor folder_, file_;
    std::string name_;
};

// A record found in the user's folder, by its name there.
struct FoundRecord {
    std::string name;
    SaveRecord record;
};
// The names of those that cannot be read go to damaged.
std::vector<FoundRecord> SaveRecords(SystemCalls& sys, std::vector<std::string>* damaged = nullptr);
void RemoveSaveRecord(SystemCalls& sys, const std::string& name);

// True while the process that made record runs: the same boot of the same
// host, its process there, and not this one (whose saves end before it
// looks).
bool SaveRunning(SystemCalls& sys, const SaveRecord& record);

}  // namespace lintora
