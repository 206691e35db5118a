#pragma once
// Reading a GEDCOM file or a work file (the kind is told by its lines).
#include <string>

namespace lintora {

// Loads the file named by g.FilePath into fresh tables. The work is replaced
// only when the file held individuals; a missing, empty, unreadable or
// unusable file leaves it as it was (with a message, except a missing file).
// True when the work was replaced.
bool LoadFile();

}  // namespace lintora
