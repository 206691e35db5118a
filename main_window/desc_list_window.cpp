#include "main_window/desc_list_window.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "record_store/descendants.h"
#include "record_store/program_state.h"
#include "platform/qt/window_place.h"

namespace lintora {

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
    list_->setColumnWidth(0, 8000 / 15);
    layout->addWidget(list_);
    resize(8000 / 15 + 40, 420);
    connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] { LstDescListDblClick(); });
    KeepPlaceWhenShownAgain(this);
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
    list_->resizeColumnToContents(0);
    list_->setCurrentItem(list_->topLevelItem(0));
    list_->scrollToTop();
    return true;
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
