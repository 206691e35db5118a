// Desktop habits of the main window, driven with real keys and clicks in
// the program as it starts: Escape closes a panel as its Cancel or close
// does, Enter presses the button Preferences show, Undo's tip names what
// it takes back, and an undone prune leaves no number of its own behind.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QScrollBar>
#include <QToolButton>
#include <QKeySequence>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QWindow>

#include "editor/editor_window.h"
#include "internet_search/gui/search_window.h"
#include "main_window/desc_list_window.h"
#include "main_window/place_panel.h"
#include "main_window/preferences_window.h"
#include "main_window/prune_panel.h"
#include "main_window/record_lists.h"
#include "main_window/source_panel.h"
#include "platform/qt/qt_platform.h"
#include "record_store/trees.h"
#include "tests/main_window/window_fixture.h"
#include "tests/support/table_checks.h"

namespace lintora {
namespace {

namespace fs = std::filesystem;

class DesktopHabitsTest : public testing::MainWindowTest {
protected:
    // A key as the keyboard gives it: to the window, which hands it to its focus.
    static void Press(QWidget* window, Qt::Key key, Qt::KeyboardModifiers mods = {}) {
        QTest::keyClick(window->windowHandle(), key, mods);
    }
    static void Type(QWidget* window, const QString& text) {
        for (QChar c : text) QTest::keyClick(window->windowHandle(), c.toLatin1());
    }
    // Puts away the next window shown modally, its caption read (a key,
    // unlike a click, lets queued work run before it acts).
    void CloseNextModal(std::string& caption) {
        auto* poll = new QTimer(w);
        QObject::connect(poll, &QTimer::timeout, poll, [poll, &caption] {
            auto* window = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!window) return;
            poll->stop();
            poll->deleteLater();
            caption = window->windowTitle().toStdString();
            window->reject();
        });
        poll->start(5);
    }
    // The prune panel names the person its OK would remove (asked "Are you sure?", Cancel).
    void ExpectPanelRemovesWhomItNames(const std::string& name) {
        EXPECT_EQ(PrunePanel()->Identity()->text().toStdString(), "Remove " + name + " and...");
        ui.Answer(MsgResult::Cancel);
        QTest::mouseClick(Button(PrunePanel(), "OK"), Qt::LeftButton);
        EXPECT_EQ(ui.boxes.back().text, name + " will be removed.");
    }
    static QPushButton* Button(QWidget* panel, const QString& text) {
        for (auto* b : panel->findChildren<QPushButton*>())
            if (b->text() == text) return b;
        return nullptr;
    }
    // A click on pedigree box b; a right click chooses pop-up item.
    void ClickBox(int b, int popupItem = -1) {
        w->choosePopupItem = [popupItem] { return popupItem; };
        QTest::mouseClick(w->lblTree[b], popupItem < 0 ? Qt::LeftButton : Qt::RightButton);
    }
    // The chosen box's person on the prune panel, the backup declined.
    void PruneFromBox(int b) {
        ClickBox(b);
        ui.Answer(MsgResult::No);  // "Backup work before pruning?"
        ClickToolButton(kPruneToolButton);
    }
    PruneFrame* PrunePanel() const { return static_cast<PruneFrame*>(w->Panel("prune")); }
    PlaceListFrame* PlacePanel() const { return static_cast<PlaceListFrame*>(w->Panel("place")); }
    std::string UndoTip() const {
        return w->toolButtons[kUndoToolButton]->isEnabled() ? w->ToolButtonTip(kUndoToolButton) : "(off)";
    }
    // The program started with its own editor, which returns at once when shown.
    Lintoraedit& StartWithTheEditor() {
        StartProgram("", true);
        Lintoraedit::SetModalLoop(false);
        return EditorWindow();
    }
    // An Ancestral File page, then a MyTrees page that starts a tree of its
    // own: Henry Augustus PEMBERTON is the last individual processed.
    void PasteTwoTrees() {
        PastePage();
        ui.Answer(MsgResult::Ok);  // "Unable to link all individuals to previous entries - new tree(s) started..."
        PastePage("mytrees_individual.txt");
    }
    // The person of a row of the individuals list, opened in the editor,
    // deleted there and pruned alone, without a backup; removed tells what went.
    void PruneFromTheEditor(Lintoraedit& editor, const QString& row, const std::string& removed) {
        // The window manager hands the keyboard back once the editor is gone.
        ShowActive();
        auto* lists = static_cast<ListFrame*>(w->ListFrame);
        Press(w, Qt::Key_L, Qt::ControlModifier);  // List all Individuals
        ASSERT_TRUE(lists->isVisible());
        DoubleClickRow(lists->ListView1(), lists->IndivModel(), row);
        ASSERT_TRUE(editor.isVisible());
        DeleteInTheEditor(editor, removed);
    }
    // The editor's "Delete Individual" on its person, pruned alone, without a backup.
    void DeleteInTheEditor(Lintoraedit& editor, const std::string& removed) {
        ui.Answer(MsgResult::No);  // "Backup work before pruning?"
        editor.mnuNavItem[5]->trigger();  // "Delete Individual"
        PruneFrame* prune = PrunePanel();
        ASSERT_TRUE(prune->isVisible());
        ui.Answer(MsgResult::Ok);  // "Are you sure?"
        ui.Answer(MsgResult::Ok);
        QTest::mouseClick(Button(prune, "OK"), Qt::LeftButton);
        EXPECT_EQ(ui.boxes.back().text, removed);
    }
    std::vector<std::string> StatusPanels() const {
        std::vector<std::string> panels;
        for (int p = 1; p <= 7; ++p) panels.push_back(w->StatusPanel(p));
        return panels;
    }
    static int32_t Named(const std::string& name) {
        for (int32_t i = 1; i <= g.IndivCount; ++i)
            if (g.Indiv[i].iName.trimmed() == name) return i;
        return 0;
    }
};

// The prune panel opened from the Prune button, the place list from its
// key: Escape closes each as its Cancel or close button does, from where
// the user left the focus, and with both shown it closes the one in front
// first. Nothing is removed or renamed.
TEST_F(DesktopHabitsTest, EscapeClosesThePruneAndPlacePanels) {
    PastePage();
    ShowActive();
    const testing::TablesInUse pasted = testing::TablesInUse::Now();
    PruneFrame* prune = PrunePanel();
    PlaceListFrame* places = PlacePanel();

    PruneFromBox(1);  // Samuel
    ASSERT_TRUE(prune->isVisible());
    EXPECT_EQ(prune->Identity()->text(), "Remove Samuel WHITLOCK and...");
    Press(w, Qt::Key_Escape);
    EXPECT_FALSE(prune->isVisible());
    EXPECT_EQ(g.PrunePending, "N");
    EXPECT_EQ(g.PruneIndiv, 0);

    PruneFromBox(2);  // Abigail, an option chosen first
    ASSERT_TRUE(prune->isVisible());
    QTest::mouseClick(prune->Button(1), Qt::LeftButton);
    ASSERT_EQ(QApplication::focusWidget(), prune->Button(1));
    Press(w, Qt::Key_Escape);
    EXPECT_FALSE(prune->isVisible());
    EXPECT_EQ(g.PrunePending, "N");

    // A place picked and its replacement half typed.
    Press(w, Qt::Key_P, Qt::ControlModifier);  // Edit Places
    ASSERT_TRUE(places->isVisible());
    QTreeWidget* list = places->ListView3();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->topLevelItem(0)).center());
    ASSERT_TRUE(places->Text3()->isVisible());
    QTest::mouseClick(places->Text3(), Qt::LeftButton);
    Type(w, "Wellsville");
    ASSERT_EQ(places->Text3()->text(), "Wellsville");
    Press(w, Qt::Key_Escape);
    EXPECT_FALSE(places->isVisible());

    // The place list, then a prune in front of it.
    Press(w, Qt::Key_P, Qt::ControlModifier);
    ASSERT_TRUE(places->isVisible());
    PruneFromBox(1);
    ASSERT_TRUE(prune->isVisible());
    Press(w, Qt::Key_Escape);
    EXPECT_FALSE(prune->isVisible());
    EXPECT_TRUE(places->isVisible());
    Press(w, Qt::Key_Escape);
    EXPECT_FALSE(places->isVisible());

    // The source editor, a title half changed: nothing is saved.
    auto* sources = static_cast<SourceEditFrame*>(w->Panel("source"));
    w->mnuEditItem[3]->trigger();  // Edit Sources
    ASSERT_TRUE(sources->isVisible());
    QTest::mouseClick(sources->Box("sTitle"), Qt::LeftButton);
    Type(w, "x");
    Press(w, Qt::Key_Escape);
    EXPECT_FALSE(sources->isVisible());

    EXPECT_TRUE(testing::TablesInUse::Now() == pasted);
    EXPECT_EQ(ui.Texts(), std::vector<std::string>(3, "Backup work before pruning?"));
}

