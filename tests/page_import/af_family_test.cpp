#include "page_import/af_family.h"

#include <string>

#include "tests/page_import/fs_pages_support.h"

namespace lintora {
namespace {

using testing::FSPageTest;
using testing::ReadPage;

class AFFamilyTest : public FSPageTest {};

TEST_F(AFFamilyTest, SamplePageFillsCoupleParentsAndChildren) {
    Parse(&ParseAFFamilyGroup, ReadPage("af_family.txt"));
    ASSERT_NO_FATAL_FAILURE(ExpectAFSamplePerson());

    ASSERT_EQ(P.PageSpouseCount, 1);
    const PageSpouse& w = P.PageSpouses[1];
    EXPECT_EQ(w.spName.value(), "Eliza Ann BENNETT");
    EXPECT_EQ(w.spAFN.value(), "2C3D-4FG");
    EXPECT_EQ(w.spbDate.value(), "3 Feb 1836");
    EXPECT_EQ(w.spbPlace.value(), "Kirtland, Lake, Ohio");
    EXPECT_TRUE(w.spcDate.blank());
    EXPECT_EQ(w.spcPlace.value(), "Kirtland, Lake, Ohio");
    EXPECT_TRUE(w.spdDate.blank());
    EXPECT_EQ(w.spmDate.value(), "15 Jun 1855");
    EXPECT_EQ(w.spmPlace.value(), "Nauvoo, Hancock, Illinois");
    EXPECT_EQ(P.SpouseFather.Name, "Joseph BENNETT");
    EXPECT_EQ(P.SpouseFather.AFN, "2C3D-1AB");
    EXPECT_EQ(P.SpouseMother.Name, "Hannah LYMAN");
    EXPECT_EQ(P.SpouseMother.AFN, "2C3D-2CD");

    ASSERT_EQ(P.PageChildCount, 2);
    const PageChild* c = P.PageChildren.data();
    EXPECT_EQ(c[1].chName.value(), "William Henry WHITLOCK");
    EXPECT_EQ(c[1].chAFN.value(), "2C3D-6KL");
    EXPECT_EQ(c[1].chSex.value(), "M");
    EXPECT_EQ(c[1].chbDate.value(), "4 Apr 1857");
    EXPECT_EQ(c[1].chbPlace.value(), "Nauvoo, Hancock, Illinois");
    EXPECT_EQ(c[2].chName.value(), "Mary Ellen WHITLOCK");
    EXPECT_EQ(c[2].chSex.value(), "F");
    EXPECT_EQ(c[2].chdDate.value(), "1 Jan 1860");
    EXPECT_EQ(c[2].chdPlace.value(), "Provo, Utah, Utah");
    EXPECT_TRUE(P.pgNotes.empty());
    EXPECT_FALSE(ui.busy);
}

TEST_F(AFFamilyTest, PastedPageFilesTheFamily) {
    const std::string page = ReadPage("af_family.txt");
    ProcessClipboard(page);
    EXPECT_TRUE(ui.boxes.empty());
    ASSERT_EQ(g.IndivCount, 8);
    ASSERT_EQ(g.FamilCount, 3);
    ExpectChildOf("John Henry WHITLOCK", "Samuel WHITLOCK", "Abigail MARSH");
    ExpectChildOf("Eliza Ann BENNETT", "Joseph BENNETT", "Hannah LYMAN");
    ExpectChildOf("William Henry WHITLOCK", "John Henry WHITLOCK", "Eliza Ann BENNETT");
    ExpectChildOf("Mary Ellen WHITLOCK", "John Henry WHITLOCK", "Eliza Ann BENNETT");
    EXPECT_EQ(g.Indiv[ByName("Hannah LYMAN")].iAFN.value(), "2C3D-2CD");
    testing::ExpectTablesConsistent();

    ui.Answer(MsgResult::Yes);
    ProcessClipboard(page);
    EXPECT_EQ(g.IndivCount, 8);
    EXPECT_EQ(g.FamilCount, 3);
}

TEST_F(AFFamilyTest, SectionRules) {
    const std::string head = "FamilySearch Ancestral File\nFamily Group Record\n";
    Parse(&ParseAFFamilyGroup, head +
                                   "Born: 1790 Place: Nowhere\n"       // no section yet: dropped
                                   "Father: Early DAD\n"               // before any heading: the wife's father
                                   "Husband\nTom LEE\n"
                                   "Born: 1850\n"                      // no "Place:": nothing
                                   "Mother: Sue KANE (AFN: 1-A)\n"     // set 1, father unknown
                                   "Wife\nAnn ROE (AFN: 2-B)\n"
                                   "Mother: Kit ROE\n"
                                   "Children\n"
                                   "Born: 1871 Place: Dover\n"         // before the first child: dropped
                                   "1.  Sex  Name\nBo LEE\n"            // no sex column: "Bo" is the sex column
                                   "Married: 1870\n");                 // no "Place:": blanks the marriage
    EXPECT_EQ(P.pgName, "Tom LEE");
    EXPECT_EQ(P.pgAFN, " ");
    EXPECT_EQ(P.pgbDate, "");
    ASSERT_EQ(P.PageParentSetCount, 1);
    EXPECT_EQ(P.PageParentSets[1].psFatherName.value(), "<unknown>");
    EXPECT_EQ(P.PageParentSets[1].psMotherName.value(), "Sue KANE");
    EXPECT_EQ(P.PageParentSets[1].psMotherAFN.value(), "1-A");
    EXPECT_EQ(P.SpouseFather.Name, "Early DAD");
    EXPECT_EQ(P.SpouseMother.Name, "Kit ROE");
    ASSERT_EQ(P.PageChildCount, 1);
    EXPECT_EQ(P.PageChildren[1].chSex.value(), "B");
    EXPECT_EQ(P.PageChildren[1].chName.value(), "LEE");
    EXPECT_TRUE(P.PageChildren[1].chbDate.blank());
    EXPECT_TRUE(P.PageSpouses[1].spmDate.blank());

    // A child header on the last line opens a child with an empty line below.
    Parse(&ParseAFFamilyGroup, head + "Husband\nTom LEE\nChildren\n1.  Sex  Name");
    EXPECT_EQ(P.PageChildCount, 1);
    EXPECT_TRUE(P.PageChildren[1].chName.blank());
}

TEST_F(AFFamilyTest, ThirtyFirstChildIsSkippedWithItsEvents) {
    std::string page = "FamilySearch Ancestral File\nFamily Group Record\nHusband\nTom LEE\nChildren\n";
    for (int k = 1; k <= 31; ++k)
        page += std::to_string(k) + ".  Sex  Name\nF   Kid" + std::to_string(k) + " LEE\nBorn: " +
                std::to_string(1800 + k) + " Place: York\n";
    ui.Answer(MsgResult::Ok);
    Parse(&ParseAFFamilyGroup, page);
    ASSERT_EQ(P.PageChildCount, 30);
    EXPECT_EQ(P.PageChildren[30].chName.value(), "Kid30 LEE");
    EXPECT_EQ(P.PageChildren[30].chbDate.value(), "1830");
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_NE(ui.boxes[0].text.find("1 of them were skipped"), std::string::npos);
}

}  // namespace
}  // namespace lintora
