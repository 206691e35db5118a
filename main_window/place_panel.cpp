#include "main_window/place_panel.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "main_window/panel_escape.h"
#include "platform/platform.h"
#include "platform/qt/box_text.h"
#include "platform/qt/filled_box.h"
#include "record_store/place_editing.h"
#include "record_store/program_state.h"

namespace lintora {
namespace {

const char* const kChangedPrompt = " Select place in list to be changed...";
const char* const kChangeToPrompt = " Select place in list to change to...";

QLineEdit* CyanBox() {
    auto* box = new FilledBox;
    QPalette p = box->palette();
    p.setColor(QPalette::Base, QColor(0xC0, 0xFF, 0xFF));  // &HFFFFC0
    box->setPalette(p);
    return box;
}

}  // namespace

PlaceListFrame::PlaceListFrame(QWidget* parent) : QWidget(parent) {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 4, 4, 4);
    auto* top = new QHBoxLayout;
    text2_ = CyanBox();
    close_ = new QToolButton;
    close_->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    close_->setToolTip("Close list window");
    close_->setAutoRaise(true);
    top->addWidget(text2_, 1);
    top->addWidget(close_);
    outer->addLayout(top);
    auto* second = new QHBoxLayout;
    text3_ = CyanBox();
    edit_ = new QPushButton("Edit");
    clear_ = new QPushButton("Clear");
    second->addWidget(text3_, 1);
    second->addWidget(edit_);
    second->addWidget(clear_);
    outer->addLayout(second);
    list_ = new QTreeWidget;
    list_->setColumnCount(2);
    list_->setHeaderLabels({"Place", "Occ"});
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    // The place takes what the count leaves, so the count is always in
    // view; a place too long for it is cut with an ellipsis.
    list_->header()->setStretchLastSection(false);
    list_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    list_->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setTextElideMode(Qt::ElideRight);
    list_->headerItem()->setTextAlignment(1, Qt::AlignRight);
    // The hidden replacement row keeps its room: the list must not move
    // under the pointer between the first pick and the second.
    for (QWidget* w : {static_cast<QWidget*>(text3_), static_cast<QWidget*>(edit_), static_cast<QWidget*>(clear_)}) {
        QSizePolicy keep = w->sizePolicy();
        keep.setRetainSizeWhenHidden(true);
        w->setSizePolicy(keep);
    }
    outer->addWidget(list_, 1);
    connect(list_, &QTreeWidget::itemClicked, this, [this] { ListView3Click(); });
    connect(edit_, &QPushButton::clicked, this, [this] { Command7Click(); });
    connect(clear_, &QPushButton::clicked, this, [this] { Command8Click(); });
    connect(close_, &QToolButton::clicked, this, [this] { Command10Click(); });
    EscapeCloses(this, [this] { Command10Click(); });
    Command8Click();
    setHidden(true);
}

void PlaceListFrame::Open() {
    placeListPos_ = 1;
    LoadPlaceList();
    if (isVisible()) raise();
}

void PlaceListFrame::LoadPlaceList() {
    list_->clear();
    if (g.IndivCount <= 0) {
        ShowInfo("No place data to edit.");
        return;
    }
    const auto places = CollectPlaces();
    QList<QTreeWidgetItem*> rows;
    rows.reserve(static_cast<qsizetype>(places.size()));
    for (const auto& p : places) {
        auto* item = new QTreeWidgetItem({QString::fromStdString(p.place), QString::number(p.count)});
        item->setTextAlignment(1, Qt::AlignRight);
        // A place cut to fit the list can still be read whole.
        item->setToolTip(0, item->text(0));
        rows.append(item);
    }
    list_->addTopLevelItems(rows);
    const int32_t row = PlaceRowToSelect(static_cast<int32_t>(places.size()), placeListPos_);
    if (row >= 1) {
        QTreeWidgetItem* item = list_->topLevelItem(row - 1);
        list_->setCurrentItem(item);
        list_->scrollToItem(item);
    }
    placeListPos_ = 1;
    Command8Click();
    show();
}

void PlaceListFrame::ListView3Click() {
    QTreeWidgetItem* item = list_->currentItem();
    if (!item || !item->isSelected()) return;
    const QString place = item->text(0).trimmed();
    // "Edit" comes with the first pick, so that a typed replacement can be
    // applied without a second pick.
    edit_->show();
    placeListPos_ = list_->indexOfTopLevelItem(item) + 1 + 5;
    if (text3_->isHidden()) {
        text3_->show();
        clear_->show();
        SetBoxText(text2_, place);
        text3_->clear();  // its prompt stands as placeholder
        return;
    }
    SetBoxText(text3_, place);
}

void PlaceListFrame::Refresh() {
    if (isHidden()) return;
    if (g.IndivCount <= 0) {
        hide();
        return;
    }
    // The same stretch of the list stays in view.
    const int scrolled = list_->verticalScrollBar()->value();
    LoadPlaceList();
    list_->verticalScrollBar()->setValue(scrolled);
}

void PlaceListFrame::Command7Click() {
    const std::string oldPlace = text2_->text().trimmed().toStdString();
    const std::string newPlace = text3_->text().trimmed().toStdString();
    if (oldPlace.empty() || newPlace.empty() || text3_->isHidden()) {
        Command8Click();
        return;
    }
    const int32_t count = ReplacePlace(oldPlace, newPlace);
    ShowInfo(PlaceChangeReport(count, oldPlace, newPlace));
    LoadPlaceList();
}

void PlaceListFrame::Command8Click() {
    text3_->hide();
    edit_->hide();
    clear_->hide();
    text2_->clear();
    text2_->setPlaceholderText(kChangedPrompt);
    text3_->clear();
    text3_->setPlaceholderText(kChangeToPrompt);
}

void PlaceListFrame::Command10Click() { hide(); }

}  // namespace lintora
