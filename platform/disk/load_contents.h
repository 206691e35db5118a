#pragma once
// Reading a file: the one call through which the program reads the user's files. The file is reached on descriptors as
// a save reaches it, opened without waiting, read only when it is an ordinary file, and never read while a save of
// another copy of the program writes it.
#include <string>

#include <sys/stat.h>

#include <cstdint>

#include "platform/disk/file_locks.h"
#include "platform/disk/reaching_the_file.h"
#include "platform/disk/system_calls.h"

namespace lintora {

// What tells one version of a file from another without reading it. A rewrite of the same size within one tick of the
// modification time (two seconds on FAT) still moves the change time, and a file put in place by a rename has another
// inode. Whatever stands at the path counts, a link to nothing or a pipe included, so that it never stamps as no file.
struct FileStamp {
    bool exists = false;  // something is there
    std::uint32_t mode = 0;  // its kind and permissions
    std::uintmax_t size = 0;
    std::int64_t modified = 0;  // nanoseconds since the epoch
    std::int64_t changed = 0;
    std::uint64_t device = 0, inode = 0;
    bool operator==(const FileStamp&) const = default;
};
// The stamp of what a descriptor was found to be.
FileStamp StampOf(const struct stat& status);

enum class LoadStop {
    None,         // read
    // Found by looking at the path before opening it (where: the path concerned):
    NoFile,         // nothing is there, and its folder is
    FolderMissing,  // its folder (where) is not there
    FolderClosed,   // the user may not open the folder where, on the way to it
    LinkToNothing,  // a link to where, which is not there
    Unreachable,  // the way to the file failed (error: a folder missing, too many links, ...)
    Folder,       // a folder stands at the path
    NotOrdinary,  // a pipe, a device or another thing that is no ordinary file
    Replaced,     // a link took the file's place between the walk and the open
    SaveRunning,  // a save of another copy of the program holds it, or changed it while it was read
    Locked,       // another program holds a lock for writing over its contents (holder: its process id, or 0)
    Open,         // opening it failed (error; ENOENT: nothing there)
    Read,         // reading it failed (error)
};

struct LoadResult {
    LoadStop stop = LoadStop::None;
    int error = 0;
    std::string contents{};
    FileStamp stamp{};  // what was opened and read, whatever the name names now
    std::string where{};
    pid_t holder = 0;
    bool read() const { return stop == LoadStop::None; }
    // Nothing at all is there: no file that could be written over.
    bool absent() const { return stop == LoadStop::NoFile || stop == LoadStop::FolderMissing; }
};

// Reads the file at path whole. A save in place holds the file's readers' range for writing while it clears and writes
// it: the read takes it shared without waiting and holds it only while it reads; where the file system keeps no locks,
// a file whose stamp changed during the read was being saved. sys stands for the system; tests pass their own. An open
// of the user's own file (Opening) also removes what a stopped save of his left beside it; a read of the program's own
// files does not.
enum class LoadFor { Reading, Opening };
LoadResult LoadContents(const std::string& path, SystemCalls& sys = RealSystem(), LoadFor purpose = LoadFor::Reading);
// The same for a file found already (FindFile), and for a way to path that
// failed: a missing file, folder or link's target is told as such.
LoadResult LoadContents(SystemCalls& sys, const FoundFile& found, LoadFor purpose);
LoadResult NotReached(const SaveResult& way, const FoundFile& found, const std::string& path);

// Whether a save in place (of any copy of the program, on any host that shares the file's locks) holds the file found
// now; None where nothing is there to read. The file's lock, not a record, tells a save that runs.
SaveHold SaveInPlaceHolds(SystemCalls& sys, const FoundFile& found, pid_t* holder = nullptr);

}  // namespace lintora
