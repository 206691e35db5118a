#include "page_import/ahnentafel_report.h"

#include <string>

#include "page_import/paste.h"
#include "record_store/program_state.h"
#include "tests/page_import/report_pages_support.h"
#include "tests/support/case_names.h"

namespace lintora {
namespace {

using testing::ReadPage;
using testing::ReportPageTest;

class AhnentafelTest : public ReportPageTest {};

TEST_F(AhnentafelTest, SamplePageMakesEachCoupleTheParentsOfTheirChild) {
    ProcessClipboard(ReadPage("anc_ahnentafel.txt"));
    ASSERT_EQ(g.PageType, "Ahn");
    ASSERT_EQ(g.IndivCount, 9);
    ASSERT_EQ(g.FamilCount, 3);
    const int32_t hale = Couple("George HALE", "Emma PRICE");
    const int32_t williams = Couple("William HALE", "Sarah DAY");
    const int32_t prices = Couple("John PRICE", "Mary WOOD");
    for (const char* c : {"Robert HALE", "Alice HALE", "LIVING HALE"}) EXPECT_EQ(Person(c).iFamc, hale) << c;
    EXPECT_EQ(Person("George HALE").iFamc, williams);
    EXPECT_EQ(Person("Emma PRICE").iFamc, prices);
    EXPECT_EQ(Person("William HALE").iFamc, 0);
    for (const char* man : {"Robert HALE", "George HALE", "William HALE", "John PRICE"})
        EXPECT_EQ(Person(man).iSex.value(), "M") << man;
    for (const char* woman : {"Emma PRICE", "Sarah DAY", "Mary WOOD"}) EXPECT_EQ(Person(woman).iSex.value(), "F") << woman;

    EXPECT_EQ(g.Famil[hale].fmDate.value(), "12 May 1875");
    EXPECT_EQ(g.Famil[hale].fmPlace.value(), "Canterbury, Kent, England");
    EXPECT_EQ(g.Famil[williams].fmDate.value(), "1845");
    EXPECT_EQ(g.Famil[prices].fmDate.value(), "1852");
    EXPECT_EQ(Person("Robert HALE").ibDate.value(), "3 Apr 1880");
    EXPECT_EQ(Person("George HALE").idPlace.value(), "Dover, Kent, England");
    EXPECT_EQ(Person("John PRICE").idDate.value(), "1890");
    EXPECT_EQ(Person("Sarah DAY").ibPlace.value(), "Deal, Kent, England");
    // Only the living child keeps an id, made of the parents' surname codes.
    for (int32_t i = 1; i <= g.IndivCount; ++i) {
        const IndivRec& I = g.Indiv[i];
        if (I.iName.trimmed() == "LIVING HALE") {
            EXPECT_EQ(I.iGenID.value(), Person("George HALE").iNameKey.padded().substr(10) +
                                            Person("Emma PRICE").iNameKey.padded().substr(10) + "1");
        } else {
            EXPECT_TRUE(I.iGenID.blank()) << I.iName.value();
        }
    }
    EXPECT_EQ(g.PageMainIndiv, ByName("Robert HALE"));
    EXPECT_EQ(windows.label, "9 Individuals added, 0 updated; 3 Families added, 0 updated (Tree #1)");
    testing::ExpectTablesConsistent();

    ui.Answer(MsgResult::Yes);
    ProcessClipboard(ReadPage("anc_ahnentafel.txt"));
    EXPECT_EQ(g.IndivCount, 9);
    EXPECT_EQ(g.FamilCount, 3);
}

TEST_F(AhnentafelTest, SevenEntriesWithoutChildrenLists) {
    std::string page = "Ahnentafel of Ola Moe\nRootsWeb\nAhnentafel, Generation No. 1\n"
                       "1. Ola MOE was born 1900. He was the son of 2. Per MOE and 3. Kari LIE.\n"
                       "2. Per MOE was born 1870. He was the son of 4. Nils MOE and 5. Anne BØ.\n"
                       "3. Kari LIE was born 1872. She was the daughter of 6. Lars LIE and 7. Siri DAL.\n";
    for (const char* e : {"4. Nils MOE was born 1840.", "5. Anne BØ was born 1842.", "6. Lars LIE was born 1841.",
                          "7. Siri DAL was born 1845."})
        page += std::string(e) + "\n";
    ProcessClipboard(page);
    ASSERT_EQ(g.IndivCount, 7);
    ASSERT_EQ(g.FamilCount, 3);
    EXPECT_EQ(Person("Ola MOE").iFamc, Couple("Per MOE", "Kari LIE"));
    EXPECT_EQ(Person("Per MOE").iFamc, Couple("Nils MOE", "Anne BØ"));
    EXPECT_EQ(Person("Kari LIE").iFamc, Couple("Lars LIE", "Siri DAL"));
    for (const char* man : {"Per MOE", "Nils MOE", "Lars LIE"}) EXPECT_EQ(Person(man).iSex.value(), "M") << man;
    for (const char* woman : {"Kari LIE", "Anne BØ", "Siri DAL"}) EXPECT_EQ(Person(woman).iSex.value(), "F") << woman;
    EXPECT_EQ(Person("Anne BØ").ibDate.value(), "1842");
    for (int32_t i = 1; i <= g.IndivCount; ++i) EXPECT_TRUE(g.Indiv[i].iGenID.blank()) << i;
}

// A second children header follows no couple: its living child is filed
// as a person of his own, not taken for entry 1.
TEST_F(AhnentafelTest, LivingChildUnderAHeaderWithoutCoupleIsFiledApart) {
    ui.Answer(MsgResult::Ok);
    ProcessClipboard("Ancestors of Robert Hale\nRootsWeb\nAhnentafel, Generation No. 1\n\n"
                     "1. Robert HALE was born 3 Apr 1880 in Dover, Kent, England.\n\n"
                     "Children of Robert HALE and Ann ROSE are:\nii. Alice HALE was born 1905.\n\n"
                     "Children of Robert HALE are:\niii. LIVING HALE.\n");
    ASSERT_EQ(g.IndivCount, 4);
    EXPECT_EQ(Person("Robert HALE").ibDate.value(), "3 Apr 1880");
    const IndivRec& living = Person("LIVING HALE");
    EXPECT_EQ(living.iFamc, 0);
    EXPECT_TRUE(living.iGenID.blank());
    const int32_t alices = Person("Alice HALE").iFamc;
    ASSERT_GT(alices, 0);
    const int32_t robert = ByName("Robert HALE");
    EXPECT_TRUE(g.Famil[alices].fHusb == robert || g.Famil[alices].fWife == robert);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "Unable to link all individuals to previous entries - new tree(s) started...");
    testing::ExpectTablesConsistent();
}

TEST_F(AhnentafelTest, CoupleWithOnePartnerKeepsItsOwnUnnamedWife) {
    // Ned's children are listed without a wife: an unnamed one stands in.
    const std::string ned = "Ancestors of Ned Ford\nRootsWeb\nAhnentafel, Generation No. 1\n\n"
                            "2. Ned FORD was born 1850.\n\nChildren of Ned FORD are:\ni. Tom FORD was born 1880.\n";
    ProcessClipboard(ned);
    ASSERT_EQ(g.IndivCount, 3);
    ASSERT_EQ(g.FamilCount, 1);
    const int32_t family = Person("Tom FORD").iFamc;
    ASSERT_GT(family, 0);
    EXPECT_EQ(g.Famil[family].fHusb, ByName("Ned FORD"));
    EXPECT_EQ(g.Famil[family].fWife, ByName("<unknown>"));

    // Pasted again, the page finds her through Ned himself.
    ui.Answer(MsgResult::Yes);
    ProcessClipboard(ned);
    EXPECT_EQ(g.IndivCount, 3);
    EXPECT_EQ(g.FamilCount, 1);
    EXPECT_TRUE(ui.matchRequests.empty());
    testing::ExpectTablesConsistent();
}

TEST_F(AhnentafelTest, UnnamedFatherIsFoundAgainThroughTheMother) {
    // The parents sentence names Mary before her entry gives her birth.
    ExpectUnnamedFatherFoundAgain("Ancestors of Tom Ford\nRootsWeb\nAhnentafel, Generation No. 1\n\n"
                                  "1. Tom FORD was born 1880. He was the son of 3. Mary BROWN.\n\n"
                                  "Generation No. 2\n\n3. Mary BROWN was born 1855.\n",
                                  "Tom FORD", "Mary BROWN", 3, 1);
}

TEST_F(AhnentafelTest, SpousesUnnamedFatherIsFoundAgainThroughHerMother) {
    ExpectUnnamedFatherFoundAgain("Ancestors of Adam Lee\nRootsWeb\nAhnentafel, Generation No. 1\n\n"
                                  "2. Adam LEE was born 1800. He married Ruth KING 1825, daughter of ? and Ann COLE.\n",
                                  "Ruth KING", "Ann COLE", 4, 2);
}

// Entries without a parents sentence, a pronoun or a marriage: the entry
// number alone tells the sex (even a man, odd a woman, 1 unknown).
TEST_F(AhnentafelTest, SexFromTheEntryNumber) {
    ui.Answer(MsgResult::Ok);
    ProcessClipboard("Ahnentafel of Ola Moe\nRootsWeb\nAhnentafel, Generation No. 1\n1. Ola MOE was born 1900.\n"
                     "Generation No. 2\n2. Per MOE was born 1870 in Vang.\n3. Kari LIE was born 1872.\n"
                     "Generation No. 3\n6. Lars LIE was born 1841.\n7. Siri DAL, born 1845, died 1901.\n");
    ASSERT_EQ(g.IndivCount, 5);
    EXPECT_EQ(g.FamilCount, 0);
    EXPECT_EQ(Person("Ola MOE").iSex.value(), "U");
    for (const char* man : {"Per MOE", "Lars LIE"}) EXPECT_EQ(Person(man).iSex.value(), "M") << man;
    for (const char* woman : {"Kari LIE", "Siri DAL"}) EXPECT_EQ(Person(woman).iSex.value(), "F") << woman;
    EXPECT_EQ(Person("Siri DAL").idDate.value(), "1901");
    EXPECT_EQ(ui.boxes.size(), 1u);
}

struct AhnCase {
    const char* what;
    const char* body;
    int32_t individuals;
    int32_t families;
};

class AhnentafelCases : public AhnentafelTest, public ::testing::WithParamInterface<AhnCase> {};

TEST_P(AhnentafelCases, Files) {
    const AhnCase& c = GetParam();
    ProcessClipboard(std::string("Ahnentafel\nRootsWeb\nAhnentafel, Generation No. 1\n") + c.body);
    EXPECT_EQ(g.IndivCount, c.individuals) << c.what;
    EXPECT_EQ(g.FamilCount, c.families) << c.what;
    testing::ExpectTablesConsistent();
}

INSTANTIATE_TEST_SUITE_P(
    Rules, AhnentafelCases,
    ::testing::Values(
        AhnCase{"entry 1's marriage is not read", "1. Ola MOE was born 1900. He married Eva ÅS 1925.\n", 1, 0},
        AhnCase{"a living first person is not filed", "1. LIVING MOE.\n", 0, 0},
        AhnCase{"a header after only a husband files an unknown wife",
                "2. Per MOE was born 1870.\nChildren of Per MOE and ? are:\ni. Ola MOE was born 1900.\n", 3, 1},
        AhnCase{"a Child... line without a couple makes no family of unknowns",
                "Childhood memories of the family.\ni. Ola MOE was born 1900.\n", 1, 0},
        AhnCase{"a period after the 7th character is no entry", "12345678. Per MOE was born 1870.\n", 0, 0},
        AhnCase{"numbers beyond any fixed table are read",
                "1. Ola MOE. He was the son of 4000. Per MOE and 4001. Kari LIE.\n4000. Per MOE was born 1870.\n",
                3, 1},
        AhnCase{"a living child of parents without surnames is nobody's entry",
                "1. Ola was born 1900. He was the son of 2. Per and 3. Kari.\n2. Per was born 1870.\n"
                "3. Kari was born 1872.\nChildren of Per and Kari are:\n1. i. Ola was born 1900.\nii. LIVING.\n",
                4, 1},
        AhnCase{"a parents sentence without numbers gives no ids",
                "1. Ola MOE. He was the son of Per MOE and Kari LIE.\n2. Ann MOE. She was the daughter of Per MOE "
                "and Kari LIE.\n",
                4, 1}),
    testing::NamedBy(&AhnCase::what));

}  // namespace
}  // namespace lintora
