// Windows used by hand, with real keys and clicks: where the focus starts,
// where Tab leads, and where a window shown again comes back.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeWidget>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include "editor/editor_window.h"
#include "main_window/desc_list_window.h"
#include "main_window/parent_pick.h"
#include "main_window/preferences_window.h"
#include "main_window/record_lists.h"
#include "tests/main_window/window_fixture.h"

namespace lintora {
namespace {

using testing::MainWindowTest;

class WindowUseTest : public MainWindowTest {
protected:
    // Opens a modal window with open(), runs look(window) inside it and
    // closes it with Escape if it is still open.
    template <typename Window, typename Open, typename Look>
    void InModal(Open open, Look look) {
        bool looked = false;
        QTimer::singleShot(0, [&] {
            auto* window = qobject_cast<Window*>(QApplication::activeModalWidget());
            ASSERT_NE(window, nullptr);
            ASSERT_TRUE(QTest::qWaitForWindowActive(window));
            look(window);
            looked = true;
            if (window->isVisible()) QTest::keyClick(window, Qt::Key_Escape);
        });
        open();
        ASSERT_TRUE(looked);
    }
    // Keys as the keyboard gives them: to the window, which hands them to
    // its focus.
    static void Type(QWidget* window, const QString& text) {
        for (QChar c : text) QTest::keyClick(window->windowHandle(), c.toLatin1());
    }
    static void Press(QWidget* window, Qt::Key key) { QTest::keyClick(window->windowHandle(), key); }
    // Two husbands of each of 24 surnames, Abbott to Ward, each with his
    // wife: the O's stand below the first screenful of the marriages.
    static void MarriagesOfManyHusbands() {
        const QString surnames = "Abbott Baker Carter Davis Eaton Fisher Grant Hall Irwin Jones Kelly Lee "
                                 "Marsh Nash Nolan Oakes Öberg Olsen Parker Quinn Reed Smith Todd Ward";
        for (const QString& surname : surnames.split(' '))
            for (const char* given : {"Lars", "Nils"})
                Family(Person(given, surname.toStdString(), "M"), Person("Anna", "Berg", "F"));
    }
    // The first column of a list, row by row, joined by " | ".
    static std::string Rows(const RecordListModel& model) {
        QStringList rows;
        for (int r = 0; r < model.rowCount(); ++r) rows << model.Text(r, 0);
        return rows.join(" | ").toStdString();
    }
    static void ClickHeader(QTableView* view, int column) {
        QHeaderView* header = view->horizontalHeader();
        const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    }
    // Presses Tab until the focus is on target; false if it never gets there.
    static bool TabTo(QWidget* window, QWidget* target) {
        for (int i = 0; i < 30 && window->focusWidget() != target; ++i) Press(window, Qt::Key_Tab);
        return window->focusWidget() == target;
    }
};

// A first opening: the name typed lands in the Name box, Tab leads from the
// note box on to OK. Opened again after the user left the focus on a tick
// box, the focus is in the Name box again, its text ready to be typed over.
TEST_F(WindowUseTest, PreferencesStartInTheNameBoxAndTabLeadsOutOfTheNote) {
    w->show();
    InModal<LintoraPreferences>([&] { w->mnuPrefs_Click(); }, [&](LintoraPreferences* p) {
        EXPECT_EQ(p->focusWidget(), p->Text(1));
        Type(p, "Anna Lindqvist");
        EXPECT_EQ(p->Text(1)->text(), "Anna Lindqvist");
        EXPECT_TRUE(p->PrepCheck()->isChecked());
        p->NoteCheck()->click();
        ASSERT_TRUE(TabTo(p, p->NoteBox()));
        Type(p, "From the parish books");
        Press(p, Qt::Key_Tab);
        EXPECT_NE(p->focusWidget(), p->NoteBox());
        EXPECT_EQ(p->NoteBox()->toPlainText(), "From the parish books");
        ASSERT_TRUE(TabTo(p, p->OkButton()));
        Press(p, Qt::Key_Space);
        EXPECT_FALSE(p->isVisible());
    });
    EXPECT_EQ(g.prefName, "Anna Lindqvist");
    EXPECT_EQ(g.prefNotes, "From the parish books");

    InModal<LintoraPreferences>([&] { w->mnuPrefs_Click(); }, [&](LintoraPreferences* p) {
        EXPECT_EQ(p->focusWidget(), p->Text(1));
        EXPECT_EQ(p->Text(1)->selectedText(), "Anna Lindqvist");
        EXPECT_EQ(p->Text(1)->cursorPosition(), 0);
        QTest::mouseClick(p->NoteCheck(), Qt::LeftButton);
        EXPECT_EQ(p->focusWidget(), p->NoteCheck());
        EXPECT_FALSE(p->NoteCheck()->isChecked());
    });
    InModal<LintoraPreferences>([&] { w->mnuPrefs_Click(); }, [&](LintoraPreferences* p) {
        EXPECT_EQ(p->focusWidget(), p->Text(1));
        Type(p, "Anna Berg");
        EXPECT_EQ(p->Text(1)->text(), "Anna Berg");
        EXPECT_FALSE(p->NoteCheck()->isChecked());
    });
}

// The user drags Preferences and the descendants list aside (the window
// manager moves them, not the program); closed and opened again they come
// back where he left them, and again where they were after that.
TEST_F(WindowUseTest, WindowsComeBackWhereTheUserLeftThem) {
    const int32_t father = Person("Samuel", "WHITLOCK", "M", "1801");
    Child(Person("John Henry", "WHITLOCK", "M", "1832"), Family(father, Person("Abigail", "MARSH", "F", "1805")));
    g.TreeSlot[0] = father;
    g.CurIndiv = father;
    w->RedrawTree();
    w->show();
    QCoreApplication::processEvents();

    auto walk = [&]<typename Window>(Window*, auto open) {
        QPoint dragged;
        InModal<Window>(open, [&](Window* window) {
            dragged = window->pos() + QPoint(37, 23);
            window->windowHandle()->setFramePosition(dragged);
            QCoreApplication::processEvents();
            ASSERT_EQ(window->pos(), dragged);
        });
        for (int again = 0; again < 2; ++again)
            InModal<Window>(open, [&](Window* window) {
                EXPECT_EQ(window->pos(), dragged) << Window::staticMetaObject.className() << " " << again;
            });
    };
    walk(static_cast<LintoraPreferences*>(nullptr), [&] { w->mnuPrefs_Click(); });
    walk(static_cast<LintoraDescList*>(nullptr), [&] { w->mnuPopup1Item_Click(3); });
}

// A page naming two sets of parents: the choice panel opens over the
// pedigree, and Escape answers it as Cancel does: no parents linked.
TEST_F(WindowUseTest, EscapeCancelsTheParentSetChoice) {
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    QGuiApplication::clipboard()->setText(
        "FamilySearch(TM) Ancestral File Individual Record\n"
        "Ancestral File (TM) v4.19 Individual Record\n\n"
        "Ann LEE (AFN: 3C4D-5FG)\nSex: F\n\n"
        "Event(s):\nBirth: 1840\n\tSalem, Essex, Massachusetts\n\n"
        "Parents:\nFather: Tom LEE\nMother: Sue KANE\n"
        "Father: Will LEE\nMother: Kate ROE\n\n"
        "Submitter Information\n");
    w->Timer1_Timer();
    QTest::mouseClick(w->Command6, Qt::LeftButton);
    auto* pick = static_cast<ParentPickPanel*>(w->Panel("parents"));
    ASSERT_TRUE(pick->isVisible());
    ASSERT_EQ(pick->ParentList()->topLevelItemCount(), 2);
    const int32_t ann = g.TreeSlot[0];
    ASSERT_GT(ann, 0);

    // The window manager hands the keyboard back once the paste's progress window is gone.
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == w; }));
    QTest::keyClick(w->windowHandle(), Qt::Key_Escape);
    EXPECT_FALSE(pick->isVisible());
    EXPECT_EQ(g.Indiv[ann].iFamc, 0);
    EXPECT_EQ(g.IndivCount, 1);
    EXPECT_EQ(w->lblTree[0]->text(), " Ann LEE  (1840-    )");
    EXPECT_TRUE(w->lblTree[1]->text().isEmpty());
}

