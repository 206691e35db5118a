#include "platform/window_ports.h"

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

}  // namespace

MainWindowPort& MainWindow() { return SlotOf<MainWindowPort>().get(); }
EditorPort& Editor() { return SlotOf<EditorPort>().get(); }
SearchWindowPort& SearchWindow() { return SlotOf<SearchWindowPort>().get(); }
ProgressDisplay& Progress() { return SlotOf<ProgressDisplay>().get(); }

void InstallMainWindow(MainWindowPort* p) { SlotOf<MainWindowPort>().installed = p; }
void InstallEditor(EditorPort* p) { SlotOf<EditorPort>().installed = p; }
void InstallSearchWindow(SearchWindowPort* p) { SlotOf<SearchWindowPort>().installed = p; }
void InstallProgress(ProgressDisplay* p) { SlotOf<ProgressDisplay>().installed = p; }

}  // namespace lintora