// Save As GED from its key: Enter in the Name box presses Continue, which
// writes the file with the name typed. From the Preferences menu Enter
// presses OK, which stores the name and writes no file.
TEST_F(DesktopHabitsTest, EnterPressesTheButtonPreferencesShow) {
    PastePage();
    ShowActive();
    Press(w, Qt::Key_G, Qt::ControlModifier);  // Save As GED
    auto* prefs = qobject_cast<LintoraPreferences*>(QApplication::activeModalWidget());
    ASSERT_NE(prefs, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowActive(prefs));
    ASSERT_EQ(prefs->focusWidget(), prefs->Text(1));
    Type(prefs, "Anna Lindqvist");
    const fs::path ged = dir / "work" / "whitlock.ged";
    ui.fileAnswers.push_back(ged.string());
    ui.Answer(MsgResult::Ok);  // "... successfully saved"
    Press(prefs, Qt::Key_Return);
    EXPECT_FALSE(prefs->isVisible());
    EXPECT_NE(FileText(ged).find("0 @SUB1@ SUBM\r\n1 NAME Anna Lindqvist\r\n"), std::string::npos);

    bool pressed = false;
    QTimer::singleShot(0, [&] {
        ASSERT_EQ(QApplication::activeModalWidget(), prefs);
        ASSERT_TRUE(QTest::qWaitForWindowActive(prefs));
        Type(prefs, "Anna Berg");
        Press(prefs, Qt::Key_Enter);
        pressed = !prefs->isVisible();
        if (!pressed) prefs->reject();
    });
    w->mnuPrefs->trigger();
    EXPECT_TRUE(pressed);
    EXPECT_EQ(g.prefName, "Anna Berg");
    EXPECT_EQ(ui.fileRequests.size(), 1u);
}

