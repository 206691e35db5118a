// Walks through the real editor window: opening, editing, saving, undo,
// adding and stepping, the way the user reaches them.
#include <QAction>
#include <QMenu>

#include <QApplication>
#include <QCoreApplication>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <functional>
#include <utility>

#include "platform/qt/qt_platform.h"
#include "record_store/name_key.h"
#include "tests/editor/editor_support.h"
#include "tests/support/real_boxes.h"
#include "tests/support/table_checks.h"
#include "workspace/workspace.h"

namespace lintora {
namespace {

using testing::EditorTest;
using testing::Text;
using testing::Type;

TEST_F(EditorTest, OpenChangeSaveReopenAndUndoABirthDate) {
    const std::string parish = "St Mary the Virgin, Kingston upon Thames, Surrey, England";
    g.Indiv[12].ibPlace = parish;
    g.Indiv[12].idPlace = "Kingston upon Thames, Surrey, England";
    g.Famil[2].fmPlace = parish;
    // Each filled place box shows the beginning of its text.
    const auto placesFromTheStart = [&](const char* when) {
        for (QLineEdit* box : {w.iBplace, w.icPlace, w.iDplace, w.iblPlace, w.imPlace})
            EXPECT_EQ(box->cursorPosition(), 0) << when << " " << Text(box);
    };
    OpenEditor(12, 0);
    ASSERT_TRUE(w.isVisible());
    EXPECT_EQ(Text(w.iBplace), " " + parish);
    EXPECT_EQ(Text(w.imPlace), " " + parish);
    placesFromTheStart("opened");
    EXPECT_EQ(w.windowTitle().toStdString(), "12: Thomas Smith  (1850-1910)");
    EXPECT_EQ(Text(w.ibDate), " 12 Mar 1850");
    EXPECT_EQ(Text(w.iSex), "M");
    EXPECT_EQ(Text(w.iCDno), " 5");
    EXPECT_EQ(Text(w.iPIDno), " 0");
    EXPECT_EQ(Text(w.CancelEditButton), "OK");
    EXPECT_FALSE(w.EditIndivButton->isVisible());
    // Family tab: parents, the one live sibling, the marriage and its child.
    EXPECT_EQ(Text(w.iFather), " William Smith  (1820-1890)");
    EXPECT_EQ(Text(w.iMother), " Ann Brown  (1824-    )");
    ASSERT_EQ(w.iSiblingList->count(), 1);
    EXPECT_EQ(w.iSiblingList->item(0)->text().toStdString(), "   1848 - Sarah Smith");
    EXPECT_EQ(w.SiblingNums, std::vector<int32_t>{3});
    ASSERT_EQ(w.iSpousesList->count(), 1);
    EXPECT_EQ(w.iSpousesList->itemText(0).toStdString(), "Jane Doe");
    EXPECT_EQ(g.CurFamil, 2);
    EXPECT_EQ(Text(w.imDate), " 3 May 1874");
    EXPECT_EQ(w.ChildNums, std::vector<int32_t>{7});
    EXPECT_EQ(Text(w.lblChildren2), "1");
    // Source tab: the person's source with its repository.
    EXPECT_EQ(w.SourceListEdit->currentIndex(), 1);
    EXPECT_EQ(Text(w.SrcTitle), "Parish register");
    EXPECT_EQ(Text(w.ReposName), "Family History Library");
    // Link menu follows the tab.
    EXPECT_FALSE(w.mnuLink->isEnabled());
    EXPECT_FALSE(w.mnuLinkItem[2]->isEnabled());
    EXPECT_TRUE(w.mnuLinkItem[3]->isEnabled());

    // A character typed and deleted again is no change; case is.
    Type(w.iSurn, " Smithx");
    EXPECT_EQ(Text(w.CancelEditButton), "Refresh");
    Type(w.iSurn, " Smith ");
    EXPECT_EQ(Text(w.CancelEditButton), "OK");
    EXPECT_FALSE(w.EditIndivButton->isVisible());

    Type(w.ibDate, " 1 Apr 1851");
    EXPECT_EQ(Text(w.CancelEditButton), "Refresh");
    EXPECT_TRUE(w.EditIndivButton->isVisible());
    EXPECT_EQ(Text(w.EditIndivButton), "Save");
    const int builds = main.builds;
    w.EditIndivButton_Click();
    EXPECT_EQ(Text(w.CancelEditButton), "Done");
    EXPECT_FALSE(w.EditIndivButton->isVisible());
    EXPECT_EQ(g.Indiv[12].ibDate.value(), "1 Apr 1851");
    EXPECT_EQ(g.DataChanged, "Y");
    EXPECT_EQ(w.windowTitle().toStdString(), "Thomas Smith  (1851-1910)");
    EXPECT_EQ(main.undoTips.back(), "UnDo changes to Thomas Smith");
    EXPECT_EQ(w.StatusMsg, "Thomas Smith has been changed");
    EXPECT_EQ(main.builds, builds + 1);
    EXPECT_EQ(g.TreeSlot[0], 1);

    // Closing and reopening shows the stored date.
    w.CancelEditButton_Click();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(g.CurIndiv, 0);
    EXPECT_EQ(main.inetTip, "Search Internet Sites");
    OpenEditor(12, 0);
    EXPECT_EQ(Text(w.ibDate), " 1 Apr 1851");
    placesFromTheStart("reopened");
    Type(w.iBplace, " Kingston upon Thames, Surrey, England, United Kingdom");
    w.CancelEditButton_Click();  // Refresh
    EXPECT_EQ(Text(w.iBplace), " " + parish);
    placesFromTheStart("refreshed");
    w.iSpousesList->setCurrentIndex(0);
    w.iSpousesList_Click(0);
    placesFromTheStart("marriage chosen");

    // Undo from the editor brings the old date back, in the record and the box.
    ASSERT_TRUE(w.mnuUndoItem->isEnabled());
    w.mnuUndoItem_Click();
    EXPECT_EQ(g.Indiv[12].ibDate.value(), "12 Mar 1850");
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(Text(w.ibDate), " 12 Mar 1850");
    EXPECT_EQ(Text(w.CancelEditButton), "OK");

    // His wife made a man: the two exchange their roles in their family,
    // his parents' family keeps its own.
    w.mnuTabsItem_Click(1);
    w.iGoToSpouse_Click();
    ASSERT_EQ(g.CurIndiv, 6);
    Type(w.iSex, "M");
    w.EditIndivButton_Click();
    EXPECT_EQ(g.Indiv[6].iSex.value(), "M");
    EXPECT_EQ(g.Indiv[12].iSex.value(), "F");
    EXPECT_EQ(g.Famil[2].fHusb, 6);
    EXPECT_EQ(g.Famil[2].fWife, 12);
    EXPECT_EQ(g.Indiv[7].iFamc, 2);
    EXPECT_EQ(g.Famil[1].fHusb, 1);
    EXPECT_EQ(g.Famil[1].fWife, 2);
    testing::ExpectTablesConsistent();
    OpenEditor(6, 1);
    ASSERT_EQ(w.iSpousesList->count(), 1);
    EXPECT_EQ(w.iSpousesList->itemText(0).toStdString(), "Thomas Smith");
    EXPECT_EQ(w.ChildNums, std::vector<int32_t>{7});
}

TEST_F(EditorTest, BoxesThatCannotBeStoredAsTyped) {
    OpenEditor(12, 4);
    EXPECT_EQ(w.SSTab1->currentIndex(), 4);
    // Sex: only M, F or U, checked when the box is left.
    Type(w.iSex, "m");
    ui.Answer(MsgResult::Ok);
    w.iSex_LostFocus();
    EXPECT_EQ(ui.boxes.back().text, "Sex must be either M, F, or U");
    EXPECT_EQ(ui.boxes.back().icon, MsgIcon::Exclamation);
    EXPECT_EQ(Text(w.iSex), "M");
    EXPECT_EQ(Text(w.CancelEditButton), "OK");

    // An emptied CD box reads 0, a change for a stored 5.
    Type(w.iCDno, "");
    EXPECT_EQ(Text(w.iCDno), "0");
    EXPECT_EQ(Text(w.CancelEditButton), "Refresh");
    Type(w.iCDno, " 5.4");
    EXPECT_EQ(Text(w.CancelEditButton), "OK");
    // An unreadable number is a change; saving keeps the old number and says why.
    Type(w.iCDno, " 5x");
    EXPECT_EQ(Text(w.CancelEditButton), "Refresh");
    Type(w.iPIDno, " 4.5");
    ui.Answer(MsgResult::Ok);
    ASSERT_TRUE(w.SaveIndivEdit());
    EXPECT_EQ(ui.boxes.back().text, "CD# \"5x\" is not a whole number from -32768 to 32767; 5 is kept.");
    EXPECT_EQ(g.Indiv[12].iCDno, 5);
    EXPECT_EQ(g.Indiv[12].iPIDno, 4);  // a half goes to the even number
    EXPECT_EQ(Text(w.iCDno), " 5");

    // A sex typed in without leaving the box is still refused by the save.
    Type(w.iSex, "x");
    EXPECT_EQ(Text(w.CancelEditButton), "Refresh");
    Type(w.iNick, " Tom");
    ui.Answer(MsgResult::Ok);
    ASSERT_TRUE(w.SaveIndivEdit());
    EXPECT_EQ(ui.boxes.back().text, "Sex must be either M, F, or U");
    EXPECT_EQ(g.Indiv[12].iSex.value(), "M");
    EXPECT_EQ(g.Indiv[12].iNick.value(), "Tom");

    // A slash in a name asks; No still leaves the buttons telling the truth.
    ui.Answer(MsgResult::No);
    Type(w.iGivn, " Thomas/");
    EXPECT_TRUE(ui.Showed("Unpredicable results may occur. Do you wish to inckude them, anyway?"));
    EXPECT_EQ(Text(w.CancelEditButton), "Refresh");

    // The source pick moves the citation; picking the own source again is no change.
    w.CancelEditButton_Click();  // Refresh
    EXPECT_EQ(Text(w.iGivn), " Thomas");
    EXPECT_EQ(Text(w.CancelEditButton), "OK");
    w.SourceListEdit->setCurrentIndex(2);
    EXPECT_EQ(Text(w.SrcTitle), "Census 1851");
    EXPECT_EQ(Text(w.ReposName), "");
    EXPECT_EQ(Text(w.CancelEditButton), "Refresh");
    w.SourceListEdit->setCurrentIndex(1);
    EXPECT_EQ(Text(w.CancelEditButton), "OK");
    w.SourceListEdit->setCurrentIndex(0);
    g.Source[1].sCitations = 0;  // a count that is already wrong never goes below 0
    w.EditIndivButton_Click();
    EXPECT_EQ(g.Indiv[12].iSource, 0);
    EXPECT_EQ(g.Source[1].sCitations, 0);
    EXPECT_EQ(Text(w.SrcTitle), "");

    // Both names empty: no save, and no closing.
    Type(w.iGivn, " ");
    Type(w.iSurn, " ");
    ui.Answer(MsgResult::Ok);
    EXPECT_FALSE(w.SaveIndivEdit());
    EXPECT_EQ(ui.boxes.back().text, "Name cannot be blank - please enter a name or Refresh");
    EXPECT_EQ(g.Indiv[12].iSurn.value(), "Smith");
}

TEST_F(EditorTest, PrefixAndSuffixRebuildTheDisplayName) {
    OpenEditor(12, 0);
    Type(w.iSuffix, " Jr.");
    Type(w.iPrefix, " Rev.");
    w.EditIndivButton_Click();
    EXPECT_EQ(g.Indiv[12].iName.value(), "Rev. Thomas Smith Jr.");
    EXPECT_EQ(w.StatusMsg, "Rev. Thomas Smith Jr. has been changed");
    // A given name of two words keys on the first.
    Type(w.iGivn, " Tom Henry");
    w.EditIndivButton_Click();
    EXPECT_EQ(g.Indiv[12].iNameKey.padded().substr(0, 10), NameKeyHalf("Tom"));

    // A stored slash is pointed out as the person is shown, and is no edit.
    g.Indiv[13].iSurn = "Black/White";
    ui.Answer(MsgResult::No);
    OpenEditor(13, 0);
    EXPECT_EQ(ui.boxes.back().icon, MsgIcon::Question);
    EXPECT_EQ(Text(w.CancelEditButton), "OK");
}

TEST_F(EditorTest, AddingAnIndividual) {
    const int32_t before = g.IndivCount;
    OpenEditor(12, 0);

    // Add, type a surname, then Next, answering No: nobody is added.
    w.mnuNavItem_Click(4);
    EXPECT_EQ(g.IndivCount, before + 1);
    EXPECT_TRUE(w.NewIndiv());
    EXPECT_EQ(w.windowTitle().toStdString(), "Add Individual");
    EXPECT_EQ(Text(w.CancelEditButton), "Cancel");
    Type(w.iSurn, " Newman");
    EXPECT_EQ(Text(w.CancelEditButton), "Refresh");
    EXPECT_EQ(Text(w.EditIndivButton), "Add");
    ui.Answer(MsgResult::No);
    w.btnNext_Click();
    EXPECT_EQ(ui.boxes.back().title, "A gentle reminder");
    EXPECT_EQ(ui.boxes.back().text, " Newman has not been added.\nWould you like to add this individual now?");
    EXPECT_EQ(g.IndivCount, before);
    EXPECT_EQ(main.statusLabels.back(), "Canceled. Individual not added..");
    EXPECT_FALSE(w.NewIndiv());
    EXPECT_EQ(g.CurIndiv, 1);  // Next from nobody is the first record

    // Add with nothing entered, then Previous: dropped without a question.
    w.mnuNavItem_Click(4);
    w.btnPrev_Click();
    EXPECT_EQ(g.IndivCount, before);
    EXPECT_EQ(g.CurIndiv, before);

    // Add, Undo, Cancel loses nobody.
    Type(w.iNick, " Tommy");
    w.EditIndivButton_Click();  // a snapshot to undo to
    w.mnuNavItem_Click(4);
    EXPECT_EQ(g.IndivCount, before + 1);
    w.mnuUndoItem_Click();
    EXPECT_FALSE(w.NewIndiv());
    EXPECT_EQ(g.IndivCount, before);
    w.CancelEditButton_Click();
    EXPECT_EQ(g.IndivCount, before);
    EXPECT_EQ(g.Indiv[before].iSurn.value(), "Green");
    EXPECT_FALSE(w.isVisible());

    // Add and keep: the person is filled and add mode ends.
    OpenEditor(1, 0);
    w.mnuNavItem_Click(4);
    Type(w.iGivn, " Peter");
    Type(w.iSurn, " Newman");
    Type(w.iSex, "M");
    w.EditIndivButton_Click();
    EXPECT_EQ(g.IndivCount, before + 1);
    EXPECT_EQ(g.Indiv[before + 1].iName.value(), "Peter Newman");
    EXPECT_EQ(w.StatusMsg, "Peter Newman has been added");
    EXPECT_FALSE(w.NewIndiv());
    w.CancelEditButton_Click();
    EXPECT_EQ(g.IndivCount, before + 1);

    // A full table enters no add mode, so Cancel cannot drop a real person.
    OpenEditor(1, 0);
    g.IndivCount = kMaxIndiv;
    ui.Answer(MsgResult::Ok);
    w.mnuNavItem_Click(4);
    EXPECT_TRUE(ui.Showed("Individual table is full"));
    EXPECT_FALSE(w.NewIndiv());
    EXPECT_EQ(g.CurIndiv, 1);
    w.CancelEditButton_Click();
    EXPECT_EQ(g.IndivCount, kMaxIndiv);
}

// The main window's Edit > Add new Individual appends the blank record and
// opens the editor on it, as Lintora::AddNewIndividual does: the editor is in
// add mode, and Cancel leaves no nameless person behind.
TEST_F(EditorTest, AddFromTheMainWindowOpensInAddModeAndCancelDropsTheRecord) {
    const int32_t before = g.IndivCount;
    const int32_t added = AddIndiv();
    ASSERT_EQ(added, before + 1);
    g.CurIndiv = added;
    g.NewIndivFlag = "Y";
    w.LoadIndivEdit(0);
    EXPECT_TRUE(w.NewIndiv());
    EXPECT_EQ(g.NewIndivFlag, "N");
    EXPECT_EQ(w.windowTitle().toStdString(), "Add Individual");
    EXPECT_EQ(Text(w.CancelEditButton), "Cancel");
    const std::size_t asked = ui.boxes.size();
    w.CancelEditButton_Click();
    EXPECT_EQ(ui.boxes.size(), asked);  // no "Name cannot be blank"
    EXPECT_EQ(g.IndivCount, before);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(main.statusLabels.back(), "Canceled. Individual not added..");

    // Named and added the same way, the person stays.
    g.CurIndiv = AddIndiv();
    g.NewIndivFlag = "Y";
    w.LoadIndivEdit(0);
    Type(w.iSurn, " Newman");
    EXPECT_EQ(Text(w.EditIndivButton), "Add");
    w.EditIndivButton_Click();
    EXPECT_EQ(g.IndivCount, before + 1);
    EXPECT_EQ(g.Indiv[before + 1].iSurn.value(), "Newman");
    EXPECT_FALSE(w.NewIndiv());
}

// Yes to the reminder while both names are blank: the save refuses, and the
// user stays on the person with everything as typed, whichever way he
// tried to leave.
TEST_F(EditorTest, ASaveThatRefusesKeepsTheUserOnThePerson) {
    Family(12, 14, {}, "1880");
    OpenEditor(12, 0);
    Type(w.iGivn, " ");
    Type(w.iSurn, " ");
    Type(w.ibDate, " 1 Apr 1851");
    const auto refusedAgain = [&](const char* how) {
        EXPECT_EQ(ui.boxes.back().text, "Name cannot be blank - please enter a name or Refresh") << how;
        EXPECT_TRUE(w.isVisible()) << how;
        EXPECT_EQ(g.CurIndiv, 12) << how;
        EXPECT_EQ(Text(w.ibDate), " 1 Apr 1851") << how;
        EXPECT_EQ(Text(w.CancelEditButton), "Refresh") << how;
    };
    ui.Answer(MsgResult::Yes);
    ui.Answer(MsgResult::Ok);
    QTest::mouseClick(w.btnNext, Qt::LeftButton);
    EXPECT_EQ(ui.boxes.front().text, "Changes to   have not been saved.\nWould you like to save them now?");
    refusedAgain("Next");
    ui.Answer(MsgResult::Yes);
    ui.Answer(MsgResult::Ok);
    QTest::keyClick(&w, Qt::Key_Escape);
    refusedAgain("Escape");
    ui.Answer(MsgResult::Yes);
    ui.Answer(MsgResult::Ok);
    w.mnuNavItem_Click(2);
    refusedAgain("List Individuals");
    EXPECT_TRUE(listHints.empty());
    ui.Answer(MsgResult::Ok);
    w.mnuLinkItem_Click(0);
    refusedAgain("Link to New Spouse");
    EXPECT_TRUE(listHints.empty());
    ui.Answer(MsgResult::Yes);
    ui.Answer(MsgResult::Ok);
    ChooseMarriage(1);
    refusedAgain("another marriage");
    EXPECT_EQ(g.CurFamil, 2);
    EXPECT_EQ(w.iSpousesList->currentIndex(), 0);
    EXPECT_EQ(Text(w.imDate), " 3 May 1874");
    EXPECT_EQ(g.Indiv[12].ibDate.value(), "12 Mar 1850");
    // Named again, the same Next saves and moves on.
    Type(w.iSurn, " Smith");
    ui.Answer(MsgResult::Yes);
    QTest::mouseClick(w.btnNext, Qt::LeftButton);
    EXPECT_EQ(g.Indiv[12].ibDate.value(), "1 Apr 1851");
    EXPECT_EQ(g.CurIndiv, 13);

    // A new person with only a date typed: Yes keeps him and the date.
    const int32_t before = g.IndivCount;
    w.mnuNavItem_Click(4);
    Type(w.ibDate, " 1900");
    ui.Answer(MsgResult::Yes);
    ui.Answer(MsgResult::Ok);
    QTest::mouseClick(w.btnPrev, Qt::LeftButton);
    EXPECT_EQ(ui.boxes.back().text, "Name cannot be blank - please enter a name or Refresh");
    EXPECT_TRUE(w.NewIndiv());
    EXPECT_EQ(g.IndivCount, before + 1);
    EXPECT_EQ(g.CurIndiv, before + 1);
    EXPECT_EQ(Text(w.ibDate), " 1900");
    Type(w.iSurn, " Newman");
    ui.Answer(MsgResult::Yes);
    QTest::mouseClick(w.btnPrev, Qt::LeftButton);
    EXPECT_EQ(g.Indiv[before + 1].iSurn.value(), "Newman");
    EXPECT_EQ(g.Indiv[before + 1].ibDate.value(), "1900");
    EXPECT_EQ(g.CurIndiv, before);
}

// Escape or the close button at a reminder decides nothing: the user stays
// on the person with everything as typed, nothing saved and nothing dropped,
// whichever way he tried to leave.
TEST_F(EditorTest, ADismissedReminderKeepsTheUserOnThePersonAndWhatWasTyped) {
    Family(12, 14, {}, "1880");
    OpenEditor(12, 0);
    Type(w.ibDate, " 1 Apr 1851");
    const std::size_t hidden = listHints.size();
    const auto kept = [&](const char* how) {
        EXPECT_EQ(ui.boxes.back().text, "Changes to Thomas Smith have not been saved.\nWould you like to save them now?")
            << how;
        EXPECT_EQ(ui.boxes.back().title, "A gentle reminder") << how;
        EXPECT_TRUE(w.isVisible()) << how;
        EXPECT_EQ(g.CurIndiv, 12) << how;
        EXPECT_EQ(Text(w.ibDate), " 1 Apr 1851") << how;
        EXPECT_EQ(Text(w.CancelEditButton), "Refresh") << how;
        EXPECT_EQ(g.Indiv[12].ibDate.value(), "12 Mar 1850") << how;
        EXPECT_EQ(listHints.size(), hidden) << how;
    };
    const std::pair<const char*, std::function<void()>> ways[] = {
        {"Next", [&] { QTest::mouseClick(w.btnNext, Qt::LeftButton); }},
        {"Previous", [&] { QTest::mouseClick(w.btnPrev, Qt::LeftButton); }},
        {"father", [&] { w.iGoToFather_Click(); }},
        {"mother", [&] { w.iGoToMother_Click(); }},
        {"spouse", [&] { w.iGoToSpouse_Click(); }},
        {"child", [&] { w.iChildrenList_Click(0); }},
        {"sibling", [&] { w.iSiblingList_Click(0); }},
        {"List Individuals", [&] { w.mnuNavItem_Click(2); }},
        {"List Marriages", [&] { w.mnuNavItem_Click(3); }},
        {"Add Individual", [&] { w.mnuNavItem_Click(4); }},
        {"Delete Individual", [&] { w.mnuNavItem_Click(5); }},
        {"pedigree", [&] { QTest::mouseClick(w.btnGoPedigree, Qt::LeftButton); }},
        {"Escape", [&] { QTest::keyClick(&w, Qt::Key_Escape); }},
        {"close button", [&] { w.close(); }},
    };
    for (const auto& [how, leave] : ways) {
        ui.Answer(MsgResult::Dismissed);
        leave();
        kept(how);
    }
    EXPECT_EQ(g.IndivCount, 14);
    EXPECT_EQ(g.PruneIndiv, 0);
    // Another marriage: the one shown stays chosen.
    ui.Answer(MsgResult::Dismissed);
    ChooseMarriage(1);
    kept("another marriage");
    EXPECT_EQ(g.CurFamil, 2);
    EXPECT_EQ(w.iSpousesList->currentIndex(), 0);

    // A new person being added, at the real boxes: Escape at the reminder on
    // Next, the close button at the one on closing the editor.
    w.CancelEditButton_Click();  // Refresh
    w.mnuNavItem_Click(4);
    const int32_t added = g.IndivCount;
    ASSERT_EQ(added, 15);
    Type(w.iGivn, " Peter");
    Type(w.iSurn, " Newman");
    QtPlatform real;
    InstallPlatform(&real);
    std::vector<std::string> asked;
    testing::DismissNextBox(true, &asked);
    QTest::mouseClick(w.btnNext, Qt::LeftButton);
    testing::DismissNextBox(false, &asked);
    w.close();
    InstallPlatform(&ui);
    EXPECT_EQ(asked, std::vector<std::string>(2, "Peter Newman has not been added.\nWould you like to add this "
                                                 "individual now?"));
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(w.NewIndiv());
    EXPECT_EQ(g.IndivCount, added);
    EXPECT_EQ(g.CurIndiv, added);
    EXPECT_EQ(Text(w.iSurn), " Newman");
    EXPECT_EQ(g.Indiv[added].iSurn.value(), "");
    // Yes then adds him as typed.
    ui.Answer(MsgResult::Yes);
    QTest::mouseClick(w.btnNext, Qt::LeftButton);
    EXPECT_EQ(g.Indiv[added].iName.value(), "Peter Newman");
    EXPECT_EQ(g.CurIndiv, 1);
}

// Every question and message of the editor, however it is reached, is the
// editor's own, so the editor stays in front of the main window.
TEST_F(EditorTest, TheEditorsQuestionsBelongToTheEditor) {
    OpenEditor(12, 0);
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    // Leaving the sex box with Tab.
    w.iSex->setFocus();
    QTest::keyClick(w.iSex, Qt::Key_Backspace);
    QTest::keyClicks(w.iSex, "m");
    ui.Answer(MsgResult::Ok);
    QTest::keyClick(w.iSex, Qt::Key_Tab);
    EXPECT_EQ(ui.boxes.back().text, "Sex must be either M, F, or U");
    // Typing a slash.
    ui.Answer(MsgResult::Yes);
    w.iGivn->setFocus();
    QTest::keyClicks(w.iGivn, "/");
    EXPECT_TRUE(ui.Showed("Do you wish to inckude them, anyway?"));
    // Next, with the reminder; Escape, with it again.
    ui.Answer(MsgResult::No);
    QTest::mouseClick(w.btnNext, Qt::LeftButton);
    EXPECT_EQ(g.CurIndiv, 13);
    QTest::keyClicks(w.iNick, " Jack");
    ui.Answer(MsgResult::No);
    QTest::keyClick(&w, Qt::Key_Escape);
    EXPECT_FALSE(w.isVisible());
    // A refusal from the link menu and the core's own questions (prune).
    OpenEditor(13, 1);
    ui.Answer(MsgResult::Ok);
    w.mnuLinkItem_Click(3);
    EXPECT_EQ(ui.boxes.back().text, "John Black has no parents to unlink from.");
    g.DataChanged = "Y";
    ui.Answer(MsgResult::Cancel);
    w.mnuNavItem_Click(5);
    EXPECT_EQ(ui.boxes.back().text, "Backup work before pruning?");
    EXPECT_TRUE(w.isVisible());
    ASSERT_EQ(ui.boxes.size(), 6u);
    for (const testing::ShownBox& box : ui.boxes)
        EXPECT_EQ(box.asker, static_cast<const QWidget*>(&w)) << box.text;
    // Asked from elsewhere, a box is not the editor's.
    ui.Answer(MsgResult::Ok);
    ShowInfo("Done");
    EXPECT_EQ(ui.boxes.back().asker, nullptr);
}

// The only new person dropped, with nobody else live: the editor closes
// rather than stay with buttons that can do nothing.
TEST_F(EditorTest, WithNobodyLeftTheEditorCloses) {
    for (int32_t i = 1; i <= g.IndivCount; ++i) g.Indiv[i].iTree = kRemovedTree;
    const int32_t before = g.IndivCount;
    ASSERT_TRUE(AddNewIndividual());
    Type(w.iSurn, " Newman");
    ui.Answer(MsgResult::No);
    QTest::mouseClick(w.btnNext, Qt::LeftButton);
    EXPECT_EQ(ui.boxes.back().text, " Newman has not been added.\nWould you like to add this individual now?");
    EXPECT_EQ(g.IndivCount, before);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(g.CurIndiv, 0);
    EXPECT_FALSE(w.NewIndiv());
    EXPECT_EQ(main.statusLabels.back(), "Canceled. Individual not added..");

    // An empty work: the same with nobody at all, and with Previous.
    ResetProgramState();
    ASSERT_TRUE(AddNewIndividual());
    Type(w.ibDate, " 1900");
    Type(w.iSurn, " Newman");
    ui.Answer(MsgResult::No);
    QTest::mouseClick(w.btnPrev, Qt::LeftButton);
    EXPECT_EQ(g.IndivCount, 0);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(g.CurIndiv, 0);
    // Opened again, the editor works as ever.
    ASSERT_TRUE(AddNewIndividual());
    EXPECT_EQ(Text(w.ibDate), " ");
    Type(w.iSurn, " Newman");
    QTest::mouseClick(w.EditIndivButton, Qt::LeftButton);
    EXPECT_EQ(g.IndivCount, 1);
    EXPECT_EQ(g.Indiv[1].iSurn.value(), "Newman");
}

TEST_F(EditorTest, SteppingWrapsSkipsRemovedAndStopsAfterOnePass) {
    OpenEditor(4, 3);
    w.btnNext_Click();
    EXPECT_EQ(g.CurIndiv, 6);  // 5 was removed
    EXPECT_EQ(w.SSTab1->currentIndex(), 3);
    w.btnPrev_Click();
    EXPECT_EQ(g.CurIndiv, 4);
    OpenEditor(g.IndivCount, 0);
    w.btnNext_Click();
    EXPECT_EQ(g.CurIndiv, 1);
    w.btnPrev_Click();
    EXPECT_EQ(g.CurIndiv, g.IndivCount);

    // Pending changes are offered for saving before the step.
    Type(w.iNick, " Polly");
    ui.Answer(MsgResult::Yes);
    w.btnPrev_Click();
    EXPECT_EQ(ui.boxes.back().text, "Changes to Mary Green have not been saved.\nWould you like to save them now?");
    EXPECT_EQ(g.Indiv[14].iNick.value(), "Polly");
    EXPECT_EQ(g.CurIndiv, 13);

    // Everybody else removed: the step ends on the one live person.
    for (int32_t i = 1; i <= g.IndivCount; ++i)
        if (i != 13) g.Indiv[i].iTree = kRemovedTree;
    w.btnNext_Click();
    EXPECT_EQ(g.CurIndiv, 13);
    g.Indiv[13].iTree = kRemovedTree;
    w.btnNext_Click();  // ends, showing the same record
    EXPECT_EQ(g.CurIndiv, 13);
}

TEST_F(EditorTest, GoingToRelativesOpensTheIndivTab) {
    OpenEditor(12, 1);
    w.iGoToFather_Click();
    EXPECT_EQ(g.CurIndiv, 1);
    EXPECT_EQ(w.SSTab1->currentIndex(), 0);
    OpenEditor(12, 1);
    w.iGoToMother_Click();
    EXPECT_EQ(g.CurIndiv, 2);
    OpenEditor(12, 1);
    w.iGoToSpouse_Click();
    EXPECT_EQ(g.CurIndiv, 6);
    OpenEditor(12, 1);
    w.iChildrenList_Click(0);
    EXPECT_EQ(g.CurIndiv, 7);
    OpenEditor(12, 1);
    w.iSiblingList_Click(0);
    EXPECT_EQ(g.CurIndiv, 3);
    w.iSiblingList_Click(5);  // no such row
    EXPECT_EQ(g.CurIndiv, 3);
    // No parents: nothing happens.
    OpenEditor(13, 1);
    EXPECT_FALSE(w.iGoToFather->isEnabled());
    w.iGoToFather_Click();
    EXPECT_EQ(g.CurIndiv, 13);
    EXPECT_TRUE(w.mnuLinkItem[2]->isEnabled());
    EXPECT_FALSE(w.mnuLinkItem[1]->isEnabled());
    // No marriage: the marriage boxes are off and family record 0 stays empty.
    EXPECT_FALSE(w.imDate->isEnabled());
    EXPECT_FALSE(w.cmdNotesSw->isEnabled());
    EXPECT_EQ(g.CurFamil, 0);
    Type(w.iNick, " Jack");
    w.EditIndivButton_Click();
    EXPECT_EQ(g.Famil[0], FamilRec{});
}

TEST_F(EditorTest, PedigreeButtonRemindsAndShowsThePerson) {
    OpenEditor(12, 0);
    Type(w.iNick, " Tom");
    ui.Answer(MsgResult::No);
    w.btnGoPedigree_Click();
    EXPECT_TRUE(ui.Showed("Changes to Thomas Smith have not been saved."));
    EXPECT_EQ(g.Indiv[12].iNick.value(), "");
    EXPECT_EQ(g.TreeSlot[0], 12);
    EXPECT_FALSE(w.isVisible());

    // A new person with a surname is added and becomes the root.
    OpenEditor(12, 0);
    w.mnuNavItem_Click(4);
    ui.Answer(MsgResult::Ok);
    w.btnGoPedigree_Click();
    EXPECT_EQ(ui.boxes.back().text, "Name cannot be blank - please enter a name or Cancel");
    Type(w.iSurn, " Newman");
    w.btnGoPedigree_Click();
    EXPECT_EQ(g.TreeSlot[0], g.IndivCount);
    EXPECT_EQ(g.Indiv[g.IndivCount].iSurn.value(), "Newman");
    EXPECT_FALSE(w.NewIndiv());

    // Shut-down closes a visible editor with the reminder first.
    OpenEditor(12, 0);
    Type(w.iNick, " Tom");
    ui.Answer(MsgResult::Yes);
    CloseEditor();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(g.Indiv[12].iNick.value(), "Tom");
}

// Prune from the editor's menu closes the editor: a change not yet saved is
// offered for saving first, as every other way out of the person does, and
// is kept even when the prune is then cancelled.
TEST_F(EditorTest, PruneFromTheMenuRemindsOfUnsavedChanges) {
    g.DataChanged = "N";
    OpenEditor(12, 0);
    Type(w.iNick, " Tom");
    ui.Answer(MsgResult::Yes);  // the reminder
    ui.Answer(MsgResult::No);   // "Backup work before pruning?"
    w.mnuNavItem_Click(5);
    EXPECT_TRUE(ui.Showed("Changes to Thomas Smith have not been saved."));
    EXPECT_EQ(g.Indiv[12].iNick.value(), "Tom");
    EXPECT_EQ(g.PruneIndiv, 12);
    EXPECT_EQ(g.PrunePending, "Y");
    CancelPrune();
    EXPECT_EQ(g.Indiv[12].iNick.value(), "Tom");
    EXPECT_EQ(g.IndivCount, 14);
}

}  // namespace
}  // namespace lintora

