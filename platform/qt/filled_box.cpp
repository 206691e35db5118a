#include "platform/qt/filled_box.h"

#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>
#include <QStylePainter>
#include <QToolTip>

namespace lintora {

namespace {

const QString kMark(QChar(0x2026));

// Shows the whole text as tool tip while it is cut; the widget's own tip
// (if any) otherwise.
bool ShowWholeText(QWidget* widget, QEvent* event, bool cut, const QString& text) {
    if (event->type() != QEvent::ToolTip || !cut || !widget->toolTip().isEmpty()) return false;
    QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), text, widget);
    return true;
}

}  // namespace

bool FilledBox::CutMarked() const {
    return !hasFocus() && cursorPosition() == 0 && fontMetrics().horizontalAdvance(text()) > TextRoom().width();
}

void FilledBox::paintEvent(QPaintEvent* event) {
    QLineEdit::paintEvent(event);
    if (!CutMarked()) return;
    // The mark follows the last letter that fits whole; what is after it is
    // covered.
    const QRect room = TextRoom();
    const QString shown = fontMetrics().elidedText(text(), Qt::ElideRight, room.width());
    const int left = room.left() + fontMetrics().horizontalAdvance(shown) - fontMetrics().horizontalAdvance(kMark);
    const QRect at(left, room.top(), Contents().right() - left + 1, room.height());
    QPainter painter(this);
    painter.fillRect(at, palette().base());
    painter.setPen(palette().text().color());
    painter.drawText(at, Qt::AlignLeft | Qt::AlignVCenter, kMark);
}

bool FilledBox::event(QEvent* event) {
    if (ShowWholeText(this, event, CutMarked(), text())) return true;
    return QLineEdit::event(event);
}

QRect FilledBox::Contents() const {
    QStyleOptionFrame option;
    initStyleOption(&option);
    return style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
}

QRect FilledBox::TextRoom() const { return Contents().marginsRemoved(textMargins()).adjusted(2, 0, -2, 0); }

bool FilledLabel::CutMarked() const { return fontMetrics().horizontalAdvance(text()) > TextRoom().width(); }

QSize FilledLabel::sizeHint() const {
    // Room for a usual name; more only when the layout gives it.
    const QMargins m = contentsMargins();
    return {fontMetrics().averageCharWidth() * 20 + 2 * frameWidth() + m.left() + m.right() + 2 * margin(),
            QLabel::sizeHint().height()};
}

QSize FilledLabel::minimumSizeHint() const {
    return {fontMetrics().horizontalAdvance(kMark) + 2 * frameWidth() + 2 * margin(),
            QLabel::minimumSizeHint().height()};
}

void FilledLabel::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    const QRect room = TextRoom();
    painter.drawText(room, static_cast<int>(alignment()), fontMetrics().elidedText(text(), Qt::ElideRight, room.width()));
}

bool FilledLabel::event(QEvent* event) {
    if (ShowWholeText(this, event, CutMarked(), text())) return true;
    return QLabel::event(event);
}

QRect FilledLabel::TextRoom() const { return contentsRect().adjusted(margin(), margin(), -margin(), -margin()); }

FilledComboBox::FilledComboBox(QWidget* parent) : QComboBox(parent) {
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(20);
}

bool FilledComboBox::CutMarked() const {
    return !isEditable() && fontMetrics().horizontalAdvance(currentText()) > TextRoom().width();
}

void FilledComboBox::paintEvent(QPaintEvent* event) {
    if (isEditable()) {
        QComboBox::paintEvent(event);
        return;
    }
    QStylePainter painter(this);
    painter.setPen(palette().color(QPalette::Text));
    QStyleOptionComboBox option;
    initStyleOption(&option);
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    option.currentText = fontMetrics().elidedText(option.currentText, Qt::ElideRight, TextRoom().width());
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

bool FilledComboBox::event(QEvent* event) {
    if (ShowWholeText(this, event, CutMarked(), currentText())) return true;
    return QComboBox::event(event);
}

QRect FilledComboBox::TextRoom() const {
    QStyleOptionComboBox option;
    initStyleOption(&option);
    // The label style keeps a few pixels of its own at each side.
    const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    return field.adjusted(2, 0, -2, 0);
}

bool ShowsCutMark(const QWidget* box) {
    if (const auto* b = dynamic_cast<const FilledBox*>(box)) return b->CutMarked();
    if (const auto* l = dynamic_cast<const FilledLabel*>(box)) return l->CutMarked();
    if (const auto* c = dynamic_cast<const FilledComboBox*>(box)) return c->CutMarked();
    return false;
}

}  // namespace lintora
