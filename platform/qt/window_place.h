#pragma once
// A window that is hidden and shown again comes back where it was.
class QWidget;

namespace lintora {

void KeepPlaceWhenShownAgain(QWidget* window);

}  // namespace lintora
