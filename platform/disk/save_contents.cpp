#include "platform/disk/save_contents.h"

#include "platform/disk/reaching_the_file.h"
#include "platform/disk/replace_by_rename.h"
#include "platform/disk/scratch_records.h"
#include "platform/disk/write_in_place.h"

namespace lintora {

SaveResult SaveContents(const std::string& path, const std::string& contents, SystemCalls& sys) {
    // The file the path names, held by its folder.
    FoundFile found;
    if (SaveResult refused = FindFile(sys, path, found); !refused.saved()) return refused;
    // What an earlier save that stopped left beside it.
    RemoveLeftScratchFiles(sys, found.folder.get(), found.folderPath);
    // What stands there now, judged on its own descriptor.
    OldFile old;
    if (SaveResult refused = OpenFoundFile(sys, found, old); !refused.saved()) return refused;
    // A new file renamed over the old one, where it stands in for it.
    if (!old.fd.open() || !MustWriteInPlace(sys, old)) {
        Replacement replaced = ReplaceByRename(sys, found, old, contents);
        if (replaced.outcome == Replacement::Replaced) return {};
        if (replaced.outcome == Replacement::Stopped) return replaced.stopped;
    }
    // Else the old one written over, its earlier contents kept meanwhile.
    return WriteInPlace(sys, found, old, contents);
}

}  // namespace lintora
