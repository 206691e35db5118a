// Notes and links through the real editor window.
#include <QAction>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include "files/file_loading.h"
#include "files/file_saving.h"
#include "record_store/notes.h"
#include "record_store/undo.h"
#include "tests/editor/editor_support.h"
#include "tests/support/table_checks.h"

namespace lintora {
namespace {

namespace fs = std::filesystem;
using testing::EditorTest;
using testing::TablesInUse;
using testing::Text;
using testing::Type;

std::string NotesBox(const Lintoraedit& w) { return w.iNotes->toPlainText().toStdString(); }

// A scratch folder for files, also holding the settings.
class EditorFilesTest : public EditorTest {
protected:
    fs::path dir;
    void SetUp() override {
        EditorTest::SetUp();
        std::random_device rd;
        dir = fs::temp_directory_path() / ("lintora-editor-" + std::to_string(rd()) + std::to_string(rd()));
        fs::create_directories(dir / "config");
        fs::create_directories(dir / "app");
        setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
        setenv("XDG_DATA_HOME", (dir / "data").c_str(), 1);
        g.AppPath = (dir / "app").string();
        const fs::path project = LINTORA_SOURCE_DIR;
        fs::copy_file(project / "files" / "Lintora11.dat", dir / "app" / "Lintora11.dat");
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir, ec);
        EditorTest::TearDown();
    }
    void Load(const fs::path& p) {
        w.Discard();
        g.AppPath = (dir / "app").string();
        LoadFile(p.string());
    }
};

TEST_F(EditorFilesTest, SavedDateSurvivesAWorkFileSaveAndReload) {
    OpenEditor(12, 0);
    Type(w.ibDate, " 1 Apr 1851");
    w.EditIndivButton_Click();
    w.CancelEditButton_Click();
    ui.fileAnswers.push_back((dir / "smith").string());
    ui.Answer(MsgResult::Ok);
    ASSERT_TRUE(SaveFile(kAskForName, "LNT"));
    ResetProgramState();
    Load(dir / "smith.lnt");
    // The removed person is not written, so Thomas comes back one place earlier.
    ASSERT_EQ(g.IndivCount, 13);
    ASSERT_EQ(g.Indiv[11].iGivn.value(), "Thomas");
    OpenEditor(11, 0);
    EXPECT_EQ(Text(w.ibDate), " 1 Apr 1851");
    EXPECT_EQ(Text(w.iSurn), " Smith");
}

TEST_F(EditorFilesTest, GedcomNotesShowWholeLinesAndUnchangedSavesAddNone) {
    const fs::path ged = dir / "notes.ged";
    std::ofstream(ged) << "0 HEAD\r\n1 CHAR ASCII\r\n"
                          "0 @I1@ INDI\r\n1 NAME Anna /Weber/\r\n1 SEX F\r\n"
                          "1 NOTE Anna kept the inn at the old \r\n2 CONC mill for forty years.\r\n"
                          "1 NOTE She was buried beside her husband.\r\n"
                          "0 TRLR\r\n";
    ResetProgramState();
    Load(ged);
    ASSERT_EQ(g.IndivCount, 1);
    OpenEditor(1, 2);
    EXPECT_EQ(NotesBox(w),
              " Anna kept the inn at the old mill for forty years.\nShe was buried beside her husband.");
    EXPECT_EQ(w.SSTab1->tabText(2).toStdString(), "Notes*");

    // The notes box edited and put back stays marked; ten saves add no lines.
    const int32_t lines = g.NotesCount;
    w.iNotes->setPlainText(w.iNotes->toPlainText() + "!");
    EXPECT_EQ(g.IndivNoteChanged, "Y");
    w.iNotes->setPlainText(w.iNotes->toPlainText().chopped(1));
    for (int i = 0; i < 10; ++i) {
        Type(w.ibDate, " " + std::to_string(1800 + i));
        ASSERT_TRUE(w.SaveIndivEdit());
    }
    EXPECT_EQ(g.NotesCount, lines);
    EXPECT_EQ(g.Indiv[1].iNoteFlg.value(), "Y");

    // Emptying the box is a change, and the save leaves no notes.
    w.iNotes->setPlainText("");
    EXPECT_EQ(Text(w.CancelEditButton), "Refresh");
    w.EditIndivButton_Click();
    EXPECT_EQ(g.Indiv[1].iNoteFlg.value(), "N");
    OpenEditor(1, 2);
    EXPECT_EQ(NotesBox(w), " ");
    EXPECT_EQ(w.SSTab1->tabText(2).toStdString(), "Notes");
}

TEST_F(EditorTest, FamilyNotesFollowTheMarriageChosen) {
    g.FamilNoteText = "Married in the parish church.";
    StoreNotes("F", 2, "Y");
    const int32_t second = Family(12, 14, {}, "1880");
    OpenEditor(12, 2);
    ASSERT_EQ(g.CurFamil, 2);
    w.cmdNotesSw_Click();
    EXPECT_EQ(Text(w.cmdNotesSw), "Show Individual Notes");
    EXPECT_EQ(NotesBox(w), " Married in the parish church.");
    w.iNotes->setPlainText("Married in the parish church of St Mary.");
    EXPECT_EQ(g.FamilNoteChanged, "Y");
    EXPECT_EQ(Text(w.CancelEditButton), "Refresh");
    // The switch back and forth keeps the edit and marks nothing new.
    w.cmdNotesSw_Click();
    EXPECT_EQ(NotesBox(w), " ");
    w.cmdNotesSw_Click();
    EXPECT_EQ(NotesBox(w), "Married in the parish church of St Mary.");

    // Another marriage chosen: the pending edit is offered first and stored
    // with its own marriage; the box then shows the chosen one's notes.
    ui.Answer(MsgResult::Yes);
    w.iSpousesList->setCurrentIndex(1);
    w.iSpousesList_Click(1);
    EXPECT_EQ(ui.boxes.back().text, "Changes to Thomas Smith have not been saved.\nWould you like to save them now?");
    EXPECT_EQ(g.CurFamil, second);
    EXPECT_EQ(Text(w.imDate), " 1880");
    EXPECT_EQ(Text(w.cmdNotesSw), "Show Individual Notes");
    EXPECT_EQ(NotesBox(w), " ");
    EXPECT_EQ(g.FamilNoteChanged, "N");
    EXPECT_NE(g.Famil[second].fNoteFlg.value(), "Y");
    // An edit there is stored with that marriage.
    w.iNotes->setPlainText("Married at Leeds.");
    EXPECT_EQ(Text(w.CancelEditButton), "Refresh");
    w.EditIndivButton_Click();
    EXPECT_EQ(g.Famil[second].fNoteFlg.value(), "Y");
    // Each marriage shows its own notes when chosen again.
    w.iSpousesList->setCurrentIndex(0);
    w.iSpousesList_Click(0);
    EXPECT_EQ(NotesBox(w), " Married in the parish church of St Mary.");
    w.cmdNotesSw_Click();
    w.cmdNotesSw_Click();
    EXPECT_EQ(NotesBox(w), " Married in the parish church of St Mary.");
    // An edit answered No goes with the marriage it was typed for.
    w.iNotes->setPlainText("Not kept.");
    ui.Answer(MsgResult::No);
    w.iSpousesList->setCurrentIndex(1);
    w.iSpousesList_Click(1);
    EXPECT_EQ(NotesBox(w), " Married at Leeds.");
    EXPECT_EQ(Text(w.CancelEditButton), "OK");
    w.iSpousesList->setCurrentIndex(0);
    w.iSpousesList_Click(0);
    EXPECT_EQ(NotesBox(w), " Married in the parish church of St Mary.");
    // The individual's notes are not touched by the choice.
    w.cmdNotesSw_Click();
    EXPECT_EQ(NotesBox(w), " ");
    EXPECT_NE(g.Indiv[12].iNoteFlg.value(), "Y");

    // Choosing a marriage with nothing changed is no edit.
    OpenEditor(12, 1);
    w.iSpousesList->setCurrentIndex(1);
    w.iSpousesList_Click(1);
    EXPECT_EQ(Text(w.CancelEditButton), "OK");
    // An edited marriage date is not lost to the choice without a question.
    Type(w.imDate, " 1881");
    ui.Answer(MsgResult::Yes);
    w.iSpousesList->setCurrentIndex(0);
    w.iSpousesList_Click(0);
    EXPECT_EQ(g.Famil[second].fmDate.value(), "1881");
    EXPECT_EQ(g.CurFamil, 2);
    EXPECT_EQ(Text(w.imDate), " 3 May 1874");
}

TEST_F(EditorTest, LinkingAndUnlinkingSpouses) {
    const TablesInUse before = TablesInUse::Now();
    const int32_t families = g.FamilCount;
    OpenEditor(14, 1);
    EXPECT_TRUE(w.mnuLink->isEnabled());
    w.mnuLinkItem_Click(0);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(listHints.back(), "I:Double-click to select spouse for Mary Green");

    // The pick comes back from the list window.
    LinkSpouse(13);
    ASSERT_EQ(g.FamilCount, families + 1);
    const FamilRec& f = g.Famil[g.FamilCount];
    EXPECT_EQ(f.fHusb, 13);
    EXPECT_EQ(f.fWife, 14);
    EXPECT_EQ(g.Indiv[13].iFamsCount, 1);
    EXPECT_EQ(g.Indiv[14].iFamsCount, 1);
    EXPECT_EQ(main.statusLabels.back(), "John Black linked as Mary Green's spouse.");
    EXPECT_EQ(main.undoTips.back(), "Unlink spouse of Mary Green");
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.SSTab1->currentIndex(), 1);
    ASSERT_EQ(w.iSpousesList->count(), 1);
    EXPECT_EQ(w.iSpousesList->itemText(0).toStdString(), "John Black");
    EXPECT_EQ(g.DataChanged, "Y");
    testing::ExpectTablesConsistent();