namespace lintora {
namespace {

// Each tab drawn to an image (LINTORA_EDITOR_SHOTS names the folder) so the
// layout can be looked at; every control stays inside the window.
TEST_F(EditorTest, EveryTabFitsTheWindow) {
    g.Indiv[12].ibPlace = "St Mary the Virgin, Kingston upon Thames, Surrey, England";
    OpenEditor(12, 0);
    Type(w.iNick, " Tom");
    const char* dir = std::getenv("LINTORA_EDITOR_SHOTS");
    for (int tab = 0; tab < 5; ++tab) {
        w.mnuTabsItem_Click(tab);
        QCoreApplication::processEvents();
        QWidget* page = w.SSTab1->widget(tab);
        for (QWidget* child : page->findChildren<QWidget*>()) {
            if (!child->isVisible()) continue;
            const QRect r(child->mapTo(page, QPoint(0, 0)), child->size());
            EXPECT_TRUE(page->rect().contains(r)) << "tab " << tab << " " << child->metaObject()->className();
        }
        if (dir) w.grab().save(QString("%1/editor_tab%2.png").arg(dir).arg(tab));
    }
    EXPECT_TRUE(w.rect().contains(QRect(w.EditIndivButton->mapTo(&w, QPoint(0, 0)), w.EditIndivButton->size())));
}

}  // namespace
}  // namespace lintora