// On a 1024 x 768 screen the whole window fits, its status panels with it;
// the pedigree scrolls to its fifth generation and the "more" buttons, and a
// long message line does not widen the window again.
TEST_F(WindowUseTest, TheMainWindowFitsASmallScreenAndThePedigreeScrolls) {
    Ancestors(g.TreeSlot[0] = Person("Edward Augustus", "HANOVER", "M", "1767", "1820"), 5, 1767);
    LoadGenTree();
    w->RedrawTree();
    w->show();
    // It opens no larger than the screen it is on.
    const QRect screen = w->screen()->availableGeometry();
    EXPECT_LE(w->frameGeometry().width(), screen.width());
    EXPECT_LE(w->frameGeometry().height(), screen.height());

    const QSize small(1024 - 16, 768 - 48);
    w->resize(small);
    QCoreApplication::processEvents();
    EXPECT_EQ(w->size(), small);
    for (QLabel* panel : w->statusPanels)
        EXPECT_LE(panel->mapTo(w, QPoint(panel->width(), 0)).x(), w->width()) << panel->toolTip().toStdString();
    auto* scroll = w->findChild<QScrollArea*>();
    ASSERT_NE(scroll, nullptr);
    ASSERT_TRUE(scroll->horizontalScrollBar()->isVisible());
    const auto inView = [&](QWidget* x) {
        return scroll->viewport()->rect().contains(QRect(x->mapTo(scroll->viewport(), QPoint(0, 0)), x->size()));
    };
    QPushButton* more = w->Command1[15];
    ASSERT_TRUE(more->isVisibleTo(w));
    EXPECT_FALSE(inView(more));
    // Scrolled to the right, as with the scroll bar's arrow held down.
    for (int i = 0; i < 200 && !inView(more); ++i)
        QTest::mouseClick(scroll->horizontalScrollBar(), Qt::LeftButton, {},
                          QPoint(scroll->horizontalScrollBar()->width() - 4, 4));
    EXPECT_TRUE(inView(more));
    EXPECT_TRUE(inView(w->lblTree[30]));
    EXPECT_TRUE(inView(w->lblTree[15]));
    const int32_t mother = g.TreeSlot[2];
    QTest::mouseClick(more, Qt::LeftButton);
    EXPECT_EQ(g.TreeSlot[0], mother);
    // The new root is scrolled into view, the button before it with it.
    EXPECT_TRUE(inView(w->lblTree[0]));
    EXPECT_TRUE(inView(w->Command2));

    // A redraw on the same root leaves the pedigree where the user scrolled
    // it.
    QScrollBar* across = scroll->horizontalScrollBar();
    for (int i = 0; i < 20; ++i) QTest::mouseClick(across, Qt::LeftButton, {}, QPoint(across->width() - 20, 4));
    const int right = across->value();
    ASSERT_FALSE(inView(w->lblTree[0]));
    w->mnuEditItem[1]->trigger();  // Last Names Upper case
    EXPECT_EQ(across->value(), right);

    // Scrolled back to the root, a panel of the pedigree's top right opens
    // in view.
    scroll->horizontalScrollBar()->setValue(0);
    w->mnuEditItem_Click(0);
    ASSERT_TRUE(w->Panel("place")->isVisible());
    EXPECT_TRUE(inView(w->Panel("place")));

    w->lblDspMsg->setText(QString(300, QChar('x')));
    QCoreApplication::processEvents();
    EXPECT_EQ(w->size(), small);
}