// Each change the editor or the Edit menu makes, as the user makes it:
// while Undo is on, its tip names what Undo would take back, also once the
// editor is closed again.
TEST_F(DesktopHabitsTest, WhileUndoIsOnItsTipNamesWhatItTakesBack) {
    Lintoraedit& editor = StartWithTheEditor();
    PastePage();
    ShowActive();
    EXPECT_EQ(UndoTip(), "UnDo previous paste");

    Press(w, Qt::Key_P, Qt::ControlModifier);  // Edit Places
    ASSERT_TRUE(PlacePanel()->isVisible());
    EXPECT_EQ(UndoTip(), "UnDo Edit Places");
    Press(w, Qt::Key_Escape);
    EXPECT_EQ(UndoTip(), "UnDo Edit Places");

    // John's title typed and saved; the editor closed with Done.
    auto openJohn = [&](int tab) {
        ClickBox(0, 1);  // "Edit this Individual"
        ASSERT_TRUE(editor.isVisible());
        editor.mnuTabsItem[static_cast<std::size_t>(tab)]->trigger();
    };
    auto close = [&](const char* caption) {
        ASSERT_EQ(editor.CancelEditButton->text().toStdString(), caption);
        QTest::mouseClick(editor.CancelEditButton, Qt::LeftButton);
        ASSERT_FALSE(editor.isVisible());
    };
    openJohn(0);
    QTest::keyClicks(editor.iTitle, "Elder");
    QTest::mouseClick(editor.EditIndivButton, Qt::LeftButton);
    EXPECT_EQ(UndoTip(), "UnDo changes to John Henry WHITLOCK");
    close("Done");
    EXPECT_EQ(UndoTip(), "UnDo changes to John Henry WHITLOCK");

    // Unlinked from his parents on the Family tab.
    openJohn(1);
    ui.Answer(MsgResult::Yes);  // "Remove John Henry WHITLOCK as child of ..."
    editor.mnuLinkItem[3]->trigger();
    EXPECT_EQ(UndoTip(), "Relink Parents of John Henry WHITLOCK");
    close("OK");
    EXPECT_EQ(UndoTip(), "Relink Parents of John Henry WHITLOCK");

    // Linked to them again: their marriage double-clicked in the list.
    openJohn(1);
    editor.mnuLinkItem[2]->trigger();
    auto* lists = static_cast<ListFrame*>(w->ListFrame);
    ASSERT_TRUE(lists->isVisible());
    DoubleClickRow(lists->ListView2(), lists->MarrModel(), "WHITLOCK, Samuel");
    ASSERT_TRUE(editor.isVisible());
    ASSERT_GT(g.Indiv[Named("John Henry WHITLOCK")].iFamc, 0);
    EXPECT_EQ(UndoTip(), "Unlink parents of John Henry WHITLOCK");
    close("OK");
    EXPECT_EQ(UndoTip(), "Unlink parents of John Henry WHITLOCK");

    // A new person added; the keyboard back with the main window first.
    ShowActive();
    Press(w, Qt::Key_A, Qt::ControlModifier);  // Add new Individual
    ASSERT_TRUE(editor.isVisible());
    QTest::keyClicks(editor.iGivn, "Sarah");
    QTest::keyClicks(editor.iSurn, "WHITLOCK");
    QTest::mouseClick(editor.EditIndivButton, Qt::LeftButton);
    EXPECT_EQ(UndoTip(), "UnDo Add of Sarah WHITLOCK");
    close("Done");
    EXPECT_EQ(UndoTip(), "UnDo Add of Sarah WHITLOCK");

    ClickToolButton(kUndoToolButton);
    EXPECT_EQ(UndoTip(), "(off)");
    EXPECT_EQ(w->ToolButtonTip(kUndoToolButton), "");
}

// The first person of an empty work, added from the Edit menu's key: the
// work can be saved and listed at once, not only at Exit.
TEST_F(DesktopHabitsTest, APersonAddedToEmptyWorkCanBeSaved) {
    Lintoraedit& editor = StartWithTheEditor();
    ShowActive();
    ASSERT_FALSE(w->toolButtons[kSaveWorkToolButton]->isEnabled());
    Press(w, Qt::Key_A, Qt::ControlModifier);  // Add new Individual
    ASSERT_TRUE(editor.isVisible());
    QTest::keyClicks(editor.iGivn, "Sarah");
    QTest::keyClicks(editor.iSurn, "WHITLOCK");
    QTest::mouseClick(editor.EditIndivButton, Qt::LeftButton);
    QTest::mouseClick(editor.CancelEditButton, Qt::LeftButton);  // Done
    for (int b : kDataToolButtons) EXPECT_TRUE(w->toolButtons[b]->isEnabled()) << b;
    EXPECT_TRUE(w->mnuFileItem[1]->isEnabled());  // Save As Workfile
    EXPECT_TRUE(w->mnuListItem[0]->isEnabled());
}

// Two pages, the second's person last processed. A person of the first page
// found in the list, deleted from the editor and pruned; the pruned work's
// root chosen, the prune undone, the same person pruned again: the status
// bar still names the second page's person, and the person chosen is the
// same after the undo.
TEST_F(DesktopHabitsTest, PruneUndoPruneKeepsTheLastIndividualProcessed) {
    Lintoraedit& editor = StartWithTheEditor();
    PasteTwoTrees();
    ShowActive();
    const std::string henry = "Henry Augustus PEMBERTON";
    ASSERT_EQ(w->StatusPanel(4), henry);
    ASSERT_GT(g.PageMainIndiv, Named("Mary PARKER"));
    auto pruneMary = [&] {
        PruneFromTheEditor(editor, "PARKER, Mary", "Mary PARKER removed.");
        ASSERT_EQ(Named("Mary PARKER"), 0);
    };
    pruneMary();
    EXPECT_EQ(w->StatusPanel(4), henry);

    ClickBox(0);  // Henry, at the root, with his first marriage
    ASSERT_EQ(g.Indiv[g.CurIndiv].iName.trimmed(), henry);
    auto wife = [] { return g.Indiv[g.Famil[g.CurFamil].fWife].iName.trimmed(); };
    const std::string henrysWife = wife();
    ASSERT_EQ(henrysWife, "Lydia Ann WHITCOMB");
    ClickToolButton(kUndoToolButton);
    ASSERT_GT(Named("Mary PARKER"), 0);
    EXPECT_EQ(w->StatusPanel(4), henry);
    EXPECT_EQ(g.Indiv[g.CurIndiv].iName.trimmed(), henry);
    EXPECT_EQ(wife(), henrysWife);

    pruneMary();
    EXPECT_EQ(w->StatusPanel(4), henry);
}

