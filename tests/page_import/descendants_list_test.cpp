#include "page_import/descendants_list.h"

#include <string>

#include "page_import/paste.h"
#include "record_store/matching.h"
#include "record_store/program_state.h"
#include "tests/page_import/report_pages_support.h"
#include "tests/support/case_names.h"

namespace lintora {
namespace {

using testing::ReadPage;
using testing::ReportPageTest;

class DescendantsTest : public ReportPageTest {
protected:
    static int32_t Couple(int32_t h, int32_t w) {
        for (int32_t f = 1; f <= g.FamilCount; ++f)
            if (g.Famil[f].fHusb == h && g.Famil[f].fWife == w) return f;
        ADD_FAILURE() << "no family " << h << " + " << w;
        return -1;
    }
};

TEST_F(DescendantsTest, SampleListFilesGenerationsSpousesAndFamilies) {
    ProcessClipboard(ReadPage("anc_descendants.txt"));
    ASSERT_EQ(g.PageType, "Des");
    ASSERT_EQ(g.IndivCount, 14);
    ASSERT_EQ(g.FamilCount, 5);
    const int32_t jacob = ByName("Jacob MILLER"), peter = ByName("Peter MILLER"), maria = ByName("Maria MILLER");
    const int32_t paul = ByName("Paul MILLER"), hans = ByName("Hans BAUER"), living = ByName("Living Unknown");
    const int32_t top = Couple(jacob, ByName("Anna HOFF"));
    for (int32_t child : {peter, maria, paul}) EXPECT_EQ(g.Indiv[child].iFamc, top) << child;
    const int32_t peters = Couple(peter, living);
    for (int32_t child : {ByName("LIVING MILLER", 1), ByName("LIVING MILLER", 2), ByName("Carl MILLER")})
        EXPECT_EQ(g.Indiv[child].iFamc, peters) << child;
    // The children's surname makes the spouse the husband.
    const int32_t bauer = Couple(hans, maria);
    EXPECT_EQ(g.Indiv[ByName("Eva BAUER")].iFamc, bauer);
    EXPECT_EQ(g.Indiv[hans].iSex.value(), "M");
    EXPECT_EQ(g.Indiv[maria].iSex.value(), "F");
    // Paul has no spouse line: an unknown partner stands in for the mother.
    const int32_t pauls = Couple(paul, ByName("<unknown>"));
    EXPECT_EQ(g.Indiv[ByName("Otto MILLER")].iFamc, pauls);
    EXPECT_GT(Couple(ByName("Otto MILLER"), ByName("Ida KERN")), 0);
    // The wife of a male descendant is a woman, Peter's living wife too.
    EXPECT_EQ(g.Indiv[ByName("Ida KERN")].iSex.value(), "F");
    EXPECT_EQ(g.Indiv[living].iSex.value(), "F");
    EXPECT_EQ(g.Indiv[ByName("Anna HOFF")].iSex.value(), "F");

    EXPECT_EQ(g.Indiv[jacob].ibDate.value(), "1790");
    EXPECT_EQ(g.Indiv[jacob].idDate.value(), "1860");
    EXPECT_EQ(g.Indiv[paul].ibDate.value(), "");
    EXPECT_EQ(g.Indiv[paul].idDate.value(), "1900");
    EXPECT_EQ(g.Indiv[hans].idDate.value(), "1880");
    // Generated ids stay only on the living.
    const std::string peterKey = g.Indiv[peter].iNameKey.padded().substr(10);
    const std::string livingKey = g.Indiv[living].iNameKey.padded().substr(10);
    EXPECT_EQ(g.Indiv[ByName("LIVING MILLER", 1)].iGenID.value(), peterKey + livingKey + "1");
    EXPECT_EQ(g.Indiv[ByName("LIVING MILLER", 2)].iGenID.value(), peterKey + livingKey + "2");
    EXPECT_EQ(g.Indiv[living].iGenID.value(), livingKey + std::to_string(living) + "00000");
    for (int32_t i = 1; i <= g.IndivCount; ++i) {
        if (g.Indiv[i].iGivn.trimmed() != "LIVING" && g.Indiv[i].iGivn.trimmed() != "Living") {
            EXPECT_TRUE(g.Indiv[i].iGenID.blank()) << g.Indiv[i].iName.value();
        }
    }
    // The first person of the deepest generation with the first surname.
    EXPECT_EQ(g.PageMainIndiv, ByName("LIVING MILLER", 1));
    EXPECT_EQ(windows.label, "14 Individuals added, 0 updated; 5 Families added, 0 updated (Tree #1)");
    testing::ExpectTablesConsistent();

    const auto before = testing::TablesInUse::Now();
    ui.Answer(MsgResult::Yes);
    ProcessClipboard(ReadPage("anc_descendants.txt"));
    EXPECT_EQ(g.IndivCount, 14);
    EXPECT_EQ(g.FamilCount, 5);
    for (int32_t i = 1; i <= g.IndivCount; ++i) EXPECT_EQ(g.Indiv[i].iGenID, before.indiv[i].iGenID) << i;
}

TEST_F(DescendantsTest, KnownPersonKeepsRecordedSexAndDates) {
    MatchQuery q;
    q.name = "Eva HOLM";
    const int32_t eva = FindIndivMatches(q);
    g.Indiv[eva].ibDate = "1801";
    g.Indiv[eva].iSex = "F";
    g.Indiv[eva].idDate = "1870";
    g.Indiv[eva].iTouched = 0;
    ProcessClipboard("Descendants\nAncestry.com\nIndex\nGeneration No. 1\n1 Eva HOLM b: 1801\n    2 Nils HOLM b: 1830\n");
    EXPECT_EQ(g.IndivCount, 3);
    EXPECT_EQ(g.Indiv[eva].iSex.value(), "F");
    EXPECT_EQ(g.Indiv[eva].idDate.value(), "1870");
    EXPECT_EQ(g.Indiv[ByName("Nils HOLM")].iFamc, Couple(ByName("<unknown>"), eva));
}

TEST_F(DescendantsTest, ListsOfTwoNamesakesKeepTheirUnnamedWivesAndChildrenApart) {
    // Two Paul MILLERs, forty years apart, each with a son Otto and no wife
    // on his list: each family gets an unnamed mother of its own, and the
    // second Otto is not taken for the first because both mothers are unnamed.
    auto list = [](const char* birth) {
        return std::string("Descendants of Paul Miller\nAncestry.com - WorldConnect Descendants\nIndex\n"
                           "Generation No. 1\n1 Paul MILLER b: ") +
               birth + "\n    2 Otto MILLER\n";
    };
    ProcessClipboard(list("1750"));
    ASSERT_EQ(g.IndivCount, 3);
    const int32_t paulA = ByName("Paul MILLER"), ottoA = ByName("Otto MILLER"), wifeA = ByName("<unknown>");
    const int32_t familyA = Couple(paulA, wifeA);

    ui.matchAnswers.push_back(0);  // the first Otto is offered: not a match
    ui.Answer(MsgResult::Ok);      // the second list's people form a tree of their own
    ProcessClipboard(list("1790"));
    ASSERT_EQ(ui.matchRequests.size(), 1u);
    EXPECT_EQ(ui.matchRequests[0].name, "Otto MILLER");
    ASSERT_EQ(ui.matchRequests[0].rows.size(), 10u);
    EXPECT_EQ(ui.matchRequests[0].rows[0].indiv, ottoA);
    ASSERT_EQ(g.IndivCount, 6);
    ASSERT_EQ(g.FamilCount, 2);
    const int32_t paulB = ByName("Paul MILLER", 2), ottoB = ByName("Otto MILLER", 2), wifeB = ByName("<unknown>", 2);
    EXPECT_EQ(g.Indiv[ottoA].iFamc, familyA);
    EXPECT_EQ(g.Indiv[ottoB].iFamc, Couple(paulB, wifeB));
    EXPECT_EQ(g.Indiv[wifeA].iFamsCount, 1);
    EXPECT_EQ(g.Indiv[wifeB].iFamsCount, 1);
    testing::ExpectTablesConsistent();

    // The first list again finds its own people, unnamed wife and son too.
    ProcessClipboard(list("1750"));
    EXPECT_EQ(ui.matchRequests.size(), 1u);
    EXPECT_EQ(g.IndivCount, 6);
    EXPECT_EQ(g.FamilCount, 2);
    EXPECT_EQ(g.Indiv[ottoA].iFamc, familyA);
    EXPECT_EQ(g.Indiv[ottoB].iFamc, Couple(paulB, wifeB));
}

TEST_F(DescendantsTest, AnyGenerationNumberIsReadWithoutAFixedTable) {
    SplitPageText("Descendants\nAncestry.com\n1 Karl BERG\n  + Eva LUND\n999999999 Odd ONE b: 1900\n"
                  "0 Zero NIL\n    2 Nils BERG\n");
    ProcessDesANC();
    // Generation 0 has no row above it and is not filed; the deep one has no parents.
    ASSERT_EQ(g.IndivCount, 4);
    EXPECT_EQ(g.Indiv[ByName("Odd ONE")].iFamc, 0);
    EXPECT_EQ(g.Indiv[ByName("Nils BERG")].iFamc, Couple(ByName("Karl BERG"), ByName("Eva LUND")));
    testing::ExpectTablesConsistent();
}

struct LineCase {
    const char* line;
    bool ok;
    const char* mark;
    int32_t level;
    const char* name;
    const char* birth;
    const char* death;
};

class ParseDesLineCases : public ::testing::TestWithParam<LineCase> {};

TEST_P(ParseDesLineCases, Splits) {
    const LineCase& c = GetParam();
    std::string mark, name, birth, death;
    int32_t level = 7;
    EXPECT_EQ(ParseDesLine(c.line, mark, level, name, birth, death), c.ok) << c.line;
    EXPECT_EQ(mark, c.mark) << c.line;
    EXPECT_EQ(level, c.level) << c.line;
    EXPECT_EQ(name, c.name) << c.line;
    EXPECT_EQ(birth, c.birth) << c.line;
    EXPECT_EQ(death, c.death) << c.line;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ParseDesLineCases,
    ::testing::Values(LineCase{"2 John SMITH b: 1850 d: 1920", true, " ", 2, "John SMITH", "1850", "1920"},
                      LineCase{"2 John SMITH d: 1920", true, " ", 2, "John SMITH", "", "1920"},
                      LineCase{"2 John SMITH b: 1850", true, " ", 2, "John SMITH", "1850", ""},
                      // With two parts the letters are not looked at.
                      LineCase{"2 John SMITH x: 1850 y: 1920", true, " ", 2, "John SMITH", "1850", "1920"},
                      LineCase{"+ Mary *JONES* b: WFT Est. 1850", true, "+", 7, "Mary JONES", "1850", ""},
                      LineCase{"+ ?", true, "+", 7, "<unknown>", "", ""},
                      // A generation of two digits keeps the whole name.
                      LineCase{"12 Ann LEE", true, " ", 12, "Ann LEE", "", ""},
                      LineCase{"2 A b: 1 d: 2 e: 3", true, " ", 2, "A", "", ""},
                      LineCase{"2x John", false, " ", 7, "", "", ""},
                      LineCase{"99999999999 John", false, " ", 7, "", "", ""},
                      LineCase{"+John", false, " ", 7, "", "", ""},
                      LineCase{"*", false, " ", 7, "", "", ""}),
    testing::NamedBy(&LineCase::line));

TEST(DescendantsSpouseColumn, SpouseGenerationFromThePlusColumn) {
    // Checked through a page: "+" at columns 5, 6, 7 and 9 all give generation 2.
    for (int column : {5, 6, 7, 9}) {
        ResetProgramState();
        SplitPageText("Descendants\nAncestry.com\n1 Karl BERG\n    2 Nils BERG\n" + std::string(column - 1, ' ') +
                      "+ Eva LUND\n");
        ProcessDesANC();
        // Karl, his unknown partner, Nils and Eva.
        ASSERT_EQ(g.IndivCount, 4) << column;
        EXPECT_EQ(g.Famil[g.FamilCount].fHusb, 3) << column;
        EXPECT_EQ(g.Famil[g.FamilCount].fWife, 4) << column;
    }
}

}  // namespace
}  // namespace lintora