// On a 1024 x 768 screen the window shows part of the pedigree. Wherever it
// is scrolled, the lists cover that part and no more, their own scroll bars
// taking over, and every panel opens whole inside it.
TEST_F(WindowUseTest, ListsAndPanelsOpenWholeInThePartOfThePedigreeInView) {
    Ancestors(g.TreeSlot[0] = Person("Edward Augustus", "HANOVER", "M", "1767", "1820"), 5, 1767);
    LoadGenTree();
    w->RedrawTree();
    w->EnableDataCommands();
    g.DataChanged = "N";  // the prune asks for no backup
    w->show();
    w->resize(1024 - 16, 768 - 48);
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    auto* scroll = w->findChild<QScrollArea*>();
    QScrollBar* across = scroll->horizontalScrollBar();
    ASSERT_TRUE(across->isVisible());
    const auto whole = [&](QWidget* x) {
        return x->isVisible() &&
               scroll->viewport()->rect().contains(QRect(x->mapTo(scroll->viewport(), QPoint(0, 0)), x->size()));
    };
    auto* lists = static_cast<ListFrame*>(w->ListFrame);
    auto* closeList = lists->findChild<QToolButton*>();
    const auto ctrl = [&](Qt::Key key) { QTest::keyClick(w->windowHandle(), key, Qt::ControlModifier); };

    for (const bool right : {false, true}) {
        // Scrolled to one end with clicks beside the scroll bar's handle.
        const QPoint beside(right ? across->width() - 20 : 20, across->height() / 2);
        for (int i = 0; i < 20; ++i) QTest::mouseClick(across, Qt::LeftButton, {}, beside);
        const int at = across->value();
        ASSERT_EQ(at, right ? across->maximum() : 0);

        ctrl(Qt::Key_L);
        ASSERT_TRUE(lists->isVisible()) << right;
        EXPECT_TRUE(whole(lists)) << right;
        EXPECT_FALSE(across->isVisible()) << right;
        QTableView* people = lists->ListView1();
        EXPECT_EQ(people->horizontalHeader()->sectionViewportPosition(0), 0);
        EXPECT_TRUE(whole(people->horizontalHeader())) << right;
        EXPECT_TRUE(whole(people->verticalScrollBar())) << right;
        EXPECT_TRUE(whole(lists->Command5())) << right;
        EXPECT_TRUE(whole(closeList)) << right;
        QTest::mouseClick(closeList, Qt::LeftButton);
        EXPECT_FALSE(lists->isVisible());
        EXPECT_TRUE(across->isVisible());
        EXPECT_EQ(across->value(), at);

        ctrl(Qt::Key_P);
        EXPECT_TRUE(whole(w->Panel("place"))) << right;
        w->mnuEditItem[3]->trigger();  // Edit Sources
        EXPECT_TRUE(whole(w->Panel("source"))) << right;
        w->HidePanels();
        // A box of the last generation, half hidden at the view's right
        // edge before it is scrolled: its pop-up opens whole, and so does
        // the prune panel chosen from its menu.
        QLabel* edge = w->lblTree[22];
        EXPECT_EQ(whole(edge), right);
        const QPoint onEdge = edge->visibleRegion().boundingRect().center();
        QTest::mouseClick(edge, Qt::LeftButton, {}, onEdge);
        EXPECT_TRUE(whole(w->popupFrame)) << right;
        w->choosePopupItem = [] { return 2; };  // "Delete this Individual"
        QTest::mouseClick(edge, Qt::RightButton, {}, onEdge);
        EXPECT_TRUE(whole(w->Panel("prune"))) << right;
        w->HidePanels();
    }

    // A page naming two sets of parents, pasted with the pedigree scrolled
    // to its far end: the new root is brought into view, and the panel
    // asking which parents are meant is whole.
    QGuiApplication::clipboard()->setText(
        "FamilySearch(TM) Ancestral File Individual Record\n"
        "Ancestral File (TM) v4.19 Individual Record\n\n"
        "Ann LEE (AFN: 3C4D-5FG)\nSex: F\n\n"
        "Parents:\nFather: Tom LEE\nMother: Sue KANE\n"
        "Father: Will LEE\nMother: Kate ROE\n\n"
        "Submitter Information\n");
    w->Timer1_Timer();
    ui.Answer(MsgResult::Ok);  // "... new tree(s) started"
    QTest::mouseClick(w->Command6, Qt::LeftButton);
    EXPECT_TRUE(whole(w->Panel("parents")));
    EXPECT_EQ(w->lblTree[0]->text(), " Ann LEE");
    EXPECT_TRUE(whole(w->lblTree[0]));
}

