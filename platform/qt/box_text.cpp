#include "platform/qt/box_text.h"

#include <QLineEdit>

namespace lintora {

void SetBoxText(QLineEdit* box, const QString& text) {
    if (!box) return;
    if (box->text() != text) box->setText(text);
    box->setCursorPosition(0);
}

}  // namespace lintora
