#pragma once
// Puts the lists, panels and windows of the main window's commands into
// it: the list window, the place, source, prune and parent-pick panels,
// the Preferences window, the descendants list, the search window and the
// editor's way to the lists. Each is made once, owned by the main window.
namespace lintora {

class Lintora;

void PlugInWindows(Lintora& window);

}  // namespace lintora
