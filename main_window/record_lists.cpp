#include "main_window/record_lists.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <numeric>

#include "main_window/column_fit.h"
#include "main_window/list_texts.h"
#include "main_window/panel_escape.h"
#include "record_store/fixed_text.h"
#include "record_store/program_state.h"
#include "record_store/trees.h"
#include "platform/qt/qt_text.h"

namespace lintora {
namespace {

using Col = RecordListModel::Column;
using Order = RecordListModel::Order;


std::vector<Col> IndivColumns() {
    return {{"Name", 2600, Qt::AlignLeft, Order::Text, true},
            {"Birth Date", 1000, Qt::AlignLeft, Order::Number},
            {"Birth Place", 2400, Qt::AlignLeft, Order::Text, true},
            {"Death Date", 1000, Qt::AlignLeft, Order::Number},
            {"Sex", 200, Qt::AlignHCenter},
            {"ID", 1000},
            {"iID", 0, Qt::AlignLeft, Order::Number},
            {"Tree", 400},
            {"RecNo", 470, Qt::AlignRight, Order::Number},
            {"TreeSort", 0, Qt::AlignLeft, Order::Number}};
}

std::vector<Col> MarrColumns() {
    return {{"Husband's Name", 2400, Qt::AlignLeft, Order::Text, true},
            {"Wife's Name", 2400, Qt::AlignLeft, Order::Text, true},
            {"Marr Date", 900, Qt::AlignLeft, Order::Number},
            {"Place", 2400, Qt::AlignLeft, Order::Text, true},
            {"iID", 0, Qt::AlignLeft, Order::Number},
            {"Ch", 200, Qt::AlignRight, Order::Number},
            {"Tree", 360},
            {"RecNo   ", 750, Qt::AlignRight, Order::Number},
            {"Rec#", 0, Qt::AlignLeft, Order::Number},
            {"Tree#", 0, Qt::AlignLeft, Order::Number}};
}

bool ValidIndiv(int32_t r) { return r >= 1 && r <= g.IndivCount && r < static_cast<int32_t>(g.Indiv.size()); }

// Text sorts as a reader of the user's language expects: accented letters
// with their base letter, case aside. The C locale names no language, and
// its plain code order would put Öberg after Zimmer: the common order
// (English uses it) stands in.
QCollator ListCollator() {
    QLocale locale;
    if (locale.language() == QLocale::C) locale = QLocale(QLocale::English);
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

// The first letter of a name without its accent, case aside: "Émile" and
// "ellis" both give "e".
QString BaseInitial(const QString& text) {
    const QString t = text.trimmed().normalized(QString::NormalizationForm_D);
    if (t.isEmpty()) return {};
    return t.left(t.front().isHighSurrogate() ? 2 : 1).toCaseFolded();
}

// Home and End go to the first and last row. The table's own keys go to
// the first and last column of the row, which with whole rows selected
// moves nothing.
class ListTable : public QTableView {
protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override {
        const int rows = model() ? model()->rowCount() : 0;
        if ((action != MoveHome && action != MoveEnd) || rows == 0) return QTableView::moveCursor(action, modifiers);
        const int column = currentIndex().isValid() ? currentIndex().column() : 0;
        return model()->index(action == MoveHome ? 0 : rows - 1, column);
    }
};

QTableView* MakeView(RecordListModel* model) {
    auto* v = new ListTable;
    v->setModel(model);
    v->setSelectionBehavior(QAbstractItemView::SelectRows);
    v->setSelectionMode(QAbstractItemView::SingleSelection);
    v->setEditTriggers(QAbstractItemView::NoEditTriggers);
    v->setShowGrid(false);
    v->setWordWrap(false);
    v->verticalHeader()->hide();
    v->verticalHeader()->setDefaultSectionSize(v->fontMetrics().height() + 4);
    v->horizontalHeader()->setHighlightSections(false);
    v->horizontalHeader()->setStretchLastSection(false);
    v->horizontalHeader()->setSectionsClickable(true);
    const QFontMetrics fm = v->horizontalHeader()->fontMetrics();
    for (int c = 0; c < model->columnCount(); ++c) {
        const auto& col = model->ColumnAt(c);
        if (col.widthTwips == 0) {
            v->setColumnHidden(c, true);
            continue;
        }
        // 15 twips a pixel, but never narrower than the heading, and a
        // whole date always fits.
        int width = std::max(col.widthTwips / 15, fm.horizontalAdvance(col.caption) + 16);
        if (col.caption.contains("Date")) width = std::max(width, v->fontMetrics().horizontalAdvance("8888 Mmm 88 >") + 12);
        v->setColumnWidth(c, width);
    }
    return v;
}

}  // namespace

// ---- RecordListModel ----

RecordListModel::RecordListModel(std::vector<Column> columns, QObject* parent)
    : QAbstractTableModel(parent), columns_(std::move(columns)), keys_(columns_.size()) {}

void RecordListModel::SetRows(std::vector<Row> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    // The user's language as it is now; the keys follow the new rows.
    collator_ = ListCollator();
    keys_.assign(columns_.size(), {});
    shown_.resize(rows_.size());
    std::iota(shown_.begin(), shown_.end(), 0);
    key_ = 0;
    order_ = 0;
    endResetModel();
    if (!rows_.empty()) Sort(0, 0);
}

const std::vector<QCollatorSortKey>& RecordListModel::TextKeys(std::size_t column) {
    std::vector<QCollatorSortKey>& keys = keys_[column];
    if (keys.size() != rows_.size()) {
        keys.clear();
        keys.reserve(rows_.size());
        for (const Row& row : rows_) keys.push_back(collator_.sortKey(row.text[column]));
    }
    return keys;
}

void RecordListModel::Sort(int key, int order) {
    if (key < 0 || key >= static_cast<int>(columns_.size())) return;
    key_ = key;
    order_ = order == 1 ? 1 : 0;
    const auto k = static_cast<std::size_t>(key);
    const bool numeric = columns_[k].order == Order::Number;
    const std::vector<QCollatorSortKey>* keys = numeric ? nullptr : &TextKeys(k);
    beginResetModel();
    std::iota(shown_.begin(), shown_.end(), 0);
    // Rows that compare equal keep their record order.
    std::stable_sort(shown_.begin(), shown_.end(), [&](int a, int b) {
        const auto ia = static_cast<std::size_t>(a), ib = static_cast<std::size_t>(b);
        int c = 0;
        if (keys) {
            c = (*keys)[ia].compare((*keys)[ib]);
        } else {
            const Row& ra = rows_[ia];
            const Row& rb = rows_[ib];
            c = ra.number[k] < rb.number[k] ? -1 : ra.number[k] > rb.number[k] ? 1 : 0;
            if (c == 0) c = QString::compare(ra.text[k], rb.text[k], Qt::CaseInsensitive);
        }
        return order_ == 0 ? c < 0 : c > 0;
    });
    endResetModel();
}

QString RecordListModel::Text(int row, int column) const {
    if (row < 0 || row >= static_cast<int>(shown_.size()) || column < 0 || column >= 10) return {};
    return rows_[static_cast<std::size_t>(shown_[static_cast<std::size_t>(row)])].text[static_cast<std::size_t>(column)];
}

void RecordListModel::SetCaption(int column, const QString& caption) {
    if (column < 0 || column >= static_cast<int>(columns_.size())) return;
    columns_[static_cast<std::size_t>(column)].caption = caption;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

int RecordListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(shown_.size());
}

int RecordListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant RecordListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    if (role == Qt::DisplayRole) return Text(index.row(), index.column());
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(columns_[static_cast<std::size_t>(index.column())].align | Qt::AlignVCenter);
    return {};
}

QVariant RecordListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= static_cast<int>(columns_.size())) return {};
    if (role == Qt::DisplayRole) return columns_[static_cast<std::size_t>(section)].caption;
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(columns_[static_cast<std::size_t>(section)].align | Qt::AlignVCenter);
    return {};
}

