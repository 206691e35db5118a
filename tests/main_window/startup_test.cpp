// The program started, used and ended as a person does: stored settings,
// files opened and saved at once, undo, and the questions about unsaved
// work.
#include <algorithm>
#include <filesystem>
#include <fstream>

#include <sys/fsuid.h>
#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>

#include "editor/editor_window.h"
#include "files/data_files.h"
#include "files/gedcom_writer.h"
#include "internet_search/gui/search_window.h"
#include "main_window/preferences_window.h"
#include "main_window/source_panel.h"
#include "platform/disk/save_record.h"
#include "platform/qt/qt_platform.h"
#include "platform/settings_store.h"
#include "tests/main_window/window_fixture.h"
#include "tests/support/real_boxes.h"
#include "tests/support/table_checks.h"
#include "tests/support/watched_system.h"

namespace lintora {
namespace {

namespace fs = std::filesystem;
using testing::MainWindowTest;

class StartupTest : public MainWindowTest {
protected:
    std::string Setting(const std::string& key) const { return GetSetting("Lintora", "Startup", key, "?"); }
    LintoraPreferences* Preferences() const { return w->findChild<LintoraPreferences*>(); }
    // The sample page pasted and saved as a work file, which the next start reopens.
    fs::path PastedAndSaved() {
        PastePage();
        const fs::path file = dir / "work" / "whitlock.lnt";
        ui.fileAnswers.push_back(file.string());
        ui.Answer(MsgResult::Ok);  // "... successfully saved"
        w->mnuFileItem_Click(1);
        return file;
    }
    // Started with the splash on a display without a window manager, which
    // leaves the keyboard on no window (the offscreen platform gives it to
    // each window it shows: another program's window shown and put away
    // takes it from them). The test ends the splash's second.
    void StartOnABareDisplay() {
        keepSplash = true;
        StartProgram();
        w->About().Timer1->stop();
        QWidget other;
        other.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
        other.hide();
        ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activeWindow() == nullptr; }));
    }
    // What Ctrl+O asks for once the desktop has had its word: the title of
    // a file dialog (cancelled), or nothing.
    std::string CtrlO() {
        QCoreApplication::processEvents();
        const std::size_t asked = ui.fileRequests.size();
        ui.fileAnswers.push_back("");
        QTest::keyClick(w->windowHandle(), Qt::Key_O, Qt::ControlModifier);
        ui.fileAnswers.clear();
        return ui.fileRequests.size() > asked ? ui.fileRequests.back().title : "";
    }
};

TEST_F(StartupTest, PreferencesShowWhatWasStoredAndContinueWritesThem) {
    const std::string longAddress =
        "Care of the Parish Office of Saint Mary the Virgin and All Saints, Little Snoring, Fakenham";
    SaveSettings("Lintora", "Startup",
                 {{"prefName", "Anna Lindqvist"},
                  {"prefAddr1", "12 Elm Street"},
                  {"prefAddr2", longAddress},
                  {"prefCountry", "Sweden"},
                  {"prefEmail", "anna@example.se"},
                  {"prefSourceSW", "1"},
                  {"prefNotes", "From the parish books"}});
    StartProgram();

    // From the menu (modal): the stored preferences, the stored citation mode.
    // Each box shows the beginning of its text, the long address too.
    std::vector<std::string> shown;
    bool multiple = false;
    QTimer::singleShot(0, [&] {
        LintoraPreferences* p = Preferences();
        ASSERT_NE(p, nullptr);
        for (int i : {1, 2, 3, 7, 10}) shown.push_back(p->Text(i)->text().toStdString());
        for (int i = 1; i <= 10; ++i) EXPECT_EQ(p->Text(i)->cursorPosition(), 0) << i;
        Shot(p, "preferences");
        shown.push_back(p->NoteBox()->toPlainText().toStdString());
        multiple = p->Option(1)->isChecked();
        QTest::mouseClick(p->CancelButton(), Qt::LeftButton);
    });
    w->mnuPrefs_Click();
    EXPECT_EQ(shown, (std::vector<std::string>{"Anna Lindqvist", "12 Elm Street", longAddress, "Sweden",
                                               "anna@example.se", "From the parish books"}));
    EXPECT_TRUE(multiple);

    // Save As GED, Continue: the submitter is the stored preparer, and the
    // stored preferences are still there afterwards.
    const int32_t john = Person("John", "Whitlock", "M", "1832");
    g.TreeSlot[0] = john;
    g.DataChanged = "Y";
    w->mnuFileItem_Click(2);
    LintoraPreferences* p = Preferences();
    ASSERT_NE(p, nullptr);
    ASSERT_TRUE(p->isVisible());
    const fs::path ged = dir / "work" / "whitlock.ged";
    ui.fileAnswers.push_back(ged.string());
    ui.Answer(MsgResult::Ok);  // "... successfully saved"
    QTest::mouseClick(p->ContinueButton(), Qt::LeftButton);
    const std::string text = FileText(ged);
    EXPECT_NE(text.find("0 @SUB1@ SUBM\r\n1 NAME Anna Lindqvist\r\n1 ADDR 12 Elm Street\r\n2 CONT " + longAddress +
                        "\r\n2 CTRY Sweden\r\n"),
              std::string::npos);
    EXPECT_EQ(Setting("prefName"), "Anna Lindqvist");
    EXPECT_EQ(Setting("prefSourceSW"), "1");
    EXPECT_EQ(Setting("prefNotes"), "From the parish books");
}

