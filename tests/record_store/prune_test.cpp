#include "record_store/prune.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "files/gedcom_writer.h"
#include "page_import/paste.h"
#include "record_store/matching.h"
#include "record_store/notes.h"
#include "record_store/program_state.h"
#include "record_store/renumber.h"
#include "record_store/tables.h"
#include "record_store/trees.h"
#include "record_store/undo.h"
#include "record_store/window_port.h"
#include "tests/support/scripted_platform.h"
#include "tests/support/table_checks.h"

namespace lintora {
namespace {

using testing::CleanState;
using testing::ExpectTablesConsistent;
using testing::TablesInUse;

// The windows as the prune sees them: status label and tool tips.
class PruneWindows : public WindowPort {
public:
    std::string label;
    std::vector<std::pair<int, std::string>> tips;
    void SetStatusLabel(const std::string& s) override { label = s; }
    void SetToolButtonTip(int index, const std::string& tip) override { tips.emplace_back(index, tip); }
    void FindTreePointer(int32_t indiv) override { g.TreeSlot[0] = indiv; }
};

// A prune panel that remembers what it was asked to show.
class RecordingPanel : public PrunePanelView {
public:
    int shown = 0, hidden = 0;
    PrunePanelCaptions captions;
    PruneOption selected = PruneOption::All;
    void Show(const PrunePanelCaptions& c, PruneOption s) override {
        ++shown;
        captions = c;
        selected = s;
    }
    void Hide() override { ++hidden; }
};

std::string ReadPage(const std::string& name) {
    std::ifstream in(std::filesystem::path(__FILE__).parent_path().parent_path() / "page_import" / "pages" / name,
                     std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class PruneTest : public CleanState {
protected:
    PruneWindows windows;
    RecordingPanel panel;

    void SetUp() override {
        CleanState::SetUp();
        InstallWindows(&windows);
        InstallPrunePanel(&panel);
    }
    void TearDown() override {
        InstallPrunePanel(nullptr);
        InstallWindows(nullptr);
        CleanState::TearDown();
    }

    static int32_t Person(const std::string& name, const char* sex) {
        const int32_t i = CreateIndivFromPage(name, "", "", 0, 0, "");
        EXPECT_GT(i, 0);
        g.Indiv[i].iSex = sex;
        g.Indiv[i].iTouched = 0;
        return i;
    }
    static int32_t Couple(int32_t h, int32_t w, std::initializer_list<int32_t> children = {}) {
        const int32_t f = FindOrAddFamil(h, w);
        EXPECT_GT(f, 0);
        for (int32_t c : children) g.Indiv[c].iFamc = f;
        g.Famil[f].fTouched = 0;
        return f;
    }
    static int32_t ByName(const std::string& name) {
        for (int32_t i = 1; i <= g.IndivCount; ++i)
            if (g.Indiv[i].iName.trimmed() == name) return i;
        return 0;
    }
    static void Note(int32_t who, const std::string& text) {
        g.IndivNoteText = text;
        StoreNotes("I", who, "N");
    }
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
    // Record numbers run 1..n with no gap, nothing is marked removed.
    static void ExpectCompact() {
        for (int32_t i = 1; i <= g.IndivCount; ++i) {
            EXPECT_EQ(g.Indiv[i].iRIN, i);
            EXPECT_EQ(g.Indiv[i].iXref.value(), std::to_string(i));
            EXPECT_NE(g.Indiv[i].iTree, kRemovedTree);
        }
        for (int32_t f = 1; f <= g.FamilCount; ++f) {
            EXPECT_EQ(g.Famil[f].fRIN, f);
            EXPECT_NE(g.Famil[f].fTree, kRemovedTree);
        }
        ExpectTablesConsistent();
    }
};

TEST_F(PruneTest, FatherOnlyLeavesAnUnknownInHisPlaceAndUndoRestoresAll) {
    ProcessClipboard(ReadPage("igi_family.txt"));
    ASSERT_EQ(g.IndivCount, 9);
    Note(ByName("Thomas ASHWORTH"), "Weaver of Rochdale");
    Note(ByName("Mary KERSHAW"), "Born at Bury");
    Note(ByName("Ellen ASHWORTH"), "Died young");
    g.CurIndiv = ByName("Ellen ASHWORTH");
    const TablesInUse before = TablesInUse::Now();

    // Thomas is individual 1, the root of a one-tree work: his wife goes.
    g.PruneIndiv = ByName("Mary KERSHAW");
    g.DataChanged = "N";
    PruneSetup();
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
    PruneOk(PruneOption::PersonOnly);
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
}

TEST_F(PruneTest, PersonOfTreeTwoWithAllRelationsLeavesTreeOneWhole) {
    ProcessClipboard(ReadPage("igi_family.txt"));
    ui.Answer(MsgResult::Ok);  // a new tree was started
    ProcessClipboard(ReadPage("af_family.txt"));
    ASSERT_EQ(g.IndivCount, 17);
    ASSERT_EQ(g.TreeCount, 2);
    const std::vector<IndivRec> treeOne(g.Indiv.begin() + 1, g.Indiv.begin() + 10);
    const std::vector<FamilRec> treeOneFamilies(g.Famil.begin() + 1, g.Famil.begin() + 4);

    g.PruneIndiv = ByName("William Henry WHITLOCK");
    ui.Answer(MsgResult::Ok);
    ui.Answer(MsgResult::Ok);
    PruneOk(PruneOption::All);
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
}

// Small works for the rules of each option.
struct PruneCase {
    const char* what;
    PruneOption option;
    const char* target;
    const char* message;
    std::vector<std::string> gone;  // besides the target
};

class PruneRules : public PruneTest, public ::testing::WithParamInterface<PruneCase> {};

// Tree 1: Adam + Eve with children Cain, Abel and Zillah; Cain + Ada (Ada's
// parents Lamech + Zillah) with child Enoch; Abel + Naamah, childless. Tree 2: Seth
// + Tubal with child Enos; Seth's parents Noah + Emzara.
TEST_P(PruneRules, RemovesWhatNoLongerHangsOnTheMainTree) {
    const PruneCase& c = GetParam();
    const int32_t adam = Person("Adam", "M"), eve = Person("Eve", "F");
    const int32_t cain = Person("Cain", "M"), abel = Person("Abel", "M");
    const int32_t ada = Person("Ada", "F"), enoch = Person("Enoch", "M");
    const int32_t lamech = Person("Lamech", "M"), zillah = Person("Zillah", "F");
    const int32_t naamah = Person("Naamah", "F");
    const int32_t seth = Person("Seth", "M"), tubal = Person("Tubal", "F"), enos = Person("Enos", "M");
    const int32_t noah = Person("Noah", "M"), emzara = Person("Emzara", "F");
    Couple(adam, eve, {cain, abel, zillah});
    Couple(cain, ada, {enoch});
    Couple(lamech, zillah, {ada});
    Couple(abel, naamah);
    Couple(seth, tubal, {enos});
    Couple(noah, emzara, {seth});
    LoadGenTree();
    ASSERT_EQ(g.TreeCount, 2);
    std::vector<std::string> before;
    for (int32_t i = 1; i <= g.IndivCount; ++i) before.push_back(g.Indiv[i].iName.trimmed());

    g.PruneIndiv = ByName(c.target);
    ui.Answer(MsgResult::Ok);
    PruneTree(c.option);
    ASSERT_EQ(ui.boxes.size(), 1u) << c.what;
    EXPECT_EQ(ui.boxes[0].text, c.message) << c.what;
    EXPECT_EQ(ui.boxes[0].icon, MsgIcon::Information);
    RenumberTables();
    LoadGenTree();
    for (const std::string& name : before) {
        const bool expectGone = name == c.target || std::find(c.gone.begin(), c.gone.end(), name) != c.gone.end();
        EXPECT_EQ(ByName(name) == 0, expectGone) << c.what << ": " << name;
    }
    ExpectCompact();
    for (int32_t i = 1; i <= g.IndivCount; ++i) EXPECT_GE(g.Indiv[i].iFamsCount, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PruneRules,
    ::testing::Values(
        PruneCase{"only, childless family goes", PruneOption::PersonOnly, "Abel", "Abel removed.", {}},
        PruneCase{"ancestors of tree 2", PruneOption::Ancestors, "Seth", "Seth and 2 ancestors removed.",
                  {"Noah", "Emzara"}},
        PruneCase{"ancestors in the main tree stay", PruneOption::Ancestors, "Cain",
                  "Cain removed.\nAncestors are connected to the main tree and could not be removed", {}},
        PruneCase{"descendants of tree 2", PruneOption::Descendants, "Seth", "Seth and 3 descendants removed.",
                  {"Tubal", "Enos"}},
        PruneCase{"descendants tied to tree 1 by the wife's parents", PruneOption::Descendants, "Cain",
                  "Cain removed.\nDescendants are connected to the main tree and could not be removed", {}},
        PruneCase{"childless only family: zero descendants", PruneOption::Descendants, "Abel",
                  "Abel and 0 descendants removed.", {}},
        PruneCase{"no parents: zero ancestors", PruneOption::Ancestors, "Naamah", "Naamah and 0 ancestors removed.",
                  {}},
        PruneCase{"both ways in tree 2", PruneOption::All, "Seth",
                  "Seth, 2 ancestors, and 3 descendants removed.", {"Noah", "Emzara", "Tubal", "Enos"}},
        PruneCase{"a leaf of tree 2 takes his tree along", PruneOption::All, "Enos",
                  "Enos and 4 ancestors removed.\nDescendants connected to the main tree could not be removed",
                  {"Seth", "Tubal", "Noah", "Emzara"}}));

TEST_F(PruneTest, LeafOfASingleTreeKeepsEverythingElse) {
    const int32_t adam = Person("Adam", "M"), eve = Person("Eve", "F"), cain = Person("Cain", "M");
    Couple(adam, eve, {cain});
    LoadGenTree();
    const std::pair<PruneOption, const char*> cases[] = {
        {PruneOption::Ancestors, "Cain removed,\n but ancestors could not be removed"},
        {PruneOption::Descendants, "Cain removed,\nbut descendants could not be removed"},
        {PruneOption::All, "Cain removed,\n but ancestors/descendants could not be removed"},
    };
    const TablesInUse whole = TablesInUse::Now();
    for (const auto& [option, message] : cases) {
        g.PruneIndiv = cain;
        ui.Answer(MsgResult::Ok);
        PruneTree(option);
        EXPECT_EQ(ui.boxes.back().text, message);
        EXPECT_EQ(g.Indiv[adam].iTree, 1);
        EXPECT_EQ(g.Indiv[eve].iTree, 1);
        EXPECT_EQ(g.Indiv[cain].iTree, kRemovedTree);
        // Counts follow the links: the couple has no child left.
        EXPECT_EQ(g.Famil[1].fChilCount, 0);
        g.Indiv.assign(whole.indiv.begin(), whole.indiv.end());
        g.Indiv.resize(kMaxIndiv + 1);
        LoadGenTree();
    }
}

TEST_F(PruneTest, FullTableMakesNoPlaceholder) {
    const int32_t adam = Person("Adam", "M"), eve = Person("Eve", "F"), cain = Person("Cain", "M");
    Couple(adam, eve, {cain});
    g.IndivCount = kMaxIndiv;  // the rest of the table is taken
    for (int32_t i = 4; i <= kMaxIndiv; ++i) g.Indiv[i].iRIN = i;
    g.LastIndiv = 2;
    LoadGenTree();
    g.PruneIndiv = adam;
    ui.Answer(MsgResult::Ok);
    PruneTree(PruneOption::PersonOnly);
    EXPECT_EQ(g.Famil[1].fHusb, 0);
    EXPECT_EQ(g.Famil[1].fWife, eve);
    EXPECT_EQ(g.Indiv[cain].iFamc, 1);
    EXPECT_EQ(g.Indiv[eve].iFamsCount, 1);
}

TEST_F(PruneTest, SetupRefusalsAndCancelledConfirmationChangeNothing) {
    const int32_t adam = Person("Adam", "M"), eve = Person("Eve", "F");
    Couple(adam, eve);
    LoadGenTree();
    const TablesInUse whole = TablesInUse::Now();

    g.PruneIndiv = 1;
    ui.Answer(MsgResult::Ok);
    PruneSetup();
    EXPECT_EQ(ui.boxes.back().text, "Sorry! Unable to prune root individual in file.");
    EXPECT_EQ(panel.shown, 0);

    g.PruneIndiv = eve;
    g.DataChanged = "Y";
    ui.Answer(MsgResult::Cancel);
    PruneSetup();
    EXPECT_EQ(ui.boxes.back().text, "Backup work before pruning?");
    EXPECT_EQ(ui.boxes.back().title, "Warning!");
    EXPECT_EQ(ui.boxes.back().buttons, MsgButtons::YesNoCancel);
    EXPECT_EQ(panel.shown, 0);
    EXPECT_EQ(g.PrunePending, "N");

    // Cancel at the confirmation: no snapshot, no change.
    ui.Answer(MsgResult::Cancel);
    PruneOk(PruneOption::PersonOnly);
    EXPECT_FALSE(g.UndoReady);
    EXPECT_TRUE(TablesInUse::Now() == whole);
    EXPECT_EQ(g.PrunePending, "N");

    // A person no longer in the work when OK arrives: nothing asked, nothing done.
    for (int32_t stale : {0, 3, -1}) {
        g.PruneIndiv = stale;
        PruneOk(PruneOption::All);
    }
    EXPECT_TRUE(TablesInUse::Now() == whole);

    PruneCancel();
    EXPECT_EQ(g.PruneIndiv, 0);
    EXPECT_EQ(g.PrunePending, "N");
}

class RenumberTest : public PruneTest {};

TEST_F(RenumberTest, NothingRemovedKeepsNumbersAndLinks) {
    const int32_t a = Person("Ann", "F"), b = Person("Bob", "M"), c = Person("Cid", "M");
    Couple(b, a, {c});
    Note(c, "a note");
    g.Indiv[a].iXref = "I77";
    LoadGenTree();
    RenumberTables();
    EXPECT_EQ(g.IndivCount, 3);
    EXPECT_EQ(g.PrunedIndivs, 0);
    EXPECT_EQ(g.PrunedFamils, 0);
    EXPECT_EQ(g.Indiv[a].iXref.value(), "1");
    EXPECT_EQ(g.Indiv[c].iFamc, 1);
    EXPECT_EQ(g.Famil[1].fHusb, b);
    EXPECT_EQ(g.Notes[1].nOwner, c);
    EXPECT_TRUE((g.IndivNewNo == std::vector<int32_t>{0, 1, 2, 3}));
}

TEST_F(RenumberTest, RemovedRecordsGoAndEveryNumberFollows) {
    std::vector<int32_t> p;
    for (const char* n : {"P1", "P2", "P3", "P4", "P5"}) p.push_back(Person(n, "M"));
    g.Indiv[5].iSex = "F";
    Couple(4, 5, {3});                // family 1
    Couple(2, 0);                     // family 2, removed below
    const int32_t f3 = Couple(1, 0);  // family 3
    Note(2, "gone");
    Note(4, "stays");
    g.FamilNoteText = "family note";
    StoreNotes("F", 2, "N");
    StoreNotes("F", f3, "N");
    NoteRec loose;
    loose.nKind = "N";
    g.Notes[AddNotes()] = loose;  // a stand-alone note line without owner
    g.Indiv[2].iTree = kRemovedTree;
    g.Famil[2].fTree = kRemovedTree;
    g.Famil[2].fHusb = 0;
    g.CurIndiv = 4;
    g.LastIndiv = 2;
    g.CurFamil = 3;
    g.TreeSlot = {};
    g.TreeSlot[0] = 5;
    g.TreeSlot[1] = 2;
    g.PageMainIndiv = 2;
    PageScratchRec& ps = g.PageScratch;
    ps.pgRIN = 2;
    ps.pgName = "P2";
    ps.PageSpouseCount = 1;
    ps.PageSpouses[1].spRIN = 5;
    ps.PageSpouses[1].spName = "old name";
    ps.PageChildren[30].chRIN = 99;  // out of the table
    ps.PageChildren[30].chName = "Ghost";

    RenumberTables();
    EXPECT_EQ(g.IndivCount, 4);
    EXPECT_EQ(g.FamilCount, 2);
    EXPECT_EQ(g.PrunedIndivs, 1);
    EXPECT_EQ(g.PrunedFamils, 1);
    EXPECT_TRUE((g.IndivNewNo == std::vector<int32_t>{0, 1, 3, 4, 5}));
    EXPECT_TRUE((g.FamilNewNo == std::vector<int32_t>{0, 1, 3}));
    EXPECT_EQ(g.Indiv[3].iName.value(), "P4");
    EXPECT_EQ(g.Famil[1].fHusb, 3);
    EXPECT_EQ(g.Famil[1].fWife, 4);
    EXPECT_EQ(g.Indiv[2].iFamc, 1);
    ASSERT_EQ(g.NotesCount, 2);
    EXPECT_EQ(g.LastNote, 2);
    EXPECT_EQ(g.Notes[1].nText.value(), "stays");
    EXPECT_EQ(g.Notes[1].nOwner, 3);
    EXPECT_EQ(g.Notes[1].nXref.value(), "3");
    // The family note follows its family, whatever individual had its number.
    EXPECT_EQ(g.Notes[2].nKind.value(), "F");
    EXPECT_EQ(g.Notes[2].nOwner, 2);
    EXPECT_EQ(g.CurIndiv, 3);
    EXPECT_EQ(g.LastIndiv, 0);
    EXPECT_EQ(g.CurFamil, 2);
    EXPECT_EQ(g.TreeSlot[0], 4);
    EXPECT_EQ(g.TreeSlot[1], 0);
    EXPECT_EQ(g.PageMainIndiv, 0);
    EXPECT_EQ(ps.pgRIN, 0);
    EXPECT_EQ(ps.pgName, "X");
    EXPECT_EQ(ps.PageSpouses[1].spRIN, 4);
    EXPECT_EQ(ps.PageSpouses[1].spName.value(), "P5");
    EXPECT_EQ(ps.PageChildren[30].chRIN, 0);
    EXPECT_EQ(ps.PageChildren[30].chName.value(), "X");
    ExpectCompact();
}

}  // namespace
}  // namespace lintora
