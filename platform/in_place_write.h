#pragma once
// Writing a file over itself, for a file that a new one renamed over it
// would not stand in for: one with other names (hard links), which would
// keep the old contents; one whose group the user could not give a new
// file; one in a folder where the user may not create files, or may not
// replace another user's file. The file keeps its inode, its names, its
// owner, group, permissions and access list.
#include <filesystem>
#include <string>

#include <sys/stat.h>

namespace lintora {

// True when file, found as old and writable by the user, has to be
// written in place (for one of the reasons above).
bool MustWriteInPlace(const std::filesystem::path& file, const struct stat& old);

// Writes contents over file (target is the name the user gave, for the
// messages); old is what it was found to be. Its old contents go first
// into a copy, made new beside it, or in the user's cache folder when its
// folder takes no new files, and put on disk; without a copy nothing is
// written. A failed write puts the old contents back; where that fails
// too, the copy is kept and the message says where it is. Returns "" once
// the file is written and on disk (the copy is then removed), else what
// failed, in the user's words.
std::string WriteInPlace(const std::filesystem::path& file, const std::string& target, const std::string& contents,
                         const struct stat& old);

}  // namespace lintora