// Mary PARKER pruned, Henry chosen at the root, a third page pasted and
// undone: the person chosen, his marriage, the root and the last individual
// processed are Henry's again, under the numbers the prune gave them, and
// the status bar goes on naming Henry when the next prune rewrites it.
TEST_F(DesktopHabitsTest, PrunePasteUndoKeepsThePersonChosenAndTheLastProcessed) {
    Lintoraedit& editor = StartWithTheEditor();
    PasteTwoTrees();
    PruneFromTheEditor(editor, "PARKER, Mary", "Mary PARKER removed.");
    const std::string henry = "Henry Augustus PEMBERTON";
    ClickBox(0);  // Henry, at the root, with his first marriage
    const int32_t henryNow = Named(henry);
    ASSERT_EQ(g.CurIndiv, henryNow);
    const int32_t marriage = g.CurFamil;
    ASSERT_EQ(g.Indiv[g.Famil[marriage].fWife].iName.trimmed(), "Lydia Ann WHITCOMB");
    const int32_t people = g.IndivCount;

    PastePage("af_family.txt");
    ASSERT_EQ(w->StatusPanel(4), "John Henry WHITLOCK");
    const int32_t abigail = Named("Abigail MARSH");
    ASSERT_EQ(g.LastIndiv, abigail);  // the page's last person, found in the work
    ClickToolButton(kUndoToolButton);
    ASSERT_EQ(g.IndivCount, people);
    EXPECT_EQ(g.CurIndiv, henryNow);
    EXPECT_EQ(g.CurFamil, marriage);
    EXPECT_EQ(g.PageMainIndiv, henryNow);
    EXPECT_EQ(g.LastIndiv, abigail);
    EXPECT_EQ(g.TreeSlot[0], henryNow);
    EXPECT_EQ(w->lblTree[0]->text().toStdString(), " Henry Augustus PEMBERTON  (1838-1901)");
    EXPECT_EQ(w->StatusPanel(4), henry);

    PruneFromTheEditor(editor, "BENNETT, Eliza Ann", "Eliza Ann BENNETT removed.");
    EXPECT_EQ(w->StatusPanel(4), henry);
}

// A page of which nothing could be taken, a person added by hand and
// deleted again: with nobody left the status bar names no site, record set
// or kind, as at a fresh start.
TEST_F(DesktopHabitsTest, AfterPruningEveryoneTheStatusBarNamesNoSite) {
    Lintoraedit& editor = StartWithTheEditor();
    ShowActive();
    QGuiApplication::clipboard()->setText(
        "FamilySearch(TM) Ancestral File Individual Record\nAncestral File (TM) v4.19 Individual Record\n\n"
        "Submitter Information\n");
    w->Timer1_Timer();
    ui.Answer(MsgResult::Ok);  // "Lintora unable to extract any data from copied text..."
    QTest::mouseClick(w->Command6, Qt::LeftButton);
    ASSERT_EQ(g.IndivCount, 0);

    Press(w, Qt::Key_A, Qt::ControlModifier);  // Add new Individual
    ASSERT_TRUE(editor.isVisible());
    QTest::keyClicks(editor.iGivn, "Sarah");
    QTest::keyClicks(editor.iSurn, "WHITLOCK");
    QTest::mouseClick(editor.EditIndivButton, Qt::LeftButton);
    ASSERT_EQ(w->StatusPanel(1), "LDS Family Search");
    DeleteInTheEditor(editor, "Sarah WHITLOCK removed.");
    ASSERT_EQ(g.IndivCount, 0);
    EXPECT_EQ(w->StatusLabel(), "Prune removed 1 Individuals and 0 Families from Tree #0");
    EXPECT_EQ(StatusPanels(), (std::vector<std::string>{"", "", "", "", "Individuals: 0", "Families: 0", ""}));
    // The next page is the first of the work again, not one mixed with the pruned one's site.
    EXPECT_EQ(g.FirstSite, "");
}

// Enter in a box of the search window presses Go, as a click on Go does;
// both apply the rule of the box the user is in, typed in or not: John
// Henry's birth year, typed over or left as it was, is ticked and searched.
TEST_F(DesktopHabitsTest, EnterInASearchBoxPressesGo) {
    PastePage();
    ShowActive();
    ClickBox(0);  // John Henry, born 1832
    // Opens the search window, makes it a name search without the birth
    // year, clicks into the year, types `year` over it unless that is empty
    // and leaves by `go`: the address opened, up to the birth place.
    auto search = [&](const QString& year, const std::function<void(LintoraInetSet*)>& go) {
        QTimer::singleShot(0, [&] {
            auto* s = qobject_cast<LintoraInetSet*>(QApplication::activeModalWidget());
            ASSERT_NE(s, nullptr);
            ASSERT_TRUE(QTest::qWaitForWindowActive(s));
            for (QCheckBox* box : {s->chkAFN, s->chkByear})
                if (box->isChecked()) QTest::mouseClick(box, Qt::LeftButton);
            QTest::mouseClick(s->iByear, Qt::LeftButton);
            if (!year.isEmpty()) {
                Press(s, Qt::Key_A, Qt::ControlModifier);
                Type(s, year);
            }
            go(s);
            if (!s->isHidden()) s->reject();
        });
        const std::size_t before = ui.openedAddresses.size();
        QTest::mouseClick(w->InetButton, Qt::LeftButton);
        // The window that opened it has the keyboard again.
        EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == w; }, 500));
        if (ui.openedAddresses.size() != before + 1) return std::string("(nothing opened)");
        ui.FinishOpen();
        return ui.openedAddresses.back().substr(0, ui.openedAddresses.back().find("&q.birthLikePlace"));
    };
    const auto enter = [](LintoraInetSet* s) { Press(s, Qt::Key_Return); };
    const auto go = [](LintoraInetSet* s) { QTest::mouseClick(s->btnGoInet, Qt::LeftButton); };
    const std::string john = "https://www.familysearch.org/search/record/results?q.givenName=John&q.surname=WHITLOCK";
    EXPECT_EQ(search("1830", enter), john + "&q.birthLikeDate.from=1830&q.birthLikeDate.to=1830");
    EXPECT_EQ(search("", enter), john + "&q.birthLikeDate.from=1832&q.birthLikeDate.to=1832");
    EXPECT_EQ(search("", go), john + "&q.birthLikeDate.from=1832&q.birthLikeDate.to=1832");
}