// Save As GED: the Preferences window holds the main window's commands
// until it closes; should the work be gone all the same, Continue says so
// and writes nothing.
TEST_F(StartupTest, SaveAsGedHoldsTheMainWindowAndContinueChecksAgain) {
    PastePage();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    w->mnuFileItem[2]->trigger();
    LintoraPreferences* p = Preferences();
    ASSERT_TRUE(p && p->isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), p);
    // A click on the main window's Clear work button is held back: nothing
    // is asked (the scripted platform has no answer) and nothing cleared.
    QWidget* clear = w->Toolbar1->widgetForAction(w->toolButtons[12]);
    QTest::mouseClick(w->windowHandle(), Qt::LeftButton, {}, clear->mapTo(w, clear->rect().center()));
    EXPECT_EQ(g.IndivCount, 5);

    const fs::path ged = dir / "work" / "earlier.ged";
    std::ofstream(ged, std::ios::binary) << "0 HEAD\r\n0 TRLR\r\n";
    ui.Answer(MsgResult::Yes);  // "Remove all data and start from scratch?"
    w->mnuFileItem_Click(3);
    ui.Answer(MsgResult::Ok);  // "No file data to save!"
    QTest::mouseClick(p->ContinueButton(), Qt::LeftButton);
    EXPECT_EQ(ui.Texts().back(), "No file data to save!");
    EXPECT_TRUE(ui.fileRequests.empty());
    EXPECT_FALSE(p->isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(FileText(ged), "0 HEAD\r\n0 TRLR\r\n");
}

// A GEDCOM of thousands of people: couples with one child each.
void WriteLargeGedcom(const fs::path& path, int couples) {
    std::ofstream out(path, std::ios::binary);
    out << "0 HEAD\r\n1 CHAR ASCII\r\n";
    for (int c = 1; c <= couples; ++c) {
        const std::string n = std::to_string(c);
        out << "0 @I" << 3 * c - 2 << "@ INDI\r\n1 NAME Peter" << n << " /Lund/\r\n1 SEX M\r\n1 FAMS @F" << n
            << "@\r\n";
        out << "0 @I" << 3 * c - 1 << "@ INDI\r\n1 NAME Karin" << n << " /Berg/\r\n1 SEX F\r\n1 FAMS @F" << n
            << "@\r\n";
        out << "0 @I" << 3 * c << "@ INDI\r\n1 NAME Nils" << n << " /Lund/\r\n1 SEX M\r\n1 BIRT\r\n2 DATE "
            << 1800 + c % 100 << "\r\n1 FAMC @F" << n << "@\r\n";
        out << "0 @F" << n << "@ FAM\r\n1 HUSB @I" << 3 * c - 2 << "@\r\n1 WIFE @I" << 3 * c - 1
            << "@\r\n1 CHIL @I" << 3 * c << "@\r\n";
    }
    out << "0 TRLR\r\n";
}

TEST_F(StartupTest, AFileJustOpenedSavesAtOnce) {
    constexpr int kCouples = 1000;
    const fs::path ged = dir / "work" / "lund.ged";
    WriteLargeGedcom(ged, kCouples);
    ui.fileAnswers.push_back(ged.string());
    w->mnuFileItem_Click(0);
    ASSERT_EQ(g.IndivCount, 3 * kCouples);

    // Save As Workfile at once, then the program started again on it.
    const fs::path lnt = dir / "work" / "lund.lnt";
    ui.fileAnswers.push_back(lnt.string());
    ui.Answer(MsgResult::Ok);  // "... successfully saved"
    w->mnuFileItem_Click(1);
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{lnt.string() + " successfully saved"});
    StartProgram(lnt.string());
    ASSERT_EQ(g.IndivCount, 3 * kCouples);
    EXPECT_EQ(g.FamilCount, kCouples);
    for (int32_t i : {1, 2, 3, 3 * kCouples - 2, 3 * kCouples}) {
        const std::string n = std::to_string((i + 2) / 3);
        const std::string name = i % 3 == 1 ? "Peter" + n + " Lund" : i % 3 == 2 ? "Karin" + n + " Berg"
                                                                              : "Nils" + n + " Lund";
        EXPECT_EQ(g.Indiv[i].iName.trimmed(), name) << i;
    }
    EXPECT_EQ(g.Famil[kCouples].fHusb, 3 * kCouples - 2);
    EXPECT_EQ(g.Indiv[3 * kCouples].iFamc, kCouples);

    // The work file just opened exports as GEDCOM at once.
    w->mnuFileItem_Click(2);
    ASSERT_NE(Preferences(), nullptr);
    EXPECT_TRUE(Preferences()->isVisible());
    EXPECT_EQ(ui.boxes.size(), 1u);
}

