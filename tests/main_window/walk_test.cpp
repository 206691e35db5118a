// Walks through the real main window as a user would, every message
// answered by the scripted platform.
#include <filesystem>
#include <fstream>
#include <sstream>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "files/data_files.h"
#include "main_window/about_window.h"
#include "main_window/preferences_window.h"
#include "main_window/prune_panel.h"
#include "platform/settings_store.h"
#include "record_store/clear.h"
#include "tests/main_window/window_fixture.h"

namespace lintora {
namespace {

namespace fs = std::filesystem;
using testing::MainWindowTest;

constexpr const char* kResult = "5 Individuals added, 0 updated; 3 Families added, 0 updated (Tree #1)";

class WalkTest : public MainWindowTest {
protected:
    std::string Text(QLabel* l) const { return l->text().toStdString(); }
    std::string Panel(int p) const { return w->StatusPanel(p); }
    bool DataCommands(bool on) const {
        for (int b : {4, 6, 8, 12})
            if (w->toolButtons[b]->isEnabled() != on) return false;
        for (int i : {1, 2, 3})
            if (w->mnuFileItem[i]->isEnabled() != on) return false;
        for (int i : {0, 1})
            if (w->mnuListItem[i]->isEnabled() != on) return false;
        for (int i : {0, 1, 2})
            if (w->mnuEditItem[i]->isEnabled() != on) return false;
        return true;
    }
    void Start(const std::string& commandLine = "") { StartProgram(commandLine); }
    void PasteSample() { PastePage(); }
};

TEST_F(WalkTest, PasteClickUndoSaveClearOpenAndClose) {
    // A fresh start: empty work, data commands off, the program folder noted.
    Start();
    EXPECT_EQ(w->windowTitle(), "Lintora");
    EXPECT_EQ(Panel(5), "Individuals: 0");
    EXPECT_EQ(Panel(6), "Families: 0");
    EXPECT_EQ(Panel(7), "");
    EXPECT_TRUE(DataCommands(false));
    EXPECT_FALSE(w->toolButtons[10]->isEnabled());
    EXPECT_FALSE(w->Command6->isEnabled());
    EXPECT_EQ(GetSetting("Lintora", "Startup", "CurDir", "?"), (dir / "app").string());
    EXPECT_TRUE(w->Timer1->isActive());
    w->Timer1_Timer();
    EXPECT_FALSE(w->Command6->isEnabled());  // nothing on the clipboard yet

    // Paste: the people are filed, the clipboard emptied, the button greyed.
    PasteSample();
    Shot(w, "after_paste");
    EXPECT_EQ(g.IndivCount, 5);
    EXPECT_EQ(g.FamilCount, 3);
    EXPECT_EQ(Text(w->lblDspMsg), kResult);
    EXPECT_FALSE(w->ClipboardHasText());
    EXPECT_FALSE(w->Command6->isEnabled());
    EXPECT_EQ(Text(w->lblTree[0]), " John Henry WHITLOCK  (1832-1899)");
    EXPECT_EQ(Text(w->lblTree[1]), " Samuel WHITLOCK");
    EXPECT_EQ(Text(w->lblTree[2]), " Abigail MARSH");
    EXPECT_FALSE(w->Command2->isHidden());
    EXPECT_EQ(Panel(1), "LDS Family Search");
    EXPECT_EQ(Panel(2), "Ancestral File");
    EXPECT_EQ(Panel(3), "Individual");
    EXPECT_EQ(Panel(4), "John Henry WHITLOCK");
    EXPECT_EQ(Panel(5), "Individuals: 5");
    EXPECT_EQ(Panel(6), "Families: 3");
    EXPECT_EQ(Panel(7), "Tree 1 of 1");
    EXPECT_TRUE(DataCommands(true));
    EXPECT_EQ(w->ToolButtonTip(9), "UnDo previous paste");
    const int32_t john = g.TreeSlot[0];

    // Click: selection, panel with both marriages, prune button named.
    w->lblTree_MouseUp(0, 1);
    EXPECT_TRUE(w->BoxSelected(0));
    EXPECT_TRUE(w->popupFrame->isVisible());
    EXPECT_EQ(w->ToolButtonTip(10), "Delete John Henry WHITLOCK");
    ASSERT_EQ(w->SpousesCBox->count(), 2);
    EXPECT_EQ(w->SpousesCBox->item(1)->text(), "Mary PARKER");
    EXPECT_EQ(w->BirthDtPlace->text(), "12 Mar 1832 - Wellsville, Allegany, New York");
    EXPECT_EQ(w->MarrDtPlace->text(), "15 Jun 1855 - Nauvoo, Hancock, Illinois  (23/?\?)");
    w->SpousesCBox_Click(1);
    EXPECT_EQ(w->MarrDtPlace->text(), "2 Aug 1860 - Salt Lake City, Salt Lake, Utah  (28/?\?)");
    // Double-click on the father's box's spouse re-roots the pedigree.
    w->SpousesCBox_DblClick(1);
    EXPECT_EQ(Text(w->lblTree[0]), " Mary PARKER");
    w->Command2_Click();  // Mary's only husband has no grandchildren: her panel opens
    EXPECT_TRUE(w->popupFrame->isVisible());

    // Undo: the paste is gone; pasting the same text again asks nothing.
    w->Toolbar1_ButtonClick(9);
    EXPECT_EQ(g.IndivCount, 0);
    EXPECT_EQ(Text(w->lblDspMsg), "UnDo complete.");
    EXPECT_EQ(Panel(5), "Individuals: 0");
    EXPECT_TRUE(w->lblTree[0]->text().isEmpty());
    EXPECT_TRUE(g.LastPaste.empty());
    PasteSample();
    EXPECT_EQ(g.IndivCount, 5);
    EXPECT_EQ(g.TreeSlot[0], john);

    // Save As Workfile names the file in the caption.
    const std::string file = (dir / "work" / "whitlock.lnt").string();
    ui.fileAnswers.push_back(file);
    ui.Answer(MsgResult::Ok);  // "... successfully saved"
    w->mnuFileItem_Click(1);
    EXPECT_TRUE(fs::exists(file));
    EXPECT_EQ(w->windowTitle(), "Lintora (whitlock.lnt)");
    EXPECT_EQ(g.DataChanged, "N");

    // Clear answered No keeps everything, the caption included.
    ui.Answer(MsgResult::No);
    w->mnuFileItem_Click(3);
    EXPECT_EQ(g.IndivCount, 5);
    EXPECT_EQ(w->windowTitle(), "Lintora (whitlock.lnt)");
    ui.Answer(MsgResult::Yes);
    w->Toolbar1_ButtonClick(12);
    EXPECT_EQ(g.IndivCount, 0);
    EXPECT_EQ(w->windowTitle(), "Lintora");
    EXPECT_EQ(Panel(5), "Individuals: 0");
    EXPECT_TRUE(DataCommands(false));
    EXPECT_TRUE(w->lblTree[0]->text().isEmpty());

    // Open brings back the same people, root and counts.
    ui.fileAnswers.push_back(file);
    w->Toolbar1_ButtonClick(3);
    ASSERT_EQ(ui.fileRequests.size(), 2u);
    EXPECT_EQ(ui.fileRequests[1].initialDir, (dir / "work").string());
    EXPECT_EQ(g.IndivCount, 5);
    EXPECT_EQ(g.FamilCount, 3);
    EXPECT_EQ(g.TreeSlot[0], john);
    EXPECT_EQ(Text(w->lblTree[0]), " John Henry WHITLOCK  (1832-1899)");
    EXPECT_EQ(w->windowTitle(), "Lintora (whitlock.lnt)");
    EXPECT_EQ(Panel(5), "Individuals: 5");
    EXPECT_EQ(Panel(6), "Families: 3");
    EXPECT_EQ(Panel(7), "Tree 1 of 1");
    EXPECT_TRUE(DataCommands(true));
    EXPECT_FALSE(w->toolButtons[9]->isEnabled());

    // Closing after a change asks; Yes with the file dialog cancelled keeps
    // the window open and the work changed.
    w->mnuEditItem_Click(1);
    EXPECT_EQ(g.Indiv[john].iSurn.value(), "WHITLOCK");
    EXPECT_EQ(g.DataChanged, "Y");
    EXPECT_EQ(g.LastIndiv, 5);  // the last record read
    ui.Answer(MsgResult::Yes);
    ui.fileAnswers.push_back("");
    EXPECT_FALSE(w->close());
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(g.DataChanged, "Y");
    EXPECT_EQ(ui.boxes.back().text, "Do you wish to save your changes?");
    EXPECT_EQ(ui.boxes.back().icon, MsgIcon::Question);
    // Exit with No closes without saving.
    ui.Answer(MsgResult::No);
    w->Toolbar1_ButtonClick(1);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(ui.boxes.back().icon, MsgIcon::None);
    EXPECT_EQ(g.DataChanged, "N");
}

// The only page of the work undone: the status bar of a fresh start, not
// the undone page's site, record set and kind and "Tree 0 of 0".
TEST_F(WalkTest, UndoBackToEmptyWorkShowsTheStatusBarOfAFreshStart) {
    Start();
    auto panels = [this] {
        std::vector<std::string> texts;
        for (int p = 1; p <= 7; ++p) texts.push_back(Panel(p));
        return texts;
    };
    const std::vector<std::string> fresh = panels();
    EXPECT_EQ(fresh, (std::vector<std::string>{"", "", "", "", "Individuals: 0", "Families: 0", ""}));
    PasteSample();
    EXPECT_EQ(Panel(1), "LDS Family Search");
    ClickToolButton(9);
    EXPECT_EQ(g.IndivCount, 0);
    EXPECT_EQ(panels(), fresh);
    // The next page is the first of the work again: an Ancestry page is
    // not filed as a FamilySearch one mixed with another site.
    PastePage("anc_individual.txt");
    EXPECT_EQ(Panel(1), "ancestry.com");
    EXPECT_EQ(g.FirstSite, "ANC");
    EXPECT_EQ(g.MixedSources, "N");
}

TEST_F(WalkTest, CommandLineWorkFileOpensAtStartOnlyWithItsOwnExtension) {
    Start();
    PasteSample();
    // The root at save time is remembered with the file.
    w->lblTree_MouseUp(1, 1);
    w->SpousesCBox_DblClick(0);  // Samuel's wife Abigail becomes the root
    const int32_t abigail = g.TreeSlot[0];
    const std::string file = (dir / "work" / "family.lnt").string();
    ui.fileAnswers.push_back(file);
    ui.Answer(MsgResult::Ok);
    w->mnuFileItem_Click(1);
    ASSERT_TRUE(fs::exists(file));

    // A name in another case of extension is ignored.
    fs::copy_file(file, dir / "work" / "family.Lnt");
    StartProgram("  " + (dir / "work" / "family.Lnt").string() + " ");
    EXPECT_EQ(g.IndivCount, 0);
    EXPECT_EQ(w->windowTitle(), "Lintora");

    StartProgram("  " + file + " ");
    EXPECT_TRUE(started);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->windowTitle(), "Lintora (family.lnt)");
    EXPECT_EQ(g.IndivCount, 5);
    EXPECT_EQ(g.TreeSlot[0], abigail);
    EXPECT_EQ(w->lblTree[0]->text(), " Abigail MARSH");
    EXPECT_EQ(w->StatusPanel(5), "Individuals: 5");
    EXPECT_EQ(g.DataChanged, "N");
}

// A work file that is not there says so, whether named on the command line,
// remembered from the last run or chosen in the dialog and gone since; the
// work stays. A remembered one is told once and then forgotten.
TEST_F(WalkTest, AWorkFileThatIsNotThereSaysSoAndARememberedOneIsToldOnce) {
    Start();
    PasteSample();
    const fs::path file = dir / "work" / "family.lnt";
    ui.fileAnswers.push_back(file.string());
    ui.Answer(MsgResult::Ok);  // "... successfully saved"
    w->mnuFileItem_Click(1);
    ui.boxes.clear();

    // Chosen in the dialog, gone before it was read: the work stays.
    ui.fileAnswers.push_back((dir / "work" / "gone.lnt").string());
    ui.Answer(MsgResult::Ok);
    ClickToolButton(3);
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{"gone.lnt cannot be opened: there is no such file"});
    EXPECT_EQ(g.IndivCount, 5);
    EXPECT_EQ(g.DataChanged, "N");
    EXPECT_EQ(w->windowTitle(), "Lintora (family.lnt)");

