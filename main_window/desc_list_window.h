#pragma once
// The descendants list: an indented outline of the current person's
// descendants with their spouses; a double-click re-roots the pedigree.
#include <QDialog>
#include <cstdint>
#include <functional>

class QTreeWidget;

namespace lintora {

class LintoraDescList : public QDialog {
    Q_OBJECT
public:
    explicit LintoraDescList(QWidget* parent = nullptr);

    // Re-root the pedigree on a person (the main window's redraw).
    std::function<void(int32_t indiv)> reRoot;

    // Builds the outline of CurIndiv; false (and nothing shown) when there is none.
    bool Build();
    // Builds and shows the window modally.
    void ShowDescList();
    void LstDescListDblClick();

    QTreeWidget* List() const { return list_; }

private:
    // Widens the window for the longest line, within its screen.
    void FitLongestLine();

    QTreeWidget* list_ = nullptr;
};

}  // namespace lintora