// ---- ListFrame ----

ListFrame::ListFrame(QWidget* parent) : QWidget(parent), indiv_(IndivColumns()), marr_(MarrColumns()) {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 4, 4, 4);
    auto* top = new QHBoxLayout;
    hint_ = new QLabel;
    command4_ = new QPushButton("Show Individual List");
    command5_ = new QPushButton("Show Marriage List");
    command3_ = new QToolButton;
    command3_->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    command3_->setToolTip("Close list window");
    command3_->setAutoRaise(true);
    top->addWidget(hint_, 1);
    top->addWidget(command4_);  // the two switches share one spot
    top->addWidget(command5_);
    top->addWidget(command3_);
    outer->addLayout(top);
    view1_ = MakeView(&indiv_);
    view2_ = MakeView(&marr_);
    outer->addWidget(view1_, 1);
    outer->addWidget(view2_, 1);
    view2_->hide();
    command4_->hide();
    setHidden(true);
    view1_->installEventFilter(this);
    view2_->installEventFilter(this);
    EscapeCloses(this, [this] { Command3Click(); });

    connect(view1_->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int c) { ListView1ColumnClick(indiv_.ColumnAt(c).caption); });
    connect(view2_->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int c) { ListView2ColumnClick(marr_.ColumnAt(c).caption); });
    connect(view1_, &QTableView::doubleClicked, this, [this] { ListView1DblClick(); });
    connect(view2_, &QTableView::doubleClicked, this, [this] { ListView2DblClick(); });
    connect(command3_, &QToolButton::clicked, this, [this] { Command3Click(); });
    connect(command4_, &QPushButton::clicked, this, [this] { Command4Click(); });
    connect(command5_, &QPushButton::clicked, this, [this] { Command5Click(); });
}

