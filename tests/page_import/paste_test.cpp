#include "page_import/paste.h"

#include <string>
#include <vector>

#include "record_store/linking.h"
#include "record_store/matching.h"
#include "record_store/program_state.h"
#include "record_store/tables.h"
#include "record_store/trees.h"
#include "record_store/undo.h"
#include "tests/page_import/page_support.h"
#include "tests/support/case_names.h"
#include "tests/support/scripted_platform.h"

namespace lintora {
namespace {

using testing::CleanState;
using testing::ReadPage;
using testing::RecordingWindows;
using testing::WithCrLf;

// Everything a paste may change in the record tables, compared whole, with
// the surname index and tree count derived from them.
struct Tables {
    std::vector<IndivRec> indiv;
    std::vector<FamilRec> famil;
    std::vector<NoteRec> notes;
    int32_t indivCount, familCount, notesCount;
    decltype(g.NameIdx) nameIdx;
    decltype(g.NameIdxCount) nameIdxCount;
    int32_t treeCount;

    static Tables Now() {
        return {g.Indiv,      g.Famil,   g.Notes,        g.IndivCount, g.FamilCount,
                g.NotesCount, g.NameIdx, g.NameIdxCount, g.TreeCount};
    }
    bool operator==(const Tables&) const = default;
};

const std::string kSampleResult = "5 Individuals added, 0 updated; 3 Families added, 0 updated (Tree #1)";

class PasteTest : public CleanState {
protected:
    RecordingWindows windows;
    std::string page = ReadPage("af_individual.txt");

    void SetUp() override {
        CleanState::SetUp();
        InstallWindowFakes(&windows);
        ASSERT_FALSE(page.empty());
    }
    void TearDown() override {
        RemoveWindowFakes();
        CleanState::TearDown();
    }

