#pragma once
// The match selection dialog: the pending person above, the close matches
// in a list; the user picks one of them or says the person is not a match.
// Its result is the chosen record number, 0 for "not a match" (the close box
// and Escape count as that). The handlers are public so that tests can call
// them as the list and button would.
#include <cstdint>

#include <QDialog>

#include "platform/platform.h"

class QCloseEvent;
class QLabel;
class QPushButton;
class QTreeWidget;

namespace lintora {

class QtPlatform;

class frmMatchSelect : public QDialog {
    Q_OBJECT
public:
    static constexpr int kListRows = 10;
    enum Column { colName, colBirth, colDeath, colSpouse, colFather, colMother, colID, colIx, colCount };

    explicit frmMatchSelect(QWidget* parent = nullptr);

    // Shows the pending person in the labels and the candidates in the list,
    // fewer than nine padded with blank rows to ten.
    void Fill(const MatchRequest& request);
    // The record chosen so far (0 = not a match).
    int32_t Chosen() const { return chosen_; }

    void Command1_Click();
    void MatchListView_Click(int row);
    void MatchListView_DblClick(int row);

    // Runs the dialog modally for one decision.
    static int32_t Choose(const MatchRequest& request, QWidget* parent = nullptr);

    QLabel* Label7;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label6;
    QLabel* lblMatchName;
    QLabel* lblMatchBday;
    QLabel* lblMatchDday;
    QLabel* lblMatchSpouse;
    QLabel* lblMatchFather;
    QLabel* lblMatchMother;
    QTreeWidget* MatchListView;
    QPushButton* Command1;

public slots:
    void reject() override;

private:
    // Record number of a list row; 0 for a blank row or a row not in the list.
    int32_t RowRecord(int row) const;
    void Finish(int32_t chosen);

    int32_t chosen_ = 0;
};

// Makes the platform ask through this dialog.
void UseMatchSelectDialog(QtPlatform& platform);

}  // namespace lintora
