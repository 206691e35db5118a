#pragma once
// Replacing a file by a new one: the contents go to a new file beside it, which takes the old one's owners and access,
// is put on disk and only then renamed over it. The old file is as it was until the rename.
#include <string>

#include "platform/disk/reaching_the_file.h"
#include "platform/disk/save_result.h"
#include "platform/disk/system_calls.h"

namespace lintora {

// What became of a replacement.
struct Replacement {
    enum Outcome {
        Replaced,
        // Nothing written: the new file could not stand in for the old one (its folder takes no new files, or the new
        // file would not take its owner, group or access list), which is to be written in place.
        WriteInPlace,
        Stopped,  // failed where stopped says
    };
    Outcome outcome = Replaced;
    SaveResult stopped;
};

// Saves contents as the file found, replacing old when it is there (old.fd open).
Replacement ReplaceByRename(SystemCalls& sys, const FoundFile& found, const OldFile& old, const std::string& contents);

}  // namespace lintora
