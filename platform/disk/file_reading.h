#pragma once
// Reading a file whole, and what can be known of one without reading it:
// whether it is there, whether it may be written, and what tells one
// version of it from the next.
#include <cstdint>
#include <string>

#include <sys/stat.h>

namespace lintora {

// Why nothing can be read at path, without opening it: there is no such
// file, its folder is not there, the user may not open its folder, a link
// to nothing, a folder, or another thing that is no ordinary file (a pipe
// or a device). "" for an ordinary file.
std::string WhyNoOrdinaryFile(const std::string& path);

// True when the folder of path is there and nothing stands at path: the
// file was taken away, not merely out of reach (a drive not plugged in, a
// folder the user may not open).
bool MissingFromItsFolder(const std::string& path);

// Reads a whole file; false when it cannot be read.
bool ReadWholeFile(const std::string& path, std::string& contents);
// The same, saying why a file cannot be read ("" when it was): missing, a
// folder or another thing that is no ordinary file (a pipe or a device is
// never waited on), a link to nothing, no permission, an I/O error.
std::string ReadWholeFileOrWhy(const std::string& path, std::string& contents);

// A file as it was found: nothing there yet, read, or there but it cannot
// be read (why then says why). A file that cannot be read is never to be
// taken for no file: what it holds would be written over.
enum class Found { None, Read, Unreadable };
Found ReadFileIfThere(const std::string& path, std::string& contents, std::string& why);

// What tells one version of a file from another without reading it. A
// rewrite of the same size within one tick of the modification time (two
// seconds on FAT) still moves the change time, and a file put in place by
// a rename has another inode. Whatever stands at the path counts, a link
// to nothing or a pipe included, so that it never stamps as no file.
struct FileStamp {
    bool exists = false;  // something is there
    std::uint32_t mode = 0;  // its kind and permissions
    std::uintmax_t size = 0;
    std::int64_t modified = 0;  // nanoseconds since the epoch
    std::int64_t changed = 0;
    std::uint64_t device = 0, inode = 0;
    bool operator==(const FileStamp&) const = default;
};
FileStamp StampOfFile(const std::string& path);
// The stamp of what a descriptor was found to be.
FileStamp StampOf(const struct stat& status);

}  // namespace lintora
