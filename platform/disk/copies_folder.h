#pragma once
// The user's own folder for what his saves keep: $XDG_STATE_HOME/Lintora (default ~/.local/state/Lintora), open to him
// alone. It holds the records of his saves, and the copies of files whose folders take no new files.
#include <cerrno>
#include <string>

#include "platform/disk/system_calls.h"

namespace lintora {

std::string CopiesFolder();

// The error by which the folder is refused as another user's (root's
// after a start under sudo, say): no copy or record goes there.
constexpr int kNotYourFolder = EOWNERDEAD;

// The folder opened, made first when make and it is not there, and made his alone (0700) where it is not; closed with
// error set where it cannot be had, or is another user's (kNotYourFolder).
Descriptor OpenCopiesFolder(SystemCalls& sys, bool make, int& error);

}  // namespace lintora
