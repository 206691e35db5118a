#include "main_window/parent_pick.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "main_window/list_texts.h"
#include "record_store/program_state.h"
#include "platform/qt/qt_text.h"

namespace lintora {
namespace {


}  // namespace

ParentPickPanel::ParentPickPanel(QWidget* parent) : QWidget(parent) {
    auto* outer = new QVBoxLayout(this);
    label_ = new QLabel("Sorry - unable to process multiple sets of parents - please select one or cancel for none...");
    label_->setWordWrap(true);
    list_ = new QTreeWidget;
    list_->setColumnCount(5);
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setColumnHidden(4, true);
    cancel_ = new QPushButton("Cancel");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancel_);
    outer->addWidget(label_);
    outer->addWidget(list_, 1);
    outer->addLayout(buttons);
    connect(list_, &QTreeWidget::itemClicked, this, [this] { ParentListClick(); });
    connect(cancel_, &QPushButton::clicked, this, [this] { Command13Click(); });
    setHidden(true);
}

void ParentPickPanel::LoadParentPickList() {
    list_->clear();
    const PageScratchRec& page = g.PageScratch;
    const bool ids = g.FirstSite == "LDS" && page.PageParentSetCount >= 1 &&
                     !page.PageParentSets[1].psFatherAFN.blank();
    struct Heading { const char* text; int twips; };
    static const Heading standard[] = {{"Father's Name", 2000}, {"Mother's Name", 2000}, {"Marr Date", 1000},
                                       {"Place", 2000}, {"pCtr", 0}};
    static const Heading withIds[] = {{"Father's Name", 2300}, {"AFN", 900}, {"Mother's Name", 2300},
                                      {"AFN", 900}, {"pCtr", 0}};
    const Heading* layout = ids ? withIds : standard;
    QStringList headers;
    for (int c = 0; c < 5; ++c) headers << layout[c].text;
    list_->setHeaderLabels(headers);
    for (int c = 0; c < 4; ++c) list_->setColumnWidth(c, layout[c].twips / 15);

    const int count = std::min<int>(page.PageParentSetCount, kMaxParentSets);
    for (int k = 1; k <= count; ++k) {
        const PageParentSet& set = page.PageParentSets[static_cast<std::size_t>(k)];
        if (set.psFatherName.trimmed() == "<unknown>" && set.psMotherName.trimmed() == "<unknown>") continue;
        const QString father = Q(ListParentNameText(set.psFatherName.value()));
        const QString mother = Q(ListParentNameText(set.psMotherName.value()));
        QStringList row;
        if (ids)
            row << father << Q(set.psFatherAFN.trimmed()) << mother << Q(set.psMotherAFN.trimmed());
        else
            row << father << mother << Q(ListDateText(set.psMarrDate.value(), false))
                << Q(ListPlaceText(set.psMarrPlace.value()));
        row << QString::number(k);
        list_->addTopLevelItem(new QTreeWidgetItem(row));
    }
    show();
}

void ParentPickPanel::ParentListClick() {
    QTreeWidgetItem* item = list_->currentItem();
    if (!item || !item->isSelected()) return;
    bool ok = false;
    const int set = item->text(4).toInt(&ok);
    if (!ok || set < 1 || set > g.PageScratch.PageParentSetCount || set > kMaxParentSets) return;
    hide();
    if (pickSet) pickSet(set);
}

void ParentPickPanel::Command13Click() {
    hide();
    if (cancelPick) cancelPick();
}

}  // namespace lintora
