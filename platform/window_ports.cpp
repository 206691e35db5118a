#include "platform/window_ports.h"

#include <algorithm>
#include <climits>

namespace lintora {

namespace {

template <typename Port>
struct Slot {
    Port none;
    Port* installed = nullptr;
    Port& get() { return installed ? *installed : none; }
};

template <typename Port>
Slot<Port>& SlotOf() {
    static Slot<Port> slot;
    return slot;
}

// done of total on a bar whose steps are ints: halved as often as total must be.
int Steps(std::uint64_t done, std::uint64_t total) {
    int shift = 0;
    while ((total >> shift) > INT_MAX) ++shift;
    return static_cast<int>(std::min(done, total) >> shift);
}

}  // namespace

MainWindowPort& MainWindow() { return SlotOf<MainWindowPort>().get(); }
EditorPort& Editor() { return SlotOf<EditorPort>().get(); }
SearchWindowPort& SearchWindow() { return SlotOf<SearchWindowPort>().get(); }
ProgressDisplay& Progress() { return SlotOf<ProgressDisplay>().get(); }

void InstallMainWindow(MainWindowPort* p) { SlotOf<MainWindowPort>().installed = p; }
void InstallEditor(EditorPort* p) { SlotOf<EditorPort>().installed = p; }
void InstallSearchWindow(SearchWindowPort* p) { SlotOf<SearchWindowPort>().installed = p; }
void InstallProgress(ProgressDisplay* p) { SlotOf<ProgressDisplay>().installed = p; }

void StartProgress(std::uint64_t total) { Progress().Start(Steps(total, total)); }
void SetProgress(std::uint64_t done, std::uint64_t total) { Progress().Set(Steps(done, total)); }

}  // namespace lintora
