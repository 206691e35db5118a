#pragma once
// Replacing a file safely: the new contents go to a uniquely named file in
// the target's folder, are put on disk, and only then renamed over the
// target; a failure leaves the old file as it was. A file that a new one
// would not stand in for (other names, a group the user cannot give, a
// folder that takes no new files) is written in place instead, its old
// contents kept in a copy until the write is on disk.
#include <functional>
#include <string>

namespace lintora {

// Asked before a file is replaced by one that cannot keep its group or its
// access list; change says what would change. True replaces it all the same.
using ReplaceAnyway = std::function<bool(const std::string& change)>;

// Returns "" on success, else a description of what failed ("family.ged
// was not saved: the disk is full. The file is as it was."). A read-only
// target is left as it is. A replaced file keeps its permissions, its group
// and, where the user may give it, its owner, its access list and its
// extended attributes; the new contents are never more open to others than
// the old ones, not even while being written. A new file gets the user's
// usual permissions, never execute marks. Through a link the file it names
// is written, there or not, and the link stays; another user's link in a
// shared sticky folder is not followed. When the group or the access list
// cannot be kept, replaceAnyway decides (none: the old file is left as it
// is); a group not kept gets no rights.
std::string WriteFileAtomically(const std::string& target, const std::string& contents,
                                const ReplaceAnyway& replaceAnyway = {});

// Asks the user, through the port, whether a file may be replaced all the
// same; remembers a No, after which the caller says nothing more.
struct AskBeforeReplacing {
    bool declined = false;
    bool operator()(const std::string& change);
};

// Tests look at every temporary file as soon as it is made, before its
// first byte is written; nullptr stops it.
void WatchNewTemporaryFiles(std::function<void(const std::string& path)> watch);

}  // namespace lintora
