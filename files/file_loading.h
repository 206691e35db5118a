#pragma once
// Reading a GEDCOM file or a work file (the kind is told by its lines).
#include <string>

#include "files/cut_short_files.h"
#include "platform/disk/system_calls.h"

namespace lintora {

// Loads the file at path into fresh tables. The work is replaced, and
// named by path, only when the file held individuals; a missing, empty,
// unreadable or unusable file leaves it as it was and says why. A file cut short (it ends
// before its trailer, or is a work file cut inside its last line) loads
// what it holds and says it may be incomplete; records after the trailer
// are loaded, and the user told so. The file is read through one
// descriptor, never waited on, and its bytes are held once. True when the
// work was replaced. sys stands for the system; tests pass their own.
// atStart: the start-up's own open, which leaves records that cannot be
// read to the start-up's one box.
bool LoadFile(const std::string& path, SystemCalls& sys = RealSystem(), bool atStart = false);

}  // namespace lintora