TEST_F(StartupTest, UndoFollowsOneSnapshotThatClearAndOpenForget) {
    StartProgram("", true);
    Lintoraedit::SetModalLoop(false);
    Lintoraedit& editor = EditorWindow();
    auto undoOn = [&] { return w->toolButtons[9]->isEnabled(); };
    auto surname = [] { return g.Indiv[g.TreeSlot[0]].iSurn.value(); };

    // A paste saved to a work file, then undone: undo is spent.
    PastePage();
    ASSERT_EQ(g.IndivCount, 5);
    const fs::path file = dir / "work" / "whitlock.lnt";
    ui.fileAnswers.push_back(file.string());
    ui.Answer(MsgResult::Ok);  // "... successfully saved"
    w->mnuFileItem_Click(1);
    w->Toolbar1_ButtonClick(9);
    EXPECT_EQ(g.IndivCount, 0);
    EXPECT_FALSE(undoOn());

    // The file opened (the undone work, no longer what was saved, offered
    // for saving first): neither Undo brings the undone work back over it.
    ui.Answer(MsgResult::No);  // "Do you wish to save your changes?"
    ui.fileAnswers.push_back(file.string());
    w->Toolbar1_ButtonClick(3);
    ASSERT_EQ(g.IndivCount, 5);
    OpenEditor(g.TreeSlot[0], 0);
    ASSERT_TRUE(editor.isVisible());
    EXPECT_FALSE(editor.mnuUndoItem->isEnabled());
    editor.mnuUndoItem_Click();
    w->Toolbar1_ButtonClick(9);
    EXPECT_EQ(g.IndivCount, 5);
    EXPECT_EQ(w->windowTitle(), "Lintora (whitlock.lnt)");
    EXPECT_EQ(g.DataChanged, "N");
    editor.hide();

    // A snapshot is put back once, whichever Undo asks for it.
    w->mnuEditItem_Click(0);  // Edit Places takes a snapshot
    EXPECT_TRUE(undoOn());
    w->mnuEditItem_Click(2);  // and Proper case its own
    EXPECT_EQ(surname(), "Whitlock");
    w->Toolbar1_ButtonClick(9);
    EXPECT_EQ(surname(), "WHITLOCK");
    EXPECT_FALSE(undoOn());
    OpenEditor(g.TreeSlot[0], 0);
    EXPECT_FALSE(editor.mnuUndoItem->isEnabled());
    editor.hide();
    w->mnuEditItem_Click(2);
    w->Toolbar1_ButtonClick(9);
    editor.mnuUndoItem_Click();
    EXPECT_EQ(surname(), "WHITLOCK");

    // Clear forgets the snapshot taken before it.
    w->mnuEditItem_Click(0);
    ui.Answer(MsgResult::Yes);  // "Remove all data and start from scratch?"
    w->Toolbar1_ButtonClick(12);
    EXPECT_FALSE(undoOn());
    w->Toolbar1_ButtonClick(9);
    editor.mnuUndoItem_Click();
    EXPECT_EQ(g.IndivCount, 0);
    EXPECT_EQ(w->windowTitle(), "Lintora");

    // Edit Places: Undo no longer undoes the paste, and its tip says so.
    PastePage();
    EXPECT_EQ(w->ToolButtonTip(9), "UnDo previous paste");
    w->mnuEditItem_Click(0);
    EXPECT_EQ(w->ToolButtonTip(9), "UnDo Edit Places");
    w->Toolbar1_ButtonClick(9);
    EXPECT_EQ(g.IndivCount, 5);
}

TEST_F(StartupTest, DismissingTheSaveQuestionKeepsTheProgramAndItsWork) {
    PastePage();
    ASSERT_EQ(g.DataChanged, "Y");
    // The real boxes: Escape at the question on closing, its close button at
    // the question on Exit.
    QtPlatform real;
    InstallPlatform(&real);
    testing::DismissNextBox(true);
    EXPECT_FALSE(w->close());
    testing::DismissNextBox(false);
    w->Toolbar1_ButtonClick(1);
    InstallPlatform(&ui);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(g.IndivCount, 5);
    EXPECT_EQ(g.DataChanged, "Y");

    // Open: a dismissed question opens no file dialog and keeps the work.
    ui.Answer(MsgResult::Dismissed);
    w->mnuFileItem_Click(0);
    EXPECT_TRUE(ui.fileRequests.empty());
    EXPECT_EQ(g.IndivCount, 5);
    EXPECT_EQ(g.DataChanged, "Y");

    // No still ends the program without saving.
    ui.Answer(MsgResult::No);
    EXPECT_TRUE(w->close());
    EXPECT_EQ(ui.Texts(), std::vector<std::string>(2, "Do you wish to save your changes?"));
}

