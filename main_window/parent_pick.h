#pragma once
// The panel that asks which of a page's parent sets is meant, when a paste
// brings several and none can be told apart by identifiers.
#include <QWidget>
#include <functional>
#include <vector>

#include "main_window/column_fit.h"

class QLabel;
class QPushButton;
class QTreeWidget;

namespace lintora {

class ParentPickPanel : public QWidget {
    Q_OBJECT
public:
    explicit ParentPickPanel(QWidget* parent = nullptr);

    // The choice goes to the workspace: link the set, or link none.
    std::function<void(int set)> pickSet;
    std::function<void()> cancelPick;

    // Fills one row per parent set of the page scratch and shows the panel.
    void LoadParentPickList();
    void ParentListClick();  // the selected row's set
    void Command13Click();   // Cancel

    QTreeWidget* ParentList() const { return list_; }
    QLabel* Label1() const { return label_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::vector<ColumnRule> rules_;
    QLabel* label_ = nullptr;
    QTreeWidget* list_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace lintora
