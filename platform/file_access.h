#pragma once
// Who reaches a file that a save writes, and who may open it afterwards:
// the links followed on the way to it, and the access that a replacing file
// takes over from the file it replaces.
#include <filesystem>
#include <string>

#include <sys/stat.h>

namespace lintora {

// The names of a user and of a group, else their numbers.
std::string UserName(uid_t uid);
std::string GroupName(gid_t gid);

// The file that a save to path writes: path with every link on the way to
// it followed (a chain of links included), whether the file is there yet or
// not. In a folder that is sticky and writable by all, anyone may have put
// the link: it is followed only when it is the user's own or the folder
// owner's, whatever the system's own rule says. Returns {} and sets error
// when a link cannot or may not be followed.
std::filesystem::path FileBehindLinks(const std::filesystem::path& path, std::string& error);

// Gives the new file fd, which already has the old file's owner and, if
// groupKept, its group, the access of the old file (at file, status old):
// its extended attributes, the access list among them, then its
// permissions. A group not kept gets no rights. Returns "" or what failed;
// lost says how the file would be open to others differently when its
// access list cannot be kept (the caller asks), else stays "".
std::string KeepAccess(int fd, const std::string& file, const std::string& target, const struct stat& old,
                       bool groupKept, std::string& lost);

}  // namespace lintora