namespace lintora {
namespace {

// The program's way in: OpenEditor returns only once the editor is hidden,
// and link mode hides it so the main window's list can be used.
TEST_F(EditorTest, OpenEditorWaitsUntilTheEditorIsClosed) {
    Lintoraedit::SetModalLoop(true);
    bool acted = false;
    QTimer::singleShot(0, [&] {
        acted = w.isVisible() && QApplication::activeModalWidget() == &w;
        Type(w.ibDate, " 1 Apr 1851");
        w.EditIndivButton_Click();
        w.CancelEditButton_Click();
    });
    OpenEditor(12, 0);
    EXPECT_TRUE(acted);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(g.Indiv[12].ibDate.value(), "1 Apr 1851");

    // Link to a new spouse: the editor steps aside, the pick brings it back.
    QTimer::singleShot(0, [&] { w.mnuLinkItem_Click(0); });
    OpenEditor(14, 1);
    EXPECT_FALSE(w.isVisible());
    ASSERT_EQ(listHints.back(), "I:Double-click to select spouse for Mary Green");
    QTimer::singleShot(0, [&] {
        acted = w.isVisible() && w.SSTab1->currentIndex() == 1;
        w.CancelEditButton_Click();
    });
    LinkSpouse(13);
    EXPECT_TRUE(acted);
    EXPECT_EQ(g.Famil[g.FamilCount].fHusb, 13);
    Lintoraedit::SetModalLoop(false);
}

}  // namespace
}  // namespace lintora