    // Undo takes back exactly the link.
    w.mnuUndoItem_Click();
    EXPECT_EQ(TablesInUse::Now(), before);

    // Link again, then unlink: the family goes, the links are as before.
    OpenEditor(14, 1);
    LinkSpouse(13);
    ui.Answer(MsgResult::Yes);
    w.mnuLinkItem_Click(1);
    EXPECT_EQ(ui.boxes.back().title, "Are you sure?");
    EXPECT_EQ(ui.boxes.back().text, "Remove John Black as spouse of Mary Green?");
    EXPECT_EQ(main.statusLabels.back(), "Mary Green is unlinked from FAMC record");
    EXPECT_EQ(g.Famil[g.FamilCount].fTree, kRemovedTree);
    EXPECT_EQ(g.Famil[g.FamilCount].fHusb, 0);
    for (int32_t i : {13, 14}) {
        EXPECT_EQ(g.Indiv[i].iFamsCount, 0);
        EXPECT_EQ(g.Indiv[i].iFamc, before.indiv[i].iFamc);
    }
    EXPECT_EQ(w.iSpousesList->count(), 0);

    // Without a spouse there is nothing to unlink.
    ui.Answer(MsgResult::Ok);
    w.mnuLinkItem_Click(1);
    EXPECT_EQ(ui.boxes.back().text, "Mary Green cannot be unlinked from spouse.");

