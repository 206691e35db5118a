#include "main_window/parent_pick.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "main_window/column_fit.h"
#include "main_window/list_texts.h"
#include "main_window/panel_escape.h"
#include "record_store/program_state.h"
#include "platform/qt/qt_text.h"

namespace lintora {
ParentPickPanel::ParentPickPanel(QWidget* parent) : QWidget(parent) {
    auto* outer = new QVBoxLayout(this);
    label_ = new QLabel("Sorry - unable to process multiple sets of parents - please select one or cancel for none...");
    label_->setWordWrap(true);
    list_ = new QTreeWidget;
    list_->setColumnCount(5);
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setColumnHidden(4, true);
    // Wide enough for the usual columns of either layout.
    list_->setMinimumWidth(7000 / 15 + 2 * list_->frameWidth() + list_->verticalScrollBar()->sizeHint().width());
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->installEventFilter(this);
    cancel_ = new QPushButton("Cancel");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancel_);
    outer->addWidget(label_);
    outer->addWidget(list_, 1);
    outer->addLayout(buttons);
    connect(list_, &QTreeWidget::itemClicked, this, [this] { ParentListClick(); });
    connect(cancel_, &QPushButton::clicked, this, [this] { Command13Click(); });
    EscapeCloses(this, [this] { Command13Click(); });
    setHidden(true);
}

void ParentPickPanel::LoadParentPickList() {
    list_->clear();
    const PageScratchRec& page = g.PageScratch;
    const bool ids = g.FirstSite == "LDS" && page.PageParentSetCount >= 1 &&
                     !page.PageParentSets[1].psFatherAFN.blank();
    struct Heading { const char* text; int twips; bool mayCut; };
    static const Heading standard[] = {{"Father's Name", 2000, true}, {"Mother's Name", 2000, true},
                                       {"Marr Date", 1000, false}, {"Place", 2000, true}, {"pCtr", 0, false}};
    static const Heading withIds[] = {{"Father's Name", 2300, true}, {"AFN", 900, false},
                                      {"Mother's Name", 2300, true}, {"AFN", 900, false}, {"pCtr", 0, false}};
    const Heading* layout = ids ? withIds : standard;
    QStringList headers;
    rules_.clear();
    for (int c = 0; c < 5; ++c) {
        headers << layout[c].text;
        rules_.push_back({layout[c].twips / 15, layout[c].mayCut});
    }
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
    raise();
    FitColumns(list_, list_->header(), rules_);
}

bool ParentPickPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ && event->type() == QEvent::Resize) FitColumns(list_, list_->header(), rules_);
    return QWidget::eventFilter(watched, event);
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
