#pragma once
// The line scan that MyTrees individual and family pages share: labelled
// lines ("Birth: 12 Jan 1850 Boston"), a list section under its heading
// (the spouses, or the children), a notes section under "Notes:" and the
// footer line that begins "Copyright".
#include <functional>
#include <string>
#include <string_view>

namespace lintora {

struct MyTreesScan {
    std::string_view listHeading;  // "Spouses:" or "Children:"
    // One list entry with a name, split by SplitPersonEntryKK.
    std::function<void(const std::string& name, const std::string& date, const std::string& place)> entry;
    // One labelled line outside the sections: the trimmed label and the
    // trimmed text between the first and a second ":".
    std::function<void(const std::string& label, const std::string& value)> field;
};

// Reads g.PageLines from line 1 to the last (a line past the end reads
// empty), adding the notes to the page notes. A handler that throws ends
// the scan quietly; what was read stays.
void ScanMyTreesPage(const MyTreesScan& scan);

}  // namespace lintora