    // Himself, an unknown record and a removed person are refused.
    for (int32_t bad : {14, 99999, 5}) {
        ui.Answer(MsgResult::Ok);
        LinkSpouse(bad);
        EXPECT_TRUE(ui.boxes.back().text.find("cannot be linked as spouse of") != std::string::npos) << bad;
    }
    EXPECT_EQ(g.FamilCount, families + 1);
    testing::ExpectTablesConsistent();
}

TEST_F(EditorTest, UnlinkingASpouseWithChildren) {
    // The question about the children dismissed: nothing is unlinked.
    OpenEditor(12, 1);
    const TablesInUse before = TablesInUse::Now();
    const std::size_t tips = main.undoTips.size();
    ui.Answer(MsgResult::Yes);
    ui.Answer(MsgResult::Dismissed);
    w.mnuLinkItem_Click(1);
    EXPECT_EQ(ui.boxes.back().title, "What about the children?");
    EXPECT_TRUE(TablesInUse::Now() == before);
    EXPECT_EQ(main.undoTips.size(), tips);

    // Keeping the children: a new "<unknown>" stands in Thomas's place.
    const int32_t people = g.IndivCount;
    ui.Answer(MsgResult::Yes);
    ui.Answer(MsgResult::No);
    w.mnuLinkItem_Click(1);
    EXPECT_EQ(ui.boxes.back().title, "What about the children?");
    EXPECT_EQ(ui.boxes.back().text, "Unlink children from Thomas Smith as well?");
    ASSERT_EQ(g.IndivCount, people + 1);
    EXPECT_EQ(g.Famil[2].fHusb, people + 1);
    EXPECT_EQ(g.Indiv[people + 1].iName.value(), "<unknown>");
    EXPECT_EQ(g.Famil[2].fWife, 6);
    EXPECT_EQ(g.Indiv[7].iFamc, 2);
    EXPECT_EQ(g.Indiv[12].iFamsCount, 0);

    // With the children: they lose the family as child too.
    w.mnuUndoItem_Click();
    EXPECT_EQ(g.IndivCount, people);
    OpenEditor(12, 1);
    ui.Answer(MsgResult::Yes);
    ui.Answer(MsgResult::Yes);
    w.mnuLinkItem_Click(1);
    EXPECT_EQ(g.Famil[2].fTree, kRemovedTree);
    EXPECT_EQ(g.Indiv[7].iFamc, 0);
    EXPECT_EQ(g.Famil[2].fChilCount, 0);

    // A full table leaves the place empty instead of using a real record.
    w.mnuUndoItem_Click();
    OpenEditor(12, 1);
    g.IndivCount = kMaxIndiv;
    ui.Answer(MsgResult::Yes);
    ui.Answer(MsgResult::No);
    w.mnuLinkItem_Click(1);
    EXPECT_EQ(g.IndivCount, kMaxIndiv);
    EXPECT_EQ(g.Famil[2].fHusb, 0);
    EXPECT_EQ(g.Famil[2].fWife, 6);
}

