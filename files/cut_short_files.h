#pragma once
// The files a load found cut short, remembered so that a save over one
// asks first: known by device and inode and, so that a later file in that
// inode is not taken for it, by size and modification time.
#include "platform/disk/file_reading.h"

namespace lintora {

void RememberCutShort(const FileStamp& file);
// True for a file a load found cut short, until a save over it forgets it.
bool IsCutShort(const FileStamp& file);
void ForgetCutShort(const FileStamp& file);

}  // namespace lintora
