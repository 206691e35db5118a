#pragma once
// Reading a file whole by its path, and what can be known of one without reading it: what stands there, whether it was
// taken away, and what tells one version of it from the next. Facts only: files/ words them.
#include <string>

#include "platform/disk/load_contents.h"
#include "platform/disk/system_calls.h"

namespace lintora {

// What stands at path, looked at by name without opening it: stop None for an ordinary file; else NoFile, FolderMissing
// (where: its folder), FolderClosed (where: the first folder on the way the user may not open), LinkToNothing (where:
// what the link names), Folder, NotOrdinary, or Unreachable with the error.
LoadResult LookAtFile(const std::string& path, SystemCalls& sys = RealSystem());

// True when the folder of path is there and nothing stands at path: the file was taken away, not merely out of reach (a
// drive not plugged in, a folder the user may not open).
bool MissingFromItsFolder(const std::string& path, SystemCalls& sys = RealSystem());

// Reads the ordinary file at path whole, looked at first: a pipe or a device is never waited on. A file that cannot be
// read is never to be taken for no file (absent()): what it holds would be written over.
LoadResult ReadOrdinaryFile(const std::string& path, SystemCalls& sys = RealSystem());
// The same; false when it cannot be read.
bool ReadWholeFile(const std::string& path, std::string& contents);

// The stamp of what stands at path, links followed; a link to nothing stamps as the link itself.
FileStamp StampOfFile(const std::string& path, SystemCalls& sys = RealSystem());

}  // namespace lintora
