#include "page_import/register_report.h"

#include <string>
#include <vector>

#include "page_import/paste.h"
#include "record_store/matching.h"
#include "record_store/program_state.h"
#include "tests/page_import/report_pages_support.h"
#include "tests/support/case_names.h"

namespace lintora {
namespace {

using testing::ReadPage;
using testing::ReportPageTest;

class RegisterTest : public ReportPageTest {
protected:
    static void ExpectChildOf(const std::string& child, int32_t family) {
        EXPECT_EQ(g.Indiv[ByName(child)].iFamc, family) << child;
    }
};

TEST_F(RegisterTest, RegisterLinksThreeGenerationsAndAddsNothingTheSecondTime) {
    ProcessClipboard(ReadPage("anc_register.txt"));
    ASSERT_EQ(g.PageType, "Reg");
    ASSERT_EQ(g.IndivCount, 20);
    ASSERT_EQ(g.FamilCount, 8);

    const int32_t william = Couple("William SMITH", "Sarah BROWN");
    const int32_t john = Couple("John SMITH", "Ellen GRAY");
    const int32_t jane = Couple("Henry SMITH", "Jane COOK");
    const int32_t alice = Couple("Henry SMITH", "Alice WEBB");
    for (const char* c : {"John SMITH", "Mary SMITH", "Henry SMITH"}) ExpectChildOf(c, william);
    for (const char* c : {"Peter SMITH", "Ruth SMITH"}) ExpectChildOf(c, john);
    ExpectChildOf("Clara SMITH", jane);
    ExpectChildOf("Frank SMITH", alice);
    // Frank, Henry's only child, comes back with his own entry: his children are his.
    const int32_t frank = Couple("Frank SMITH", "Rose DALE");
    for (const char* c : {"George SMITH", "Emma SMITH"}) ExpectChildOf(c, frank);
    EXPECT_EQ(g.Famil[frank].fmDate.value(), "1875");
    // A child line's sex comes from the pronoun of its death sentence.
    EXPECT_EQ(g.Indiv[ByName("Clara SMITH")].iSex.value(), "F");
    EXPECT_EQ(g.Indiv[ByName("Clara SMITH")].idDate.value(), "1900");
    ExpectChildOf("William SMITH", 0);
    // Each spouse's parents are a family of their own.
    ExpectChildOf("Sarah BROWN", Couple("Thomas BROWN", "Ann LEE"));
    ExpectChildOf("Ellen GRAY", Couple("Peter GRAY", "Ruth KING"));
    // A marriage on a child line makes the couple's family.
    EXPECT_EQ(g.Famil[Couple("Amos HILL", "Ruth SMITH")].fmDate.value(), "1862");

    EXPECT_EQ(g.Famil[william].fmDate.value(), "4 Jun 1815");
    EXPECT_EQ(g.Famil[william].fmPlace.value(), "Boston, Suffolk, Massachusetts");
    EXPECT_EQ(g.Famil[jane].fmDate.value(), "1845");
    EXPECT_EQ(g.Famil[alice].fmPlace.value(), "Athens, Athens, Ohio");
    const IndivRec& w = g.Indiv[ByName("William SMITH")];
    EXPECT_EQ(w.iSex.value(), "M");
    EXPECT_EQ(w.ibDate.value(), "12 Mar 1790");
    EXPECT_EQ(w.idDate.value(), "3 Jan 1860");
    EXPECT_EQ(w.idPlace.value(), "Marietta, Washington, Ohio");
    const IndivRec& s = g.Indiv[ByName("Sarah BROWN")];
    EXPECT_EQ(s.iSex.value(), "F");
    EXPECT_EQ(s.ibPlace.value(), "Salem, Essex, Massachusetts");
    EXPECT_EQ(s.idDate.value(), "1870");
    EXPECT_EQ(g.Indiv[ByName("Henry SMITH")].idPlace.value(), "Athens, Athens, Ohio");
    EXPECT_EQ(g.Indiv[ByName("John SMITH")].idDate.value(), "1880");
    const IndivRec& mary = g.Indiv[ByName("Mary SMITH")];
    EXPECT_EQ(mary.ibDate.value(), "1819");
    EXPECT_EQ(mary.ibPlace.value(), "Boston, Suffolk, Massachusetts");
    EXPECT_EQ(mary.idPlace.value(), "Marietta, Washington, Ohio");
    // No page-local id stays.
    for (int32_t i = 1; i <= g.IndivCount; ++i) EXPECT_TRUE(g.Indiv[i].iGenID.blank()) << i;
    // The main person is the last first-surname person filed from an entry.
    EXPECT_EQ(g.PageMainIndiv, ByName("Frank SMITH"));
    EXPECT_EQ(windows.label, "20 Individuals added, 0 updated; 8 Families added, 0 updated (Tree #1)");
    testing::ExpectTablesConsistent();

    ui.Answer(MsgResult::Yes);
    ProcessClipboard(ReadPage("anc_register.txt"));
    EXPECT_EQ(g.IndivCount, 20);
    EXPECT_EQ(g.FamilCount, 8);
}

TEST_F(RegisterTest, RegisterNamingAKnownPersonWithoutDatesKeepsHisDatesAndSex) {
    MatchQuery q;
    q.name = "Pat SMITH";
    const int32_t pat = FindIndivMatches(q);
    g.Indiv[pat].iSex = "F";
    g.Indiv[pat].ibDate = "1801";
    g.Indiv[pat].ibPlace = "Salem";
    q = MatchQuery{};
    q.name = "Lee ROSS";
    const int32_t other = FindIndivMatches(q);
    g.Indiv[other].iGenID = "7";  // an earlier paste's id is not this page's to clear
    g.Indiv[pat].iTouched = g.Indiv[other].iTouched = 0;  // filed by an earlier paste
    ui.matchAnswers.push_back(pat);                        // the user takes her
    ui.Answer(MsgResult::Ok);                              // Lee Ross stays a tree of his own
    ProcessClipboard("WorldConnect\nRootsWeb\nDescendant Register, Generation No. 1\n"
                     "1. Pat SMITH. He married Ann BELL.\nChildren of Pat SMITH and Ann BELL are:\n"
                     "2 i. Tom SMITH was born 1830.\n");
    EXPECT_EQ(g.Indiv[pat].iSex.value(), "F");
    EXPECT_EQ(g.Indiv[pat].ibDate.value(), "1801");
    EXPECT_EQ(g.Indiv[pat].ibPlace.value(), "Salem");
    EXPECT_EQ(g.Indiv[other].iGenID.value(), "7");
    ASSERT_EQ(g.IndivCount, 4);
    // The children's surname does not turn the recorded woman into a husband.
    const int32_t fam = g.Indiv[ByName("Tom SMITH")].iFamc;
    ASSERT_GT(fam, 0);
    EXPECT_EQ(g.Indiv[g.Famil[fam].fWife].iName.value(), "Pat SMITH");
}

TEST_F(RegisterTest, UnmarriedEntryKeepsItsOwnUnnamedWife) {
    // Adam has no marriage: an unnamed wife stands in as his children's mother.
    const std::string adam = "WorldConnect\nRootsWeb\nDescendant Register, Generation No. 1\n"
                             "1. Adam LEE was born 1800.\nChildren of Adam LEE are:\n2 i. Seth LEE was born 1830.\n";
    ProcessClipboard(adam);
    ASSERT_EQ(g.IndivCount, 3);
    ASSERT_EQ(g.FamilCount, 1);
    const int32_t family = Couple("Adam LEE", "<unknown>");
    ExpectChildOf("Seth LEE", family);

    // Pasted again, the page finds Adam's unnamed wife through Adam himself.
    ui.Answer(MsgResult::Yes);
    ProcessClipboard(adam);
    EXPECT_EQ(g.IndivCount, 3);
    EXPECT_EQ(g.FamilCount, 1);

    // Another Adam LEE, forty years older, gets an unnamed wife of his own.
    ui.Answer(MsgResult::Ok);  // his people form a tree of their own
    ProcessClipboard("WorldConnect\nRootsWeb\nDescendant Register, Generation No. 1\n"
                     "1. Adam LEE was born 1760.\nChildren of Adam LEE are:\n2 i. Abel LEE was born 1790.\n");
    ASSERT_EQ(g.IndivCount, 6);
    ASSERT_EQ(g.FamilCount, 2);
    const int32_t elder = g.Indiv[ByName("Abel LEE")].iFamc;
    ASSERT_GT(elder, 0);
    EXPECT_EQ(g.Famil[elder].fHusb, ByName("Adam LEE", 2));
    EXPECT_EQ(g.Famil[elder].fWife, ByName("<unknown>", 2));
    EXPECT_EQ(g.Indiv[ByName("<unknown>")].iFamsCount, 1);
    testing::ExpectTablesConsistent();
}

TEST_F(RegisterTest, SpousesUnnamedFatherIsFoundAgainThroughHerMother) {
    ExpectUnnamedFatherFoundAgain("WorldConnect\nRootsWeb\nDescendant Register, Generation No. 1\n"
                                  "1. Adam LEE was born 1800. He married Ruth KING 1825, daughter of ? and Ann COLE.\n",
                                  "Ruth KING", "Ann COLE", 4, 2);
}

// Header and entry-number rules, one short page each.
struct RegisterCase {
    const char* what;
    const char* body;
    int32_t individuals;
    int32_t families;
    const char* child;       // a person whose parents are checked
    const char* father;      // his expected father ("" = no family as child)
};

// Cases whose child has no parents start a second tree, which the paste reports.
bool Unlinked(const RegisterCase& c) { return *c.father == 0; }

class RegisterCases : public RegisterTest, public ::testing::WithParamInterface<RegisterCase> {};

TEST_P(RegisterCases, FilesAsExpected) {
    const RegisterCase& c = GetParam();
    if (Unlinked(c)) ui.Answer(MsgResult::Ok);
    ProcessClipboard(std::string("WorldConnect\nRootsWeb\nDescendant Register, Generation No. 1\n") + c.body);
    EXPECT_EQ(g.IndivCount, c.individuals) << c.what;
    EXPECT_EQ(g.FamilCount, c.families) << c.what;
    const int32_t f = g.Indiv[ByName(c.child)].iFamc;
    if (*c.father == 0) {
        EXPECT_EQ(f, 0) << c.what;
    } else {
        ASSERT_GT(f, 0) << c.what;
        EXPECT_EQ(g.Indiv[g.Famil[f].fHusb].iName.value(), c.father) << c.what;
    }
    testing::ExpectTablesConsistent();
}

INSTANTIATE_TEST_SUITE_P(
    Register, RegisterCases,
    ::testing::Values(
        RegisterCase{"no marriage: one unknown spouse, a header naming the person alone",
                     "1. Karl BERG was born 1800.\nChildren of Karl BERG are:\n2 i. Nils BERG was born 1830.\n", 3, 1,
                     "Nils BERG", "Karl BERG"},
        RegisterCase{"header with a question mark",
                     "1. Karl BERG. He married Eva LUND.\nChildren of ? and Eva LUND are:\n2 i. Nils BERG.\n", 3, 1,
                     "Nils BERG", ""},
        RegisterCase{"couple named the other way round",
                     "1. Karl BERG. He married Eva LUND.\nChildren of Eva LUND and Karl BERG are:\n2 i. Nils BERG.\n",
                     3, 1, "Nils BERG", "Karl BERG"},
        RegisterCase{"first entry above 9 is a child line",
                     "12. Karl BERG. He married Eva LUND.\nChildren of Karl BERG and Eva LUND are:\n13 i. Nils BERG.\n",
                     3, 1, "Nils BERG", ""},
        RegisterCase{"unknown couple", "1. Karl BERG. He married Eva LUND.\nChildren of Per BERG and Eva LUND are:\n"
                                        "2 i. Nils BERG.\n",
                     3, 1, "Nils BERG", ""},
        RegisterCase{"a repeated line is read once",
                     "1. Karl BERG. He married Eva LUND.\nChildren of Karl BERG and Eva LUND are:\n"
                     "2 i. Nils BERG was born 1830.\n2 i. Nils BERG was born 1830.\n",
                     3, 1, "Nils BERG", "Karl BERG"},
        RegisterCase{"numbers out of range are no entry numbers",
                     "1. Karl BERG. He married Eva LUND.\nChildren of Karl BERG and Eva LUND are:\n"
                     "2 i. Nils BERG.\n99999999999. Sven BERG.\n-4. Olle BERG.\n0. Kim BERG.\n",
                     3, 1, "Nils BERG", "Karl BERG"},
        RegisterCase{"Child of ... is:",
                     "1. Karl BERG. He married Eva LUND.\nChild of Karl BERG and Eva LUND is:\n2 i. Nils BERG.\n", 3,
                     1, "Nils BERG", "Karl BERG"}),
    testing::NamedBy(&RegisterCase::what));

}  // namespace
}  // namespace lintora
