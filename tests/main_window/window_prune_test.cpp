#include <QFrame>

#include "main_window/prune_panel.h"
#include "record_store/prune.h"
#include "tests/main_window/window_fixture.h"
#include "workspace/workspace.h"

namespace lintora {
namespace {

class WindowPruneTest : public testing::MainWindowTest {};

// Select the mother in the pedigree, prune her alone from the window: the
// panel that showed her is gone, nothing in the window still names her old
// number, and the next click shows the renumbered people.
TEST_F(WindowPruneTest, PruneThroughThePanelLeavesNoStalePanelPerson) {
    const int32_t child = Person("Ann", "Smith", "F", "1880");
    const int32_t father = Person("John", "Smith", "M", "1850");
    const int32_t mother = Person("Mary", "Jones", "F", "1855");
    Child(child, Family(father, mother, "1875"));
    g.TreeSlot[0] = child;
    w->RedrawTree();
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

}  // namespace
}  // namespace lintora