// After an undo the work counts as saved only when it is what was last
// saved or opened: an undo past a save leaves changes that Exit and Open
// ask about, and Yes puts the undone state in the file.
TEST_F(StartupTest, AnUndoPastASaveLeavesTheWorkToBeSaved) {
    const fs::path file = PastedAndSaved();
    StartProgram(file.string());
    ASSERT_EQ(g.IndivCount, 5);
    const auto paste = [&](const char* page) {
        ui.Answer(MsgResult::Ok);  // "Unable to link all individuals ..."
        PastePage(page);
    };
    const auto saveByButton = [&] {
        ui.fileAnswers.push_back(file.string());
        ui.Answer(MsgResult::Yes);  // "Overwrite existing file?"
        ui.Answer(MsgResult::Ok);   // "... successfully saved"
        ClickToolButton(4);
    };

    // Undone past the save: Exit and Open ask (dismissed here); Yes saves
    // the work without the paste.
    paste("gencircles_individual.txt");
    saveByButton();
    ClickToolButton(9);
    ASSERT_EQ(g.IndivCount, 5);
    EXPECT_EQ(g.DataChanged, "Y");
    const std::size_t asked = ui.boxes.size();
    ui.Answer(MsgResult::Dismissed);
    ClickToolButton(1);
    ui.Answer(MsgResult::Dismissed);
    ClickToolButton(3);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(ui.Texts().size(), asked + 2);
    EXPECT_EQ(ui.Texts().back(), "Do you wish to save your changes?");
    ui.Answer(MsgResult::Yes);  // "Do you wish to save your changes?"
    ui.fileAnswers.push_back(file.string());
    ui.Answer(MsgResult::Yes);  // "Overwrite existing file?"
    ui.Answer(MsgResult::Ok);   // "... successfully saved"
    ClickToolButton(1);
    EXPECT_FALSE(w->isVisible());
    StartProgram(file.string());
    ASSERT_EQ(g.IndivCount, 5);

    // Undone back to what was opened, or to what was saved last: unchanged.
    paste("gencircles_individual.txt");
    ClickToolButton(9);
    EXPECT_EQ(g.DataChanged, "N");
    paste("gencircles_individual.txt");
    saveByButton();
    paste("mytrees_family.txt");
    ClickToolButton(9);
    EXPECT_EQ(g.DataChanged, "N");
    ClickToolButton(1);
    EXPECT_FALSE(w->isVisible());

    // Two pastes since the file was opened, the second undone: the first
    // is still unsaved, and Exit asks.
    StartProgram(file.string());
    paste("mytrees_family.txt");
    paste("igi_individual.txt");
    ClickToolButton(9);
    EXPECT_EQ(g.DataChanged, "Y");
    ui.Answer(MsgResult::No);  // "Do you wish to save your changes?"
    ClickToolButton(1);
    EXPECT_EQ(ui.Texts().back(), "Do you wish to save your changes?");
    EXPECT_FALSE(w->isVisible());
}

// Shut-down with changes not saved in the editor: a Yes whose save refuses,
// or a dismissed reminder, keeps the program open with the editor and what
// was typed in it, and nothing is asked about the work meanwhile.
TEST_F(StartupTest, AnEditorThatStaysOpenKeepsTheProgramOpen) {
    StartProgram("", true);
    Lintoraedit::SetModalLoop(false);
    Lintoraedit& editor = EditorWindow();
    PastePage();
    const int32_t root = g.TreeSlot[0];
    OpenEditor(root, 0);
    editor.iGivn->setText(" ");
    editor.iSurn->setText(" ");
    editor.ibDate->setText(" 1 Apr 1851");
    const std::string reminder = "Changes to   have not been saved.\nWould you like to save them now?";
    const std::string nameBlank = "Name cannot be blank - please enter a name or Refresh";
    const auto stillOpen = [&](const char* how) {
        EXPECT_TRUE(w->isVisible()) << how;
        EXPECT_TRUE(editor.isVisible()) << how;
        EXPECT_EQ(editor.ibDate->text().toStdString(), " 1 Apr 1851") << how;
        EXPECT_EQ(editor.CancelEditButton->text().toStdString(), "Refresh") << how;
        EXPECT_EQ(g.DataChanged, "Y") << how;
    };
    w->show();
    ui.Answer(MsgResult::Yes);
    ui.Answer(MsgResult::Ok);  // "Name cannot be blank ..."
    EXPECT_FALSE(w->close());
    stillOpen("closing, the save refused");
    ui.Answer(MsgResult::Dismissed);
    w->Toolbar1_ButtonClick(1);
    stillOpen("Exit, the reminder dismissed");
    EXPECT_EQ(ui.Texts(), (std::vector<std::string>{reminder, nameBlank, reminder}));

    // Named again: Yes saves in the editor, No leaves the work unsaved, and
    // the program ends.
    editor.iSurn->setText(" Whitlock");
    ui.Answer(MsgResult::Yes);  // the reminder
    ui.Answer(MsgResult::No);   // "Do you wish to save your changes?"
    w->Toolbar1_ButtonClick(1);
    EXPECT_FALSE(w->isVisible());
    EXPECT_FALSE(editor.isVisible());
    EXPECT_EQ(g.Indiv[root].ibDate.value(), "1 Apr 1851");
    EXPECT_EQ(ui.Texts().back(), "Do you wish to save your changes?");
}