void ListFrame::SetHint(const QString& text) { hint_->setText(text); }
QString ListFrame::Hint() const { return hint_->text(); }
// An empty hint line is view mode too: only a link prompt means a link.
bool ListFrame::LinkMode() const {
    const QString h = hint_->text().trimmed();
    return !h.isEmpty() && h != kListViewHint;
}

void ListFrame::ShowList(QTableView* shown, QTableView* hidden) {
    hidden->hide();
    shown->show();
    show();
    // In front of an open panel, which would cover its right-hand columns.
    raise();
    // The keys move in the list at once, also when its rows were kept.
    shown->setFocus();
}

void ListFrame::FitColumns(QTableView* view) {
    RecordListModel& model = view == view1_ ? indiv_ : marr_;
    std::vector<ColumnRule> rules;
    for (int c = 0; c < model.columnCount(); ++c) {
        const RecordListModel::Column& col = model.ColumnAt(c);
        rules.push_back({col.widthTwips / 15, col.mayCut});
    }
    lintora::FitColumns(view, view->horizontalHeader(), rules, [&model](int r, int c) { return model.Text(r, c); });
}

bool ListFrame::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize && (watched == view1_ || watched == view2_))
        FitColumns(static_cast<QTableView*>(watched));
    return QWidget::eventFilter(watched, event);
}

void ListFrame::SelectFirst(QTableView* view) {
    if (view->model()->rowCount() == 0) return;
    view->selectRow(0);
    view->scrollToTop();
}

