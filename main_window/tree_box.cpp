#include "main_window/tree_box.h"

#include <QHelpEvent>
#include <QPainter>
#include <QRegularExpression>
#include <QStyle>
#include <QToolTip>

namespace lintora {

TreeBox::TreeBox(QWidget* parent) : QLabel(parent) {}

void TreeBox::SetReserveRight(int pixels) {
    if (pixels == reserveRight_) return;
    reserveRight_ = pixels;
    update();
}

QRect TreeBox::TextRect() const {
    // As QLabel does: a framed label keeps half an "x" clear of its frame.
    const int in = indent() >= 0 ? indent() : frameWidth() > 0 ? fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2 : 0;
    // The caption ends as far short of the frame, or of the note marker, as
    // it starts after it: the indent and its own leading blanks.
    const QString whole = text();
    qsizetype blanks = 0;
    while (blanks < whole.size() && whole[blanks] == QLatin1Char(' ')) ++blanks;
    const int lead = fontMetrics().horizontalAdvance(whole.left(blanks));
    const int right = margin() + std::max(reserveRight_ - frameWidth(), 0) + in + lead;
    return contentsRect().adjusted(margin() + in, margin(), -right, -margin());
}

QString TreeBox::ShownText() const {
    const QFontMetrics metrics = fontMetrics();
    const int room = std::max(TextRect().width(), 0);
    const QString whole = text();
    if (metrics.horizontalAdvance(whole) <= room) return whole;
    // The life years are what is read first: the name gives way, they stay whole.
    static const QRegularExpression years(QStringLiteral("  \\( *\\d*-\\d* *\\)$"));
    const QRegularExpressionMatch m = years.match(whole);
    if (m.hasMatch() && m.capturedStart() > 0) {
        const QString name = metrics.elidedText(whole.left(m.capturedStart()), Qt::ElideRight,
                                                room - metrics.horizontalAdvance(m.captured()));
        if (name.size() > 2) return name + m.captured();
    }
    return metrics.elidedText(whole, Qt::ElideRight, room);
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
    style()->drawItemText(&p, TextRect(), static_cast<int>(alignment()), palette(), isEnabled(), ShownText(),
                          foregroundRole());
}

}  // namespace lintora
