#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <set>
#include <string>
#include <vector>

#include "files/gedcom_writer.h"
#include "record_store/program_state.h"
#include "record_store/undo.h"
#include "tests/record_store/prune_fixture.h"
#include "workspace/workspace.h"

namespace lintora {
namespace {

// A sample page of the page import tests (page_support.h is not used here:
// its window fake shares a name with the files tests' one).
std::string ReadPage(const std::string& name) {
    std::ifstream in(std::filesystem::path(LINTORA_SOURCE_DIR) / "tests" / "page_import" / "pages" / name,
                     std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

using testing::TablesInUse;

class PruneCommandTest : public testing::PruneTest {
protected:
    static std::vector<std::string> NotesOf(const std::string& name) {
        std::vector<std::string> out;
        const int32_t who = ByName(name);
        for (int32_t n = 1; n <= g.NotesCount; ++n)
            if (g.Notes[n].nKind.trimmed() == "I" && g.Notes[n].nOwner == who) out.push_back(g.Notes[n].nText.trimmed());
        return out;
    }
    // Every pointer of the saved GEDCOM names a record of the file.
    static void ExpectGedcomPointersResolve() {
        const std::vector<std::string> lines = BuildFileLines(FileKind::Gedcom, "work.ged");
        std::set<std::string> defined;
        std::vector<std::string> used;
        const std::regex record(R"(^0 (@[^@]+@) )"), pointer(R"(^[1-9] \S+ (@[^@]+@)$)");
        for (const std::string& l : lines) {
            std::smatch m;
            if (std::regex_search(l, m, record)) defined.insert(m[1]);
            else if (std::regex_search(l, m, pointer)) used.push_back(m[1]);
        }
        EXPECT_FALSE(used.empty());
        for (const std::string& p : used) EXPECT_TRUE(defined.count(p)) << p << " is not a record of the file";
    }
};

TEST_F(PruneCommandTest, FatherOnlyLeavesAnUnknownInHisPlaceAndUndoRestoresAll) {
    const int32_t igi = AddSource();
    g.Source[igi].sSite = "LDS";
    g.Source[igi].sKind = "IGI";
    PasteText(ReadPage("igi_family.txt"));
    ASSERT_EQ(g.IndivCount, 9);
    Note(ByName("Thomas ASHWORTH"), "Weaver of Rochdale");
    Note(ByName("Mary KERSHAW"), "Born at Bury");
    Note(ByName("Ellen ASHWORTH"), "Died young");
    g.CurIndiv = ByName("Ellen ASHWORTH");
    const TablesInUse before = TablesInUse::Now();

    // Thomas is individual 1, the root of a one-tree work: his wife goes.
    g.DataChanged = "N";
    EXPECT_TRUE(PruneSetup(ByName("Mary KERSHAW")));
    ASSERT_EQ(panel.shown, 1);
    EXPECT_EQ(panel.captions.identity, "Remove Mary KERSHAW and...");
    EXPECT_EQ(panel.captions.personOnly, "Mary KERSHAW only");
    EXPECT_EQ(panel.captions.ancestors, "all ancestors");
    EXPECT_EQ(panel.captions.descendants, "all descendants");
    EXPECT_EQ(panel.captions.all, "all ancestors and descendants");
    EXPECT_EQ(panel.selected, PruneOption::PersonOnly);
    EXPECT_EQ(g.PrunePending, "Y");

    ui.Answer(MsgResult::Ok);  // "Are you sure?"
    ui.Answer(MsgResult::Ok);  // what was removed
    RunPrune(2);
    ASSERT_EQ(ui.boxes.size(), 2u);
    EXPECT_EQ(ui.boxes[0].text, "Mary KERSHAW will be removed.");
    EXPECT_EQ(ui.boxes[0].title, "Are you sure?");
    EXPECT_EQ(ui.boxes[1].text, "Mary KERSHAW removed.");
    EXPECT_EQ(g.PrunePending, "N");
    EXPECT_EQ(panel.hidden, 1);

    // Mary went, an "<unknown>" came in her place: nine persons still.
    ASSERT_EQ(g.IndivCount, 9);
    EXPECT_EQ(ByName("Mary KERSHAW"), 0);
    const int32_t unknown = ByName("<unknown>");
    ASSERT_GT(unknown, 0);
    EXPECT_EQ(g.Indiv[unknown].iTouched, 0);
    // Mary's citation went with her; the stand-in cites no page.
    EXPECT_EQ(g.Indiv[unknown].iSource, 0);
    EXPECT_EQ(g.Source[igi].sCitations, 8);
    for (const char* child : {"Sarah ASHWORTH", "William ASHWORTH", "Ellen ASHWORTH"}) {
        const int32_t f = g.Indiv[ByName(child)].iFamc;
        ASSERT_GT(f, 0) << child;
        EXPECT_EQ(g.Famil[f].fHusb, ByName("Thomas ASHWORTH")) << child;
        EXPECT_EQ(g.Famil[f].fWife, unknown) << child;
        EXPECT_EQ(g.Famil[f].fChilCount, 3);
    }
    EXPECT_EQ(g.Indiv[unknown].iFamsCount, 1);
    // Her parents stay, now a couple without children.
    const int32_t john = ByName("John KERSHAW");
    ASSERT_GT(john, 0);
    EXPECT_EQ(g.Indiv[john].iFamsCount, 1);
    EXPECT_EQ(g.PrunedIndivs, 1);
    EXPECT_EQ(g.PrunedFamils, 0);
    ExpectCompact();
    ExpectGedcomPointersResolve();
    EXPECT_TRUE(NotesOf("Thomas ASHWORTH") == std::vector<std::string>{"Weaver of Rochdale"});
    EXPECT_TRUE(NotesOf("Ellen ASHWORTH") == std::vector<std::string>{"Died young"});
    EXPECT_EQ(g.NotesCount, 2);
    EXPECT_EQ(g.CurIndiv, ByName("Ellen ASHWORTH"));
    // The pedigree keeps its root, under his new number.
    EXPECT_EQ(g.TreeSlot[0], ByName("Thomas ASHWORTH"));
    EXPECT_EQ(windows.label.rfind("Prune removed 1 Individuals and 0 Families from Tree #", 0), 0u);
    EXPECT_EQ(windows.tips.back(), (std::pair<int, std::string>{9, "UnDo Delete of Mary KERSHAW"}));

    RestoreUndo();
    EXPECT_TRUE(TablesInUse::Now() == before);
    EXPECT_EQ(g.Source[igi].sCitations, 9);
}

TEST_F(PruneCommandTest, PersonOfTreeTwoWithAllRelationsLeavesTreeOneWhole) {
    // The site data's rows for both record sets, each kept in its own archive.
    auto sourceRow = [](const char* kind, const char* title, const char* archive) {
        const int32_t r = AddRepository();
        g.Repository[r].rName = archive;
        const int32_t s = AddSource();
        g.Source[s].sSite = "LDS";
        g.Source[s].sKind = kind;
        g.Source[s].sTitle = title;
        g.Source[s].sRepos = static_cast<int16_t>(r);
        return s;
    };
    const int32_t igi = sourceRow("IGI", "International Genealogical Index", "Family History Library");
    const int32_t af = sourceRow("ANC", "Ancestral File", "Ancestral File Operations");
    PasteText(ReadPage("igi_family.txt"));
    ui.Answer(MsgResult::Ok);  // a new tree was started
    PasteText(ReadPage("af_family.txt"));
    ASSERT_EQ(g.IndivCount, 17);
    ASSERT_EQ(g.TreeCount, 2);
    EXPECT_EQ(g.Source[igi].sCitations, 9);
    EXPECT_EQ(g.Source[af].sCitations, 8);
    const std::vector<IndivRec> treeOne(g.Indiv.begin() + 1, g.Indiv.begin() + 10);
    const std::vector<FamilRec> treeOneFamilies(g.Famil.begin() + 1, g.Famil.begin() + 4);

    g.PruneIndiv = ByName("William Henry WHITLOCK");
    ASSERT_EQ(g.Indiv[g.PruneIndiv].iTree, 2);
    g.TreeSlot[0] = ByName("Thomas ASHWORTH");  // the pedigree shows tree 1
    ui.Answer(MsgResult::Ok);
    ui.Answer(MsgResult::Ok);
    RunPrune(3);
    // The result line names the tree he was pruned from.
    EXPECT_EQ(windows.label, "Prune removed 8 Individuals and 3 Families from Tree #2");
    EXPECT_EQ(ui.boxes[1].text, "William Henry WHITLOCK and all relations will be removed.");
    EXPECT_EQ(ui.boxes[2].text,
              "William Henry WHITLOCK and 7 ancestors removed.\n"
              "Descendants connected to the main tree could not be removed");
    ASSERT_EQ(g.IndivCount, 9);
    ASSERT_EQ(g.FamilCount, 3);
    EXPECT_EQ(g.TreeCount, 1);
    EXPECT_EQ(g.PrunedIndivs, 8);
    EXPECT_EQ(g.PrunedFamils, 3);
    for (int32_t i = 1; i <= 9; ++i) {
        const IndivRec& now = g.Indiv[i];
        const IndivRec& was = treeOne[static_cast<std::size_t>(i - 1)];
        EXPECT_EQ(now.iName, was.iName);
        EXPECT_EQ(now.iFamc, was.iFamc);
        EXPECT_EQ(now.iFamsCount, was.iFamsCount);
    }
    for (int32_t f = 1; f <= 3; ++f) {
        EXPECT_EQ(g.Famil[f].fHusb, treeOneFamilies[static_cast<std::size_t>(f - 1)].fHusb);
        EXPECT_EQ(g.Famil[f].fWife, treeOneFamilies[static_cast<std::size_t>(f - 1)].fWife);
    }
    ExpectCompact();
    ExpectGedcomPointersResolve();

    // The citations went with the people: the Ancestral File and its
    // archive are no longer written.
    EXPECT_EQ(g.Source[igi].sCitations, 9);
    EXPECT_EQ(g.Source[af].sCitations, 0);
    EXPECT_EQ(g.Repository[2].rCitations, 0);
    g.Option1 = 1;  // a citation under every record
    std::vector<std::string> sourceLines;  // each once, in file order
    for (const std::string& l : BuildFileLines(FileKind::Gedcom, "work.ged"))
        if (std::regex_search(l, std::regex(R"(SOUR @|REPO @|@ SOUR$|@ REPO$)")) &&
            std::find(sourceLines.begin(), sourceLines.end(), l) == sourceLines.end())
            sourceLines.push_back(l);
    const std::vector<std::string> expected = {"1 SOUR @S1@", "0 @S1@ SOUR", "1 REPO @REP1@", "0 @REP1@ REPO"};
    EXPECT_EQ(sourceLines, expected);
}

TEST_F(PruneCommandTest, APrunedRootGivesThePedigreeToHisFatherElseHisMother) {
    // Adam and Eve; Cain is their son, Enoch the son of Cain's wife Ada
    // (his father is not known). The pedigree shows the son.
    const int32_t adam = Person("Adam", "M"), eve = Person("Eve", "F");
    const int32_t cain = Person("Cain", "M"), ada = Person("Ada", "F"), enoch = Person("Enoch", "M");
    Couple(adam, eve, {cain});
    Couple(cain, ada);
    Couple(0, ada, {enoch});
    LoadGenTree();
    struct Case {
        int32_t root;
        int option;
        const char* newRoot;
    };
    for (const Case& c : {Case{cain, 2, "Adam"}, Case{cain, 1, "Adam"}, Case{enoch, 2, "Ada"},
                          Case{enoch, 1, "Ada"}}) {
        SCOPED_TRACE(g.Indiv[c.root].iName.trimmed() + " " + std::to_string(c.option));
        g.TreeSlot[0] = c.root;
        g.PruneIndiv = c.root;
        ui.Answer(MsgResult::Ok);  // "Are you sure?"
        ui.Answer(MsgResult::Ok);  // what was removed
        RunPrune(c.option);
        ASSERT_GT(g.TreeSlot[0], 0);
        EXPECT_EQ(g.Indiv[g.TreeSlot[0]].iName.trimmed(), c.newRoot);
        RestoreUndo();
    }
}

TEST_F(PruneCommandTest, SetupRefusalsAndCancelledConfirmationChangeNothing) {
    const int32_t adam = Person("Adam", "M"), eve = Person("Eve", "F");
    Couple(adam, eve);
    LoadGenTree();
    const TablesInUse whole = TablesInUse::Now();

    ui.Answer(MsgResult::Ok);
    EXPECT_FALSE(PruneSetup(1));
    EXPECT_EQ(ui.boxes.back().text, "Sorry! Unable to prune root individual in file.");
    EXPECT_EQ(panel.shown, 0);

    g.DataChanged = "Y";
    ui.Answer(MsgResult::Cancel);
    EXPECT_FALSE(PruneSetup(eve));
    EXPECT_EQ(ui.boxes.back().text, "Backup work before pruning?");
    EXPECT_EQ(ui.boxes.back().title, "Warning!");
    EXPECT_EQ(ui.boxes.back().buttons, MsgButtons::YesNoCancel);
    EXPECT_EQ(panel.shown, 0);
    EXPECT_EQ(g.PrunePending, "N");

    // Cancel at the confirmation: no snapshot, no change.
    g.PruneIndiv = eve;
    ui.Answer(MsgResult::Cancel);
    RunPrune(2);
    EXPECT_FALSE(g.UndoReady);
    EXPECT_TRUE(TablesInUse::Now() == whole);
    EXPECT_EQ(g.PrunePending, "N");

    // A person no longer in the work when OK arrives: nothing asked, nothing done.
    for (int32_t stale : {0, 3, -1}) {
        g.PruneIndiv = stale;
        RunPrune(3);
    }
    // Nor an option the panel does not have.
    g.PruneIndiv = eve;
    RunPrune(4);
    RunPrune(-1);
    EXPECT_TRUE(TablesInUse::Now() == whole);

    g.PruneIndiv = eve;
    g.PrunePending = "Y";
    CancelPrune();
    EXPECT_EQ(g.PruneIndiv, 0);
    EXPECT_EQ(g.PrunePending, "N");
}

}  // namespace
}  // namespace lintora
