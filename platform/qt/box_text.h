#pragma once
// Text the program puts into a box: a line edit would scroll to its end and
// hide the date or name the text begins with.
#include <QLineEdit>
#include <QString>

namespace lintora {

inline void ShowFromStart(QLineEdit* box, const QString& text) {
    box->setText(text);
    box->setCursorPosition(0);
}

}  // namespace lintora
