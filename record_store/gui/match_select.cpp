#include "record_store/gui/match_select.h"

#include <QApplication>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "platform/qt/qt_platform.h"

namespace lintora {

namespace {

QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// Column widths in twips, 15 to a pixel.
constexpr int kColumnTwips[] = {3387, 1323, 1323, 3387, 3387, 2999};

}  // namespace

frmMatchSelect::frmMatchSelect(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Close matches found - Click to select ");
    setModal(true);

    Label7 = new QLabel("Close matches found - Click on line below to select...", this);
    const char* headings[] = {"Name", "Birth/Chr", "Death", "Spouse", "Father", "Mother"};
    QLabel** heads[] = {&Label1, &Label2, &Label3, &Label4, &Label5, &Label6};
    QLabel** values[] = {&lblMatchName, &lblMatchBday, &lblMatchDday,
                         &lblMatchSpouse, &lblMatchFather, &lblMatchMother};
    auto* grid = new QGridLayout;
    for (int c = 0; c < 6; ++c) {
        *heads[c] = new QLabel(headings[c], this);
        *values[c] = new QLabel(this);
        grid->addWidget(*heads[c], 0, c);
        grid->addWidget(*values[c], 1, c);
        grid->setColumnMinimumWidth(c, kColumnTwips[c] / 15);
    }

    MatchListView = new QTreeWidget(this);
    MatchListView->setColumnCount(colCount);
    MatchListView->setHeaderLabels({"Name", "Birth", "Death", "Spouse", "Father", "Mother", "iID", "ix"});
    MatchListView->setRootIsDecorated(false);
    MatchListView->setItemsExpandable(false);
    MatchListView->setAllColumnsShowFocus(true);
    MatchListView->setSelectionMode(QAbstractItemView::SingleSelection);
    MatchListView->setToolTip("Click on a name if a match, otherwise click Not a match");
    for (int c = 0; c < 6; ++c) MatchListView->setColumnWidth(c, kColumnTwips[c] / 15);
    MatchListView->setColumnHidden(colID, true);
    MatchListView->setColumnHidden(colIx, true);
    connect(MatchListView, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item, int) {
        MatchListView_Click(MatchListView->indexOfTopLevelItem(item));
    });
    connect(MatchListView, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item, int) {
        MatchListView_DblClick(MatchListView->indexOfTopLevelItem(item));
    });

    Command1 = new QPushButton("Not a match", this);
    Command1->setAutoDefault(false);
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label7);
    layout->addLayout(grid);
    layout->addWidget(MatchListView);
    layout->addLayout(buttons);

    int width = 0;
    for (int twips : kColumnTwips) width += twips / 15;
    resize(width + 40, 360);
}

void frmMatchSelect::Fill(const MatchRequest& r) {
    chosen_ = 0;
    lblMatchName->setText(Q(" " + r.name));
    lblMatchBday->setText(Q(r.birth));
    lblMatchDday->setText(Q(r.death));
    lblMatchSpouse->setText(Q(r.spouse));
    lblMatchFather->setText(Q(r.father));
    lblMatchMother->setText(Q(r.mother));

    MatchListView->clear();
    auto addRow = [this](const MatchCandidateRow& c) {
        auto* item = new QTreeWidgetItem(MatchListView);
        item->setText(colName, Q(c.name));
        item->setText(colBirth, Q(c.birth));
        item->setText(colDeath, Q(c.death));
        item->setText(colSpouse, Q(c.spouse));
        item->setText(colFather, Q(c.father));
        item->setText(colMother, Q(c.mother));
        item->setText(colID, QString::number(c.indiv));
    };
    for (const MatchCandidateRow& c : r.rows) addRow(c);
    // Fewer than nine rows are padded to ten; nine or more stand alone.
    if (MatchListView->topLevelItemCount() < kListRows - 1)
        while (MatchListView->topLevelItemCount() < kListRows) addRow(MatchCandidateRow{});
}

int32_t frmMatchSelect::RowRecord(int row) const {
    if (row < 0 || row >= MatchListView->topLevelItemCount()) return 0;
    bool ok = false;
    const int32_t n = MatchListView->topLevelItem(row)->text(colID).toInt(&ok);
    return ok && n > 0 ? n : 0;
}

void frmMatchSelect::Finish(int32_t chosen) {
    chosen_ = chosen;
    done(chosen > 0 ? QDialog::Accepted : QDialog::Rejected);
}

void frmMatchSelect::Command1_Click() { Finish(0); }

void frmMatchSelect::MatchListView_Click(int row) {
    chosen_ = RowRecord(row);
    // A blank row chooses nobody; the window waits for a real choice.
    if (chosen_ != 0) Finish(chosen_);
}

void frmMatchSelect::MatchListView_DblClick(int row) { Finish(RowRecord(row)); }

void frmMatchSelect::reject() {
    // The close box and Escape: the person is not a match.
    chosen_ = 0;
    QDialog::reject();
}

int32_t frmMatchSelect::Choose(const MatchRequest& request, QWidget* parent) {
    frmMatchSelect dialog(parent);
    dialog.Fill(request);
    dialog.exec();
    return dialog.Chosen();
}

void UseMatchSelectDialog(QtPlatform& platform) {
    platform.chooseMatch = [](const MatchRequest& request) {
        return frmMatchSelect::Choose(request, QApplication::activeWindow());
    };
}

}  // namespace lintora
