#pragma once
// Reading a file: the one call through which the program reads the user's
// files. The file is reached on descriptors as a save reaches it, opened
// without waiting, read only when it is an ordinary file, and never read
// while a save of another copy of the program writes it.
#include <string>

#include <sys/stat.h>

#include "platform/disk/file_locks.h"
#include "platform/disk/file_reading.h"
#include "platform/disk/reaching_the_file.h"
#include "platform/disk/system_calls.h"

namespace lintora {

enum class LoadStop {
    None,         // read
    Unreachable,  // the way to the file failed (error: a folder missing, too many links, ...)
    Folder,       // a folder stands at the path
    NotOrdinary,  // a pipe, a device or another thing that is no ordinary file
    Replaced,     // a link took the file's place between the walk and the open
    SaveRunning,  // a save of another copy of the program holds it, or changed it while it was read
    Open,         // opening it failed (error; ENOENT: nothing there)
    Read,         // reading it failed (error)
};

struct LoadResult {
    LoadStop stop = LoadStop::None;
    int error = 0;
    std::string contents;
    FileStamp stamp;  // what was opened and read, whatever the name names now
    bool read() const { return stop == LoadStop::None; }
};

// Reads the file at path whole. A save in place holds the file's readers'
// range for writing while it clears and writes it: the read takes it shared
// without waiting and holds it only while it reads; where the file system
// keeps no locks, a file whose stamp changed during the read was being
// saved. sys stands for the system; tests pass
// their own.
// An open of the user's own file (Opening) also removes what a stopped
// save of his left beside it; a read of the program's own files does not.
enum class LoadFor { Reading, Opening };
LoadResult LoadContents(const std::string& path, SystemCalls& sys = RealSystem(), LoadFor purpose = LoadFor::Reading);
// The same for a file found already (FindFile), and for a way to it that failed.
LoadResult LoadContents(SystemCalls& sys, const FoundFile& found, LoadFor purpose);
LoadResult NotReached(const SaveResult& way);

// Whether a save in place (of any copy of the program, on any host that
// shares the file's locks) holds the file at path now; None where nothing
// is there to read. The file's lock, not a record, tells a save that runs.
SaveHold SaveInPlaceHolds(const std::string& path, SystemCalls& sys = RealSystem());
SaveHold SaveInPlaceHolds(SystemCalls& sys, const FoundFile& found);

// Why a load read nothing, as the user would say it ("it is not an
// ordinary file"); "" for one that read.
std::string WhyNotRead(const LoadResult& result);

}  // namespace lintora
