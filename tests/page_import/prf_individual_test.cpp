#include "page_import/prf_individual.h"

#include <string>

#include "tests/page_import/fs_pages_support.h"

namespace lintora {
namespace {

using testing::FSPageTest;
using testing::ReadPage;

class PRFIndividualTest : public FSPageTest {};

TEST_F(PRFIndividualTest, SamplePageFillsPersonParentsAndSpouse) {
    Parse(&ProcessIndPRF, ReadPage("prf_individual.txt"));
    EXPECT_EQ(P.pgName, "Hannah LYMAN");
    EXPECT_EQ(P.pgAFN, "2C3D-2CD");
    EXPECT_EQ(P.pgCDno, 12);
    EXPECT_EQ(P.pgPIDno, 345678);
    EXPECT_EQ(P.pgSex, "F");
    EXPECT_EQ(P.pgbDate, "8 Aug 1810");
    EXPECT_EQ(P.pgbPlace, "Lenox, Berkshire, Massachusetts");
    EXPECT_EQ(P.pgcDate, "12 Aug 1810");
    EXPECT_EQ(P.pgcPlace, "Lenox, Berkshire, Massachusetts");
    EXPECT_EQ(P.pgdDate, "2 Dec 1870");
    EXPECT_EQ(P.pgdPlace, "Kirtland, Lake, Ohio");
    EXPECT_EQ(P.pgblDate, "");
    EXPECT_EQ(P.pgblPlace, "Kirtland, Lake, Ohio");
    EXPECT_EQ(P.pgSubmNo, "1234567-0102030405");
    ASSERT_EQ(P.PageParentSetCount, 1);
    const PageParentSet& ps = P.PageParentSets[1];
    EXPECT_EQ(ps.psFatherName.value(), "Elias LYMAN");
    EXPECT_EQ(ps.psFatherAFN.value(), "9X1-AA");
    EXPECT_EQ(ps.psFatherCDno, 12);
    EXPECT_EQ(ps.psFatherPIDno, 345600);
    EXPECT_EQ(ps.psMotherName.value(), "Ruth WELLS");
    EXPECT_TRUE(ps.psMotherAFN.blank());
    EXPECT_EQ(ps.psMotherPIDno, 345601);
    ASSERT_EQ(P.PageSpouseCount, 1);
    const PageSpouse& sp = P.PageSpouses[1];
    EXPECT_EQ(sp.spName.value(), "Joseph BENNETT");
    EXPECT_EQ(sp.spAFN.value(), "2C3D-1AB");
    EXPECT_EQ(sp.spCDno, 12);
    EXPECT_EQ(sp.spPIDno, 345679);
    EXPECT_EQ(sp.spmDate.value(), "11 May 1831");
    EXPECT_EQ(sp.spmPlace.value(), "Kirtland, Lake, Ohio");
    EXPECT_FALSE(ui.busy);
}

TEST_F(PRFIndividualTest, PastedPageFilesWithDiscAndPinNumbers) {
    ProcessClipboard(ReadPage("prf_individual.txt"));
    EXPECT_TRUE(ui.boxes.empty());
    ASSERT_EQ(g.IndivCount, 4);
    ASSERT_EQ(g.FamilCount, 2);
    const IndivRec& h = g.Indiv[ByName("Hannah LYMAN")];
    EXPECT_EQ(h.iCDno, 12);
    EXPECT_EQ(h.iPIDno, 345678);
    EXPECT_EQ(h.iSubmNo.value(), "1234567-0102030405");
    EXPECT_EQ(g.Indiv[ByName("Elias LYMAN")].iPIDno, 345600);
    ExpectChildOf("Hannah LYMAN", "Elias LYMAN", "Ruth WELLS");
    EXPECT_GT(FamilyOf(ByName("Joseph BENNETT"), ByName("Hannah LYMAN")), 0);
    testing::ExpectTablesConsistent();
}

struct NameLineCase {
    const char* text;
    const char* name;
    int16_t cd;
    int32_t pid;
    const char* afn;
    bool ok;
};

TEST(ParsePRFNameLine, TakesThePartsOffTheEnd) {
    const NameLineCase cases[] = {
        {"Ann LEE Compact Disc #7 Pin #1234 (AFN: 1-A)", "Ann LEE", 7, 1234, "1-A", true},
        {"Ann LEE (AFN: 1-A) trailing words", "Ann LEE", 0, 0, "1-A", true},
        {"Ann LEE (AFN: 1-A) Compact Disc #7 Pin #1234", "Ann LEE", 0, 0, "1-A", true},
        {"Ann LEE Pin #1234", "Ann LEE", 0, 1234, "", true},
        {"Ann (Nan) LEE", "Ann (Nan) LEE", 0, 0, "", true},
        {"Ann LEE Pin #12 more", "", 0, 0, "", false},
        {"Ann LEE Pin #99999999999", "", 0, 0, "", false},
        {"Ann LEE Compact Disc #99999 Pin #5", "Ann LEE", 9999, 5, "", true},  // four digits are read
        {"Ann LEE Compact Disc #A1 Pin #5", "", 0, 5, "", false},
        {"", "", 0, 0, "", true},
    };
    for (const NameLineCase& c : cases) {
        std::string text = c.text, name = "old", afn = "old";
        int16_t cd = -1;
        int32_t pid = -1;
        EXPECT_EQ(ParsePRFNameLine(text, name, cd, pid, afn), c.ok) << c.text;
        EXPECT_EQ(name, c.name) << c.text;
        EXPECT_EQ(cd, c.cd) << c.text;
        EXPECT_EQ(pid, c.pid) << c.text;
        EXPECT_EQ(afn, c.afn) << c.text;
    }
}

TEST_F(PRFIndividualTest, LineRules) {
    const std::string head = "FamilySearch Pedigree Resource File\nIndividual Record\n";
    ui.Answer(MsgResult::Ok);
    Parse(&ProcessIndPRF, head +
                              "Ann LEE Pin #12 x\nSex: F\n"            // bad pin: no name
                              "Birth: 1850 Place: York\nBirth: 1851\n"  // later line without "Place:" clears it
                              "Marriage: 1869 Place: Leeds\n"          // before any spouse: not used
                              "Spouse: Al ROE\nSpouse:\n"               // a nameless spouse adds nobody
                              "Marriage: 1870 Place: Dover\n"           // so this is Al's
                              "Spouse: Bo FOX Pin #1 2\n"               // bad pin: nobody added
                              "Submission\n");                         // too short: empty number
    EXPECT_EQ(P.pgName, "");
    EXPECT_EQ(P.pgSex, "F");
    EXPECT_EQ(P.pgbDate, "");
    EXPECT_EQ(P.pgbPlace, "");
    ASSERT_EQ(P.PageSpouseCount, 1);
    EXPECT_EQ(P.PageSpouses[1].spmDate.value(), "1870");
    EXPECT_TRUE(P.PageSpouses[0].spmDate.blank());
    EXPECT_EQ(P.pgSubmNo, "");
    // Two bad numbers, one message.
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "Problem parsing Name/Disc/Pid# (2 lines)");
    EXPECT_EQ(ui.boxes[0].icon, MsgIcon::Exclamation);
}

}  // namespace
}  // namespace lintora
