#include "page_import/pedigree_table.h"

#include <string>

#include "page_import/paste.h"
#include "record_store/program_state.h"
#include "tests/page_import/report_pages_support.h"
#include "tests/support/case_names.h"

namespace lintora {
namespace {

using testing::ReadPage;
using testing::ReportPageTest;

class PedigreeTableTest : public ReportPageTest {
protected:
    static const FamilRec& ParentsOf(const std::string& name) {
        static const FamilRec none;
        const int32_t f = Person(name).iFamc;
        EXPECT_GT(f, 0) << name;
        return f > 0 ? g.Famil[f] : none;
    }
    static std::string NameOf(int32_t i) { return g.Indiv[i].iName.value(); }
};

TEST_F(PedigreeTableTest, SampleChartFilesFifteenBoxesWithParentsAndMarriages) {
    ProcessClipboard(ReadPage("anc_pedigree_table.txt"));
    ASSERT_EQ(g.PageType, "Ptb");
    // Fourteen named boxes and one stand-in for the "?" mother.
    ASSERT_EQ(g.IndivCount, 15);
    ASSERT_EQ(g.FamilCount, 7);
    const struct {
        const char* child;
        const char* father;
        const char* mother;
    } lines[] = {{"Robert HALE", "Thomas HALE", "Alice BELL"},  {"Thomas HALE", "George HALE", "Emma PRICE"},
                 {"Alice BELL", "Henry BELL", "Jane FOX"},      {"George HALE", "William HALE", "Sarah DAY"},
                 {"Emma PRICE", "John PRICE", "Mary WOOD"},     {"Henry BELL", "Isaac BELL", "<unknown>"},
                 {"Jane FOX", "Adam FOX", "Ruth COLE"}};
    for (const auto& l : lines) {
        const FamilRec& F = ParentsOf(l.child);
        EXPECT_EQ(NameOf(F.fHusb), l.father) << l.child;
        EXPECT_EQ(NameOf(F.fWife), l.mother) << l.child;
    }
    EXPECT_EQ(Person("Robert HALE").ibDate.value(), "9 Sep 1910");
    EXPECT_EQ(Person("Robert HALE").ibPlace.value(), "London, England");
    EXPECT_EQ(Person("William HALE").idDate.value(), "1890");
    EXPECT_EQ(Person("William HALE").idPlace.value(), "Deal, Kent, England");
    EXPECT_EQ(Person("John PRICE").icDate.value(), "2 Jun 1825");
    EXPECT_EQ(Person("John PRICE").icPlace.value(), "Canterbury, Kent, England");
    EXPECT_EQ(Person("Alice BELL").idPlace.value(), "London, England");
    EXPECT_EQ(Person("Thomas HALE").iSex.value(), "M");
    EXPECT_EQ(Person("Emma PRICE").iSex.value(), "F");
    EXPECT_EQ(ParentsOf("Robert HALE").fmDate.value(), "1905");
    EXPECT_EQ(ParentsOf("Robert HALE").fmPlace.value(), "London, England");
    EXPECT_EQ(ParentsOf("Thomas HALE").fmDate.value(), "12 May 1875");
    EXPECT_EQ(ParentsOf("Thomas HALE").fmPlace.value(), "Canterbury, Kent, England");
    EXPECT_EQ(ParentsOf("George HALE").fmDate.value(), "1845");
    // The mother's box is "?": the father's marriage stays with the family.
    EXPECT_EQ(ParentsOf("Henry BELL").fmDate.value(), "1852");
    EXPECT_EQ(ParentsOf("Henry BELL").fmPlace.value(), "York, England");
    // Box 15, the last filed, keeps its own events.
    EXPECT_EQ(Person("Ruth COLE").ibDate.value(), "1835");
    EXPECT_EQ(Person("Ruth COLE").iSex.value(), "F");
    EXPECT_EQ(g.PageMainIndiv, ByName("Robert HALE"));
    testing::ExpectTablesConsistent();

    ui.Answer(MsgResult::Yes);
    ProcessClipboard(ReadPage("anc_pedigree_table.txt"));
    EXPECT_EQ(g.IndivCount, 15);
    EXPECT_EQ(g.FamilCount, 7);
}

TEST_F(PedigreeTableTest, OnlyAFatherNamedGivesOneStandInMother) {
    SplitPageText("Pedigree\nAncestry.com\n8 x\n1 Ola MOE\nB: 1900\n2 Per MOE\nB: 1870\n3\n");
    ProcessPtbANC();
    ASSERT_EQ(g.IndivCount, 4);  // Ola, Per, the stand-in mother and box 8 ("x"); box 3 is empty
    EXPECT_EQ(g.FamilCount, 1);
    EXPECT_EQ(NameOf(ParentsOf("Ola MOE").fWife), "<unknown>");
    EXPECT_EQ(Person("Ola MOE").iSex.value(), "U");
}

struct DateLineCase {
    const char* text;
    const char* before;
    const char* after;
    int32_t own;
    int32_t next;
};

class ParsePtbDateLineCases : public ::testing::TestWithParam<DateLineCase> {};

TEST_P(ParsePtbDateLineCases, Splits) {
    const DateLineCase& c = GetParam();
    std::string before, after;
    int32_t own = -1, next = -1;
    ParsePtbDateLine(c.text, before, after, own, next);
    EXPECT_EQ(before, c.before) << c.text;
    EXPECT_EQ(after, c.after) << c.text;
    EXPECT_EQ(own, c.own) << c.text;
    EXPECT_EQ(next, c.next) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Cells, ParsePtbDateLineCases,
    ::testing::Values(DateLineCase{"John Smith 9", "John Smith ", "", 0, 9},
                      DateLineCase{"John Smith 12", "John Smith ", "", 0, 12},
                      DateLineCase{"John Smith 16", "John Smith ", "", 16, 0},
                      DateLineCase{"P: Ohio 12 John Smith", "P: Ohio ", "John Smith", 0, 12},
                      // A one-digit number loses no letter of the name after it.
                      DateLineCase{"P: Ohio 9 Ann Lee", "P: Ohio ", "Ann Lee", 0, 9},
                      // Years are no box numbers.
                      DateLineCase{"P: Ohio 1850 12 Ann Lee", "P: Ohio 1850 ", "Ann Lee", 0, 12},
                      DateLineCase{"B: 12 Mar 1850", "B: 12 Mar 1850", "", 0, 0},
                      DateLineCase{"Ann Lee", "Ann Lee", "", 0, 0},
                      DateLineCase{"  ", "  ", "", 0, 0}),
    testing::NamedBy(&DateLineCase::text));

TEST(SplitAtMonthNameCases, SplitsAtTheBoxNumberAfterTheMonth) {
    std::string left, right;
    SplitAtMonthName(12, "D: 3 MAR 1901 12 Anna Berg", left, right);
    EXPECT_EQ(left, "D: 3 MAR 1901");
    EXPECT_EQ(right, "Anna Berg");
    SplitAtMonthName(5, "D: 3 MAR 1901 5 Anna Berg", left, right);
    EXPECT_EQ(right, "Anna Berg");
    // The number before the month is a day, not the box.
    SplitAtMonthName(3, "D: 3 Mar 1901 3 Ann Lee", left, right);
    EXPECT_EQ(left, "D: 3 Mar 1901");
    EXPECT_EQ(right, "Ann Lee");
    SplitAtMonthName(7, "D: 3 MAR 1901 5 Anna Berg", left, right);
    EXPECT_EQ(left, "");
    EXPECT_EQ(right, "");
}

}  // namespace
}  // namespace lintora