    static int32_t ByAFN(const std::string& afn) {
        for (int32_t i = 1; i <= g.IndivCount; ++i)
            if (g.Indiv[i].iAFN.trimmed() == afn) return i;
        return 0;
    }
    static int32_t FamilyOf(int32_t h, int32_t w) {
        for (int32_t f = 1; f <= g.FamilCount; ++f)
            if (g.Famil[f].fHusb == h && g.Famil[f].fWife == w) return f;
        return 0;
    }
    // A person already in the tables, as an earlier load would leave him.
    static int32_t Person(const std::string& name, const std::string& afn, const std::string& sex,
                          const std::string& birth = "") {
        int32_t i = CreateIndivFromPage(name, "", afn, 0, 0, "");
        EXPECT_GT(i, 0);
        g.Indiv[i].iSex = sex;
        g.Indiv[i].ibDate = birth;
        return i;
    }
    static int32_t Couple(int32_t h, int32_t w, const std::string& date = "", const std::string& place = "") {
        int32_t f = FindOrAddFamil(h, w);
        EXPECT_GT(f, 0);
        g.Famil[f].fmDate = date;
        g.Famil[f].fmPlace = place;
        return f;
    }
    static void Settle() {
        for (int32_t i = 1; i <= g.IndivCount; ++i) g.Indiv[i].iTouched = 0;
        for (int32_t f = 1; f <= g.FamilCount; ++f) {
            g.Famil[f].fTouched = 0;
            g.Famil[f].fChilCount = 0;
        }
        for (int32_t i = 1; i <= g.IndivCount; ++i)
            if (g.Indiv[i].iFamc > 0) ++g.Famil[g.Indiv[i].iFamc].fChilCount;
        LoadGenTree();
    }
    // The sample page's people, filed as a paste of the page files them.
    void HoldSamplePeople() {
        int32_t john = Person("John Henry WHITLOCK", "1B2C-3DF", "M", "12 Mar 1832");
        int32_t samuel = Person("Samuel WHITLOCK", "9K7L-2MN", "M");
        int32_t abigail = Person("Abigail MARSH", "9K7L-3PQ", "F");
        int32_t eliza = Person("Eliza Ann BENNETT", "2C3D-4FG", "F");
        int32_t mary = Person("Mary PARKER", "2C3D-5HJ", "F");
        Couple(john, eliza, "15 Jun 1855", "Nauvoo, Hancock, Illinois");
        Couple(john, mary, "2 Aug 1860", "Salt Lake City, Salt Lake, Utah");
        g.Indiv[john].iFamc = Couple(samuel, abigail);
        Settle();
    }
};

TEST_F(PasteTest, SamplePageIntoEmptyTables) {
    ProcessClipboard(page);
    EXPECT_TRUE(ui.boxes.empty()) << (ui.boxes.empty() ? "" : ui.boxes[0].text);
    ASSERT_EQ(g.IndivCount, 5);
    ASSERT_EQ(g.FamilCount, 3);

    int32_t john = ByAFN("1B2C-3DF"), samuel = ByAFN("9K7L-2MN"), abigail = ByAFN("9K7L-3PQ");
    int32_t eliza = ByAFN("2C3D-4FG"), mary = ByAFN("2C3D-5HJ");
    ASSERT_TRUE(john && samuel && abigail && eliza && mary);
    const IndivRec& J = g.Indiv[john];
    EXPECT_EQ(J.iName.value(), "John Henry WHITLOCK");
    EXPECT_EQ(J.iSex.value(), "M");
    EXPECT_EQ(J.ibDate.value(), "12 Mar 1832");
    EXPECT_EQ(J.ibPlace.value(), "Wellsville, Allegany, New York");
    EXPECT_TRUE(J.icDate.blank());
    EXPECT_TRUE(J.icPlace.blank());
    EXPECT_EQ(J.idPlace.value(), "Provo, Utah, Utah");
    EXPECT_EQ(J.iblDate.value(), "7 Nov 1899");
    EXPECT_EQ(J.iFamsCount, 2);
    EXPECT_EQ(g.Indiv[samuel].iSex.value(), "M");
    EXPECT_EQ(g.Indiv[abigail].iSex.value(), "F");
    EXPECT_EQ(g.Indiv[eliza].iSex.value(), "F");

    int32_t parents = FamilyOf(samuel, abigail);
    ASSERT_GT(parents, 0);
    EXPECT_EQ(J.iFamc, parents);
    EXPECT_EQ(g.Famil[parents].fChilCount, 1);
    int32_t first = FamilyOf(john, eliza), second = FamilyOf(john, mary);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(g.Famil[first].fmDate.value(), "15 Jun 1855");
    EXPECT_EQ(g.Famil[second].fmPlace.value(), "Salt Lake City, Salt Lake, Utah");

    EXPECT_EQ(windows.label, kSampleResult);
    EXPECT_EQ(g.IndivAdded, 5);
    EXPECT_EQ(g.FamilUpdated, 0);
    EXPECT_EQ(g.PageMainIndiv, john);
    EXPECT_EQ(g.DataChanged, "Y");
    EXPECT_EQ(g.TreeCount, 1);
    for (int32_t i = 1; i <= g.IndivCount; ++i) EXPECT_EQ(g.Indiv[i].iTouched, 0);
    EXPECT_EQ(g.FirstSite, "LDS");
    EXPECT_EQ(g.FirstType, "IndANC");
    ASSERT_FALSE(windows.tips.empty());
    EXPECT_EQ(windows.tips.back(), std::make_pair(9, std::string("UnDo previous paste")));
    EXPECT_FALSE(ui.busy);
    EXPECT_EQ(windows.statusBarUpdates, 1);
    // The label was emptied, showed the parser at work, then the result.
    EXPECT_EQ(windows.labels, (std::vector<std::string>{"", "Processing...", kSampleResult}));
}

TEST_F(PasteTest, PeopleAlreadyHeldAreMatchedNotDuplicated) {
    HoldSamplePeople();
    const Tables before = Tables::Now();
    ProcessClipboard(page);
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(g.IndivCount, before.indivCount);
    EXPECT_EQ(g.FamilCount, before.familCount);
    EXPECT_EQ(windows.label, "0 Individuals added, 5 updated; 0 Families added, 3 updated (Tree #1)");
    int32_t john = ByAFN("1B2C-3DF");
    EXPECT_EQ(g.Indiv[john].idDate.value(), "4 Nov 1899");
    EXPECT_EQ(g.TreeCount, 1);
}

TEST_F(PasteTest, CloseMatchIsOfferedAndTheChoiceIsKept) {
    int32_t john = Person("John Henry WHITLOCK", "", "M", "1833");
    int32_t sarah = Person("Sarah COLE", "", "F");
    Couple(john, sarah);
    Settle();

    ui.matchAnswers.push_back(john);
    ProcessClipboard(page);
    ASSERT_EQ(ui.matchRequests.size(), 1u);
    EXPECT_NE(ui.matchRequests[0].name.find("John Henry WHITLOCK"), std::string::npos);
    bool offered = false;
    for (const auto& row : ui.matchRequests[0].rows) offered = offered || row.indiv == john;
    EXPECT_TRUE(offered);

    EXPECT_EQ(g.IndivCount, 6);  // four relatives added, John matched
    EXPECT_EQ(ByAFN("1B2C-3DF"), john);
    EXPECT_EQ(g.Indiv[john].ibDate.value(), "12 Mar 1832");
    EXPECT_EQ(g.IndivAdded, 4);
    EXPECT_EQ(g.FamilAdded, 3);
}

TEST_F(PasteTest, NotAMatchFilesANewPerson) {
    int32_t john = Person("John Henry WHITLOCK", "", "M", "1833");
    Couple(john, Person("Sarah COLE", "", "F"));
    Settle();

    ui.matchAnswers.push_back(0);
    ui.Answer(MsgResult::Ok);  // the page's people form a tree of their own
    ProcessClipboard(page);
    EXPECT_EQ(g.IndivCount, 7);
    EXPECT_NE(ByAFN("1B2C-3DF"), john);
    EXPECT_TRUE(g.Indiv[john].ibDate.value() == "1833");
    EXPECT_TRUE(ui.Showed("Unable to link all individuals to previous entries - new tree(s) started..."));
    EXPECT_EQ(windows.label.rfind("5 Individuals added, 0 updated;", 0), 0u) << windows.label;
}

TEST_F(PasteTest, UndoAfterPasteGivesTheTablesOfBefore) {
    // Empty tables.
    const Tables empty = Tables::Now();
    ProcessClipboard(page);
    ASSERT_EQ(g.IndivCount, 5);
    RestoreUndo();
    EXPECT_TRUE(Tables::Now() == empty);

    // Tables holding some of the people (they are updated) and others.
    ResetProgramState();
    int32_t samuel = Person("Samuel WHITLOCK", "9K7L-2MN", "", "");
    Couple(Person("Peter HALE", "", "M", "1801"), Person("Ruth HALE", "", "F"));
    g.Indiv[samuel].idDate = "1870";
    Settle();
    const Tables before = Tables::Now();
    ProcessClipboard(page);
    ASSERT_EQ(g.IndivCount, 7);
    ASSERT_EQ(g.Indiv[samuel].iSex.value(), "M");
    RestoreUndo();
    EXPECT_TRUE(Tables::Now() == before);
    EXPECT_EQ(g.IndivCount, 3);
    EXPECT_TRUE(g.Indiv[samuel].iSex.blank());
}

TEST_F(PasteTest, LfAndCrLfTextFileTheSame) {
    ProcessClipboard(page);
    const Tables lf = Tables::Now();
    const std::vector<std::string> lfLines = g.PageLines;
    const std::string lfLabel = windows.label;

    ResetProgramState();
    ProcessClipboard(WithCrLf(page));
    EXPECT_TRUE(Tables::Now() == lf);
    EXPECT_EQ(g.PageLines, lfLines);
    EXPECT_EQ(windows.label, lfLabel);
    EXPECT_EQ(lfLabel, kSampleResult);
}

TEST_F(PasteTest, UnchangedTextAsksBeforeReprocessing) {
    ProcessClipboard(page);
    const Tables after = Tables::Now();
    const std::string label = windows.label;

    ui.Answer(MsgResult::No);
    ProcessClipboard(page);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "Clipboard data unchanged and already processed.\nWould you like to re-process anyway?");
    EXPECT_EQ(ui.boxes[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(ui.boxes[0].icon, MsgIcon::None);
    EXPECT_TRUE(Tables::Now() == after);
    EXPECT_EQ(windows.label, label);

    ui.Answer(MsgResult::Yes);
    ProcessClipboard(page);
    EXPECT_EQ(ui.boxes.size(), 2u);
    EXPECT_EQ(g.IndivCount, 5);
    EXPECT_EQ(windows.label, "0 Individuals added, 5 updated; 0 Families added, 3 updated (Tree #1)");

    // One character more is new text: no question.
    ProcessClipboard(page + " ");
    EXPECT_EQ(ui.boxes.size(), 2u);
    EXPECT_EQ(g.IndivCount, 5);
}

struct RefusalCase {
    const char* what;
    const char* text;
    const char* message;
    const char* firstSite;  // a recognised site becomes the work's first
};

class PasteRefusals : public PasteTest, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(PasteRefusals, NothingIsFiledAndNoSnapshotTaken) {
    const RefusalCase& c = GetParam();
    ui.Answer(MsgResult::Ok);
    ProcessClipboard(c.text);
    ASSERT_EQ(ui.boxes.size(), 1u) << c.what;
    EXPECT_EQ(ui.boxes[0].text, c.message) << c.what;
    EXPECT_EQ(ui.boxes[0].icon, MsgIcon::Information);
    EXPECT_EQ(g.IndivCount, 0);
    EXPECT_TRUE(windows.tips.empty()) << "an undo snapshot was offered";
    EXPECT_EQ(windows.label, "");
    EXPECT_EQ(g.LastPaste, c.text);
    EXPECT_EQ(g.FirstSite, c.firstSite) << c.what;
    EXPECT_EQ(g.FirstType, "") << c.what;

    // The refused text is the last paste: pasting it again asks first.
    ui.Answer(MsgResult::No);
    ProcessClipboard(c.text);
    EXPECT_EQ(ui.boxes.back().text,
              "Clipboard data unchanged and already processed.\nWould you like to re-process anyway?");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PasteRefusals,
    ::testing::Values(
        RefusalCase{"unknown site", "Some page\nwith nothing known\n",
                    "Sorry! Lintora is unable to recognize this format. Cannot process!", ""},
        RefusalCase{"FamilySearch page of no known type", "FamilySearch home\r\nWelcome\r\n",
                    "Sorry! Lintora does not process copied text with this format.\n"
                    "Lintora can recognize the following formats in LDS:\n"
                    "   Ancestry File records - Individual, Family, and Pedigree\n"
                    "   IGI records - Individual, Family, and Pedigree\n"
                    "   Pedigree Resource records - Individual",
                    "LDS"},
        RefusalCase{"GenCircles page of no known type", "Start\nGenCircles home\n",
                    "Sorry! Lintora does not process copied text with this format.\n"
                    "Lintora can recognize the following formats at gencircles.com:\n"
                    "   Individual records\n"
                    "   Pedigree",
                    "GC"},
        RefusalCase{"Ancestry page of no known type", "Start\nCopyright Ancestry.com\n",
                    "Sorry! Lintora does not process copied text with this format.\n"
                    "Lintora can recognize the following formats at ancestry.com:\n"
                    "   Individual records\n"
                    "   Descendancy Register\n"
                    "   Pedigree (Text and Table)\n"
                    "   Ahnentafel",
                    "ANC"},
        RefusalCase{"RootsWeb page of no known type", "Start\nRootsWeb home\n",
                    "Sorry! Lintora does not process copied text with this format.\n"
                    "Lintora can recognize the following formats at rootsweb.ancestry.com:\n"
                    "   Individual records\n"
                    "   Descendancy Register\n"
                    "   Pedigree (Text and Table)\n"
                    "   Ahnentafel",
                    "RW"},
        RefusalCase{"MyTrees page of no known type", "Start\n(c) Fficiency Software, Inc\n",
                    "Sorry! Lintora does not process copied text with this format.\n"
                    "Lintora can recognize the following formats at mytrees.com:\n"
                    "   Individual records\n"
                    "   Family records\n"
                    "   Pedigree",
                    "MYT"}),
    testing::NamedBy(&RefusalCase::what));

TEST_F(PasteTest, FullIndividualTableFilesNothingAndChangesNoRecord) {
    g.IndivCount = kMaxIndiv;
    for (int32_t i = 1; i <= kMaxIndiv; ++i) g.Indiv[i].iRIN = i;
    LoadGenTree();
    const Tables before = Tables::Now();
    ProcessClipboard(page);
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_TRUE(Tables::Now() == before);
    EXPECT_EQ(windows.label, "0 Individuals added, 0 updated; 0 Families added, 0 updated (Tree #0)");
}

TEST_F(PasteTest, PageWithoutPersonReportsNothingExtracted) {
    ui.Answer(MsgResult::Ok);
    ProcessClipboard("FamilySearch Ancestral File Individual Record\nJohn SMITH\nBirth: 1850\n");
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text,
              "Lintora unable to extract any data from copied text. Try again using Select All, then Copy...");
    EXPECT_EQ(g.IndivCount, 0);
    EXPECT_EQ(windows.label, "");
    EXPECT_FALSE(ui.busy);
}

TEST_F(PasteTest, UnlinkedPageStartsANewTree) {
    ProcessClipboard(page);
    ui.Answer(MsgResult::Ok);
    ProcessClipboard("FamilySearch Ancestral File Individual Record\nOtto BRANDT (AFN: 7Z-1)\nSex: M\n");
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "Unable to link all individuals to previous entries - new tree(s) started...");
    EXPECT_EQ(g.TreeCount, 2);
    EXPECT_EQ(windows.label, "1 Individuals added, 0 updated; 0 Families added, 0 updated (Tree #2)");
}

TEST_F(PasteTest, ParentPickListIsDismissedByTheNextPaste) {
    const std::string twoSets =
        "FamilySearch Ancestral File Individual Record\n"
        "Ann LEE (AFN: 5-A)\nSex: F\n"
        "Father: Tom LEE (AFN: 5-B)\nMother: Sue KANE (AFN: 5-C)\n"
        "Father: Tim LEE (AFN: 5-D)\nMother: Sal DOW (AFN: 5-E)\n";
    ProcessClipboard(twoSets);
    EXPECT_EQ(windows.loadPickList, 1);
    EXPECT_EQ(windows.hidePickList, 1);
    EXPECT_EQ(g.IndivCount, 1);
    EXPECT_EQ(g.Indiv[1].iFamc, 0);
    const std::string label = windows.label;
    EXPECT_EQ(label, "1 Individuals added, 0 updated; 0 Families added, 0 updated (Tree #1)");

    // The pick panel's cancel reports again: the paste keeps its one report.
    ReportPasteResults();
    EXPECT_EQ(windows.label, label);
    EXPECT_EQ(windows.statusBarUpdates, 1);

    // A later paste, even one that is refused, dismisses the list first;
    // the same text not processed again leaves it open.
    ui.Answer(MsgResult::Ok);
    ProcessClipboard("nothing known\n");
    EXPECT_EQ(windows.hidePickList, 2);
    ui.Answer(MsgResult::No);
    ProcessClipboard("nothing known\n");
    EXPECT_EQ(windows.hidePickList, 2);
    EXPECT_EQ(g.Indiv[1].iFamc, 0);
}

class ReportTest : public PasteTest {};

TEST_F(ReportTest, CountsAddedAndUpdatedAndRecountsTheCaches) {
    // Two people before the paste, one of them touched; three after.
    int32_t h = Person("Al ROE", "", "M");
    int32_t w = Person("Bea ROE", "", "F");
    int32_t f1 = Couple(h, w);
    int32_t f2 = Couple(h, 0);
    Settle();
    g.PasteStartIndivCount = g.IndivCount;
    g.PasteStartFamilCount = g.FamilCount;
    g.PasteReported = false;
    g.Indiv[w].iTouched = 1;
    int32_t c = AddIndiv();  // a new record that carries no mark
    g.Indiv[c].iFamc = f1;
    g.Famil[f1].fTouched = 1;
    g.Famil[f2].fChilCount = 7;
    g.Indiv[h].iFamsCount = 9;
    g.Indiv[c].iTree = 2;
    g.PageMainIndiv = c;

    ReportPasteResults();
    EXPECT_EQ(windows.label, "1 Individuals added, 1 updated; 0 Families added, 1 updated (Tree #2)");
    EXPECT_EQ(g.Indiv[h].iFamsCount, 2);
    EXPECT_EQ(g.Indiv[w].iFamsCount, 1);
    EXPECT_EQ(g.Famil[f1].fChilCount, 1);
    EXPECT_EQ(g.Famil[f2].fChilCount, 0);
    EXPECT_EQ(g.Indiv[w].iTouched, 0);
    EXPECT_EQ(g.Famil[f1].fTouched, 0);
    EXPECT_EQ(g.TreeSlot[0], c);
    EXPECT_EQ(g.DataChanged, "Y");
}

TEST_F(ReportTest, TreeNumberIsTheDisplayedRootsWhenTheDisplayKeepsIt) {
    // The page's person lies within the generations shown: the root stays.
    struct KeepingRoot : RecordingWindows {
        int32_t asked = 0;
        void FindTreePointer(int32_t indiv) override { asked = indiv; }
    } keeping;
    InstallWindowFakes(&keeping);
    int32_t shown = Person("Al ROE", "", "M");
    int32_t page = Person("Cy POE", "", "M");
    Settle();
    ASSERT_EQ(g.TreeCount, 2);
    g.TreeSlot[0] = shown;
    g.PageMainIndiv = page;
    g.PasteStartIndivCount = 1;
    g.PasteStartFamilCount = 0;
    g.PasteReported = false;
    ReportPasteResults();
    EXPECT_EQ(keeping.asked, page);
    EXPECT_EQ(keeping.label, "1 Individuals added, 0 updated; 0 Families added, 0 updated (Tree #1)");
    EXPECT_EQ(keeping.statusBarUpdates, 1);
}

TEST_F(ReportTest, NoCountIsEverNegative) {
    Person("Al ROE", "", "M");
    Settle();
    g.PasteStartIndivCount = 4;  // larger than the tables now are
    g.PasteStartFamilCount = 2;
    g.PasteReported = false;
    ReportPasteResults();
    EXPECT_EQ(windows.label, "0 Individuals added, 0 updated; 0 Families added, 0 updated (Tree #0)");
    EXPECT_GE(g.IndivAdded, 0);
    EXPECT_GE(g.FamilAdded, 0);
}

TEST(SplitPageTextTest, LineEndsAndCleaning) {
    ResetProgramState();
    // A tab that becomes a blank leaves the line as one that began there.
    const std::string lf =
        "Head line \nName: A\n\n# * Sex: M\n* # x\n  \t Birth:\t1850  \n\r\n   \n\t# Name: x\n\t* y\nend";
    SplitPageText(lf);
    const std::vector<std::string> want = {"Head line ", "Name: A", "", "Sex: M", "# x", "Birth: 1850", "", "",
                                           "Name: x", "y", "end"};
    EXPECT_EQ(g.PageLines, want);
    EXPECT_EQ(g.PageRawLines[5], "  \t Birth:\t1850  ");
    EXPECT_EQ(g.PageRawLines[6], "");

    std::string crlf;
    for (char ch : lf) {
        if (ch == '\n') crlf += '\r';
        crlf += ch;
    }
    SplitPageText(crlf);
    EXPECT_EQ(g.PageLines, want);

    SplitPageText("");
    EXPECT_EQ(g.PageLines, std::vector<std::string>{""});
}

// Whether anyone is married to his own parent or child.
std::string MarriedToOwnKin() {
    for (int32_t f = 1; f <= g.FamilCount; ++f) {
        const int32_t h = g.Famil[f].fHusb, w = g.Famil[f].fWife;
        auto childOf = [](int32_t child, int32_t parent) {
            const int32_t fc = g.Indiv[child].iFamc;
            return fc > 0 && (g.Famil[fc].fHusb == parent || g.Famil[fc].fWife == parent);
        };
        if (h > 0 && w > 0 && (childOf(h, w) || childOf(w, h)))
            return g.Indiv[h].iName.trimmed() + " and " + g.Indiv[w].iName.trimmed();
    }
    return "";
}

TEST_F(PasteTest, NobodyMarriesHisOwnParentWhoseNameKeyHeShares) {
    // Charles I and his father Charles II share a name key; Clemence is
    // the daughter of Charles I. Her mother is unnamed, or named like her
    // grandmother.
    for (const std::string mother : {"", "Mother: Ada (AFN: 9HKN-0C)\n"}) {
        SCOPED_TRACE(mother);
        ResetProgramState();
        ProcessClipboard("FamilySearch Ancestral File Individual Record\nCharles I (AFN: 9HKN-2F)\nSex: M\n\n"
                         "Parents:\nFather: Charles II (AFN: 9HKN-1D)  Family\n" + mother);
        const int32_t charles = ByAFN("9HKN-2F");
        const int32_t grandmother = g.Famil[g.Indiv[charles].iFamc].fWife;
        ASSERT_GT(grandmother, 0);
        ProcessClipboard("FamilySearch Ancestral File Individual Record\nClemence (AFN: 9HKN-3G)\nSex: F\n\n"
                         "Parents:\nFather: Charles I (AFN: 9HKN-2F)  Family\n" +
                         (mother.empty() ? std::string() : std::string("Mother: Ada\n")));
        const int32_t parents = g.Indiv[ByAFN("9HKN-3G")].iFamc;
        ASSERT_GT(parents, 0);
        EXPECT_EQ(g.Famil[parents].fHusb, charles);
        EXPECT_NE(g.Famil[parents].fWife, grandmother);
        EXPECT_GT(g.Famil[parents].fWife, 0);
        EXPECT_EQ(MarriedToOwnKin(), "");
        EXPECT_EQ(g.Indiv[grandmother].iFamsCount, 1);
    }
}

TEST_F(PasteTest, OneUnnamedMotherIsNeverTheWifeOfTwoKings) {
    // Both kings' pages name the father only: each family gets an unnamed
    // mother of its own, though Malcolm I and Malcolm II share a name key.
    ProcessClipboard("FamilySearch Ancestral File Individual Record\nBethoc (AFN: 00Q3-6B3)\nSex: F\n\n"
                     "Parents:\nFather: Malcolm II (AFN: 00Q3-681)  Family\n");
    ui.Answer(MsgResult::Ok);  // the second page's people form a tree of their own
    ProcessClipboard("FamilySearch Ancestral File Individual Record\nKenneth II (AFN: 00Q3-RV0)\nSex: M\n\n"
                     "Parents:\nFather: Malcolm I (AFN: 00Q3-RTZ)  Family\n");
    ASSERT_EQ(g.IndivCount, 6);
    ASSERT_EQ(g.FamilCount, 2);
    const FamilRec& first = g.Famil[g.Indiv[ByAFN("00Q3-6B3")].iFamc];
    const FamilRec& second = g.Famil[g.Indiv[ByAFN("00Q3-RV0")].iFamc];
    EXPECT_EQ(first.fHusb, ByAFN("00Q3-681"));
    EXPECT_EQ(second.fHusb, ByAFN("00Q3-RTZ"));
    for (int32_t wife : {first.fWife, second.fWife}) {
        ASSERT_GT(wife, 0);
        EXPECT_EQ(g.Indiv[wife].iName.trimmed(), "<unknown>");
        EXPECT_EQ(g.Indiv[wife].iFamsCount, 1);
    }
    EXPECT_NE(first.fWife, second.fWife);
    EXPECT_EQ(g.TreeCount, 2);

    // Bethoc's page again finds her own family, unnamed mother and all.
    ProcessClipboard("FamilySearch Ancestral File Individual Record\nBethoc (AFN: 00Q3-6B3)\nSex: F\n\n"
                     "Parents:\nFather: Malcolm II (AFN: 00Q3-681)  Family\n");
    EXPECT_EQ(g.IndivCount, 6);
    EXPECT_EQ(g.FamilCount, 2);
}

TEST_F(PasteTest, AnUnnamedFatherIsJudgedByTheMotherFiledWithHim) {
    // Two daughters of two Mary BROWNs thirty years apart, fathers unnamed:
    // neither the unnamed father nor the mother is taken from the other page.
    auto page = [](const char* given, const char* surname, const char* birth, const char* mother) {
        return std::string("Ancestry World Tree Project: Individual Record\n"
                           "Ancestry.com | Family Trees | Individual Record\nAncestry World Tree Project: Brown\n"
                           "Given Name: ") +
               given + "\nSurname: " + surname + "\nSex: F\nBirth: " + birth + "\n\nMother: " + mother +
               "\n\nIndex | Search the World Tree\n";
    };
    const std::string ann = page("Ann", "LEE", "1825", "Mary BROWN b: 1800");
    ProcessClipboard(ann);
    ASSERT_EQ(g.IndivCount, 3);
    const int32_t annRec = g.PageMainIndiv;
    const int32_t first = g.Indiv[annRec].iFamc;
    ASSERT_GT(first, 0);
    const int32_t mary = g.Famil[first].fWife, unnamed = g.Famil[first].fHusb;
    ASSERT_GT(unnamed, 0);
    EXPECT_EQ(g.Indiv[unnamed].iName.trimmed(), "<unknown>");

    ui.Answer(MsgResult::Ok);  // the second page's people form a tree of their own
    ProcessClipboard(page("Bea", "KING", "1855", "Mary BROWN b: 1830"));
    EXPECT_EQ(windows.label, "3 Individuals added, 0 updated; 1 Families added, 0 updated (Tree #2)");
    ASSERT_EQ(g.IndivCount, 6);
    ASSERT_EQ(g.FamilCount, 2);
    const int32_t second = g.Indiv[g.PageMainIndiv].iFamc;
    ASSERT_GT(second, 0);
    EXPECT_NE(g.Famil[second].fWife, mary);
    EXPECT_NE(g.Famil[second].fHusb, unnamed);
    EXPECT_EQ(g.Indiv[g.Famil[second].fHusb].iName.trimmed(), "<unknown>");
    EXPECT_EQ(g.Indiv[mary].ibDate.value(), "1800");
    EXPECT_EQ(g.Indiv[unnamed].iFamsCount, 1);
    EXPECT_EQ(g.Indiv[mary].iFamsCount, 1);
    EXPECT_TRUE(ui.matchRequests.empty());

    // Ann's page again finds her parents, the unnamed father too; so does
    // a copy that leaves out her mother's birth, through the father Ann is
    // recorded with.
    for (const std::string& again : {ann, page("Ann", "LEE", "1825", "Mary BROWN")}) {
        ProcessClipboard(again);
        EXPECT_EQ(g.IndivCount, 6);
        EXPECT_EQ(g.FamilCount, 2);
        EXPECT_EQ(g.Indiv[annRec].iFamc, first);
        EXPECT_EQ(g.Famil[first].fHusb, unnamed);
        EXPECT_EQ(g.Famil[first].fWife, mary);
        EXPECT_TRUE(ui.matchRequests.empty());
    }
}

TEST_F(PasteTest, WivesWhoseMothersShareANameAreNotMadeSisters) {
    // Two family pages whose wives have a mother Mary BROWN (no AFN) and an
    // unnamed father: the second Mary is offered, not taken by the unnamed
    // father the first family already has.
    auto page = [](const char* husband, const char* wife) {
        return std::string("FamilySearch(TM) Ancestral File Family Group Record\n"
                           "Ancestral File (TM) v4.19 Family Group Record\n\nHusband\n") +
               husband + "  Pedigree\n\nWife\n" + wife + "  Pedigree\nMother: Mary BROWN\n\nChildren\n";
    };
    const std::string first = page("Karl DOW (AFN: 5-K1)", "Ida ROSS (AFN: 5-I1)");
    ProcessClipboard(first);
    ASSERT_EQ(g.IndivCount, 4);
    ASSERT_EQ(g.FamilCount, 2);
    const int32_t ida = ByAFN("5-I1");
    const int32_t idasParents = g.Indiv[ida].iFamc;
    ASSERT_GT(idasParents, 0);
    const int32_t mary = g.Famil[idasParents].fWife, unnamed = g.Famil[idasParents].fHusb;
    EXPECT_EQ(g.Indiv[mary].iName.trimmed(), "Mary BROWN");
    EXPECT_EQ(g.Indiv[unnamed].iName.trimmed(), "<unknown>");

    ui.matchAnswers.push_back(0);  // the first Mary is offered: not a match
    ui.Answer(MsgResult::Ok);      // the second page's people form a tree of their own
    ProcessClipboard(page("Lars HOLT (AFN: 6-L1)", "Eva ROSS (AFN: 6-E1)"));
    ASSERT_EQ(ui.matchRequests.size(), 1u);
    EXPECT_EQ(ui.matchRequests[0].name, "Mary BROWN");
    EXPECT_EQ(ui.matchRequests[0].rows[0].indiv, mary);
    ASSERT_EQ(g.IndivCount, 8);
    ASSERT_EQ(g.FamilCount, 4);
    const int32_t evasParents = g.Indiv[ByAFN("6-E1")].iFamc;
    ASSERT_GT(evasParents, 0);
    EXPECT_NE(evasParents, idasParents);
    EXPECT_NE(g.Famil[evasParents].fHusb, unnamed);
    EXPECT_EQ(g.Indiv[unnamed].iFamsCount, 1);
    EXPECT_EQ(g.Indiv[mary].iFamsCount, 1);

    // The first page again: Ida's recorded unnamed father leads to her mother.
    ProcessClipboard(first);
    EXPECT_EQ(ui.matchRequests.size(), 1u);
    EXPECT_EQ(g.IndivCount, 8);
    EXPECT_EQ(g.FamilCount, 4);
    EXPECT_EQ(g.Indiv[ida].iFamc, idasParents);
}

TEST_F(PasteTest, AnUnnamedParentWithAnAfnIsFiled) {
    const std::string page = "FamilySearch Ancestral File Individual Record\nAda LEE (AFN: 7-A)\nSex: F\n\n"
                             "Parents:\nMother: Unknown (AFN: 7-M)\n";
    ProcessClipboard(page);
    EXPECT_EQ(windows.label, "3 Individuals added, 0 updated; 1 Families added, 0 updated (Tree #1)");
    const int32_t parents = g.Indiv[ByAFN("7-A")].iFamc;
    ASSERT_GT(parents, 0);
    const int32_t mother = g.Famil[parents].fWife, father = g.Famil[parents].fHusb;
    EXPECT_EQ(mother, ByAFN("7-M"));
    EXPECT_EQ(g.Indiv[mother].iSex.value(), "F");
    ASSERT_GT(father, 0);
    EXPECT_EQ(g.Indiv[father].iName.value(), "<unknown>");

    // Pasted again, the page finds the same three people and their family.
    ui.Answer(MsgResult::Yes);  // the text is unchanged: process it again
    ProcessClipboard(page);
    EXPECT_EQ(g.IndivCount, 3);
    EXPECT_EQ(g.FamilCount, 1);

    // Parents with neither a name nor an identifier are no parents.
    ResetProgramState();
    ProcessClipboard("FamilySearch Ancestral File Individual Record\nBo LEE (AFN: 7-B)\nSex: M\n\n"
                     "Parents:\nFather: Unknown\nMother: UNKNOWN\n");
    EXPECT_EQ(g.IndivCount, 1);
    EXPECT_EQ(g.FamilCount, 0);
}

}  // namespace
}  // namespace lintora