    // Named on the command line: the remembered file is not opened instead,
    // nor forgotten.
    ui.boxes.clear();
    ui.Answer(MsgResult::Ok);
    StartProgram((dir / "work" / "missing.lnt").string());
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{"missing.lnt cannot be opened: there is no such file"});
    EXPECT_EQ(g.IndivCount, 0);
    EXPECT_EQ(w->windowTitle(), "Lintora");
    EXPECT_EQ(GetSetting("Lintora", "Startup", "datFilename", "?"), "family.lnt");

    // Remembered and gone: told at this start, forgotten for the next, and
    // no first-run search window opens meanwhile.
    fs::remove(file);
    ui.boxes.clear();
    ui.Answer(MsgResult::Ok);
    EXPECT_EQ(FirstRunsOfAStart(), 0);
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{"family.lnt cannot be opened: there is no such file"});
    EXPECT_EQ(g.IndivCount, 0);
    EXPECT_EQ(g.LastWorkFile, "");
    EXPECT_EQ(GetSetting("Lintora", "Startup", "datFilename", "?"), " ");
    EXPECT_EQ(GetSetting("Lintora", "Startup", "datPos", "?"), "0");
    keepSplash = false;
    ui.boxes.clear();
    StartProgram();
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(w->windowTitle(), "Lintora");
}

