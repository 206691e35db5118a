#pragma once
// Reading a GEDCOM file or a work file (the kind is told by its lines).
#include <string>

#include "platform/file_reading.h"

namespace lintora {

// Loads the file named by g.FilePath into fresh tables. The work is replaced
// only when the file held individuals; a missing, empty, unreadable or
// unusable file leaves it as it was and says why. A file that ends before
// its trailer loads what it holds and says it may be incomplete. True when
// the work was replaced.
bool LoadFile();

// True for a file a load found cut short (it ends before its trailer, 0
// TRLR), known by its device and inode, until a save over it forgets it.
bool IsCutShort(const FileStamp& file);
void ForgetCutShort(const FileStamp& file);

}  // namespace lintora
