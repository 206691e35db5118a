#pragma once
// Saving a file: the one call through which the program writes its files.
#include <string>

#include "platform/disk/save_result.h"
#include "platform/disk/system_calls.h"

namespace lintora {

// Saves contents as the file at path and returns what happened; it asks nothing and words nothing. Through a link the
// file it names is written, there or not, and the link stays; links are followed only as the system follows them. A
// file that is there stays what it was: its owner, group, access list, attributes and permissions, and the other names
// it has; a read-only file is left as it is. A new file gets the user's usual permissions, never execute marks. A
// failed save leaves the file as it was, or (where even putting it back failed) names the copy that holds its earlier
// contents. Another save of the same file, of any copy of the program, waits its turn, and a save never says "saved" of
// contents that no name reaches. sys stands for the system; tests pass their own.
SaveResult SaveContents(const std::string& path, const std::string& contents, SystemCalls& sys = RealSystem());

}  // namespace lintora
