#pragma once
// Replacing a file by a new one: the contents go to a new file beside it,
// which takes the old one's owners and access, is put on disk and only then
// renamed over it. The old file is as it was until the rename.
#include <string>

#include "platform/disk/reaching_the_file.h"
#include "platform/disk/save_result.h"
#include "platform/disk/system_calls.h"

namespace lintora {

// Saves contents as the file found, replacing old when it is there (old.fd
// open). Where the new file could not stand in for old (its folder takes no
// new files, or the new file would not take its owner, group or access
// list) nothing is written and inPlace is set: old is to be written in place.
SaveResult ReplaceByRename(SystemCalls& sys, const FoundFile& found, const OldFile& old, const std::string& contents,
                           bool& inPlace);

}  // namespace lintora