// The next page chosen, a click into the surname box without typing, and
// Enter or Go: the page chosen is the page searched, and stays chosen.
TEST_F(DesktopHabitsTest, ThePageChosenIsThePageSearched) {
    PastePage();
    ShowActive();
    ClickBox(0);  // John Henry, whose AFN opens the window on the AFN page
    auto search = [&](const std::function<void(LintoraInetSet*)>& go) {
        std::string chosen;
        QTimer::singleShot(0, [&] {
            auto* s = qobject_cast<LintoraInetSet*>(QApplication::activeModalWidget());
            ASSERT_NE(s, nullptr);
            ASSERT_TRUE(QTest::qWaitForWindowActive(s));
            QTest::keyClick(s->PageSelect, Qt::Key_Down);
            chosen = s->PageSelect->currentText().toStdString();
            QTest::mouseClick(s->iLast, Qt::LeftButton);
            go(s);
            chosen += " / " + s->PageSelect->currentText().toStdString();
            if (!s->isHidden()) s->reject();
        });
        QTest::mouseClick(w->InetButton, Qt::LeftButton);
        if (ui.openedAddresses.empty()) return chosen + " (nothing opened)";
        ui.FinishOpen();
        const std::string& address = ui.openedAddresses.back();
        return chosen + ": " + address.substr(0, address.find("&q.birth"));
    };
    const std::string found = "results?q.givenName=John&q.surname=WHITLOCK";
    EXPECT_EQ(search([](LintoraInetSet* s) { Press(s, Qt::Key_Return); }),
              "Ancestral File / Ancestral File: https://www.familysearch.org/search/genealogies/" + found);
    EXPECT_EQ(search([](LintoraInetSet* s) { QTest::mouseClick(s->btnGoInet, Qt::LeftButton); }),
              "Pedigree Resource File / Pedigree Resource File: https://www.familysearch.org/search/genealogies/" +
                  found);
    EXPECT_EQ(ui.openedAddresses.size(), 2u);
}

// The real message box after Save As GED, its OK clicked: the main window
// has the keyboard again and Ctrl+L lists the people.
TEST_F(DesktopHabitsTest, AfterSaveAsGedTheMainWindowHasTheKeyboard) {
    struct RealBoxes : QtPlatform {
        std::string file;
        std::string SaveFileDialog(const FileDialogRequest&) override { return file; }
    } real;
    real.file = (dir / "work" / "whitlock.ged").string();
    real.dialogParent = w;
    PastePage();
    ShowActive();
    InstallPlatform(&real);
    Press(w, Qt::Key_G, Qt::ControlModifier);  // Save As GED
    auto* prefs = qobject_cast<LintoraPreferences*>(QApplication::activeModalWidget());
    ASSERT_NE(prefs, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowActive(prefs));
    QString told;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowActive(box));
        told = box->text().remove(QChar(0x200B));
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    });
    Press(prefs, Qt::Key_Return);  // Continue
    InstallPlatform(&ui);
    EXPECT_EQ(told.toStdString(), real.file + " successfully saved");
    QCoreApplication::processEvents();  // the desktop's word on who is active
    Press(w, Qt::Key_L, Qt::ControlModifier);
    EXPECT_TRUE(w->ListFrame->isVisible());
}

// A person opened from the list and the pedigree shown from the editor:
// the main window has the keyboard again, Ctrl+L shows the list as it was,
// and End, Home and Down move in it.
TEST_F(DesktopHabitsTest, TheListOpenedAgainTakesTheKeys) {
    StartProgram("", true);
    Lintoraedit::SetModalLoop(false);
    Lintoraedit& editor = EditorWindow();
    PastePage();
    ShowActive();
    auto* lists = static_cast<ListFrame*>(w->ListFrame);
    Press(w, Qt::Key_L, Qt::ControlModifier);
    DoubleClickRow(lists->ListView1(), lists->IndivModel(), "WHITLOCK, John Henry");
    ASSERT_TRUE(editor.isVisible());
    QTest::mouseClick(editor.btnGoPedigree, Qt::LeftButton);
    ASSERT_FALSE(editor.isVisible());
    QCoreApplication::processEvents();  // the desktop's word on who is active
    Press(w, Qt::Key_L, Qt::ControlModifier);
    ASSERT_TRUE(lists->isVisible());
    const auto current = [&] {
        return lists->IndivModel().Text(lists->ListView1()->currentIndex().row(), 0).toStdString();
    };
    ASSERT_EQ(current(), "WHITLOCK, John Henry");
    Press(w, Qt::Key_End);
    EXPECT_EQ(current(), "WHITLOCK, Samuel");
    for (Qt::Key key : {Qt::Key_Home, Qt::Key_Down}) Press(w, key);
    EXPECT_EQ(current(), "MARSH, Abigail");
}

// Eight generations of long names. The descendants window opens wide
// enough to show the four below the root whole; the eight below his
// great-great-grandfather do not fit the screen: the window stays on it
// and the lines scroll.
TEST_F(DesktopHabitsTest, TheDescendantsWindowFitsItsLongestLineOnTheScreen) {
    int32_t person = 0;
    for (int generation = 1; generation <= 8; ++generation) {
        const std::string year = std::to_string(1700 + 25 * generation);
        const int32_t child = Person("Maximilian Friedrich Wilhelm", "HOHENZOLLERN-SIGMARINGEN", "M", year, year);
        if (person) Child(child, Family(person, Person("Anna", "WEISS", "F")));
        person = child;
    }
    g.TreeSlot[0] = person - 2 * 3;  // the fifth generation
    LoadGenTree();
    w->RedrawTree();
    ShowActive();
    const QRect screen = w->screen()->availableGeometry();
    // Opens the person's descendants from box b; checks the window shown.
    auto open = [&](int b, const std::function<void(LintoraDescList*)>& check) {
        QTimer::singleShot(0, [&] {
            auto* desc = qobject_cast<LintoraDescList*>(QApplication::activeModalWidget());
            ASSERT_NE(desc, nullptr);
            check(desc);
            desc->reject();
        });
        ClickBox(b, 3);  // "Descendants List"
    };
    bool onScreen = false;
    open(0, [&](LintoraDescList* desc) {
        EXPECT_GT(desc->width(), 8000 / 15 + 40);
        EXPECT_EQ(desc->List()->horizontalScrollBar()->maximum(), 0);
        onScreen = screen.contains(desc->frameGeometry());
    });
    EXPECT_TRUE(onScreen);
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == w; }, 500));
    onScreen = false;
    open(15, [&](LintoraDescList* desc) {
        EXPECT_GT(desc->List()->horizontalScrollBar()->maximum(), 0);
        onScreen = screen.contains(desc->frameGeometry());
    });
    EXPECT_TRUE(onScreen);
}

