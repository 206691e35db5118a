#include "page_import/skipped_entries.h"

#include "platform/platform.h"

namespace lintora {

void SkippedEntries::Report(const std::string& what) const {
    if (count_ == 0) return;
    ShowInfo("This page holds more " + what + " than Lintora can take from one page - " + std::to_string(count_) +
             " of them were skipped.");
}

}  // namespace lintora
