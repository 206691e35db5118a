#include "main_window/place_panel.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

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
    InitUndo();  // the Edit menu's snapshot

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
    EXPECT_TRUE(panel.Command7()->isHidden());

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

TEST_F(PlacePanel, NoPeopleNoPanel) {
    PlaceListFrame panel;
    ui.Answer(MsgResult::Ok);
    panel.Open();
    EXPECT_TRUE(ui.Showed("No place data to edit."));
    EXPECT_TRUE(panel.isHidden());
}

}  // namespace
}  // namespace lintora