// Two families pasted, the one pasted last pruned with all its relatives:
// the first family is still work to save, as a work file, as GEDCOM and as
// a work file again.
TEST_F(WalkTest, PeopleLeftByAPruneOfThePersonPastedLastAreWorkToSave) {
    Start();
    PastePage("af_individual.txt");
    ui.Answer(MsgResult::Ok);  // "Unable to link all individuals ..."
    PastePage("igi_individual.txt");
    ASSERT_EQ(g.IndivCount, 9);
    int box = 0;
    while (g.TreeSlot[box] != g.LastIndiv) ++box;
    w->lblTree_MouseUp(box, 1);
    ui.Answer(MsgResult::No);  // "Backup work before pruning?"
    w->mnuPopup1Item_Click(2);
    auto* prune = static_cast<PruneFrame*>(w->Panel("prune"));
    ASSERT_TRUE(prune->isVisible());
    QTest::mouseClick(prune->Button(3), Qt::LeftButton);
    ui.Answer(MsgResult::Ok);  // "Are you sure?"
    ui.Answer(MsgResult::Ok);  // what was removed
    for (auto* b : prune->findChildren<QPushButton*>())
        if (b->text() == "OK") QTest::mouseClick(b, Qt::LeftButton);
    ASSERT_EQ(g.IndivCount, 5);
    EXPECT_TRUE(DataCommands(true));

    const fs::path lnt = dir / "work" / "whitlock.lnt", ged = dir / "work" / "whitlock.ged";
    ui.boxes.clear();
    ui.fileAnswers.push_back(lnt.string());
    ui.Answer(MsgResult::Ok);  // "... successfully saved"
    ClickToolButton(4);
    ClickToolButton(6);
    auto* preferences = w->findChild<LintoraPreferences*>();
    ASSERT_TRUE(preferences && preferences->isVisible());
    ui.fileAnswers.push_back(ged.string());
    ui.Answer(MsgResult::Ok);  // "... successfully saved"
    QTest::mouseClick(preferences->ContinueButton(), Qt::LeftButton);
    ui.fileAnswers.push_back(lnt.string());
    ui.Answer(MsgResult::Yes);  // "Overwrite existing file?"
    ui.Answer(MsgResult::Ok);   // "... successfully saved"
    ClickToolButton(4);
    EXPECT_EQ(ui.Texts(), (std::vector<std::string>{lnt.string() + " successfully saved",
                                                   ged.string() + " successfully saved", "Overwrite existing file?",
                                                   lnt.string() + " successfully saved"}));
    const std::string gedText = FileText(ged);
    int people = 0;
    for (std::size_t at = 0; (at = gedText.find("@ INDI\r\n", at)) != std::string::npos; ++at) ++people;
    EXPECT_EQ(people, 5);
    EXPECT_EQ(g.IndivCount, 5);
    EXPECT_EQ(g.DataChanged, "N");
}

