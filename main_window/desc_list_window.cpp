#include "main_window/desc_list_window.h"

#include <algorithm>

#include <QFontDatabase>
#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "record_store/descendants.h"
#include "record_store/program_state.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/window_place.h"

namespace lintora {
namespace {

// The line column's own width, 8000 twips.
constexpr int kLineWidth = 8000 / 15;

// The width the longest line of list takes, with the margin an item view
// keeps on either side of a text.
int LongestLine(const QTreeWidget* list) {
    const QFontMetrics fm(list->font());
    int longest = 0;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        longest = std::max(longest, fm.horizontalAdvance(list->topLevelItem(i)->text(0)));
    const int margin = list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1;
    return longest + 2 * margin;
}

}  // namespace

LintoraDescList::LintoraDescList(QWidget* parent) : QDialog(parent) {
    auto* layout = new QVBoxLayout(this);
    list_ = new QTreeWidget;
    list_->setColumnCount(2);
    list_->setHeaderLabels({"NameDates", "RecNo"});
    list_->setColumnHidden(1, true);
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setHeaderHidden(true);
    // The outline is indented with blanks: a fixed font keeps generations aligned.
    list_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    list_->setColumnWidth(0, kLineWidth);
    layout->addWidget(list_);
    resize(kLineWidth + 40, 420);
    connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] { LstDescListDblClick(); });
    KeepPlaceWhenShownAgain(this);
    ReturnActivationOnHide(this);
}

bool LintoraDescList::Build() {
    list_->clear();
    if (g.IndivCount <= 0 || g.CurIndiv <= 0 || g.CurIndiv > g.IndivCount) return false;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const auto lines = BuildDescendantOutline(g.CurIndiv);
    QGuiApplication::restoreOverrideCursor();
    if (lines.empty()) return false;
    setWindowTitle(QString::fromStdString(g.Indiv[g.CurIndiv].iName.trimmed()) + " descendants list");
    QList<QTreeWidgetItem*> rows;
    for (const auto& l : lines)
        rows.append(new QTreeWidgetItem({QString::fromStdString(l.text), QString::number(l.indiv)}));
    list_->addTopLevelItems(rows);
    FitLongestLine();
    list_->setCurrentItem(list_->topLevelItem(0));
    list_->scrollToTop();
    return true;
}

void LintoraDescList::FitLongestLine() {
    const int column = std::max(kLineWidth, LongestLine(list_));
    list_->setColumnWidth(0, column);
    const QMargins around = layout()->contentsMargins();
    int wanted = column + 2 * list_->frameWidth() + list_->verticalScrollBar()->sizeHint().width() + around.left() +
                 around.right();
    // Never narrower than the user left it; never wider than the screen,
    // where a longer line scrolls.
    wanted = std::max(wanted, width());
    const QScreen* screen = parentWidget() ? parentWidget()->screen() : this->screen();
    if (!screen) return;
    const QRect room = screen->availableGeometry();
    // Before its first showing the window's frame is not known yet: its
    // owner's stands in for it.
    int frame = frameGeometry().width() - width();
    if (const QWidget* owner = parentWidget()) frame = std::max(frame, owner->frameGeometry().width() - owner->width());
    resize(std::min(wanted, room.width() - frame), height());
    // A window placed before comes back onto the screen.
    if (testAttribute(Qt::WA_Moved) && frameGeometry().right() > room.right())
        move(std::max(room.left(), room.right() + 1 - frameGeometry().width()), pos().y());
}

void LintoraDescList::ShowDescList() {
    if (Build()) exec();
}

void LintoraDescList::LstDescListDblClick() {
    QTreeWidgetItem* item = list_->currentItem();
    const int32_t n = item ? item->text(1).toInt() : 0;
    if (n > 0 && n <= g.IndivCount) {
        g.CurIndiv = n;
        if (reRoot) reRoot(n);
    }
    accept();
}

}  // namespace lintora