// Ctrl+L after two pastes, then Undo on the tool bar: the open list shows
// the people and marriages of the first paste, not an empty frame, and
// Ctrl+L goes on as with any open list.
TEST_F(WindowUseTest, AnUndoRefillsTheOpenList) {
    w->show();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    PastePage("af_individual.txt");
    PastePage("af_family.txt");
    auto* lists = static_cast<ListFrame*>(w->ListFrame);
    QTest::keyClick(w->windowHandle(), Qt::Key_L, Qt::ControlModifier);
    ASSERT_TRUE(lists->isVisible());
    ASSERT_GT(lists->IndivModel().rowCount(), 5);

    ClickToolButton(9);
    EXPECT_EQ(w->StatusPanel(5), "Individuals: 5");
    EXPECT_TRUE(lists->ListView1()->isVisible());
    EXPECT_EQ(Rows(lists->IndivModel()),
              "BENNETT, Eliza Ann | MARSH, Abigail | PARKER, Mary | WHITLOCK, John Henry | WHITLOCK, Samuel");
    QTest::mouseClick(lists->Command5(), Qt::LeftButton);
    EXPECT_EQ(lists->MarrModel().rowCount(), 3);
    QTest::keyClick(w->windowHandle(), Qt::Key_L, Qt::ControlModifier);
    EXPECT_TRUE(lists->ListView1()->isVisible());
    QTest::keyClick(w->windowHandle(), Qt::Key_L, Qt::ControlModifier);
    EXPECT_FALSE(lists->isVisible());
}