// An undo back to empty work leaves the commands as a fresh start has them,
// whether or not a save came between; with nothing to save, nothing is
// saved or asked.
TEST_F(WalkTest, UndoBackToEmptyWorkTurnsTheDataCommandsOffAsAtAFreshStart) {
    Start();
    ASSERT_TRUE(DataCommands(false));
    PasteSample();
    EXPECT_TRUE(DataCommands(true));
    ClickToolButton(9);
    EXPECT_EQ(g.IndivCount, 0);
    EXPECT_TRUE(DataCommands(false));
    EXPECT_FALSE(w->toolButtons[9]->isEnabled());
    EXPECT_FALSE(w->toolButtons[10]->isEnabled());
    EXPECT_EQ(g.DataChanged, "N");

    PasteSample();
    EXPECT_TRUE(DataCommands(true));
    const fs::path lnt = dir / "work" / "whitlock.lnt";
    ui.fileAnswers.push_back(lnt.string());
    ui.Answer(MsgResult::Ok);  // "... successfully saved"
    ClickToolButton(4);
    const std::string saved = FileText(lnt);
    ClickToolButton(9);
    EXPECT_EQ(g.IndivCount, 0);
    EXPECT_EQ(g.DataChanged, "Y");  // no longer what the file holds
    EXPECT_TRUE(DataCommands(false));
    ui.Answer(MsgResult::Ok);
    w->mnuFileItem_Click(1);
    ui.Answer(MsgResult::Ok);
    w->mnuFileItem_Click(2);
    EXPECT_EQ(ui.Texts(), (std::vector<std::string>{lnt.string() + " successfully saved", "No work data to save!",
                                                   "No file data to save!"}));
    EXPECT_EQ(FileText(lnt), saved);
    w->close();  // nothing to save: no question
    EXPECT_EQ(ui.boxes.size(), 3u);
    EXPECT_FALSE(w->isVisible());
}