// Unlinking a spouse with children, at the real boxes: the question about
// the children dismissed (Escape, the close button) unlinks nothing.
TEST_F(StartupTest, ADismissedQuestionAboutTheChildrenUnlinksNothing) {
    StartProgram("", true);
    Lintoraedit::SetModalLoop(false);
    Lintoraedit& editor = EditorWindow();
    PastePage("mytrees_family.txt");
    int32_t samuel = 0;
    for (int32_t i = 1; i <= g.IndivCount && samuel == 0; ++i)
        if (g.Indiv[i].iName.trimmed() == "Samuel WHITCOMB") samuel = i;  // the father, then a son
    ASSERT_GT(samuel, 0);
    const testing::TablesInUse before = testing::TablesInUse::Now();
    const std::string tip = w->ToolButtonTip(9);
    OpenEditor(samuel, 1);
    ASSERT_EQ(editor.iSpousesList->count(), 1);

    QtPlatform real;
    InstallPlatform(&real);
    std::vector<std::string> asked;
    for (bool escape : {true, false}) {
        // Yes to "Are you sure?", then the second box dismissed.
        QTimer::singleShot(0, [&, escape] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            asked.push_back(box->text().toStdString());
            testing::DismissNextBox(escape, &asked);
            QTest::mouseClick(box->button(QMessageBox::Yes), Qt::LeftButton);
        });
        editor.mnuLinkItem[1]->trigger();
    }
    InstallPlatform(&ui);
    EXPECT_EQ(asked, (std::vector<std::string>{"Remove Abigail FARNSWORTH as spouse of Samuel WHITCOMB?",
                                               "Unlink children from Samuel WHITCOMB as well?",
                                               "Remove Abigail FARNSWORTH as spouse of Samuel WHITCOMB?",
                                               "Unlink children from Samuel WHITCOMB as well?"}));
    EXPECT_TRUE(testing::TablesInUse::Now() == before);
    EXPECT_EQ(w->ToolButtonTip(9), tip);
    EXPECT_TRUE(editor.isVisible());
    EXPECT_EQ(editor.iSpousesList->count(), 1);
    editor.hide();
}

TEST_F(StartupTest, SourcesSavedInThePanelSurviveAnUndoAndCitationsFollowIt) {
    auto citations = [] {
        std::vector<int32_t> n;
        for (int32_t s = 1; s <= g.SourceCount; ++s) n.push_back(g.Source[s].sCitations);
        for (int32_t r = 1; r <= g.RepositoryCount; ++r) n.push_back(g.Repository[r].rCitations);
        return n;
    };
    const std::vector<int32_t> none = citations();
    const int32_t shipped = g.SourceCount;
    PastePage();
    const std::vector<int32_t> pasted = citations();
    ASSERT_NE(pasted, none);

    // A source with a repository of the user's, saved in the source panel.
    w->mnuEditItem_Click(3);
    auto* panel = static_cast<SourceEditFrame*>(w->Panel("source"));
    ASSERT_TRUE(panel && panel->isVisible());
    panel->Box("rName")->selectAll();
    QTest::keyClicks(panel->Box("rName"), "Wellsville Library");
    QTest::keyClicks(panel->Box("sTitle"), " of the Whitlocks");
    QTest::mouseClick(panel->CmdSrcEdit(), Qt::LeftButton);
    ASSERT_EQ(g.SourceCount, shipped + 1);
    const std::string title = g.Source[g.SourceCount].sTitle.trimmed();
    EXPECT_NE(FileText(UserDataFilePath()).find(title), std::string::npos);

    // Undo of the paste keeps them, with the citations of before the paste.
    w->Toolbar1_ButtonClick(9);
    EXPECT_EQ(g.IndivCount, 0);
    ASSERT_EQ(g.SourceCount, shipped + 1);
    EXPECT_EQ(g.Source[g.SourceCount].sTitle.trimmed(), title);
    EXPECT_EQ(g.Repository[g.Source[g.SourceCount].sRepos].rName.trimmed(), "Wellsville Library");
    std::vector<int32_t> expected = none;
    expected.insert(expected.begin() + shipped, 0);
    expected.push_back(0);
    EXPECT_EQ(citations(), expected);

    // Pasted again and undone once more: the next user file keeps them too.
    PastePage();
    w->mnuEditItem_Click(0);  // snapshot with the new source
    w->Toolbar1_ButtonClick(9);
    EXPECT_EQ(g.IndivCount, 5);
    expected = pasted;
    expected.insert(expected.begin() + shipped, 0);
    expected.push_back(0);
    EXPECT_EQ(citations(), expected);
    SaveUserFile();
    StartProgram();
    ASSERT_EQ(g.SourceCount, shipped + 1);
    EXPECT_EQ(g.Source[g.SourceCount].sTitle.trimmed(), title);
}

TEST_F(StartupTest, UndoAfterAddingAPersonLeavesNoTraceOfHim) {
    StartProgram("", true);
    Lintoraedit::SetModalLoop(false);
    Lintoraedit& editor = EditorWindow();
    PastePage();
    ASSERT_EQ(g.IndivCount, 5);
    const std::vector<int32_t> pasted = [] {
        std::vector<int32_t> n;
        for (int32_t s = 1; s <= g.SourceCount; ++s) n.push_back(g.Source[s].sCitations);
        return n;
    }();
    auto addByTyping = [&](const char* given, const char* surname) {
        ASSERT_TRUE(editor.isVisible());
        ASSERT_EQ(editor.EditIndivButton->text(), "Add");
        QTest::keyClicks(editor.iGivn, given);
        QTest::keyClicks(editor.iSurn, surname);
        QTest::mouseClick(editor.EditIndivButton, Qt::LeftButton);
        EXPECT_EQ(g.IndivCount, 6);
        EXPECT_EQ(g.Indiv[6].iName.trimmed(), std::string(given) + " " + surname);
    };
    auto noTrace = [&](const char* how) {
        EXPECT_EQ(g.IndivCount, 5) << how;
        EXPECT_EQ(g.Indiv[6], IndivRec{}) << how;
        EXPECT_LE(g.LastIndiv, 5) << how;
        for (int32_t s = 1; s <= g.SourceCount; ++s)
            EXPECT_EQ(g.Source[s].sCitations, pasted[static_cast<std::size_t>(s - 1)]) << how << " source " << s;
    };

    // The editor's Add, Save, then its UnDo.
    OpenEditor(g.TreeSlot[0], 0);
    editor.mnuNavItem_Click(4);
    addByTyping("Sarah", "Whitlock");
    editor.mnuUndoItem->trigger();
    noTrace("editor");

    // The main window's Add, Done, then the tool bar's Undo.
    w->mnuEditItem_Click(4);
    addByTyping("Hannah", "Marsh");
    QTest::mouseClick(editor.CancelEditButton, Qt::LeftButton);
    EXPECT_FALSE(editor.isVisible());
    w->Toolbar1_ButtonClick(9);
    noTrace("main window");
    EXPECT_EQ(w->StatusPanel(5), "Individuals: 5");
}