int ListFrame::SelectedRow(QTableView* view) const {
    const auto rows = view->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

int32_t ListFrame::RowPerson(QTableView* view) const {
    const int row = SelectedRow(view);
    if (row < 0) return 0;
    // The individuals carry the record, the marriages their husband.
    const int32_t n = view == view1_ ? indiv_.Text(row, 6).toInt() : marr_.Text(row, 4).toInt();
    return ValidIndiv(n) ? n : 0;
}

int32_t ListFrame::HighlightedPerson() const {
    if (isHidden() || LinkMode()) return 0;
    return RowPerson(view1_->isHidden() ? view2_ : view1_);
}

void ListFrame::FillIndivRows() {
    const bool link = LinkMode();
    const int32_t cur = ValidIndiv(g.CurIndiv) ? g.CurIndiv : 0;
    const std::string curSex = cur ? g.Indiv[cur].iSex.trimmed() : std::string();
    // In spouse-link mode the person himself and his present spouses are never offered.
    std::vector<char> excluded(static_cast<std::size_t>(std::max(g.IndivCount, 0)) + 1, 0);
    if (link && cur) {
        excluded[static_cast<std::size_t>(cur)] = 1;
        for (int32_t f = 1; f <= g.FamilCount && f < static_cast<int32_t>(g.Famil.size()); ++f) {
            const FamilRec& fam = g.Famil[f];
            if (fam.fTree == kRemovedTree) continue;
            const int32_t other = fam.fHusb == cur ? fam.fWife : fam.fWife == cur ? fam.fHusb : 0;
            if (ValidIndiv(other)) excluded[static_cast<std::size_t>(other)] = 1;
        }
    }
    std::vector<RecordListModel::Row> rows;
    rows.reserve(static_cast<std::size_t>(std::max(g.IndivCount, 0)));
    for (int32_t i = 1; ValidIndiv(i); ++i) {
        const IndivRec& r = g.Indiv[i];
        if (r.iTree == kRemovedTree) continue;
        if (link && (excluded[static_cast<std::size_t>(i)] ||
                     (!curSex.empty() && curSex != "U" && r.iSex.trimmed() == curSex)))
            continue;
        RecordListModel::Row row;
        row.text = {Q(ListNameText(r)),
                    Q(ListDateText(r.ibDate.value())),
                    Q(ListPlaceText(r.ibPlace.value())),
                    Q(ListDateText(r.idDate.value())),
                    Q(r.iSex.value()),
                    Q(ListIdText(r)),
                    QString::number(r.iRIN),
                    Q(ListTreeText(r.iTree, r.iGen)),
                    Q(ListRecNoText(i)),
                    QString::number(ListTreeSort(r.iTree, r.iGen))};
        row.number[1] = ListDateKey(r.ibDate.value());
        row.number[3] = ListDateKey(r.idDate.value());
        row.number[6] = r.iRIN;
        row.number[8] = i;
        row.number[9] = ListTreeSort(r.iTree, r.iGen);
        rows.push_back(std::move(row));
    }
    indiv_.SetRows(std::move(rows));
    indivForLink_ = link;
}

void ListFrame::FillMarrRows() {
    std::vector<RecordListModel::Row> rows;
    for (int32_t f = 1; f <= g.FamilCount && f < static_cast<int32_t>(g.Famil.size()); ++f) {
        const FamilRec& fam = g.Famil[f];
        if (fam.fTree == kRemovedTree) continue;
        if (g.CurIndiv != 0 && (fam.fHusb == g.CurIndiv || fam.fWife == g.CurIndiv)) continue;
        const IndivRec& husband = ValidIndiv(fam.fHusb) ? g.Indiv[fam.fHusb] : g.Indiv[0];
        RecordListModel::Row row;
        row.text = {Q(ListSpouseText(fam.fHusb)),
                    Q(ListSpouseText(fam.fWife)),
                    Q(ListDateText(fam.fmDate.value())),
                    Q(ListPlaceText(fam.fmPlace.value())),
                    QString::number(ValidIndiv(fam.fHusb) ? fam.fHusb : 0),
                    Q(ListChildCountText(fam.fChilCount)),
                    Q(ListTreeText(husband.iTree, husband.iGen)),
                    Q(ListRecNoText(f)),
                    QString::number(f),
                    QString::number(ListTreeSort(husband.iTree, husband.iGen))};
        row.number[2] = ListDateKey(fam.fmDate.value());
        row.number[4] = ValidIndiv(fam.fHusb) ? fam.fHusb : 0;
        row.number[5] = fam.fChilCount;
        row.number[7] = f;
        row.number[8] = f;
        row.number[9] = ListTreeSort(husband.iTree, husband.iGen);
        rows.push_back(std::move(row));
    }
    marr_.SetRows(std::move(rows));
}

void ListFrame::LoadIndivList() {
    indiv_.SetCaption(5, Q(ListIdCaption(indiv_.ColumnAt(5).caption.toStdString())));
    ShowList(view1_, view2_);
    // Rows picked for a link that was given up are no list of everybody.
    if (indivForLink_ != LinkMode()) indiv_.Clear();
    if (!indiv_.Empty() || g.IndivCount <= 0) return;
    FillIndivRows();
    FitColumns(view1_);
    SelectFirst(view1_);
}

void ListFrame::LoadMarrList() {
    ShowList(view2_, view1_);
    if (!marr_.Empty() || g.FamilCount <= 0) return;
    FillMarrRows();
    FitColumns(view2_);
    SelectFirst(view2_);
    if (LinkMode()) SelectSurnameInitial();
}

// Picking a person's parents, the list starts at the first husband whose
// name begins with the person's surname initial: his father is most likely
// among them. With none such the first row stays selected.
void ListFrame::SelectSurnameInitial() {
    if (!ValidIndiv(g.CurIndiv)) return;
    const QString initial = BaseInitial(Q(g.Indiv[g.CurIndiv].iSurn.value()));
    if (initial.isEmpty()) return;
    for (int r = 0; r < marr_.rowCount(); ++r) {
        if (BaseInitial(marr_.Text(r, 0)) != initial) continue;
        view2_->selectRow(r);
        view2_->scrollTo(marr_.index(r, 0), QAbstractItemView::PositionAtTop);
        return;
    }
}

void ListFrame::Toggle(bool individuals) {
    QTableView* own = individuals ? view1_ : view2_;
    auto loadOwn = [&] { individuals ? LoadIndivList() : LoadMarrList(); };
    auto loadOther = [&] { individuals ? LoadMarrList() : LoadIndivList(); };
    QPushButton* ownButton = individuals ? command4_ : command5_;
    QPushButton* otherButton = individuals ? command5_ : command4_;
    if (!isHidden()) {
        if (!own->isHidden()) {
            hide();
            if (LinkMode()) {
                SetHint("");
                if (reopenEditor) reopenEditor();
            }
            return;
        }
        loadOther();
        loadOwn();
    } else {
        if (Hint().trimmed().isEmpty()) SetHint(kListViewHint);
        if (!LinkMode()) loadOther();
        loadOwn();
    }
    ownButton->hide();
    otherButton->setVisible(!LinkMode());
    if (Hint().trimmed().isEmpty()) SetHint(kListViewHint);
}

void ListFrame::Refresh() {
    if (isHidden()) return;
    // A pick for the editor ends as its close button ends it: the person it
    // was for may be gone with the work that was undone.
    if (LinkMode()) {
        Command3Click();
        return;
    }
    // Both lists are filled when the window opens; the one shown last, so
    // that it stays in front.
    const bool people = !view1_->isHidden();
    people ? LoadMarrList() : LoadIndivList();
    people ? LoadIndivList() : LoadMarrList();
}

void ListFrame::ToggleIndivList() { Toggle(true); }
void ListFrame::ToggleMarrList() { Toggle(false); }

void ListFrame::ColumnClick(RecordListModel& model, const QString& caption, bool individuals) {
    struct Key {
        const char* caption;
        int column;
    };
    static const Key indivKeys[] = {{"Name", 0}, {"Birth Date", 1}, {"Birth Place", 2}, {"Death Date", 3},
                                    {"Sex", 4},  {"AFN", 5},        {"Disc/PID#", 5},   {"Tree", 9},
                                    {"RecNo", 8}};
    static const Key marrKeys[] = {{"Husband's Name", 0}, {"Wife's Name", 1}, {"Marr Date", 2}, {"Place", 3},
                                   {"Tree", 9},           {"Ch", 5},          {"RecNo   ", 7}};
    int key = -1;
    if (individuals) {
        for (const auto& k : indivKeys)
            if (caption == k.caption) key = k.column;
    } else {
        for (const auto& k : marrKeys)
            if (caption == k.caption) key = k.column;
    }
    if (key < 0) return;
    const int order = model.SortKey() == key ? (model.SortOrder() == 0 ? 1 : 0) : 0;
    model.Sort(key, order);
}

void ListFrame::ListView1ColumnClick(const QString& caption) { ColumnClick(indiv_, caption, true); }
void ListFrame::ListView2ColumnClick(const QString& caption) { ColumnClick(marr_, caption, false); }

void ListFrame::ListView1DblClick() {
    const int32_t n = RowPerson(view1_);
    if (n == 0) return;
    const bool link = LinkMode();
    SetHint("");
    hide();
    if (!link) {
        g.CurIndiv = n;
        if (openPerson) openPerson(n);
        return;
    }
    indiv_.Clear();
    if (linkSpouse) linkSpouse(n);
}

void ListFrame::ListView2DblClick() {
    const int row = SelectedRow(view2_);
    if (row < 0) return;
    const bool link = LinkMode();
    if (!link) {
        const int32_t n = RowPerson(view2_);
        SetHint("");
        hide();
        if (n == 0) return;
        g.CurIndiv = n;
        if (openPerson) openPerson(n);
        return;
    }
    bool ok = false;
    const int32_t f = marr_.Text(row, 8).toInt(&ok);
    if (!ok || f < 1 || f > g.FamilCount) return;
    SetHint("");
    hide();
    marr_.Clear();
    if (linkParents) linkParents(f);
}

void ListFrame::Command3Click() {
    hide();
    if (!LinkMode()) return;
    SetHint("");
    if (showStatus) showStatus("Selection canceled");
    indiv_.Clear();
    marr_.Clear();
    if (reopenEditor) reopenEditor();
}

void ListFrame::Command4Click() {
    view2_->hide();
    view1_->show();
    command4_->hide();
    command5_->show();
}

void ListFrame::Command5Click() {
    view1_->hide();
    view2_->show();
    command5_->hide();
    command4_->show();
}

}  // namespace lintora
