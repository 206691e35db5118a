#include "main_window/place_panel.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QPushButton>
#include <QToolTip>
#include <QTreeWidget>

#include "platform/qt/filled_box.h"

#include "record_store/tables.h"
#include "record_store/undo.h"
#include "tests/support/qt_app.h"
#include "tests/support/scripted_platform.h"

namespace lintora {
namespace {

class PlacePanel : public testing::CleanState {
protected:
    void SetUp() override {
        testing::EnsureApp();
        CleanState::SetUp();
    }
    static int32_t BornIn(const std::string& place) {
        int32_t r = AddIndiv();
        g.Indiv[r].iGivn = "Person";
        g.Indiv[r].iSurn = "Test";
        g.Indiv[r].ibPlace = place;
        return r;
    }
    static void Pick(PlaceListFrame& panel, int row) {
        panel.ListView3()->setCurrentItem(panel.ListView3()->topLevelItem(row - 1));
        panel.ListView3Click();
    }
};

TEST_F(PlacePanel, CorrectSalemEverywhereButMarriagesAndUndoIt) {
    for (int i = 1; i <= 11; ++i) BornIn("Town " + std::to_string(i));
    int32_t a = BornIn("Salem");
    g.Indiv[a].iblPlace = "Salem";
    g.Indiv[BornIn("Boston")].idPlace = "Salem";
    int32_t f = AddFamil();
    g.Famil[f].fHusb = a;
    g.Famil[f].fmPlace = "Salem";
    InitUndo("UnDo Edit Places");  // the Edit menu's snapshot

    PlaceListFrame panel;
    panel.Open();
    EXPECT_FALSE(panel.isHidden());
    auto* list = panel.ListView3();
    ASSERT_EQ(list->topLevelItemCount(), 13);
    EXPECT_EQ(list->topLevelItem(11)->text(0), "Salem");
    EXPECT_EQ(list->topLevelItem(11)->text(1), "3");
    EXPECT_EQ(panel.Text2()->placeholderText(), " Select place in list to be changed...");
    EXPECT_TRUE(panel.Text3()->isHidden());

    // "Edit" with only the prompts changes nothing.
    panel.Command7Click();
    EXPECT_TRUE(ui.boxes.empty());

    Pick(panel, 12);
    EXPECT_EQ(panel.Text2()->text(), "Salem");
    EXPECT_FALSE(panel.Text3()->isHidden());
    EXPECT_EQ(panel.Text3()->text(), "");
    EXPECT_EQ(panel.Text3()->placeholderText(), " Select place in list to change to...");
    EXPECT_FALSE(panel.Command8()->isHidden());
    EXPECT_FALSE(panel.Command7()->isHidden());  // a typed replacement can be applied at once
    EXPECT_EQ(panel.PlaceListPos(), 17);

    Pick(panel, 13);
    EXPECT_EQ(panel.Text3()->text(), "Boston");
    EXPECT_FALSE(panel.Command7()->isHidden());
    EXPECT_EQ(panel.PlaceListPos(), 18);
    panel.Text3()->setText("Salem, Oregon");  // typed over the pick

    ui.Answer(MsgResult::Ok);
    panel.Command7Click();
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "3 occurrences of Salem\n changed to Salem, Oregon");
    EXPECT_EQ(g.Indiv[a].iblPlace.value(), "Salem, Oregon");
    EXPECT_EQ(g.Famil[f].fmPlace.value(), "Salem");
    EXPECT_EQ(g.DataChanged, "Y");
    // Refilled, back at the nothing-picked state, the last row in view.
    EXPECT_EQ(list->topLevelItemCount(), 13);
    EXPECT_EQ(list->currentItem(), list->topLevelItem(12));
    EXPECT_TRUE(panel.Text3()->isHidden());
    EXPECT_EQ(panel.PlaceListPos(), 1);