TEST_F(EditorTest, ParentsAndChildrenLinks) {
    // Unlink from parents.
    OpenEditor(12, 1);
    ui.Answer(MsgResult::Yes);
    w.mnuLinkItem_Click(3);
    EXPECT_EQ(ui.boxes.back().text, "Remove Thomas Smith as child of \nWilliam Smith and Ann Brown?");
    EXPECT_EQ(g.Indiv[12].iFamc, 0);
    EXPECT_EQ(g.Famil[1].fChilCount, 2);
    EXPECT_EQ(main.undoTips.back(), "Relink Parents of Thomas Smith");
    EXPECT_TRUE(w.mnuLinkItem[2]->isEnabled());
    ui.Answer(MsgResult::Ok);
    w.mnuLinkItem_Click(3);
    EXPECT_EQ(ui.boxes.back().text, "Thomas Smith has no parents to unlink from.");

    // Link to parents through the marriages list.
    w.mnuLinkItem_Click(2);
    EXPECT_EQ(listHints.back(), "M:Double-click to select parents of Thomas Smith");
    LinkParents(1);
    EXPECT_EQ(g.Indiv[12].iFamc, 1);
    EXPECT_EQ(g.Famil[1].fChilCount, 3);
    EXPECT_EQ(main.statusLabels.back(), "Thomas Smith linked to new FAMC");
    // His own marriage cannot be his parents'.
    ui.Answer(MsgResult::Ok);
    LinkParents(2);
    EXPECT_EQ(g.Indiv[12].iFamc, 1);
    EXPECT_TRUE(ui.Showed("cannot be linked as child of family 2"));
    // Nor can his son's or his grandson's: William would be his own forebear.
    const int32_t grandsonMarriage = Family(7, 14, {}, "1899");
    const int32_t strangers = Family(13, 0, {});
    for (int32_t fam : {2, grandsonMarriage}) {
        OpenEditor(1, 1);
        ui.Answer(MsgResult::Ok);
        LinkParents(fam);
        EXPECT_EQ(ui.boxes.back().text,
                  "William Smith cannot be linked as child of family " + std::to_string(fam) + ".");
        EXPECT_EQ(g.Indiv[1].iFamc, 0);
        EXPECT_EQ(g.Famil[fam].fChilCount, 1 - (fam == grandsonMarriage));
    }
    LinkParents(strangers);
    EXPECT_EQ(g.Indiv[1].iFamc, strangers);
    EXPECT_EQ(main.statusLabels.back(), "William Smith linked to new FAMC");
    testing::ExpectTablesConsistent();

    // Unlink the children of the shown marriage: the two listed are named,
    // not the removed one; all three lose the family.
    OpenEditor(2, 1);
    ASSERT_EQ(w.ChildNums, (std::vector<int32_t>{3, 12}));
    ui.Answer(MsgResult::Yes);
    w.mnuLinkItem_Click(4);
    EXPECT_EQ(ui.boxes.back().text, "Unlink 2 child(ren) of \nWilliam Smith and Ann Brown?");
    EXPECT_EQ(main.statusLabels.back(), "2 child(ren) unlinked from William Smith and Ann Brown's FAMC record.");
    for (int32_t c : {3, 5, 12}) EXPECT_EQ(g.Indiv[c].iFamc, 0);
    ui.Answer(MsgResult::Ok);
    w.mnuLinkItem_Click(4);
    EXPECT_EQ(ui.boxes.back().text, "No children to unlink!");
    testing::ExpectTablesConsistent();
}

TEST_F(EditorTest, LinkingANewPersonNeedsHimAddedFirst) {
    OpenEditor(13, 1);
    w.mnuNavItem_Click(4);
    const int32_t added = g.IndivCount;
    ui.Answer(MsgResult::Ok);
    w.mnuLinkItem_Click(0);
    EXPECT_EQ(ui.boxes.back().text, "Name cannot be blank - please enter a name or Refresh");
    EXPECT_TRUE(listHints.empty());
    EXPECT_TRUE(w.isVisible());
    Type(w.iSurn, " Newman");
    w.mnuLinkItem_Click(0);
    EXPECT_FALSE(w.NewIndiv());
    EXPECT_EQ(g.Indiv[added].iSurn.value(), "Newman");
    EXPECT_EQ(listHints.back(), "I:Double-click to select spouse for Newman");
    CancelLinkMode();
    EXPECT_EQ(main.statusLabels.back(), "Selection canceled");
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(g.CurIndiv, added);
}

}  // namespace
}  // namespace lintora