TEST_F(StartupTest, AboutAskedForDuringTheSplashStillOpensTheSearchOnAFirstRun) {
    keepSplash = true;
    StartProgram();
    int searches = 0;
    w->hooks.showSearchWindow = [&] { ++searches; };
    frmAboutLintora& about = w->About();
    ASSERT_TRUE(about.Timer1->isActive());
    QTimer::singleShot(0, [&] { QTest::mouseClick(about.Command1, Qt::LeftButton); });
    ui.Answer(MsgResult::Ok);  // the list of formats
    w->mnuHelpItem_Click(0);
    EXPECT_EQ(searches, 1);
    EXPECT_FALSE(about.isVisible());
    EXPECT_FALSE(about.Timer1->isActive());
    // Asked for again later: nothing more opens.
    QTimer::singleShot(0, [&] { QTest::mouseClick(about.Command1, Qt::LeftButton); });
    ui.Answer(MsgResult::Ok);
    w->mnuHelpItem_Click(0);
    EXPECT_EQ(searches, 1);
}

// The remembered work file on a drive not plugged in (its folder is not
// there), then in a folder the user may not open: each start says why and
// keeps it, so no first-run search opens; back within reach, it is opened.
TEST_F(StartupTest, ARememberedWorkFileOutOfReachIsKeptForTheNextStart) {
    const fs::path trees = dir / "usb" / "trees", file = trees / "family.lnt";
    fs::create_directories(trees);
    Person("John", "Whitlock", "M", "1832");
    ui.fileAnswers.push_back(file.string());
    ui.Answer(MsgResult::Ok);  // "... successfully saved"
    w->mnuFileItem_Click(1);
    ui.boxes.clear();
    fs::rename(dir / "usb", dir / "usb-away");
    ui.Answer(MsgResult::Ok);
    EXPECT_EQ(FirstRunsOfAStart(), 0);
    keepSplash = false;
    fs::rename(dir / "usb-away", dir / "usb");
    fs::permissions(trees, fs::perms::none);
    const bool root = ::geteuid() == 0;  // root acts as nobody, who may not search it
    windowsBuilt = [root](Lintora&) {
        if (root) ::setfsuid(65534);
    };
    ui.Answer(MsgResult::Ok);
    StartProgram();
    if (root) ::setfsuid(0);
    windowsBuilt = nullptr;
    fs::permissions(trees, fs::perms::owner_all);
    EXPECT_EQ(ui.Texts(), (std::vector<std::string>{
                              "family.lnt cannot be opened: its folder " + trees.string() + " is not there",
                              "family.lnt cannot be opened: you may not open its folder " + trees.string()}));
    EXPECT_EQ(g.IndivCount, 0);
    EXPECT_EQ(Setting("datFilename"), "family.lnt");
    ui.boxes.clear();
    StartProgram();
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(w->windowTitle(), "Lintora (family.lnt)");
}

// On a display without a window manager, the remembered work file reopened:
// once the splash is gone the main window has the keyboard, and Ctrl+O asks
// for a work file; Preferences opened while the splash stood keep it. On a
// first run no window has it when the search window opens; once that is
// closed, the main window has it.
TEST_F(StartupTest, OnceStartedTheMainWindowHasTheKeyboard) {
    PastedAndSaved();
    StartOnABareDisplay();
    ASSERT_EQ(w->windowTitle(), "Lintora (whitlock.lnt)");
    w->About().Timer1_Timer();
    EXPECT_EQ(CtrlO(), "Open Workfile");

    StartOnABareDisplay();
    QWidget* holding = nullptr;
    QTimer::singleShot(0, [&] {
        ASSERT_TRUE(QTest::qWaitForWindowActive(Preferences()));
        w->About().Timer1_Timer();
        QCoreApplication::processEvents();
        holding = QApplication::activeWindow();
        Preferences()->reject();
    });
    w->mnuPrefs->trigger();
    EXPECT_EQ(holding, Preferences());

    SaveStartupSetting("datFilename", " ");
    StartOnABareDisplay();
    QTimer::singleShot(0, [&] {
        auto* search = qobject_cast<LintoraInetSet*>(QApplication::activeModalWidget());
        ASSERT_NE(search, nullptr);
        QTest::mouseClick(search->cmdbtnExit, Qt::LeftButton);
    });
    w->About().Timer1_Timer();
    EXPECT_EQ(CtrlO(), "Open Workfile");
}

