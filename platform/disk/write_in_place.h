#pragma once
// Writing a file over itself, for a file that a new one renamed over it would not stand in for: one with other names
// (hard links), one whose owner or group the user could not give a new file, one in a folder where he may not create
// files. The file keeps its inode, its names, owner, group, permissions and access list.
#include <string>

#include "platform/disk/reaching_the_file.h"
#include "platform/disk/save_result.h"
#include "platform/disk/system_calls.h"

namespace lintora {

// True when old, found writable, is to be written in place for one of the
// reasons above that can be told before a new file is tried.
bool MustWriteInPlace(SystemCalls& sys, const OldFile& old);

// Writes contents over old, the file found, whose save range it holds for writing where locks can be had. Its earlier
// contents go first into a copy, on disk and recorded with what is to be written; without a copy and its record nothing
// is written. The file is then cleared to zeros (cut to nothing only where the file system cannot), so that a write
// stopped half-way leaves a beginning of the new contents, which the record tells; then the contents are written and
// put on disk. Where no lock could be had (old.noLocks), it writes only while the file is as it left it, and reads it
// back: where another save wrote it (Mixed), no more is written or put back and the copy stays, its record saying so;
// else the copy goes, then its record. A failed write puts the earlier contents back (where the file does not hold them
// still); where that fails too, the copy stays, the user's own from then on: the result names it.
SaveResult WriteInPlace(SystemCalls& sys, const FoundFile& found, const OldFile& old, const std::string& contents);

}  // namespace lintora