// The source editor open on the Ancestral File while a page of it is
// pasted, then one of its people pruned: it shows the citations the paste
// brought, then those the prune leaves. A person added by hand and
// cancelled leaves none.
TEST_F(DesktopHabitsTest, TheSourcePanelShowsTheCitationsAPasteBrings) {
    Lintoraedit& editor = StartWithTheEditor();
    ShowActive();
    auto* sources = static_cast<SourceEditFrame*>(w->Panel("source"));
    auto count = [&] { return sources->SourceEditInfo()->text().toStdString(); };
    w->mnuEditItem[3]->trigger();  // Edit Sources
    ASSERT_EQ(sources->SourceList()->currentText(), "Ancestral File");
    ASSERT_EQ(count(), "0 citations in this batch");
    PastePage();
    ASSERT_TRUE(sources->isVisible());
    EXPECT_EQ(count(), "5 citations in this batch");

    PruneFromBox(1);  // Samuel
    ui.Answer(MsgResult::Ok);  // "Are you sure?"
    ui.Answer(MsgResult::Ok);  // "Samuel WHITLOCK removed."
    QTest::mouseClick(Button(PrunePanel(), "OK"), Qt::LeftButton);
    ASSERT_TRUE(sources->isVisible());
    EXPECT_EQ(count(), "4 citations in this batch");

    Press(w, Qt::Key_A, Qt::ControlModifier);  // Add new Individual
    ASSERT_TRUE(editor.isVisible());
    QTest::mouseClick(editor.CancelEditButton, Qt::LeftButton);
    ASSERT_FALSE(editor.isVisible());
    w->mnuEditItem[3]->trigger();
    EXPECT_EQ(count(), "4 citations in this batch");
}

// The pop-up menu's keys act on the person of the selected box: Ctrl+E
// edits him, Ctrl+D lists his descendants, Ctrl+I searches for him and
// Del offers him for pruning; a spouse row of his panel with the keyboard
// keeps Del, and with no box selected the keys do nothing. In the open
// menu a letter chooses its item, once.
TEST_F(DesktopHabitsTest, ThePopupMenusKeysActOnTheSelectedPerson) {
    PastePage();
    ShowActive();
    const int32_t samuel = g.TreeSlot[1];
    std::string shown;
    ClickBox(1);  // Samuel, with his panel
    QListWidget* spouses = w->SpousesCBox;
    QTest::mouseClick(spouses->viewport(), Qt::LeftButton, {}, spouses->visualItemRect(spouses->item(0)).center());
    ASSERT_EQ(QApplication::focusWidget(), spouses);
    Press(w, Qt::Key_Delete);
    EXPECT_FALSE(PrunePanel()->isVisible());

    Press(w, Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(editor.loads, std::vector<int>{0});
    EXPECT_EQ(g.CurIndiv, samuel);
    EXPECT_FALSE(w->popupFrame->isVisible());
    CloseNextModal(shown);
    Press(w, Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(shown, "Samuel WHITLOCK descendants list");
    CloseNextModal(shown);
    Press(w, Qt::Key_I, Qt::ControlModifier);
    EXPECT_EQ(shown, "Internet Search - Select Criteria");
    ui.Answer(MsgResult::No);  // "Backup work before pruning?"
    Press(w, Qt::Key_Delete);
    ASSERT_TRUE(PrunePanel()->isVisible());
    EXPECT_EQ(PrunePanel()->Identity()->text(), "Remove Samuel WHITLOCK and...");
    Press(w, Qt::Key_Escape);

    ClickBox(1);  // Samuel's box no longer selected
    Press(w, Qt::Key_E, Qt::ControlModifier);
    Press(w, Qt::Key_Delete);
    EXPECT_EQ(editor.loads.size(), 1u);
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{"Backup work before pruning?"});
    EXPECT_FALSE(PrunePanel()->isVisible());

    // Samuel's box selected again, Abigail's menu: its letter E edits her alone.
    ClickBox(1);
    w->choosePopupItem = nullptr;
    QTimer::singleShot(0, [] { QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_E); });
    QTest::mouseClick(w->lblTree[2], Qt::RightButton);
    EXPECT_EQ(editor.loads, (std::vector<int>{0, 0}));
    EXPECT_EQ(g.CurIndiv, g.TreeSlot[2]);
}

