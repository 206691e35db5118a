// The lists, panels and windows plugged into the real main window.
#include <QComboBox>
#include <QHelpEvent>
#include <QLabel>
#include <QScreen>
#include <QToolTip>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <functional>
#include <utility>

#include "editor/editor_window.h"
#include "main_window/parent_pick.h"
#include "main_window/place_panel.h"
#include "main_window/prune_panel.h"
#include "main_window/window_assembly.h"
#include "platform/qt/filled_box.h"
#include "tests/main_window/window_fixture.h"
#include "workspace/workspace.h"

namespace lintora {
namespace {

using testing::MainWindowTest;

using AssemblyTest = MainWindowTest;

// The open place list as "place=count" entries in sorted order.
std::string PlaceCounts(PlaceListFrame& places) {
    QStringList out;
    for (int r = 0; r < places.ListView3()->topLevelItemCount(); ++r)
        out << places.ListView3()->topLevelItem(r)->text(0) + "=" + places.ListView3()->topLevelItem(r)->text(1);
    out.sort();
    return out.join(" | ").toStdString();
}

TEST_F(AssemblyTest, ListsCoverThePedigreeAndPanelsOpenOverIt) {
    const int32_t root = Person("John Henry", "WHITLOCK", "M", "1832");
    Ancestors(root, 2, 1832);
    LoadGenTree();
    g.TreeSlot[0] = root;
    w->RedrawTree();
    w->EnableDataCommands();
    // A window with room for the whole pedigree.
    w->resize(w->PedigreeArea()->width() + 12, 640);
    QCoreApplication::processEvents();

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

    // A list opened (Ctrl+L, the Marriages item) while a panel is open
    // comes in front of it whole; closing the list shows the panel again.
    QWidget* area = w->PedigreeArea();
    auto listInFrontOf = [&](QWidget* panel) {
        QWidget* at = area->childAt(panel->geometry().center());
        return at && (at == w->ListFrame || w->ListFrame->isAncestorOf(at));
    };
    w->mnuEditItem_Click(0);
    ASSERT_TRUE(w->Panel("place")->isVisible());
    w->mnuListItem[0]->trigger();  // List all Individuals
    ASSERT_TRUE(w->ListFrame->isVisible());
    EXPECT_TRUE(listInFrontOf(w->Panel("place")));
    w->mnuListItem_Click(0);  // closes the list
    EXPECT_FALSE(w->ListFrame->isVisible());
    EXPECT_EQ(area->childAt(w->Panel("place")->geometry().center())->window(), w);
    EXPECT_TRUE(w->Panel("place")->isVisible());
    g.DataChanged = "N";  // no question about saving first
    ASSERT_TRUE(PruneSetup(g.Famil[g.Indiv[root].iFamc].fHusb));
    w->mnuListItem_Click(1);
    EXPECT_TRUE(listInFrontOf(w->Panel("prune")));
    Shot(w, "list_over_panels");
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
    auto texts = [places] { return PlaceCounts(*places); };
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

// A prune confirmed while the place list is open: the list counts only the
// places of the people left, as it does after an undo.
TEST_F(AssemblyTest, APruneRefillsTheOpenPlaceList) {
    const int32_t ann = Person("Ann", "LEE", "F", "1880");
    const int32_t john = Person("John", "LEE", "M", "1850");
    const int32_t mary = Person("Mary", "ROE", "F", "1855");
    g.Indiv[ann].ibPlace = "Salem";
    g.Indiv[john].ibPlace = "Salem";
    g.Indiv[mary].ibPlace = "Boston";
    g.Indiv[mary].idPlace = "Salem";
    Child(ann, Family(john, mary, "1875", "Boston"));
    g.TreeSlot[0] = ann;
    LoadGenTree();
    w->RedrawTree();
    w->EnableDataCommands();
    g.DataChanged = "N";
    auto* places = static_cast<PlaceListFrame*>(w->Panel("place"));
    auto texts = [places] { return PlaceCounts(*places); };
    w->mnuEditItem_Click(0);
    ASSERT_TRUE(places->isVisible());
    EXPECT_EQ(texts(), "Boston=1 | Salem=3");  // the marriage place is not listed

    auto* prune = static_cast<PruneFrame*>(w->Panel("prune"));
    ASSERT_TRUE(PruneSetup(mary));
    ASSERT_TRUE(prune->isVisible());
    QPushButton* ok = nullptr;
    for (auto* b : prune->findChildren<QPushButton*>())
        if (b->text() == "OK") ok = b;
    ASSERT_NE(ok, nullptr);
    ui.Answer(MsgResult::Ok);  // "Are you sure?"
    ui.Answer(MsgResult::Ok);  // what was removed
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_FALSE(prune->isVisible());
    ASSERT_TRUE(places->isVisible());
    // Mary's birth and death places are gone.
    EXPECT_EQ(texts(), "Salem=2");
    EXPECT_TRUE(places->Text3()->isHidden());
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

namespace lintora {
namespace {

// The editor keeps its own size whatever the names: a father's name of a
// whole line is cut with a mark and offered whole as tool tip, and every
// button stays inside the window, the window inside the screen.
TEST_F(AssemblyTest, TheEditorKeepsItsSizeWhateverTheNames) {
    StartProgram("", true);
    Lintoraedit::SetModalLoop(false);
    Lintoraedit& editor = EditorWindow();
    const std::string longGiven =
        "Maximilian Franz Xaver Joseph Johann Anton de Paula Wenzel Leopold Karl Ferdinand Ignaz Alois Johann "
        "Nepomuk Ludwig Felix Cajetan Benedikt Rochus Sebastian Damian Pius";
    const std::string longSurname = "von Habsburg-Lothringen-Toscana-Modena-Este-Parma-Piacenza-Guastalla";
    ASSERT_GE(longGiven.size() + 1 + longSurname.size(), 232u);
    const int32_t anna = Person("Anna", "LEE", "F", "1717");
    Child(anna, Family(Person("Tom", "LEE", "M", "1690"), Person("Kate", "ROE", "F", "1692")));
    const int32_t maria = Person("Maria Anna", "HABSBURG", "F", "1717");
    Child(maria, Family(Person(longGiven, longSurname, "M", "1690"), Person(longGiven, "Este", "F", "1692")));
    Family(Person(longGiven, longSurname + "-Sohn", "M", "1715"), maria, "1736");
    const QRect screen = editor.screen()->availableGeometry();

    OpenEditor(anna, 1);
    QCoreApplication::processEvents();
    ASSERT_TRUE(editor.isVisible());
    const QSize usual = editor.size();
    EXPECT_FALSE(ShowsCutMark(editor.iFather));

    OpenEditor(maria, 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(editor.size(), usual);
    EXPECT_LE(editor.frameGeometry().width(), screen.width());
    const QRect inside = editor.rect();
    const QWidget* buttons[] = {editor.btnGoPedigree, editor.btnPrev,     editor.CancelEditButton,
                                editor.btnNext,       editor.iGoToFather, editor.iGoToMother,
                                editor.iGoToSpouse,   editor.lblSpouses2, editor.iSpousesList};
    for (const QWidget* b : buttons)
        EXPECT_TRUE(inside.contains(QRect(b->mapTo(&editor, QPoint(0, 0)), b->size())))
            << b->metaObject()->className() << " " << b->mapTo(&editor, QPoint(0, 0)).x();
    for (QLabel* parent : {editor.iFather, editor.iMother}) {
        EXPECT_TRUE(parent->text().startsWith(" Maximilian Franz Xaver")) << parent->text().toStdString();
        EXPECT_GT(parent->text().size(), 130) << parent->text().toStdString();
        EXPECT_TRUE(ShowsCutMark(parent));
        QHelpEvent tip(QEvent::ToolTip, QPoint(5, 5), parent->mapToGlobal(QPoint(5, 5)));
        QCoreApplication::sendEvent(parent, &tip);
        EXPECT_EQ(QToolTip::text(), parent->text());
        QToolTip::hideText();
    }
    // So is the spouse's line in its list box.
    EXPECT_TRUE(editor.iSpousesList->currentText().startsWith("Maximilian Franz"));
    EXPECT_TRUE(ShowsCutMark(editor.iSpousesList));
    QTest::mouseClick(editor.CancelEditButton, Qt::LeftButton);
    EXPECT_FALSE(editor.isVisible());
}

}  // namespace
}  // namespace lintora

namespace lintora {
namespace {

// The panels open at one place over the pedigree: whichever is opened last
// is in front and covers the others whole, the open place list included.
TEST_F(AssemblyTest, APanelShownOverAnotherCoversIt) {
    const int32_t root = Person("Thomas Edward", "HARLOW", "M", "1821");
    const int32_t mother = Person("Elisabeth Christine Luise Wilhelmine Auguste Charlotte",
                                  "von Braunschweig-Wolfenbuettel", "F", "1795");
    Child(root, Family(Person("Edward", "HARLOW", "M", "1790"), mother));
    LoadGenTree();
    g.TreeSlot[0] = root;
    w->RedrawTree();
    w->EnableDataCommands();
    w->show();
    QCoreApplication::processEvents();
    const QWidget* area = w->PedigreeArea();
    // The topmost panel at a point of the area.
    const auto inFront = [area](QPoint at) {
        const QWidget* hit = area->childAt(at);
        while (hit && hit->parentWidget() != area) hit = hit->parentWidget();
        return hit;
    };

    w->mnuEditItem_Click(0);
    QWidget* places = w->Panel("place");
    QWidget* prune = w->Panel("prune");
    ASSERT_TRUE(places->isVisible());
    const QRect under = places->geometry();
    w->lblTree_MouseUp(2, 1);  // the mother
    w->HidePopupMenu();
    w->Toolbar1_ButtonClick(10);
    ASSERT_TRUE(prune->isVisible());
    ASSERT_TRUE(places->isVisible());
    EXPECT_TRUE(prune->geometry().contains(places->geometry()));
    // Her long name is cut to the panel, with a mark.
    const auto* panel = static_cast<PruneFrame*>(prune);
    EXPECT_TRUE(panel->Identity()->text().startsWith("Remove Elisabeth Christine"));
    EXPECT_TRUE(ShowsCutMark(panel->Identity()));
    EXPECT_TRUE(ShowsCutMark(panel->OptionLabel(2)));
    EXPECT_FALSE(ShowsCutMark(panel->OptionLabel(0)));
    // A pointer resting on a cut caption reads it whole.
    for (QLabel* cut : {panel->Identity(), panel->OptionLabel(2)}) {
        QHelpEvent tip(QEvent::ToolTip, QPoint(5, 5), cut->mapToGlobal(QPoint(5, 5)));
        QCoreApplication::sendEvent(cut, &tip);
        EXPECT_EQ(QToolTip::text(), cut->text());
        QToolTip::hideText();
    }
    EXPECT_EQ(prune->geometry(), under);
    for (QPoint at : {under.topLeft(), under.topRight(), under.bottomLeft(), under.bottomRight(), under.center()})
        EXPECT_EQ(inFront(at), prune) << at.x() << "," << at.y();

    // The place list opened again comes in front in its turn, whole.
    w->mnuEditItem_Click(0);
    EXPECT_EQ(inFront(under.center()), places);
    EXPECT_TRUE(places->geometry().contains(prune->geometry()));
    for (const char* name : {"source", "parents"}) EXPECT_EQ(w->Panel(name)->geometry(), under) << name;
}

}  // namespace
}  // namespace lintora
