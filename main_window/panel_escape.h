#pragma once
// Escape on the main window's panels: it answers the panel in front as that
// panel's Cancel or close button does.
#include <functional>

class QWidget;

namespace lintora {

// Escape anywhere in panel's window runs close for panel when it is the
// panel in front: shown, the last raised of the shown panels that answer
// Escape, and not covered whole by another shown widget beside it (the list
// window, a panel that does not answer Escape). A hidden panel takes no keys.
void EscapeCloses(QWidget* panel, std::function<void()> close);

}  // namespace lintora
