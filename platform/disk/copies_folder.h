#pragma once
// The user's own folder for what his saves keep: $XDG_STATE_HOME/Lintora
// (default ~/.local/state/Lintora), open to him alone. It holds the
// records of his saves in place, and the copies of files whose folders
// take no new files.
#include <string>

#include "platform/disk/system_calls.h"

namespace lintora {

std::string CopiesFolder();

// The folder opened (O_PATH), made first when make and it is not there;
// closed with error set where it cannot be.
Descriptor OpenCopiesFolder(SystemCalls& sys, bool make, int& error);

}  // namespace lintora
