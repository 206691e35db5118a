#pragma once
// Who owns a file a save makes and who may open it: a file that replaces another takes over its owner, group, extended
// attributes (the access list among them) and permissions, in that order; a copy of a file's earlier contents is no
// more open than the file.
#include <string>

#include <sys/stat.h>

#include "platform/disk/system_calls.h"

namespace lintora {

// Gives fd, a new file open to its maker alone that is to replace the file open at oldFd (status old), the old file's
// owner, group, attributes and permissions. False when its owner, group or access list could not be given, or not all
// of them read: the new file would not stand in for the old one.
bool GiveOldFilesAccess(SystemCalls& sys, int fd, int oldFd, const struct stat& old);

// Gives fd, a copy of the earlier contents of the file open at oldFd (status old), made open to its maker alone, the
// file's group, access list and read and write marks (never execute, setuid, setgid or sticky marks). Root gives it the
// file's owner too. A group the maker cannot give it gets no rights; the file's owner, where he is not the copy's, gets
// an entry of his own in its access list where the file system keeps them. Where a step fails the copy is left closer,
// never more open.
void GiveCopyAccess(SystemCalls& sys, int fd, int oldFd, const struct stat& old);

}  // namespace lintora
