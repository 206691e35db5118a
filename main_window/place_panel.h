#pragma once
// The place correction panel: every distinct event place with its count;
// the first pick names the place to change, the second (or typing) its
// replacement, and "Edit" applies it to every individual.
#include <QWidget>
#include <cstdint>

class QLineEdit;
class QPushButton;
class QToolButton;
class QTreeWidget;

namespace lintora {

class PlaceListFrame : public QWidget {
    Q_OBJECT
public:
    explicit PlaceListFrame(QWidget* parent = nullptr);

    // The Edit menu's opening: the list from its first row.
    void Open();
    // Refills the list, selects the remembered row and resets the picks.
    void LoadPlaceList();
    // After an undo: the open list shows the places as they now are.
    void Refresh();
    void ListView3Click();
    void Command7Click();   // Edit
    void Command8Click();   // Clear
    void Command10Click();  // close

    int32_t PlaceListPos() const { return placeListPos_; }
    QTreeWidget* ListView3() const { return list_; }
    QLineEdit* Text2() const { return text2_; }
    QLineEdit* Text3() const { return text3_; }
    QPushButton* Command7() const { return edit_; }
    QPushButton* Command8() const { return clear_; }

private:
    int32_t placeListPos_ = 1;
    QTreeWidget* list_ = nullptr;
    QLineEdit* text2_ = nullptr;
    QLineEdit* text3_ = nullptr;
    QPushButton* edit_ = nullptr;
    QPushButton* clear_ = nullptr;
    QToolButton* close_ = nullptr;
};

}  // namespace lintora
