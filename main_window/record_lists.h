#pragma once
// The list window of the main window: every individual (ListView1) or every
// marriage (ListView2), sortable by a header click, a double-click opening
// the person or, while the editor links, picking the spouse or parents.
// The rows are a model over texts built once per filling, so ten thousand
// people cost no item objects.
#include <QAbstractTableModel>
#include <QCollator>
#include <QWidget>
#include <array>
#include <functional>
#include <vector>

class QLabel;
class QPushButton;
class QTableView;
class QToolButton;

namespace lintora {

inline constexpr const char* kListViewHint = "Double-click on an individual to View/Edit";

class RecordListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum class Order { Text, Number };
    struct Column {
        QString caption;
        int widthTwips = 0;  // 0 hides the column
        Qt::Alignment align = Qt::AlignLeft;
        Order order = Order::Text;
        bool mayCut = false;  // a long text may be cut to fit the frame
    };
    struct Row {
        std::array<QString, 10> text;
        std::array<int64_t, 10> number{};  // sort value of Number columns
    };

    explicit RecordListModel(std::vector<Column> columns, QObject* parent = nullptr);

    void SetRows(std::vector<Row> rows);
    void Clear() { SetRows({}); }
    bool Empty() const { return rows_.empty(); }
    // The list's sort key (column) and order (0 ascending, 1 descending).
    void Sort(int key, int order);
    int SortKey() const { return key_; }
    int SortOrder() const { return order_; }
    QString Text(int row, int column) const;
    void SetCaption(int column, const QString& caption);
    const Column& ColumnAt(int c) const { return columns_[static_cast<std::size_t>(c)]; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    // Sort keys of a text column, made at its first sort after a filling.
    const std::vector<QCollatorSortKey>& TextKeys(std::size_t column);

    std::vector<Column> columns_;
    std::vector<Row> rows_;
    std::vector<int> shown_;  // row order on screen
    QCollator collator_;
    std::vector<std::vector<QCollatorSortKey>> keys_;  // per column; empty until needed
    int key_ = 0;
    int order_ = 0;
};

class ListFrame : public QWidget {
    Q_OBJECT
public:
    explicit ListFrame(QWidget* parent = nullptr);

    // What a double-click or the close button asks of the rest of the program.
    std::function<void(int32_t indiv)> openPerson;    // view mode: CurIndiv set, open the editor
    std::function<void(int32_t indiv)> linkSpouse;    // spouse-link mode
    std::function<void(int32_t famil)> linkParents;   // parent-link mode
    std::function<void()> reopenEditor;               // a link mode ended without a pick
    std::function<void(const QString&)> showStatus;   // main window's status label

    void LoadIndivList();
    void LoadMarrList();
    void ToggleIndivList();
    void ToggleMarrList();
    void ListView1ColumnClick(const QString& caption);
    void ListView2ColumnClick(const QString& caption);
    void ListView1DblClick();
    void ListView2DblClick();
    void Command3Click();  // close
    void Command4Click();  // show individuals
    void Command5Click();  // show marriages
    // After an undo, which empties the lists: the open list is filled
    // again, or, open for a pick by the editor, closed as its close button
    // closes it.
    void Refresh();
    void ClearIndivList() { indiv_.Clear(); }
    void ClearMarrList() { marr_.Clear(); }

    void SetHint(const QString& text);
    QString Hint() const;
    bool LinkMode() const;
    // The person the highlighted row stands for, as a double-click would
    // open him; 0 while the list is hidden, picks for the editor, or has
    // no such row.
    int32_t HighlightedPerson() const;

    QTableView* ListView1() const { return view1_; }
    QTableView* ListView2() const { return view2_; }
    RecordListModel& IndivModel() { return indiv_; }
    RecordListModel& MarrModel() { return marr_; }
    QPushButton* Command4() const { return command4_; }
    QPushButton* Command5() const { return command5_; }

private:
    void FillIndivRows();
    void FillMarrRows();
    void ShowList(QTableView* shown, QTableView* hidden);
    void FitColumns(QTableView* view);
    bool eventFilter(QObject* watched, QEvent* event) override;
    void SelectFirst(QTableView* view);
    void SelectSurnameInitial();
    int SelectedRow(QTableView* view) const;
    // The person a view-mode double-click on the selected row opens, or 0.
    int32_t RowPerson(QTableView* view) const;
    void ColumnClick(RecordListModel& model, const QString& caption, bool individuals);
    void Toggle(bool individuals);

    RecordListModel indiv_;
    RecordListModel marr_;
    bool indivForLink_ = false;  // indiv_ holds the link pick, not everybody
    QLabel* hint_ = nullptr;
    QTableView* view1_ = nullptr;
    QTableView* view2_ = nullptr;
    QToolButton* command3_ = nullptr;
    QPushButton* command4_ = nullptr;
    QPushButton* command5_ = nullptr;
};

}  // namespace lintora
