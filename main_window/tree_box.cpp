#include "main_window/tree_box.h"

#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QToolTip>

namespace lintora {

TreeBox::TreeBox(int reserveRight, QWidget* parent) : QLabel(parent), reserveRight_(reserveRight) {}

QString TreeBox::ShownText() const {
    const int room = contentsRect().width() - 2 * margin() - reserveRight_;
    return fontMetrics().elidedText(text(), Qt::ElideRight, std::max(room, 0));
}

bool TreeBox::event(QEvent* e) {
    if (e->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(e);
        if (Cut())
            QToolTip::showText(help->globalPos(), text(), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QLabel::event(e);
}

void TreeBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    drawFrame(&p);
    const QRect r = contentsRect().adjusted(margin(), margin(), -margin() - reserveRight_, -margin());
    style()->drawItemText(&p, r, static_cast<int>(alignment()), palette(), isEnabled(), ShownText(),
                          foregroundRole());
}

}  // namespace lintora