TEST_F(WalkTest, SavesThatDoNotCompleteKeepTheWork) {
    Start();
    PasteSample();
    // Open after Yes: a cancelled save stops the open, nothing is replaced.
    ui.Answer(MsgResult::Yes);
    ui.fileAnswers.push_back("");
    w->mnuFileItem_Click(0);
    EXPECT_EQ(ui.fileRequests.size(), 1u);  // the save dialog only
    EXPECT_EQ(g.IndivCount, 5);
    EXPECT_EQ(g.DataChanged, "Y");
    // Open after No: the dialog follows; cancelling it keeps the work too.
    ui.Answer(MsgResult::No);
    ui.fileAnswers.push_back("");
    w->mnuFileItem_Click(0);
    EXPECT_EQ(ui.fileRequests.size(), 2u);
    EXPECT_EQ(ui.fileRequests[1].title, "Open Workfile");
    EXPECT_EQ(g.IndivCount, 5);
    EXPECT_EQ(g.DataChanged, "Y");
    // Exit after Yes with a save that fails (a refused name): the program
    // goes on with the work still marked changed.
    ui.Answer(MsgResult::Yes);
    ui.fileAnswers.push_back((dir / "work" / "bad;name.lnt").string());
    ui.Answer(MsgResult::Ok);  // the refused name
    w->mnuFileItem_Click(4);
    EXPECT_EQ(ui.boxes.back().icon, MsgIcon::Exclamation);
    EXPECT_FALSE(std::filesystem::exists(dir / "work" / "bad;name.lnt"));
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(g.DataChanged, "Y");
    // Nothing in the tables: no question at all.
    ClearWorkTables();
    g.DataChanged = "Y";
    const std::size_t asked = ui.boxes.size();
    w->close();
    EXPECT_EQ(ui.boxes.size(), asked);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(g.DataChanged, "N");
}