// Settings that cannot be read are left as they are, the user told once,
// and the run is no first run; read-only settings are used and stay
// read-only, and the value they cannot store is told of once.
TEST_F(StartupTest, SettingsThatCannotBeReadOrWrittenAreLeftAsTheyAre) {
    const fs::path ini = dir / "config" / "Lintora" / "Lintora.ini";
    const fs::path onDrive = dir / "usb" / "Lintora.ini";
    fs::remove(ini);  // written by the fixture's start
    fs::create_symlink(onDrive, ini);
    ui.Answer(MsgResult::Ok);
    EXPECT_EQ(FirstRunsOfAStart(), 0);
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{"Problem reading settings: " + ini.string() +
                                                   " cannot be read: it is a link to " + onDrive.string() +
                                                   ", which is not there\nThe file is left as it is; the program "
                                                   "starts without the settings it holds."});
    // A work file saved: the settings stay unwritten, and nothing more is said.
    Person("John", "Whitlock", "M", "1832");
    const fs::path lnt = dir / "work" / "whitlock.lnt";
    ui.fileAnswers.push_back(lnt.string());
    ui.Answer(MsgResult::Ok);  // "... successfully saved"
    w->mnuFileItem_Click(1);
    EXPECT_EQ(ui.Texts().back(), lnt.string() + " successfully saved");
    EXPECT_EQ(ui.boxes.size(), 2u);
    EXPECT_TRUE(fs::is_symlink(ini));
    EXPECT_FALSE(fs::exists(onDrive.parent_path()));

    fs::remove(ini);
    const std::string stored = "[Startup]\nCurDir=" + AppDir() + "\nprefName=Anna Lindqvist\n";
    std::ofstream(ini, std::ios::binary) << stored;
    const fs::perms readOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    fs::permissions(ini, readOnly);
    ui.boxes.clear();
    StartProgram();
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(g.prefName, "Anna Lindqvist");
    Person("John", "Whitlock", "M", "1832");
    for (int save = 0; save < 2; ++save) {
        ui.fileAnswers.push_back(lnt.string());
        ui.Answer(MsgResult::Yes);  // replace the file
        if (save == 0) ui.Answer(MsgResult::Ok);
        ui.Answer(MsgResult::Ok);
        w->mnuFileItem_Click(1);
    }
    const std::string replace = "Overwrite existing file?", saved = lnt.string() + " successfully saved";
    EXPECT_EQ(ui.Texts(), (std::vector<std::string>{replace, "Problem saving settings: " + ini.string() + " is read-only",
                                                    saved, replace, saved}));
    EXPECT_EQ(FileText(ini), stored);
    EXPECT_EQ(fs::status(ini).permissions() & fs::perms::all, readOnly);
}

