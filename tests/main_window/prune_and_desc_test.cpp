#include <QLabel>
#include <QRadioButton>
#include <QTreeWidget>

#include "main_window/desc_list_window.h"
#include "main_window/prune_panel.h"
#include "record_store/tables.h"
#include "workspace/workspace.h"
#include "tests/support/qt_app.h"
#include "tests/support/scripted_platform.h"

namespace lintora {
namespace {

class SmallWindows : public testing::CleanState {
protected:
    void SetUp() override {
        testing::EnsureApp();
        CleanState::SetUp();
    }
    static int32_t Person(const char* given, const char* surname, const char* birth) {
        int32_t r = AddIndiv();
        g.Indiv[r].iGivn = given;
        g.Indiv[r].iSurn = surname;
        g.Indiv[r].iName = std::string(given) + " " + surname;
        g.Indiv[r].ibDate = birth;
        return r;
    }
};

TEST_F(SmallWindows, PrunePanelShowsTheSetUpAndItsButtonsRunThePrune) {
    int32_t john = Person("John", "Smith", "1850");
    int32_t mary = Person("Mary", "Jones", "1855");
    int32_t f = AddFamil();
    g.Famil[f].fHusb = john;
    g.Famil[f].fWife = mary;
    g.TreeSlot[0] = john;
    PruneFrame panel;
    InstallPrunePanel(&panel);
    ASSERT_TRUE(PruneSetup(mary));
    EXPECT_FALSE(panel.isHidden());
    EXPECT_EQ(panel.Identity()->text(), "Remove Mary Jones and...");
    EXPECT_EQ(panel.OptionLabel(0)->text(), "all ancestors");
    EXPECT_EQ(panel.OptionLabel(2)->text(), "Mary Jones only");
    EXPECT_EQ(panel.OptionLabel(3)->text(), "all ancestors and descendants");
    EXPECT_TRUE(panel.Button(2)->isChecked());

    // Cancel at "Are you sure?": nothing goes.
    panel.Button(3)->setChecked(true);
    ui.Answer(MsgResult::Cancel);
    panel.Command9Click();
    EXPECT_TRUE(panel.isHidden());
    EXPECT_EQ(ui.boxes.back().text, "Mary Jones and all relations will be removed.");
    EXPECT_EQ(g.IndivCount, 2);
    EXPECT_EQ(g.PrunePending, "N");

    ASSERT_TRUE(PruneSetup(mary));
    EXPECT_TRUE(panel.Button(2)->isChecked());
    panel.Command11Click();
    EXPECT_TRUE(panel.isHidden());
    EXPECT_EQ(g.PrunePending, "N");
    EXPECT_EQ(g.PruneIndiv, 0);

    ASSERT_TRUE(PruneSetup(mary));
    ui.Answer(MsgResult::Ok);  // "Are you sure?"
    ui.Answer(MsgResult::Ok);  // what was removed
    panel.Command9Click();
    EXPECT_EQ(g.IndivCount, 1);
    EXPECT_EQ(g.Indiv[1].iGivn.value(), "John");
    InstallPrunePanel(nullptr);
}

TEST_F(SmallWindows, DescendantsWindowListsTheOutlineAndReRootsOnDoubleClick) {
    int32_t john = Person("John", "Smith", "1850");
    int32_t mary = Person("Mary", "Jones", "1855");
    int32_t ann = Person("Ann", "Smith", "1880");
    int32_t f = AddFamil();
    g.Famil[f].fHusb = john;
    g.Famil[f].fWife = mary;
    g.Indiv[ann].iFamc = f;
    const int32_t annsMarriage = AddFamil();  // her husband has no record
    g.Famil[annsMarriage].fWife = ann;
    g.CurIndiv = john;

    LintoraDescList w;
    int32_t rooted = 0;
    w.reRoot = [&](int32_t n) { rooted = n; };
    ASSERT_TRUE(w.Build());
    EXPECT_EQ(w.windowTitle(), "John Smith descendants list");
    ASSERT_EQ(w.List()->topLevelItemCount(), 4);
    EXPECT_EQ(w.List()->topLevelItem(1)->text(0), "    +  Mary JONES  (1855 -     )");
    EXPECT_EQ(w.List()->topLevelItem(2)->text(0), "        2  Ann SMITH  (1880 -     )");
    // Blank years take four blanks each, as for a person without dates.
    EXPECT_EQ(w.List()->topLevelItem(3)->text(0), "            +    (     -     )");
    EXPECT_EQ(w.List()->topLevelItem(3)->text(1), "0");
    w.List()->setCurrentItem(w.List()->topLevelItem(2));
    w.LstDescListDblClick();
    EXPECT_EQ(rooted, ann);
    EXPECT_EQ(g.CurIndiv, ann);

    g.CurIndiv = 0;
    EXPECT_FALSE(w.Build());
    EXPECT_EQ(w.List()->topLevelItemCount(), 0);
}

}  // namespace
}  // namespace lintora