// While the list covers the pedigree the pop-up menu's keys act on the
// person of its highlighted row, not on the box selected under it: Ctrl+D
// lists Samuel's descendants, Ctrl+E edits him, and a marriage row stands
// for its husband, as its double-click does.
TEST_F(DesktopHabitsTest, WhileTheListCoversThePedigreeThePopupKeysActOnItsHighlightedRow) {
    PastePage();
    ShowActive();
    auto* lists = static_cast<ListFrame*>(w->ListFrame);
    const int32_t samuel = g.TreeSlot[1];
    std::string shown;
    ClickBox(0);  // John Henry, hidden by the list
    Press(w, Qt::Key_L, Qt::ControlModifier);
    ClickRow(lists->ListView1(), lists->IndivModel(), "WHITLOCK, Samuel");
    CloseNextModal(shown);
    Press(w, Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(shown, "Samuel WHITLOCK descendants list");
    Press(w, Qt::Key_L, Qt::ControlModifier);  // the list again, its row kept
    Press(w, Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(editor.loads, std::vector<int>{0});
    EXPECT_EQ(g.CurIndiv, samuel);
    EXPECT_FALSE(lists->isVisible());

    Press(w, Qt::Key_L, Qt::ControlModifier);
    QTest::mouseClick(lists->Command5(), Qt::LeftButton);  // Samuel and Abigail
    CloseNextModal(shown);
    Press(w, Qt::Key_I, Qt::ControlModifier);
    EXPECT_EQ(shown, "Internet Search - Select Criteria");
    EXPECT_EQ(g.CurIndiv, samuel);
}

// Del on a list row prunes that row's person, also over Samuel's open
// prune; any other pop-up key puts his prune away.
TEST_F(DesktopHabitsTest, APopupKeyOnAListRowNeverLeavesThePanelOnAnotherPerson) {
    const std::pair<Qt::Key, bool> cases[] = {
        {Qt::Key_Delete, false}, {Qt::Key_Delete, true}, {Qt::Key_I, true}, {Qt::Key_E, true}, {Qt::Key_D, true}};
    for (const auto& [key, panelFirst] : cases) {
        const bool del = key == Qt::Key_Delete;
        SCOPED_TRACE(QKeySequence(key).toString().toStdString() + (panelFirst ? " over a prune" : ""));
        StartProgram();
        PastePage();
        ShowActive();
        if (panelFirst) PruneFromBox(1);  // Samuel
        else ClickBox(0);  // John Henry, hidden by the list
        auto* lists = static_cast<ListFrame*>(w->ListFrame);
        Press(w, Qt::Key_L, Qt::ControlModifier);
        ClickRow(lists->ListView1(), lists->IndivModel(), "MARSH, Abigail");
        ASSERT_TRUE(lists->ListView1()->hasFocus());
        ui.boxes.clear();
        std::string shown;
        if (del) ui.Answer(MsgResult::No);  // "Backup work before pruning?"
        else if (key != Qt::Key_E) CloseNextModal(shown);  // the search window, the descendants list
        Press(w, key, del ? Qt::NoModifier : Qt::ControlModifier);
        EXPECT_EQ(PrunePanel()->isVisible(), del);
        EXPECT_EQ(g.PrunePending, del ? "Y" : "N");
        if (!del) continue;
        EXPECT_FALSE(lists->isVisible());
        EXPECT_EQ(ui.Texts(), std::vector<std::string>{"Backup work before pruning?"});
        ExpectPanelRemovesWhomItNames("Abigail MARSH");
    }
}

// Del again, or the Prune button, while the panel offers a person asks nothing more.
TEST_F(DesktopHabitsTest, DelAgainOrThePruneButtonAsksNothingMore) {
    PastePage();
    ShowActive();
    ClickBox(1);  // Samuel
    ui.Answer(MsgResult::No);  // "Backup work before pruning?"
    Press(w, Qt::Key_Delete);
    Press(w, Qt::Key_Delete);
    ClickToolButton(kPruneToolButton);
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{"Backup work before pruning?"});
    ExpectPanelRemovesWhomItNames("Samuel WHITLOCK");
}

// Enter presses OK in the prune panel; in the editor Save, then Done, from
// a line box of any tab; in the notes it starts a new line.
TEST_F(DesktopHabitsTest, EnterPressesOKInThePrunePanelAndTheEditor) {
    Lintoraedit& editor = StartWithTheEditor();
    PastePage();
    ShowActive();
    auto enter = [] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); };
    PruneFromBox(1);  // Samuel
    ASSERT_EQ(QApplication::focusWidget(), PrunePanel()->Button(2));  // "Samuel WHITLOCK only"
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    ui.Answer(MsgResult::Cancel);  // "Are you sure?"
    enter();
    EXPECT_EQ(ui.boxes.back().text, "Samuel WHITLOCK and descendants will be removed.");
    ClickBox(2);  // Abigail
    Press(w, Qt::Key_E, Qt::ControlModifier);
    ASSERT_TRUE(editor.isVisible());
    const int32_t abigail = g.CurIndiv;
    QTest::mouseClick(editor.ibDate, Qt::LeftButton);
    editor.ibDate->selectAll();
    QTest::keyClicks(editor.ibDate, "1809");
    ASSERT_EQ(QApplication::focusWidget(), editor.ibDate);
    enter();  // Save
    EXPECT_EQ(g.Indiv[abigail].ibDate.trimmed(), "1809");
    EXPECT_EQ(editor.CancelEditButton->text(), "Done");
    editor.mnuTabsItem[2]->trigger();  // Notes
    QTest::mouseClick(editor.iNotes->viewport(), Qt::LeftButton);
    QTest::keyClicks(editor.iNotes, "Born in Windsor");
    ASSERT_EQ(QApplication::focusWidget(), editor.iNotes);
    enter();
    QTest::keyClicks(editor.iNotes, "Died in Provo");
    EXPECT_EQ(editor.iNotes->toPlainText().trimmed().toStdString(), "Born in Windsor\nDied in Provo");
    editor.mnuTabsItem[0]->trigger();
    QTest::mouseClick(editor.iGivn, Qt::LeftButton);
    enter();  // Save, the notes with it
    EXPECT_EQ(g.Indiv[abigail].iNoteFlg.value(), "Y");
    enter();  // Done
    EXPECT_FALSE(editor.isVisible());
}

// The prune panel opened from the editor names a person no box shows:
// Ctrl+E edits him again, the prune put away as its Cancel would. A list
// picking a spouse for the editor takes none of the keys.
TEST_F(DesktopHabitsTest, CtrlEWithThePrunePanelOpenEditsItsPerson) {
    Lintoraedit& editor = StartWithTheEditor();
    PastePage();
    ShowActive();
    auto* lists = static_cast<ListFrame*>(w->ListFrame);
    Press(w, Qt::Key_L, Qt::ControlModifier);
    DoubleClickRow(lists->ListView1(), lists->IndivModel(), "WHITLOCK, Samuel");
    ASSERT_TRUE(editor.isVisible());
    const int32_t samuel = g.CurIndiv;
    ui.Answer(MsgResult::No);  // "Backup work before pruning?"
    editor.mnuNavItem[5]->trigger();  // "Delete Individual"
    ASSERT_TRUE(PrunePanel()->isVisible());
    ASSERT_FALSE(editor.isVisible());
    Press(w, Qt::Key_E, Qt::ControlModifier);
    EXPECT_TRUE(editor.isVisible());
    EXPECT_EQ(g.CurIndiv, samuel);
    EXPECT_FALSE(PrunePanel()->isVisible());
    EXPECT_EQ(g.PrunePending, "N");

    editor.mnuLinkItem[0]->trigger();  // link a spouse: the list picks for the editor
    ASSERT_TRUE(lists->isVisible() && lists->LinkMode());
    QCoreApplication::processEvents();  // the desktop's word on who is active
    for (Qt::Key key : {Qt::Key_E, Qt::Key_D}) Press(w, key, Qt::ControlModifier);
    EXPECT_FALSE(editor.isVisible());
    EXPECT_TRUE(lists->isVisible());
    EXPECT_EQ(g.CurIndiv, samuel);
}

