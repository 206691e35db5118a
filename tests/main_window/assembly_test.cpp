// The lists, panels and windows plugged into the real main window.
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>
#include <functional>
#include <utility>

#include "editor/editor_window.h"
#include "main_window/parent_pick.h"
#include "main_window/place_panel.h"
#include "main_window/window_assembly.h"
#include "tests/main_window/window_fixture.h"

namespace lintora {
namespace {

using testing::MainWindowTest;

using AssemblyTest = MainWindowTest;

TEST_F(AssemblyTest, ListsCoverThePedigreeAndPanelsOpenOverIt) {
    const int32_t root = Person("John Henry", "WHITLOCK", "M", "1832");
    Ancestors(root, 2, 1832);
    LoadGenTree();
    g.TreeSlot[0] = root;
    w->RedrawTree();
    w->EnableDataCommands();

    w->Toolbar1_ButtonClick(8);
    Shot(w, "individual_list");
    EXPECT_TRUE(w->ListFrame->isVisible());
    EXPECT_EQ(w->ListFrame->geometry(), w->PedigreeArea()->rect());
    // The Edit items put the list away.
    w->mnuEditItem_Click(1);
    EXPECT_FALSE(w->ListFrame->isVisible());

    w->mnuEditItem_Click(0);
    Shot(w, "place_panel");
    ASSERT_NE(w->Panel("place"), nullptr);
    EXPECT_TRUE(w->Panel("place")->isVisible());
    const QRect place = w->Panel("place")->geometry();
    EXPECT_TRUE(w->PedigreeArea()->rect().contains(place));
    w->HidePanels();
    EXPECT_FALSE(w->Panel("place")->isVisible());
}

// A place change undone while the place list is open, by the tool bar's
// Undo or by the editor's UnDo: the list shows the places as they are
// again, not the undone text.
TEST_F(AssemblyTest, AnUndoRefillsTheOpenPlaceList) {
    StartProgram("", true);
    Lintoraedit::SetModalLoop(false);
    Lintoraedit& editor = EditorWindow();
    for (const char* place : {"Salem", "Salem", "Boston"}) g.Indiv[Person("Ann", "LEE", "F")].ibPlace = place;
    g.TreeSlot[0] = 1;
    LoadGenTree();
    w->RedrawTree();
    auto* places = static_cast<PlaceListFrame*>(w->Panel("place"));
    auto texts = [places] {
        QStringList out;
        for (int r = 0; r < places->ListView3()->topLevelItemCount(); ++r)
            out << places->ListView3()->topLevelItem(r)->text(0) + "=" + places->ListView3()->topLevelItem(r)->text(1);
        out.sort();
        return out.join(" | ").toStdString();
    };
    const std::pair<const char*, std::function<void()>> undos[] = {
        {"tool bar", [&] { w->Toolbar1_ButtonClick(9); }},
        {"editor", [&] {
             OpenEditor(1, 0);
             editor.mnuUndoItem->trigger();
             EXPECT_EQ(editor.iBplace->text().toStdString(), " Salem");
             QTest::mouseClick(editor.CancelEditButton, Qt::LeftButton);
         }},
    };
    for (const auto& [how, undo] : undos) {
        w->mnuEditItem_Click(0);
        ASSERT_TRUE(places->isVisible()) << how;
        EXPECT_EQ(texts(), "Boston=1 | Salem=2") << how;
        places->ListView3()->setCurrentItem(places->ListView3()->findItems("Salem", Qt::MatchExactly).value(0));
        places->ListView3Click();
        places->Text3()->setText("Salem, Oregon");
        ui.Answer(MsgResult::Ok);
        places->Command7Click();
        EXPECT_EQ(texts(), "Boston=1 | Salem, Oregon=2") << how;

        undo();
        EXPECT_EQ(g.Indiv[1].ibPlace.value(), "Salem") << how;
        EXPECT_TRUE(places->isVisible()) << how;
        EXPECT_EQ(texts(), "Boston=1 | Salem=2") << how;
        EXPECT_TRUE(places->Text3()->isHidden()) << how;  // the picks named the undone text
    }
    EXPECT_FALSE(editor.isVisible());
}

TEST_F(AssemblyTest, ParentSetPickEndsWithTreesRenumberedAndThePedigreeRedrawn) {
    const int32_t child = Person("Ann", "LEE", "F");
    g.TreeSlot[0] = child;
    LoadGenTree();
    w->RedrawTree();
    PageScratchRec& ps = g.PageScratch;
    ps.pgRIN = child;
    ps.PageParentSetCount = 2;
    ps.PageParentSets[1].psFatherName = "Tom LEE";
    ps.PageParentSets[1].psMotherName = "Jane DOE";
    ps.PageParentSets[2].psFatherName = "Will LEE";
    ps.PageParentSets[2].psMotherName = "Kate ROE";
    w->LoadParentPickList();
    auto* pick = static_cast<ParentPickPanel*>(w->Panel("parents"));
    ASSERT_TRUE(pick->isVisible());
    Shot(w, "parent_pick");
    ASSERT_EQ(pick->ParentList()->topLevelItemCount(), 2);
    // The same page pasted again, and not processed again: the list still
    // waits for its pick.
    g.LastPaste = "the page of Ann LEE";
    QGuiApplication::clipboard()->setText(QString::fromStdString(g.LastPaste));
    ui.Answer(MsgResult::No);
    w->Command6_Click();
    EXPECT_TRUE(ui.Showed("Clipboard data unchanged and already processed.\nWould you like to re-process anyway?"));
    ASSERT_TRUE(pick->isVisible());
    pick->ParentList()->setCurrentItem(pick->ParentList()->topLevelItem(1));
    pick->ParentListClick();
    EXPECT_FALSE(pick->isVisible());
    const int32_t famc = g.Indiv[child].iFamc;
    ASSERT_GT(famc, 0);
    EXPECT_EQ(g.Indiv[g.Famil[famc].fHusb].iGivn.value(), "Will");
    EXPECT_EQ(w->lblTree[1]->text(), " Will LEE");
    EXPECT_EQ(g.Indiv[g.Famil[famc].fHusb].iTree, g.Indiv[child].iTree);
    EXPECT_EQ(w->StatusPanel(5), "Individuals: 3");
    EXPECT_EQ(w->StatusPanel(7), "Tree 1 of 1");
}

}  // namespace
}  // namespace lintora
