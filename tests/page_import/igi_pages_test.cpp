#include "page_import/igi_family.h"
#include "page_import/igi_individual.h"
#include "page_import/splitters.h"

#include <string>

#include "tests/page_import/fs_pages_support.h"

namespace lintora {
namespace {

using testing::ExpectTablesConsistent;
using testing::FSPageTest;
using testing::ReadPage;

struct SplitCase {
    const char* what;
    const char* text;
    const char* date;
    const char* place;
};

TEST(SplitIGIDatePlace, SplitsAtTheLastPairOfBlanks) {
    const SplitCase cases[] = {
        {"date and place", "12 MAR 1821  Rochdale, Lancashire, England", "12 MAR 1821", "Rochdale, Lancashire, England"},
        {"date only", "12 MAR 1821", "12 MAR 1821", ""},
        {"place only", "Rochdale, Lancashire, England", "", "Rochdale, Lancashire, England"},
        {"place without commas is normalised", "ABT 1821  Rochdale Lancashire England", "ABT 1821",
         "Rochdale, Lancashire, England"},
        {"three blanks", "1821   Bury, Lancashire", "1821", "Bury, Lancashire"},
        {"last pair inside the place", "1821  Bury  Lancashire", "1821  Bury", "Lancashire"},
        {"leading pair only", "  Bury, Lancashire", "", "Bury, Lancashire"},
        {"a colon is a label line", "Christening:", "", ""},
        {"time of day", "12:30  Bury", "", ""},
        {"blank", "   ", "", ""},
        {"empty", "", "", ""},
    };
    for (const SplitCase& c : cases) {
        std::string date = "old", place = "old";
        SplitIGIDatePlace(c.text, date, place);
        EXPECT_EQ(date, c.date) << c.what;
        EXPECT_EQ(place, c.place) << c.what;
    }
    // The place keeps 119 characters: the 120 taken include the blank of the pair.
    std::string date, place;
    SplitIGIDatePlace("1821  " + std::string(130, 'X'), date, place);
    EXPECT_EQ(date, "1821");
    EXPECT_EQ(place.size(), 119u);
}

// Both sample pages are about Thomas ASHWORTH and his parents.
class IGIPageTest : public FSPageTest {
protected:
    void ExpectSamplePerson() {
        EXPECT_EQ(P.pgName, "Thomas ASHWORTH");
        EXPECT_EQ(P.pgSex, "M");
        EXPECT_EQ(P.pgbDate, "12 MAR 1821");
        EXPECT_EQ(P.pgbPlace, "Rochdale, Lancashire, England");
        EXPECT_EQ(P.pgcDate, "18 MAR 1821");
        EXPECT_EQ(P.pgcPlace, "Saint Chad, Rochdale, Lancashire, England");
        EXPECT_EQ(P.pgdDate, "");
        ASSERT_EQ(P.PageParentSetCount, 1);
        EXPECT_EQ(P.PageParentSets[1].psFatherName.value(), "James ASHWORTH");
        EXPECT_EQ(P.PageParentSets[1].psMotherName.value(), "Betty HOLT");
    }
};

class IGIIndividualTest : public IGIPageTest {};

TEST_F(IGIIndividualTest, SamplePageFillsThePagePerson) {
    Parse(&ProcessIndIGI, ReadPage("igi_individual.txt"));
    // An empty "Birth:" takes its value from the next line; an empty
    // "Death:" followed by the burial label line yields nothing.
    ASSERT_NO_FATAL_FAILURE(ExpectSamplePerson());
    EXPECT_EQ(P.pgdPlace, "");
    EXPECT_EQ(P.pgblDate, "4 JAN 1880");
    EXPECT_EQ(P.pgblPlace, "Rochdale, Lancashire, England");
    ASSERT_EQ(P.PageSpouseCount, 1);
    EXPECT_EQ(P.PageSpouses[1].spName.value(), "Mary KERSHAW");
    EXPECT_EQ(P.PageSpouses[1].spmDate.value(), "5 AUG 1845");
    EXPECT_EQ(P.PageSpouses[1].spmPlace.value(), "Rochdale, Lancashire, England");
    EXPECT_EQ(P.pgFilmNo, "1553612");
    EXPECT_EQ(P.pgPageNo, "7");
    EXPECT_EQ(P.pgRefNo, "18544");
    EXPECT_EQ(P.PageChildCount, 0);
    EXPECT_TRUE(P.pgNotes.empty());
    EXPECT_FALSE(ui.busy);
}

TEST_F(IGIIndividualTest, PastedPageFilesPersonParentsAndSpouse) {
    ProcessClipboard(ReadPage("igi_individual.txt"));
    EXPECT_TRUE(ui.boxes.empty());
    ASSERT_EQ(g.IndivCount, 4);
    ASSERT_EQ(g.FamilCount, 2);
    const IndivRec& t = g.Indiv[testing::FSPageTest::ByName("Thomas ASHWORTH")];
    EXPECT_EQ(t.iFilmNo.value(), "1553612");
    EXPECT_EQ(t.iPageNo.value(), "7");
    EXPECT_EQ(t.iRefNo.value(), "18544");
    EXPECT_EQ(t.iblPlace.value(), "Rochdale, Lancashire, England");
    ExpectChildOf("Thomas ASHWORTH", "James ASHWORTH", "Betty HOLT");
    const int32_t f = FamilyOf(ByName("Thomas ASHWORTH"), ByName("Mary KERSHAW"));
    ASSERT_GT(f, 0);
    EXPECT_EQ(g.Famil[f].fmDate.value(), "5 AUG 1845");
    EXPECT_EQ(g.Indiv[ByName("Mary KERSHAW")].iSex.value(), "F");
    EXPECT_EQ(windows.label, "4 Individuals added, 0 updated; 2 Families added, 0 updated (Tree #1)");
    ExpectTablesConsistent();
}

TEST_F(IGIIndividualTest, LabelLineRules) {
    const std::string head = "FamilySearch International Genealogical Index\nIndividual Record\n";
    // The sex line on the first line has no name above it.
    Parse(&ProcessIndIGI, "FamilySearch International Genealogical Index\nMale\n");
    EXPECT_EQ(P.pgName, "");
    EXPECT_EQ(P.pgSex, "M");

    // A later sex line replaces name and sex; the angle-bracket form counts.
    Parse(&ProcessIndIGI, head + "Ann LEE\nFemale\nBob LEE\n<Male>\n");
    EXPECT_EQ(P.pgName, "Bob LEE");
    EXPECT_EQ(P.pgSex, "M");

    // Only the text between the first and second colon is the value; a
    // father that is only the link word keeps it; labels without a colon:
    // a father takes the whole line, an event is not read.
    Parse(&ProcessIndIGI, head +
                              "Ann LEE\nFemale\n"
                              "Birth:  1850  York:extra\n"
                              "Death  1900  Leeds\n"
                              "Father:  Family\n"
                              "Mother:  Sue KANE  Family\n"
                              "Mother:  Jo PIKE\n"
                              "Father\n");
    EXPECT_EQ(P.pgbDate, "1850");
    EXPECT_EQ(P.pgbPlace, "York");
    EXPECT_EQ(P.pgdDate, "");
    ASSERT_EQ(P.PageParentSetCount, 3);
    EXPECT_EQ(P.PageParentSets[1].psFatherName.value(), "Family");
    EXPECT_EQ(P.PageParentSets[1].psMotherName.value(), "Sue KANE");
    EXPECT_EQ(P.PageParentSets[2].psFatherName.value(), "<unknown>");
    EXPECT_EQ(P.PageParentSets[2].psMotherName.value(), "Jo PIKE");
    EXPECT_EQ(P.PageParentSets[3].psFatherName.value(), "Father");
    EXPECT_EQ(P.PageParentSets[3].psMotherName.value(), "<unknown>");

    // Marriages follow the spouse before them; none before the first, and a
    // spouse line without a name adds nobody.
    Parse(&ProcessIndIGI, head +
                              "Ann LEE\nFemale\n"
                              "Marriage:  1 JAN 1800  Nowhere\n"
                              "Spouse:  Al ROE  Family\nMarriage:  1870  Dover\n"
                              "Spouse:\n"
                              "Spouse:  Ed FOX\nMarriage:\n1880  Kent\n");
    ASSERT_EQ(P.PageSpouseCount, 2);
    EXPECT_TRUE(P.PageSpouses[0].spmDate.blank());
    EXPECT_EQ(P.PageSpouses[1].spName.value(), "Al ROE");
    EXPECT_EQ(P.PageSpouses[1].spmDate.value(), "1870");
    EXPECT_EQ(P.PageSpouses[2].spmDate.value(), "1880");
    EXPECT_EQ(P.PageSpouses[2].spmPlace.value(), "Kent");

    // An event label on the last line reads an empty line below it.
    Parse(&ProcessIndIGI, head + "Ann LEE\nFemale\nBirth:");
    EXPECT_EQ(P.pgName, "Ann LEE");
    EXPECT_EQ(P.pgbDate, "");
}

TEST_F(IGIIndividualTest, FullListsSkipTheExtraEntriesAndReadOn) {
    std::string page = "FamilySearch International Genealogical Index\nIndividual Record\nAnn LEE\nFemale\n";
    for (int s = 1; s <= 11; ++s) page += "Father:  F" + std::to_string(s) + " LEE\n";
    page += "Mother:  Extra MOM\n";
    for (int k = 1; k <= 17; ++k)
        page += "Spouse:  S" + std::to_string(k) + " ROE\nMarriage:  " + std::to_string(1850 + k) + "  York\n";
    page += "Death:  1900  Leeds\n";
    ui.Answer(MsgResult::Ok);
    Parse(&ProcessIndIGI, page);
    EXPECT_EQ(P.PageParentSetCount, 10);
    EXPECT_EQ(P.PageParentSets[10].psFatherName.value(), "F10 LEE");
    EXPECT_EQ(P.PageParentSets[10].psMotherName.value(), "<unknown>");
    EXPECT_EQ(P.PageSpouseCount, 16);
    EXPECT_EQ(P.PageSpouses[16].spName.value(), "S16 ROE");
    EXPECT_EQ(P.PageSpouses[16].spmDate.value(), "1866");
    EXPECT_TRUE(P.PageSpouses[0].spName.blank());
    EXPECT_EQ(P.pgdDate, "1900");
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_NE(ui.boxes[0].text.find("2 of them were skipped"), std::string::npos);
}

class IGIFamilyTest : public IGIPageTest {};

TEST_F(IGIFamilyTest, SamplePageFillsCoupleParentsAndChildren) {
    Parse(&ProcessFamIGI, ReadPage("igi_family.txt"));
    ASSERT_NO_FATAL_FAILURE(ExpectSamplePerson());
    EXPECT_EQ(P.pgblDate, "");

    ASSERT_EQ(P.PageSpouseCount, 1);
    const PageSpouse& w = P.PageSpouses[1];
    EXPECT_EQ(w.spName.value(), "Mary KERSHAW");
    EXPECT_EQ(w.spbDate.value(), "3 JUN 1824");
    EXPECT_EQ(w.spbPlace.value(), "Bury, Lancashire, England");
    EXPECT_TRUE(w.spcDate.blank());
    EXPECT_EQ(w.spdDate.value(), "9 FEB 1890");
    EXPECT_EQ(w.spdPlace.value(), "Rochdale, Lancashire, England");
    EXPECT_EQ(w.spmDate.value(), "5 AUG 1845");
    EXPECT_EQ(w.spmPlace.value(), "Rochdale, Lancashire, England");
    EXPECT_EQ(P.SpouseFather.Name, "John KERSHAW");
    EXPECT_EQ(P.SpouseMother.Name, "Alice GREENHALGH");

    ASSERT_EQ(P.PageChildCount, 3);
    const PageChild* c = P.PageChildren.data();
    EXPECT_EQ(c[1].chName.value(), "Sarah ASHWORTH");
    EXPECT_EQ(c[1].chSex.value(), "F");
    EXPECT_EQ(c[1].chbDate.value(), "2 MAY 1846");
    EXPECT_EQ(c[2].chName.value(), "William ASHWORTH");
    EXPECT_EQ(c[2].chSex.value(), "M");
    EXPECT_TRUE(c[2].chbDate.blank());
    EXPECT_EQ(c[2].chcDate.value(), "14 NOV 1848");
    EXPECT_EQ(c[2].chcPlace.value(), "Saint Chad, Rochdale, Lancashire, England");
    EXPECT_EQ(c[3].chName.value(), "Ellen ASHWORTH");
    EXPECT_EQ(c[3].chbDate.value(), "20 JAN 1851");
    EXPECT_EQ(c[3].chdDate.value(), "3 MAR 1851");
    EXPECT_FALSE(ui.busy);
}

TEST_F(IGIFamilyTest, PastedPageFilesNineAndPastingAgainAddsNothing) {
    const std::string page = ReadPage("igi_family.txt");
    ProcessClipboard(page);
    EXPECT_TRUE(ui.boxes.empty());
    ASSERT_EQ(g.IndivCount, 9);
    ASSERT_EQ(g.FamilCount, 3);
    for (const char* child : {"Sarah ASHWORTH", "William ASHWORTH", "Ellen ASHWORTH"})
        ExpectChildOf(child, "Thomas ASHWORTH", "Mary KERSHAW");
    ExpectChildOf("Thomas ASHWORTH", "James ASHWORTH", "Betty HOLT");
    ExpectChildOf("Mary KERSHAW", "John KERSHAW", "Alice GREENHALGH");
    EXPECT_EQ(g.Indiv[ByName("Mary KERSHAW")].idPlace.value(), "Rochdale, Lancashire, England");
    EXPECT_EQ(g.Indiv[ByName("William ASHWORTH")].iSex.value(), "M");
    EXPECT_EQ(g.TreeCount, 1);
    ExpectTablesConsistent();

    const testing::TablesInUse before = testing::TablesInUse::Now();
    ui.Answer(MsgResult::Yes);  // re-process the unchanged clipboard
    ProcessClipboard(page);
    EXPECT_EQ(g.IndivCount, 9);
    EXPECT_EQ(g.FamilCount, 3);
    EXPECT_EQ(windows.label.substr(0, 41), "0 Individuals added, 9 updated; 0 Familie");
    EXPECT_TRUE(testing::TablesInUse::Now() == before);
}

TEST_F(IGIFamilyTest, SectionRules) {
    const std::string head = "FamilySearch International Genealogical Index\nFamily Group Record\n";
    Parse(&ProcessFamIGI, head +
                              "Birth:  1790  Nowhere\n"              // before any heading: dropped
                              "Mother:  Early MOM\n"                 // before any heading: the wife's mother
                              "Husband\n\nTom LEE  Pedigree\n"       // name after a blank line
                              "Mother:  Sue KANE\n"                  // his set 1, father unknown
                              "Wife  Ann ROE\nAnn ROE\n"              // heading with a name still reads the next line
                              "Wife\nAnn FOX\n"                      // a second wife replaces the first
                              "Mother:  Kit FOX\n"
                              "Marriage:  1870  Dover\n"
                              "Children\n"
                              "Birth:  1871  Dover\n"                // before the first child: dropped
                              "1.  Bo LEE\nMale\n"
                              "Death:\n"                             // empty value: nothing, no look below
                              "1880  Kent\n"
                              "Marriage:\n");                        // an empty marriage blanks it
    EXPECT_EQ(P.pgName, "Tom LEE");
    EXPECT_EQ(P.pgbDate, "");
    ASSERT_EQ(P.PageParentSetCount, 1);
    EXPECT_EQ(P.PageParentSets[1].psFatherName.value(), "<unknown>");
    EXPECT_EQ(P.PageParentSets[1].psMotherName.value(), "Sue KANE");
    EXPECT_EQ(P.PageSpouseCount, 1);
    EXPECT_EQ(P.PageSpouses[1].spName.value(), "Ann FOX");
    EXPECT_EQ(P.SpouseFather.Name, "<unknown>");
    EXPECT_EQ(P.SpouseMother.Name, "Kit FOX");
    EXPECT_TRUE(P.PageSpouses[1].spmDate.blank());
    EXPECT_TRUE(P.PageSpouses[1].spmPlace.blank());
    ASSERT_EQ(P.PageChildCount, 1);
    EXPECT_EQ(P.PageChildren[1].chName.value(), "Bo LEE");
    EXPECT_TRUE(P.PageChildren[1].chbDate.blank());
    EXPECT_TRUE(P.PageChildren[1].chdDate.blank());

    // A heading on the last line reads an empty name below it.
    Parse(&ProcessFamIGI, head + "Husband");
    EXPECT_EQ(P.pgName, "");
    EXPECT_EQ(P.pgSex, "M");
}

TEST_F(IGIFamilyTest, ThirtyFirstChildIsSkippedWithItsEvents) {
    std::string page = "FamilySearch International Genealogical Index\nFamily Group Record\nHusband\nTom LEE\nChildren\n";
    for (int k = 1; k <= 31; ++k)
        page += std::to_string(k) + ". Kid" + std::to_string(k) + " LEE\nFemale\nBirth:  " + std::to_string(1800 + k) +
                "  York\n";
    for (int s = 1; s <= 11; ++s) page += "Husband\nTom LEE\nFather:  F" + std::to_string(s) + " LEE\n";
    ui.Answer(MsgResult::Ok);
    Parse(&ProcessFamIGI, page);
    ASSERT_EQ(P.PageChildCount, 30);
    EXPECT_EQ(P.PageChildren[30].chName.value(), "Kid30 LEE");
    EXPECT_EQ(P.PageChildren[30].chbDate.value(), "1830");
    EXPECT_TRUE(P.PageChildren[0].chName.blank());
    EXPECT_EQ(P.PageParentSetCount, 10);
    EXPECT_EQ(P.PageParentSets[10].psFatherName.value(), "F10 LEE");
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_NE(ui.boxes[0].text.find("2 of them were skipped"), std::string::npos);
}

}  // namespace
}  // namespace lintora