TEST_F(WalkTest, MessagesForNothingToSaveAndAFullTable) {
    Start();
    ui.Answer(MsgResult::Ok);
    w->mnuFileItem_Click(1);
    ui.Answer(MsgResult::Ok);
    w->mnuFileItem_Click(2);
    ASSERT_EQ(ui.boxes.size(), 2u);
    EXPECT_EQ(ui.boxes[0].text, "No work data to save!");
    EXPECT_EQ(ui.boxes[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(ui.boxes[1].text, "No file data to save!");

    // Add new Individual opens the editor on the new record...
    w->mnuEditItem_Click(4);
    EXPECT_EQ(editor.loads, std::vector<int>{0});
    EXPECT_EQ(g.CurIndiv, 1);
    EXPECT_EQ(g.NewIndivFlag, "Y");
    // ...and with the table full says so and opens nothing.
    g.IndivCount = kMaxIndiv;
    g.NewIndivFlag = "N";
    g.CurIndiv = 7;
    ui.Answer(MsgResult::Ok);
    w->mnuEditItem_Click(4);
    EXPECT_EQ(editor.loads.size(), 1u);
    EXPECT_EQ(g.IndivCount, kMaxIndiv);
    EXPECT_EQ(g.CurIndiv, 7);
    EXPECT_EQ(g.NewIndivFlag, "N");
    EXPECT_EQ(ui.boxes.back().text, "Individual table is full - additional Individuals will be skipped");
    g.IndivCount = 0;
}

TEST_F(WalkTest, SurnameCasesAndCommandsThatReachOtherWindows) {
    Start();
    const int32_t a = Person("JOHN HENRY", "VAN DER BERG", "M");
    const int32_t b = Person("mary", "McDonald", "F");
    const int32_t c = Person("ann", "O'BRIEN", "F");
    g.TreeSlot[0] = a;
    w->mnuEditItem_Click(2);
    EXPECT_EQ(g.Indiv[a].iSurn.value(), "Van Der Berg");
    EXPECT_EQ(g.Indiv[a].iGivn.value(), "John Henry");
    EXPECT_EQ(g.Indiv[b].iSurn.value(), "McDonald");
    EXPECT_EQ(g.Indiv[c].iSurn.value(), "O'brien");
    EXPECT_EQ(g.SurnameCase, "P");
    EXPECT_EQ(w->lblTree[0]->text(), " John Henry Van Der Berg");
    w->mnuEditItem_Click(1);
    EXPECT_EQ(g.Indiv[b].iSurn.value(), "MCDONALD");
    EXPECT_EQ(g.SurnameCase, "U");

    std::vector<std::string> calls;
    w->hooks.setListMessage = [&](const std::string& m) { calls.push_back("hint:" + m); };
    w->hooks.toggleIndivList = [&] { calls.push_back("indiv"); };
    w->hooks.toggleMarrList = [&] { calls.push_back("marr"); };
    w->hooks.showSearchWindow = [&] { calls.push_back("search"); };
    w->hooks.showPreferences = [&](bool ged) { calls.push_back(ged ? "prefs-ged" : "prefs"); };
    w->hooks.loadPlaceList = [&] { calls.push_back("places"); };
    w->hooks.editSources = [&] { calls.push_back("sources"); };
    w->hooks.showDescList = [&] { calls.push_back("desc"); };
    w->Toolbar1_ButtonClick(8);
    w->mnuListItem_Click(1);
    w->mnuInet_Click();
    w->mnuPopup1Item_Click(0);
    w->mnuPrefs_Click();
    w->mnuFileItem_Click(2);
    w->mnuEditItem_Click(0);
    w->mnuEditItem_Click(3);
    w->mnuPopup1Item_Click(3);
    w->mnuFileItem_Click(9);
    w->Toolbar1_ButtonClick(2);
    const std::string hint = "hint:Double-click on an individual to View/Edit";
    EXPECT_EQ(calls, (std::vector<std::string>{hint, "indiv", hint, "marr", "search", "search", "prefs",
                                               "prefs-ged", "places", "sources", "desc"}));
    EXPECT_TRUE(g.UndoReady);  // Edit Places took the snapshot first
}

// Recasing the surnames is a change of its own: Undo, named for it, takes
// back the recase alone, after two pastes as after opening a file.
TEST_F(WalkTest, RecasingTheSurnamesIsUndoneAlone) {
    Start();
    PastePage("af_individual.txt");
    ui.Answer(MsgResult::Ok);  // "Unable to link all individuals ..."
    PastePage("gencircles_individual.txt");
    const int32_t people = g.IndivCount;
    const std::string pastedCase = g.SurnameCase;
    ASSERT_GT(people, 5);
    const auto surnames = [] {
        std::vector<std::string> s;
        for (int32_t i = 1; i <= g.IndivCount; ++i) s.push_back(g.Indiv[i].iSurn.value());
        return s;
    };
    const std::vector<std::string> pasted = surnames();
    ASSERT_EQ(pasted[5], "Ashby");
    ASSERT_EQ(pasted[0], "WHITLOCK");

    w->mnuEditItem[1]->trigger();
    EXPECT_EQ(g.Indiv[6].iSurn.value(), "ASHBY");
    EXPECT_EQ(w->ToolButtonTip(9), "UnDo Last Names Upper case");
    ClickToolButton(9);
    EXPECT_EQ(g.IndivCount, people);
    EXPECT_EQ(surnames(), pasted);
    EXPECT_EQ(g.SurnameCase, pastedCase);  // later pages are cased as before
    EXPECT_FALSE(w->toolButtons[9]->isEnabled());

    w->mnuEditItem[2]->trigger();
    EXPECT_EQ(g.Indiv[1].iSurn.value(), "Whitlock");
    EXPECT_EQ(w->ToolButtonTip(9), "UnDo Last Names Proper case");
    ClickToolButton(9);
    EXPECT_EQ(surnames(), pasted);

    // A file just opened: Undo is grey until the recase, then takes it back,
    // and the work is again the file's.
    const std::string file = (dir / "work" / "recase.lnt").string();
    ui.fileAnswers.push_back(file);
    ui.Answer(MsgResult::Ok);  // "... successfully saved"
    w->mnuFileItem_Click(1);
    ui.fileAnswers.push_back(file);
    ClickToolButton(3);
    ASSERT_EQ(g.IndivCount, people);
    EXPECT_FALSE(w->toolButtons[9]->isEnabled());
    w->mnuEditItem[1]->trigger();
    EXPECT_TRUE(w->toolButtons[9]->isEnabled());
    EXPECT_EQ(g.DataChanged, "Y");
    ClickToolButton(9);
    EXPECT_EQ(surnames(), pasted);
    EXPECT_EQ(g.DataChanged, "N");
}

TEST_F(WalkTest, SplashShowsTheVersionAndOpensTheSearchOnAFirstRun) {
    keepSplash = true;
    StartProgram();
    frmAboutLintora& about = w->About();
    int searches = 0;
    w->hooks.showSearchWindow = [&] { ++searches; };
    Shot(&about, "splash");
    EXPECT_TRUE(started);
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(about.isVisible());
    EXPECT_EQ(about.lblVersion->text(), "Version 1.1");
    EXPECT_EQ(about.windowTitle(), "About Lintora");
    EXPECT_TRUE(about.Timer1->isActive());
    EXPECT_EQ(about.Timer1->interval(), 1000);
    about.Timer1_Timer();
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(searches, 1);
    // A remembered work file: nothing more opens.
    SaveStartupSetting("datFilename", "family.lnt");
    about.Timer1_Timer();
    EXPECT_EQ(searches, 1);

    // The progress display writes into the version line.
    about.Start(200);
    about.SetLabel("Reading family.ged (60000)");
    about.Set(100);
    EXPECT_TRUE(about.ProgressBar1->isVisible());
    EXPECT_EQ(about.ProgressBar1->value(), 100);
    Shot(&about, "progress");
    about.End();
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.lblVersion->text(), "Version 1.1");

    // Help > About: the about box, then the list of formats.
    QTimer::singleShot(0, [&] { about.Command1_Click(); });
    ui.Answer(MsgResult::Ok);
    w->mnuHelpItem_Click(0);
    ASSERT_FALSE(ui.boxes.empty());
    const std::string formats = ui.boxes.back().text;
    EXPECT_EQ(formats.rfind("This version of Lintora recognizes the following formats:\n \nLDS ", 0), 0u);
    EXPECT_NE(formats.find("\n     AFN records - Individual, Family, and Pedigree\n"), std::string::npos);
    EXPECT_NE(formats.find("\nGenCircles\n     Individual/Family records\n     Pedigree\n"), std::string::npos);
    EXPECT_EQ(formats.substr(formats.size() - 13), "     Pedigree");
    EXPECT_EQ(std::count(formats.begin(), formats.end(), '\n'), 17);
    EXPECT_EQ(ui.boxes.back().icon, MsgIcon::Information);
}

}  // namespace
}  // namespace lintora