// The row a list stands on: current, the one selected, wholly in view.
bool StandsOn(QTableView* view, int row) {
    const auto selected = view->selectionModel()->selectedRows();
    return view->currentIndex().row() == row && selected.size() == 1 && selected[0].row() == row &&
           view->viewport()->rect().contains(view->visualRect(view->model()->index(row, 0)));
}

// Sixty people in fifty marriages, more than the list window shows at once:
// in either list End goes to the last row and Home back to the first.
TEST_F(WindowUseTest, HomeAndEndGoToTheFirstAndLastRowOfTheLists) {
    for (int i = 0; i < 60; ++i) Person("Child" + std::to_string(i), "ROE", i % 2 ? "F" : "M");
    for (int i = 0; i < 50; ++i) Family(i % 30 * 2 + 1, i % 30 * 2 + 2, std::to_string(1800 + i));
    w->EnableDataCommands();
    w->show();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    auto* lists = static_cast<ListFrame*>(w->ListFrame);
    QTest::keyClick(w->windowHandle(), Qt::Key_L, Qt::ControlModifier);
    QTableView* people = lists->ListView1();
    ASSERT_TRUE(people->hasFocus());
    QTest::keyClick(w->windowHandle(), Qt::Key_End);
    EXPECT_TRUE(StandsOn(people, 59));
    QTest::keyClick(w->windowHandle(), Qt::Key_Home);
    EXPECT_TRUE(StandsOn(people, 0));

    QTest::mouseClick(lists->Command5(), Qt::LeftButton);
    QTableView* marriages = lists->ListView2();
    QTest::mouseClick(marriages->viewport(), Qt::LeftButton, {},
                      marriages->visualRect(marriages->model()->index(3, 0)).center());
    QTest::keyClick(w->windowHandle(), Qt::Key_End);
    EXPECT_TRUE(StandsOn(marriages, 49));
    QTest::keyClick(w->windowHandle(), Qt::Key_Home);
    EXPECT_TRUE(StandsOn(marriages, 0));
}

// Karin Öberg's parents picked from the editor's Link menu with the mouse:
// the marriages open on the first husband whose name begins with her
// surname's letter, accent aside, in view and with the focus.
TEST_F(WindowUseTest, PickingParentsOpensTheMarriagesAtTheSurnameInitial) {
    StartProgram("", true);
    Lintoraedit::SetModalLoop(false);
    Lintoraedit& editor = EditorWindow();
    MarriagesOfManyHusbands();
    const int32_t karin = Person("Karin", "Öberg", "F");
    OpenEditor(karin, 0);
    editor.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));
    QTabBar* tabs = editor.SSTab1->tabBar();  // the Link menu serves the Family tab
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    QTest::mouseClick(editor.menuBar, Qt::LeftButton, {},
                      editor.menuBar->actionGeometry(editor.mnuLink->menuAction()).center());
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_EQ(menu, editor.mnuLink);
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(editor.mnuLinkItem[2]).center());

    auto* lists = static_cast<ListFrame*>(w->ListFrame);
    EXPECT_EQ(lists->Hint().toStdString(), "Double-click to select parents of Karin Öberg");
    QTableView* marriages = lists->ListView2();
    ASSERT_TRUE(marriages->isVisible());
    EXPECT_EQ(lists->MarrModel().Text(marriages->currentIndex().row(), 0).toStdString(), "Oakes, Lars ");
    EXPECT_TRUE(StandsOn(marriages, marriages->currentIndex().row()));
    EXPECT_FALSE(marriages->viewport()->rect().contains(marriages->visualRect(marriages->model()->index(0, 0))));
    EXPECT_EQ(w->focusWidget(), marriages);  // the main window's, once the editor has gone
    // Escape cancels the pick as the close button does: Karin is back in the editor.
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    QTest::keyClick(w->windowHandle(), Qt::Key_Escape);
    EXPECT_FALSE(lists->isVisible());
    EXPECT_EQ(w->StatusLabel(), "Selection canceled");
    EXPECT_TRUE(editor.isVisible());
    EXPECT_EQ(g.Indiv[karin].iFamc, 0);
    editor.hide();
}