    RestoreUndo();
    EXPECT_EQ(g.Indiv[a].iblPlace.value(), "Salem");
    EXPECT_EQ(g.Indiv[a + 1].idPlace.value(), "Salem");
}

// Clicks as a person makes them: each lands on the place under the pointer,
// the counts stay in view without scrolling sideways, and a replacement
// typed after the first pick is applied by "Edit".
TEST_F(PlacePanel, ClicksLandOnThePlaceShownAndATypedReplacementApplies) {
    for (int i = 10; i < 40; ++i) BornIn("Town " + std::to_string(i) + ", Hampshire, England");
    BornIn("Saint Mary the Virgin and All Saints Chapel of Ease, Little Snoring, Fakenham, Norfolk, England");
    PlaceListFrame panel;
    panel.resize(340, 260);  // as the main window places it
    panel.Open();
    QCoreApplication::processEvents();
    auto* list = panel.ListView3();
    ASSERT_EQ(list->topLevelItemCount(), 31);
    QHeaderView* header = list->header();
    EXPECT_FALSE(list->horizontalScrollBar()->isVisible());
    EXPECT_LE(header->sectionViewportPosition(1) + header->sectionSize(1), list->viewport()->width());
    EXPECT_GE(header->sectionSize(1), list->fontMetrics().horizontalAdvance("Occ"));

    auto click = [](QWidget* target, QPoint at) {
        QMouseEvent press(QEvent::MouseButtonPress, at, target->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, at, target->mapToGlobal(at), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &press);
        QCoreApplication::sendEvent(target, &release);
        QCoreApplication::processEvents();
    };
    // Where the user sees the third and the fifth place before clicking.
    const QPoint third = list->visualItemRect(list->topLevelItem(2)).center();
    const QPoint fifth = list->visualItemRect(list->topLevelItem(4)).center();
    click(list->viewport(), third);
    EXPECT_EQ(panel.Text2()->text(), "Town 12, Hampshire, England");
    ASSERT_TRUE(panel.Command7()->isVisible());
    EXPECT_EQ(panel.PlaceListPos(), 8);
    click(list->viewport(), fifth);
    EXPECT_EQ(panel.Text3()->text(), "Town 14, Hampshire, England");

    panel.Command8Click();
    click(list->viewport(), third);
    ASSERT_TRUE(panel.Command7()->isVisible());
    panel.Text3()->setText("Town 12, Hampshire, UK");
    ui.Answer(MsgResult::Ok);
    click(panel.Command7(), panel.Command7()->rect().center());
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "1 occurrences of Town 12, Hampshire, England\n changed to Town 12, Hampshire, UK");
    EXPECT_EQ(g.Indiv[3].ibPlace.value(), "Town 12, Hampshire, UK");
    EXPECT_TRUE(panel.Command7()->isHidden());

    // A long place shows its beginning when picked.
    QTreeWidgetItem* longest = list->findItems("Saint Mary", Qt::MatchStartsWith).value(0);
    ASSERT_NE(longest, nullptr);
    list->setCurrentItem(longest);
    panel.ListView3Click();
    EXPECT_EQ(panel.Text2()->cursorPosition(), 0);
    list->setCurrentItem(longest);
    panel.ListView3Click();
    EXPECT_EQ(panel.Text3()->cursorPosition(), 0);
    // Both boxes mark that it is cut, and the list row, cut to the list,
    // offers the whole place under the pointer.
    list->setFocus();  // where the picks left it
    EXPECT_TRUE(ShowsCutMark(panel.Text2()));
    EXPECT_TRUE(ShowsCutMark(panel.Text3()));
    list->scrollToItem(longest);
    const QPoint over = list->visualItemRect(longest).center();
    QHelpEvent tip(QEvent::ToolTip, over, list->viewport()->mapToGlobal(over));
    QCoreApplication::sendEvent(list->viewport(), &tip);
    EXPECT_EQ(QToolTip::text(), longest->text(0));
    EXPECT_TRUE(longest->text(0).endsWith("Norfolk, England"));
    QToolTip::hideText();
}

TEST_F(PlacePanel, NoPeopleNoPanel) {
    PlaceListFrame panel;
    ui.Answer(MsgResult::Ok);
    panel.Open();
    EXPECT_TRUE(ui.Showed("No place data to edit."));
    EXPECT_TRUE(panel.isHidden());
}

}  // namespace
}  // namespace lintora
