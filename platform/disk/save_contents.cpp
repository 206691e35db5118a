// Saving a file: the walk to it, then a new file renamed over it or a write in place.
#include "platform/disk/save_contents.h"

#include "platform/disk/reaching_the_file.h"
#include "platform/disk/replace_by_rename.h"
#include "platform/disk/save_record.h"
#include "platform/disk/write_in_place.h"

namespace lintora {

namespace {

SaveResult Save(const std::string& path, const std::string& contents, SystemCalls& sys) {
    // Another save may put a new file in the old one's place while this one
    // waits for it: the new one is then saved, a few times at most.
    constexpr int kMostStarts = 4;
    bool inPlace = false;
    for (int start = 1;; ++start) {
        // The file the path names, held by its folder.
        FoundFile found;
        if (SaveResult refused = FindFile(sys, path, found); !refused.saved()) return refused;
        // What an earlier save that stopped left beside it.
        if (start == 1) RemoveLeftScratchFiles(sys, found.folder.get(), found.folderPath);
        // What stands there now, judged on its own descriptor.
        OldFile old;
        if (SaveResult refused = OpenFoundFile(sys, found, old); !refused.saved()) return refused;
        if (!old.fd.open()) {
            Replacement made = ReplaceByRename(sys, found, old, contents);
            return made.outcome == Replacement::Stopped ? made.stopped : SaveResult{};
        }
        inPlace = inPlace || MustWriteInPlace(sys, old);
        if (inPlace && old.writeError) return Stopped(SaveStop::OpenFile, old.writeError, true);
        if (SaveResult held = HoldOldFile(sys, found, old, inPlace); !held.saved()) {
            if (held.stop == SaveStop::Replaced && start < kMostStarts) continue;
            return held;
        }
        if (inPlace) return WriteInPlace(sys, found, old, contents);
        // A new file renamed over the old one, where it stands in for it.
        Replacement replaced = ReplaceByRename(sys, found, old, contents);
        if (replaced.outcome == Replacement::Replaced) return {};
        if (replaced.outcome == Replacement::Stopped) return replaced.stopped;
        // Else written in place, its earlier contents kept meanwhile: the
        // shared hold goes, and the file is held for writing from the start.
        inPlace = true;
        --start;
    }
}

}  // namespace

SaveResult SaveContents(const std::string& path, const std::string& contents, SystemCalls& sys) {
    SaveResult result = Save(path, contents, sys);
    // What its words need beside the stop.
    result.user = sys.User();
    return result;
}

}  // namespace lintora
