#include <QFrame>
#include <QLabel>

#include "main_window/prune_panel.h"
#include "record_store/prune.h"
#include "tests/main_window/window_fixture.h"
#include "workspace/workspace.h"

namespace lintora {
namespace {

class WindowPruneTest : public testing::MainWindowTest {
protected:
    struct Trio {
        int32_t child, father, mother;
    };
    // Ann (1) and her parents John (2) and Mary (3), Ann at the root.
    Trio AnnAndHerParents() {
        const Trio t{Person("Ann", "Smith", "F", "1880"), Person("John", "Smith", "M", "1850"),
                     Person("Mary", "Jones", "F", "1855")};
        Child(t.child, Family(t.father, t.mother, "1875"));
        g.TreeSlot[0] = t.child;
        w->RedrawTree();
        return t;
    }
    // Ann (1), John (2), Mary (3) and Bob (4), Bob at the root; Ann is pruned
    // alone, so Bob becomes number 3. Returns Mary's number before the prune.
    int32_t PruneAnnFromFamilyOfFour(PruneFrame& panel) {
        const int32_t ann = Person("Ann", "Smith", "F", "1880");
        const int32_t father = Person("John", "Smith", "M", "1850");
        const int32_t mother = Person("Mary", "Jones", "F", "1855");
        const int32_t bob = Person("Bob", "Smith", "M", "1882");
        const int32_t fam = Family(father, mother, "1875");
        Child(ann, fam);
        Child(bob, fam);
        g.TreeSlot[0] = bob;
        w->RedrawTree();
        g.DataChanged = "N";
        EXPECT_TRUE(PruneSetup(ann));
        ui.Answer(MsgResult::Ok);  // "Are you sure?"
        ui.Answer(MsgResult::Ok);  // what was removed
        panel.Command9Click();
        EXPECT_EQ(g.IndivCount, 3);
        return mother;
    }
};

// Select the mother in the pedigree, prune her alone from the window: the
// panel that showed her is gone, nothing in the window still names her old
// number, and the next click shows the renumbered people.
TEST_F(WindowPruneTest, PruneThroughThePanelLeavesNoStalePanelPerson) {
    const auto [child, father, mother] = AnnAndHerParents();
    PruneFrame panel;
    InstallPrunePanel(&panel);

    w->lblTree_MouseUp(2, 1);  // the mother's box
    ASSERT_EQ(w->PanelIndiv, mother);
    ASSERT_FALSE(w->popupFrame->isHidden());
    ASSERT_TRUE(PruneSetup(mother));
    ui.Answer(MsgResult::Ok);  // "Are you sure?"
    ui.Answer(MsgResult::Ok);  // what was removed
    panel.Command9Click();

    EXPECT_EQ(g.IndivCount, 3);  // an "<unknown>" stands in her place
    EXPECT_EQ(w->PanelIndiv, 0);
    EXPECT_TRUE(w->popupFrame->isHidden());
    EXPECT_TRUE(w->SpouseNums.empty());
    EXPECT_EQ(g.TreeSlot[0], child);
    EXPECT_EQ(w->StatusLabel().rfind("Prune removed 1 Individuals and 0 Families", 0), 0u);

    w->lblTree_MouseUp(1, 1);  // the father, still there
    EXPECT_EQ(w->PanelIndiv, father);
    ASSERT_EQ(w->SpouseNums.size(), 1u);
    EXPECT_EQ(g.Indiv[w->SpouseNums[0]].iGivn.value(), "<unknown>");
    InstallPrunePanel(nullptr);
}

// The prune panel names the person it removes: choosing that person's box
// again keeps it, choosing another person's box drops the prune, so that
// its OK never removes somebody the panel did not name.
TEST_F(WindowPruneTest, ChoosingAnotherPersonDropsTheOpenPrune) {
    const auto [child, father, mother] = AnnAndHerParents();
    g.DataChanged = "N";
    PruneFrame panel;
    InstallPrunePanel(&panel);

    w->choosePopupItem = [] { return 2; };  // "Delete this Individual"
    w->lblTree_MouseUp(2, 2);               // right click on the mother
    ASSERT_FALSE(panel.isHidden());
    ASSERT_EQ(panel.Identity()->text(), "Remove Mary Jones and...");
    w->lblTree_MouseUp(2, 1);  // her own box: still her prune
    EXPECT_FALSE(panel.isHidden());
    EXPECT_EQ(g.PruneIndiv, mother);

    w->lblTree_MouseUp(1, 1);  // the father
    EXPECT_TRUE(panel.isHidden());
    EXPECT_EQ(g.PrunePending, "N");
    EXPECT_EQ(g.PruneIndiv, father);  // for the Prune button, which names him now
    EXPECT_EQ(w->ToolButtonTip(10), "Delete John Smith");
    w->Toolbar1_ButtonClick(10);  // the Prune button opens the panel for him
    ASSERT_FALSE(panel.isHidden());
    EXPECT_EQ(panel.Identity()->text(), "Remove John Smith and...");

    // A right click that chooses nothing drops it as well.
    w->choosePopupItem = [] { return -1; };
    w->lblTree_MouseUp(0, 2);
    EXPECT_TRUE(panel.isHidden());
    EXPECT_EQ(g.PrunePending, "N");
    InstallPrunePanel(nullptr);
}

// A prune renumbers the people; the panel is then opened for another
// person and the first prune undone from the tool bar. The panel's number
// now names somebody else: the undo closes the panel, and its OK, had it
// still been pressed, neither asks about nor removes anyone.
TEST_F(WindowPruneTest, UndoClosesAPrunePanelWhoseNumberNoLongerNamesItsPerson) {
    PruneFrame panel;
    InstallPrunePanel(&panel);
    const int32_t mother = PruneAnnFromFamilyOfFour(panel);
    const int32_t ann = 1;
    int32_t bobNow = 0;
    for (int32_t i = 1; i <= g.IndivCount; ++i)
        if (g.Indiv[i].iName.trimmed() == "Bob Smith") bobNow = i;
    ASSERT_EQ(bobNow, 3);

    g.DataChanged = "N";  // no backup question
    ASSERT_TRUE(PruneSetup(bobNow));
    ASSERT_FALSE(panel.isHidden());
    ASSERT_EQ(g.PrunePending, "Y");
    w->Toolbar1_ButtonClick(9);  // UnDo
    ASSERT_EQ(g.IndivCount, 4);
    EXPECT_EQ(g.Indiv[bobNow].iName.trimmed(), "Mary Jones");  // the panel's number, before the fix pruned
    EXPECT_TRUE(panel.isHidden());
    EXPECT_EQ(g.PrunePending, "N");
    EXPECT_EQ(g.PruneIndiv, 0);

    const std::size_t asked = ui.boxes.size();
    panel.Command9Click();
    EXPECT_EQ(ui.boxes.size(), asked);
    EXPECT_EQ(g.IndivCount, 4);
    EXPECT_EQ(g.Indiv[mother].iName.trimmed(), "Mary Jones");
    EXPECT_EQ(g.Indiv[ann].iName.trimmed(), "Ann Smith");
    InstallPrunePanel(nullptr);
}

// The prune tool button keeps the person of the box selected last; an undo
// that renumbers the people leaves it with nobody.
TEST_F(WindowPruneTest, UndoLeavesThePruneButtonWithoutItsPerson) {
    PruneFrame panel;
    InstallPrunePanel(&panel);
    PruneAnnFromFamilyOfFour(panel);

    w->lblTree_MouseUp(0, 1);  // Bob, now number 3
    ASSERT_EQ(g.PruneIndiv, 3);
    ASSERT_TRUE(w->toolButtons[10]->isEnabled());
    ASSERT_EQ(w->ToolButtonTip(10), "Delete Bob Smith");
    w->Toolbar1_ButtonClick(9);  // UnDo: number 3 is Mary again
    ASSERT_EQ(g.Indiv[3].iName.trimmed(), "Mary Jones");
    EXPECT_FALSE(w->toolButtons[10]->isEnabled());
    EXPECT_EQ(w->ToolButtonTip(10), "");
    EXPECT_EQ(g.PruneIndiv, 0);

    const std::size_t asked = ui.boxes.size();
    g.DataChanged = "N";
    w->Toolbar1_ButtonClick(10);
    EXPECT_TRUE(panel.isHidden());
    EXPECT_EQ(ui.boxes.size(), asked);
    EXPECT_EQ(g.PrunePending, "N");
    InstallPrunePanel(nullptr);
}

}  // namespace
}  // namespace lintora