// Ann Adams opened from the list and renamed Young in the editor: the list
// opened again holds as many rows as before, sorted by the names they now
// hold, and a click on "Name" turns that order round.
TEST_F(WindowUseTest, ARenamedPersonSortsByHerNewNameInTheListOpenedAgain) {
    StartProgram("", true);
    Lintoraedit::SetModalLoop(false);
    Lintoraedit& editor = EditorWindow();
    for (const char* surname : {"Adams", "Baker", "Clark", "Davis"}) Person("Ann", surname, "F");
    w->EnableDataCommands();
    ShowActive();
    auto* lists = static_cast<ListFrame*>(w->ListFrame);
    QTest::keyClick(w->windowHandle(), Qt::Key_L, Qt::ControlModifier);
    ASSERT_EQ(Rows(lists->IndivModel()), "Adams, Ann | Baker, Ann | Clark, Ann | Davis, Ann");

    DoubleClickRow(lists->ListView1(), lists->IndivModel(), "Adams, Ann");
    ASSERT_TRUE(editor.isVisible());
    editor.iSurn->selectAll();
    QTest::keyClicks(editor.iSurn, "Young");
    QTest::mouseClick(editor.EditIndivButton, Qt::LeftButton);  // Save
    QTest::mouseClick(editor.CancelEditButton, Qt::LeftButton);  // Done
    ASSERT_FALSE(editor.isVisible());
    ASSERT_EQ(g.Indiv[1].iSurn.trimmed(), "Young");

    ShowActive();
    QTest::keyClick(w->windowHandle(), Qt::Key_L, Qt::ControlModifier);
    ASSERT_TRUE(lists->ListView1()->isVisible());
    EXPECT_EQ(Rows(lists->IndivModel()), "Baker, Ann | Clark, Ann | Davis, Ann | Young, Ann");
    ClickHeader(lists->ListView1(), 0);
    EXPECT_EQ(Rows(lists->IndivModel()), "Young, Ann | Davis, Ann | Clark, Ann | Baker, Ann");
    ClickHeader(lists->ListView1(), 0);
    EXPECT_EQ(Rows(lists->IndivModel()), "Baker, Ann | Clark, Ann | Davis, Ann | Young, Ann");
}

// Karin Öberg chosen in the pedigree, then the lists opened from the
// Find/List button to look, not to pick her parents: the marriages start at
// their first row, Abbott, not at her initial.
TEST_F(WindowUseTest, MarriagesOpenedFromFindListStartAtTheFirstRow) {
    MarriagesOfManyHusbands();
    const int32_t karin = Person("Karin", "Öberg", "F");
    g.TreeSlot[0] = karin;
    w->RedrawTree();
    w->EnableDataCommands();
    ShowActive();
    QTest::mouseClick(w->lblTree[0], Qt::LeftButton);
    ASSERT_EQ(g.CurIndiv, karin);

    ClickToolButton(kListToolButton);  // Find/List
    auto* lists = static_cast<ListFrame*>(w->ListFrame);
    ASSERT_TRUE(lists->ListView1()->isVisible());
    EXPECT_TRUE(StandsOn(lists->ListView1(), 0));
    QTest::mouseClick(lists->Command5(), Qt::LeftButton);  // Show Marriage List
    QTableView* marriages = lists->ListView2();
    ASSERT_TRUE(marriages->isVisible());
    EXPECT_EQ(lists->Hint().toStdString(), kListViewHint);
    EXPECT_EQ(lists->MarrModel().rowCount(), 48);
    EXPECT_TRUE(StandsOn(marriages, 0));
    EXPECT_EQ(lists->MarrModel().Text(marriages->currentIndex().row(), 0).toStdString(), "Abbott, Lars ");
}

}  // namespace
}  // namespace lintora
