#pragma once
// Replacing a file safely: the new contents go to a uniquely named file in
// the target's folder, are flushed, and only then renamed over the target.
// A failure leaves the old file as it was.
#include <string>

namespace lintora {

// Returns "" on success, else a description of what failed.
std::string WriteFileAtomically(const std::string& target, const std::string& contents);

// Reads a whole file; false when it cannot be read.
bool ReadWholeFile(const std::string& path, std::string& contents);
// The same, saying why a file cannot be read ("" when it was): missing, a
// folder or another thing that is no ordinary file, a link to nothing, no
// permission, an I/O error.
std::string ReadWholeFileOrWhy(const std::string& path, std::string& contents);

}  // namespace lintora
