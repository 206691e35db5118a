#include "record_store/prune.h"

#include <string>
#include <vector>

#include "record_store/notes.h"
#include "record_store/program_state.h"
#include "record_store/renumber.h"
#include "record_store/trees.h"
#include "tests/record_store/prune_fixture.h"
#include "tests/support/case_names.h"

namespace lintora {
namespace {

using testing::PruneTest;
using testing::TablesInUse;

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
                  {"Seth", "Tubal", "Noah", "Emzara"}}),
    testing::NamedBy(&PruneCase::what));

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