// Saves in place of the remembered file and of another stopped half-way: the start asks only of the remembered one,
// the other's copy named once the window shows; with their folder away, it offers to forget the save.
TEST_F(StartupTest, ARememberedWorkFileWhoseSaveStoppedNamesItsEarlierContents) {
    g.TreeSlot[0] = Person("John", "Whitlock", "M", "1832");
    g.DataChanged = "Y";
    const fs::path lnt = dir / "work" / "whitlock.lnt", copy = dir / "work" / "whitlock (earlier contents).lnt";
    const fs::path other = dir / "work" / "notes.lnt", otherCopy = dir / "work" / "notes (earlier contents).lnt";
    ui.fileAnswers.push_back(lnt.string());
    ui.Answer(MsgResult::Ok);  // "... successfully saved"
    w->mnuFileItem_Click(1);
    fs::copy_file(lnt, other);
    fs::create_hard_link(lnt, dir / "work" / "for-aunt.lnt");
    fs::create_hard_link(other, dir / "work" / "notes-for-aunt.lnt");
    const std::string earlier = FileText(lnt);
    for (int i = 0; i < 400; ++i) Person("Mary" + std::to_string(i), "Whitlock", "F", "1835");
    for (const fs::path& file : {lnt, other}) {
        testing::StoppingSystem system("write " + file.filename().string(), 1, true);
        ASSERT_TRUE(testing::SaveStopped(
            file.string(), FileContents(FileKind::Work, BuildFileLines(FileKind::Work, file.string())), system));
    }
    std::ofstream(other, std::ios::app) << "changed";

    // Each box, and whether the main window showed as it came.
    struct Watching : testing::ScriptedPlatform {
        std::vector<bool> windowShown;
        MsgResult MsgBox(const std::string& t, MsgButtons b, MsgIcon i, const std::string& n,
                         const std::string& d) override {
            windowShown.push_back(std::ranges::any_of(QApplication::topLevelWidgets(), [](QWidget* top) {
                return qobject_cast<Lintora*>(top) && top->isVisible();
            }));
            return ScriptedPlatform::MsgBox(t, b, i, n, d);
        }
    } watching;
    InstallPlatform(&watching);
    for (MsgResult answer : {MsgResult::No, MsgResult::Ok, MsgResult::Ok}) watching.Answer(answer);
    StartProgram();
    InstallPlatform(&ui);
    EXPECT_EQ(watching.windowShown, (std::vector<bool>{false, false, true}));
    const std::string kept = "A save of yours did not finish:\n\n• " + other.string() +
                             ": its earlier contents are kept in " + otherCopy.string();
    EXPECT_EQ(watching.Texts(),
              (std::vector<std::string>{
                  "A save of whitlock.lnt did not finish: the file holds the beginning of the new work. Put back "
                  "its earlier contents, kept in " + copy.string() + "?",
                  "whitlock.lnt ends before its last line (0 TRLR): it may be incomplete. Saving over it would lose "
                  "what is missing.",
                  kept + ".\n\nIt is asked about when its file is opened."}));
    EXPECT_TRUE(g.IndivCount > 1 && g.IndivCount < 401) << g.IndivCount;
    EXPECT_EQ(w->windowTitle(), "Lintora (whitlock.lnt)");
    EXPECT_EQ(w->FileNote(), "The earlier contents of this file, from a save that did not finish, are in " +
                                 copy.string() + ", yours to keep or delete.");
    EXPECT_EQ(FileText(copy), earlier);
    EXPECT_EQ(FileText(otherCopy), earlier);

    fs::rename(dir / "work", dir / "away");
    ui.boxes.clear();
    for (MsgResult answer : {MsgResult::Ok, MsgResult::Yes}) ui.Answer(answer);
    StartProgram();
    EXPECT_EQ(ui.Texts(), (std::vector<std::string>{
                              "whitlock.lnt cannot be opened: its folder " + (dir / "work").string() +
                                  " is not there",
                              kept + ", but the file or that copy cannot be reached now.\n\nIt is asked about "
                              "when its file is opened. Forget the one that cannot be reached? Its record ends: it is "
                              "told no more at each start, nor asked about when its file is opened; no copy is "
                              "deleted."}));
    // Thirty saves whose files are gone, another computer's running one, a damaged record, in the records folder of a
    // file opened at start: one box, ten named, all under Show Details; Escape forgets none. Unfolded, it fits.
    const fs::path away = dir / "away" / copy.filename();
    const fs::path records = dir / "state" / "Lintora" / RecordsFolderName(away.string());
    fs::create_directories(records);
    std::ofstream(records / ".save.00000000000000d1.record") << "Lintora record 3\n";
    for (int k = 0; k <= 30; ++k)
        std::ofstream(records / (".save.0000000000000" + std::to_string(100 + k) + ".record")) << RecordText(
            {.file = away.string() + std::to_string(k), .copy = away.string(), .copyLength = earlier.size(),
             .copyHash = CopyHash(earlier), .host = k < 30 ? RealSystem().HostName() : "attic"});
    ui.Answer(MsgResult::Dismissed);
    StartProgram(away.string());
    const testing::ShownBox& shown = ui.boxes.back();
    EXPECT_EQ(std::tuple(std::ranges::count(shown.text, '\xa2'), std::ranges::count(shown.details, '\xa2'),  // bullets
                         fs::exists(records / ".save.0000000000000100.record")), std::tuple(10, 31, true));
    EXPECT_NE(shown.text.find("\n\n21 more are listed under Show Details. Forget the 30 "), std::string::npos);
    QTimer::singleShot(0, [] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        for (QAbstractButton* button : box->buttons())
            if (box->buttonRole(button) == QMessageBox::ActionRole) button->click();  // Show Details...
        QCoreApplication::processEvents();
        EXPECT_LE(box->frameGeometry().height(), box->screen()->availableGeometry().height());
        EXPECT_TRUE(box->rect().contains(box->childrenRect()));
        testing::DismissNextBox(true);
    });
    QtPlatform().MsgBox(shown.text, shown.buttons, shown.icon, shown.title, shown.details);
}

// A save in place stopped after its copy, before it touched the file; the user opens the copy itself. Start-up takes
// that save for finished, yet leaves the copy shown in the window.
TEST_F(StartupTest, StartUpNeverDeletesTheFileItOpened) {
    g.TreeSlot[0] = Person("John", "Whitlock", "M", "1832");
    g.DataChanged = "Y";
    const fs::path lnt = dir / "work" / "whitlock.lnt", copy = dir / "work" / "whitlock (earlier contents).lnt";
    ui.fileAnswers.push_back(lnt.string());
    ui.Answer(MsgResult::Ok);  // "... successfully saved"
    w->mnuFileItem_Click(1);
    fs::create_hard_link(lnt, dir / "work" / "for-aunt.lnt");
    testing::StoppingSystem system("cut whitlock.lnt", 1, false);
    ASSERT_TRUE(testing::SaveStopped(lnt.string(), FileText(lnt) + "0 NOTE never written\r\n", system));
    ui.boxes.clear();
    StartProgram(copy.string());
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{});
    EXPECT_EQ(w->windowTitle(), "Lintora (whitlock (earlier contents).lnt)");
    EXPECT_EQ(FileText(copy), FileText(lnt));
    for (const auto& entry : fs::recursive_directory_iterator(dir / "state"))
        EXPECT_FALSE(entry.path().filename().string().starts_with(".save.")) << entry.path();
}

}  // namespace
}  // namespace lintora
