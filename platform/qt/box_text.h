#pragma once
// Filling a text box from code.
#include <QString>

class QLineEdit;

namespace lintora {

// Puts text into box as the program's own fill: the change handler runs only
// when the text really changes, and the box shows the beginning of its text
// (a long place would otherwise show only its end).
void SetBoxText(QLineEdit* box, const QString& text);

}  // namespace lintora