// Clear work leaves no trace of the file opened before: not in the
// caption, nor in the status bar (also after a paste and an undo), nor in
// the name Save As Workfile proposes.
TEST_F(DesktopHabitsTest, ClearWorkForgetsTheLastFile) {
    const fs::path ged = dir / "work" / "kennedy.ged";
    std::ofstream(ged, std::ios::binary) << "0 HEAD\r\n1 CHAR ASCII\r\n0 @I1@ INDI\r\n1 NAME Patrick /Kennedy/\r\n"
                                            "1 SEX M\r\n1 BIRT\r\n2 DATE 1823\r\n0 TRLR\r\n";
    ShowActive();
    ui.fileAnswers.push_back(ged.string());
    Press(w, Qt::Key_O, Qt::ControlModifier);  // Open Workfile
    ASSERT_EQ(w->windowTitle(), "Lintora (kennedy.ged)");
    ui.Answer(MsgResult::Yes);  // "Remove all data and start from scratch?"
    ClickToolButton(kClearToolButton);
    EXPECT_EQ(w->windowTitle(), "Lintora");
    EXPECT_EQ(StatusPanels(), (std::vector<std::string>{"", "", "", "", "Individuals: 0", "Families: 0", ""}));

    PastePage();
    PastePage("af_family.txt");
    ClickToolButton(kUndoToolButton);
    EXPECT_EQ(StatusPanels().back(), "Tree 1 of 1");
    ui.fileAnswers.push_back("");  // the dialog cancelled
    Press(w, Qt::Key_V, Qt::ControlModifier);  // Save As Workfile
    ASSERT_EQ(ui.fileRequests.size(), 2u);
    EXPECT_EQ(ui.fileRequests.back().fileName, "");
}

// A window put away when the window active at its showing has gone since
// gives the keyboard to the main window: the search window opened from the
// editor, which hides first; the editor opened while another program's
// window had the keyboard, that window closed first. Each time Ctrl+L then
// lists the people.
TEST_F(DesktopHabitsTest, AWindowWhoseOpenerIsGoneGivesTheKeyboardToTheMainWindow) {
    Lintoraedit& editor = StartWithTheEditor();
    PastePage();
    ShowActive();
    auto* lists = static_cast<ListFrame*>(w->ListFrame);
    const auto listsByKey = [&] {
        EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == w; }, 500));
        Press(w, Qt::Key_L, Qt::ControlModifier);
        const bool listed = lists->isVisible();
        Press(w, Qt::Key_Escape);
        return listed;
    };
    Press(w, Qt::Key_L, Qt::ControlModifier);
    DoubleClickRow(lists->ListView1(), lists->IndivModel(), "WHITLOCK, Samuel");
    ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));
    QTimer::singleShot(0, [] {
        auto* search = qobject_cast<LintoraInetSet*>(QApplication::activeModalWidget());
        ASSERT_NE(search, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowActive(search));
        QTest::mouseClick(search->cmdbtnExit, Qt::LeftButton);
    });
    editor.mnuNavItem[6]->trigger();  // "Search Internet"
    ASSERT_FALSE(editor.isVisible());
    EXPECT_TRUE(listsByKey());

    Press(w, Qt::Key_L, Qt::ControlModifier);
    QWidget other;
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    DoubleClickRow(lists->ListView1(), lists->IndivModel(), "WHITLOCK, Samuel");
    ASSERT_TRUE(editor.isVisible());
    other.hide();
    QTest::mouseClick(editor.CancelEditButton, Qt::LeftButton);
    ASSERT_FALSE(editor.isVisible());
    EXPECT_TRUE(listsByKey());
}

// The descendants window widened by the user keeps its width when it opens
// again for a shorter outline.
TEST_F(DesktopHabitsTest, TheDescendantsWindowKeepsTheWidthTheUserGaveIt) {
    PastePage();
    ShowActive();
    int width = 0;
    auto open = [&](int b, int widen) {
        QTimer::singleShot(0, [&, widen] {
            auto* desc = qobject_cast<LintoraDescList*>(QApplication::activeModalWidget());
            ASSERT_NE(desc, nullptr);
            desc->resize(desc->width() + widen, desc->height());
            width = desc->width();
            desc->reject();
        });
        ClickBox(b, 3);  // "Descendants List"
    };
    open(1, 120);  // Samuel's, widened
    const int widened = width;
    open(0, 0);  // John Henry's: his line alone
    EXPECT_EQ(width, widened);
}

// The source editor open on the Ancestral File while the second page is
// undone: it shows the citations of the first page again, and keeps what
// was typed.
TEST_F(DesktopHabitsTest, TheSourcePanelShowsTheCitationsAnUndoLeaves) {
    PastePage();
    const int32_t first = g.Source[1].sCitations;
    PastePage("af_family.txt");
    ASSERT_GT(g.Source[1].sCitations, first);
    ShowActive();
    auto* sources = static_cast<SourceEditFrame*>(w->Panel("source"));
    w->mnuEditItem[3]->trigger();  // Edit Sources
    ASSERT_EQ(sources->SourceList()->currentText(), "Ancestral File");
    QTest::mouseClick(sources->Box("sTitle"), Qt::LeftButton);
    Type(w, " 4.19");
    ClickToolButton(kUndoToolButton);
    ASSERT_TRUE(sources->isVisible());
    EXPECT_EQ(sources->SourceEditInfo()->text().toStdString(), std::to_string(first) + " citations in this batch");
    EXPECT_EQ(sources->Box("sTitle")->text(), "Ancestral File 4.19");
}

}  // namespace
}  // namespace lintora
