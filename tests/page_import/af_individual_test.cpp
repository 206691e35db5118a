#include "page_import/af_individual.h"

#include <string>

#include "tests/page_import/fs_pages_support.h"
#include "tests/support/case_names.h"

namespace lintora {
namespace {

using testing::FSPageTest;

class AFIndividualTest : public FSPageTest {
protected:
    void Parse(const std::string& text) { FSPageTest::Parse(&ParseAFIndividual, text); }
};

constexpr const char* kHead = "FamilySearch Ancestral File Individual Record\n";

TEST_F(AFIndividualTest, SamplePageFillsPersonParentsAndSpouses) {
    Parse(testing::ReadPage("af_individual.txt"));
    ASSERT_NO_FATAL_FAILURE(ExpectAFSamplePerson());
    // An empty christening does not take the death line below it as its place.
    EXPECT_EQ(P.pgcDate, "");
    EXPECT_EQ(P.pgcPlace, "");

    ASSERT_EQ(P.PageSpouseCount, 2);
    EXPECT_EQ(P.PageSpouses[1].spName.value(), "Eliza Ann BENNETT");
    EXPECT_EQ(P.PageSpouses[1].spAFN.value(), "2C3D-4FG");
    EXPECT_EQ(P.PageSpouses[1].spmDate.value(), "15 Jun 1855");
    EXPECT_EQ(P.PageSpouses[1].spmPlace.value(), "Nauvoo, Hancock, Illinois");
    EXPECT_EQ(P.PageSpouses[2].spName.value(), "Mary PARKER");
    EXPECT_EQ(P.PageSpouses[2].spmDate.value(), "2 Aug 1860");
    EXPECT_EQ(P.PageSpouses[2].spmPlace.value(), "Salt Lake City, Salt Lake, Utah");
    EXPECT_EQ(P.PageChildCount, 0);
    EXPECT_TRUE(P.pgNotes.empty());
    EXPECT_FALSE(ui.busy);
}

struct EventCase {
    const char* what;
    const char* body;
    const char* birthDate;
    const char* birthPlace;
    const char* deathDate;
    const char* deathPlace;
};

class AFIndividualEvents : public AFIndividualTest, public ::testing::WithParamInterface<EventCase> {};

TEST_P(AFIndividualEvents, DateAfterLabelPlaceOnNextLine) {
    const EventCase& c = GetParam();
    Parse(std::string(kHead) + "Ann LEE\nSex: F\n" + c.body);
    EXPECT_EQ(P.pgbDate, c.birthDate) << c.what;
    EXPECT_EQ(P.pgbPlace, c.birthPlace) << c.what;
    EXPECT_EQ(P.pgdDate, c.deathDate) << c.what;
    EXPECT_EQ(P.pgdPlace, c.deathPlace) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AFIndividualEvents,
    ::testing::Values(
        EventCase{"short line is still a place", "Birth: 1850\nNY\n", "1850", "NY", "", ""},
        EventCase{"next label line is no place but is read itself", "Birth: 1850\nDeath: 1900\nOhio\n", "1850",
                  "", "1900", "Ohio"},
        EventCase{"a heading is no place", "Birth: 1850\nParents:\n", "1850", "", "", ""},
        EventCase{"empty line below gives no place", "Birth: 1850\n\nDeath: 1900\n", "1850", "", "1900", ""},
        EventCase{"blank date keeps the place", "Birth:\nBoston\n", "", "Boston", "", ""},
        EventCase{"label on the last line", "Death: 1900", "", "", "1900", ""},
        EventCase{"time of day keeps text to the colon", "Birth: 12:30 1850\nYork\n", "12", "York", "", ""}),
    testing::NamedBy(&EventCase::what));

TEST_F(AFIndividualTest, ParentSetsFromFatherAndMotherLines) {
    Parse(std::string(kHead) +
          "Ann LEE\nSex: F\n"
          "Father: Tom LEE (AFN: 11-A)\n"
          "Mother: Sue KANE (AFN: 22-B)\n"
          "Mother: Jo PIKE\n"
          "Father:\n");
    ASSERT_EQ(P.PageParentSetCount, 3);
    EXPECT_EQ(P.PageParentSets[1].psFatherName.value(), "Tom LEE");
    EXPECT_EQ(P.PageParentSets[1].psMotherName.value(), "Sue KANE");
    EXPECT_EQ(P.PageParentSets[1].psMotherAFN.value(), "22-B");
    EXPECT_EQ(P.PageParentSets[2].psFatherName.value(), "<unknown>");
    EXPECT_EQ(P.PageParentSets[2].psMotherName.value(), "Jo PIKE");
    EXPECT_TRUE(P.PageParentSets[2].psMotherAFN.blank());
    // "Father:" alone is a line of more than two characters: a set of two unknowns.
    EXPECT_EQ(P.PageParentSets[3].psFatherName.value(), "<unknown>");
    EXPECT_EQ(P.PageParentSets[3].psMotherName.value(), "<unknown>");
}

TEST_F(AFIndividualTest, MotherBeforeAnyFatherOpensTheFirstSet) {
    Parse(std::string(kHead) + "Ann LEE\nSex: F\nMother: Sue KANE\nFather: Tom LEE\n");
    ASSERT_EQ(P.PageParentSetCount, 2);
    EXPECT_EQ(P.PageParentSets[1].psFatherName.value(), "<unknown>");
    EXPECT_EQ(P.PageParentSets[1].psMotherName.value(), "Sue KANE");
    EXPECT_EQ(P.PageParentSets[2].psFatherName.value(), "Tom LEE");
}

TEST_F(AFIndividualTest, SpousesAndMarriages) {
    Parse(std::string(kHead) +
          "Marriage: 1 Jan 1800\nNowhere\n"
          "Ann LEE (AFN: 33-C) more words\nSex: F\n"
          "Spouse:\n"
          "Marriage: 3 May 1870\nDover\n");
    EXPECT_EQ(P.pgName, "Ann LEE");
    EXPECT_EQ(P.pgAFN, "33-C");
    ASSERT_EQ(P.PageSpouseCount, 1);
    EXPECT_EQ(P.PageSpouses[1].spName.value(), "<unknown>");
    EXPECT_EQ(P.PageSpouses[1].spmDate.value(), "3 May 1870");
    EXPECT_EQ(P.PageSpouses[1].spmPlace.value(), "Dover");
    EXPECT_TRUE(P.PageSpouses[0].spmDate.blank());
}

TEST_F(AFIndividualTest, SexLineVariants) {
    // The last "Sex:" line decides; the name line without an AFN gives one blank.
    Parse(std::string(kHead) + "Ann LEE (AFN: 1-A)\nSex: F\nBob LEE\nSex:  M\n");
    EXPECT_EQ(P.pgName, "Bob LEE");
    EXPECT_EQ(P.pgAFN, " ");
    EXPECT_EQ(P.pgSex, "M");

    // With the value further along, the four characters after the label are read.
    Parse(std::string(kHead) + "Ann LEE\nSex:   F\n");
    EXPECT_EQ(P.pgSex, "F");

    // A "Sex:" line without a value leaves the sex empty and the rest is read.
    Parse(std::string(kHead) + "Ann LEE\nSex:\nFather: Tom LEE\nSpouse: Al ROE\n");
    EXPECT_EQ(P.pgName, "Ann LEE");
    EXPECT_EQ(P.pgSex, "");
    EXPECT_EQ(P.PageParentSetCount, 1);
    EXPECT_EQ(P.PageSpouseCount, 1);

    // Without any "Sex:" line no person is read.
    Parse(std::string(kHead) + "Ann LEE\nBirth: 1850\n");
    EXPECT_EQ(P.pgName, "");
    EXPECT_EQ(P.pgbDate, "1850");
}

TEST_F(AFIndividualTest, TooManyParentSetsOrSpousesAreSkippedAndTheRestIsRead) {
    std::string page = std::string(kHead) + "Ann LEE\nSex: F\n";
    for (int s = 1; s <= 11; ++s)
        page += "Father: F" + std::to_string(s) + " LEE\n";
    page += "Mother: Extra MOM\n";
    for (int k = 1; k <= 17; ++k)
        page += "Spouse: S" + std::to_string(k) + " ROE\nMarriage: " + std::to_string(1850 + k) + "\n";
    page += "Death: 1900\n";
    ui.Answer(MsgResult::Ok);
    Parse(page);
    EXPECT_EQ(P.PageParentSetCount, 10);
    EXPECT_EQ(P.PageParentSets[10].psFatherName.value(), "F10 LEE");
    // The mother after the skipped eleventh father is skipped with him.
    EXPECT_EQ(P.PageParentSets[10].psMotherName.value(), "<unknown>");
    EXPECT_EQ(P.PageSpouseCount, 16);
    EXPECT_EQ(P.PageSpouses[16].spName.value(), "S16 ROE");
    EXPECT_EQ(P.PageSpouses[16].spmDate.value(), "1866");
    EXPECT_EQ(P.pgdDate, "1900");
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_NE(ui.boxes[0].text.find("3 of them were skipped"), std::string::npos);
}

TEST_F(AFIndividualTest, LongValuesAreCutToTheirFields) {
    const std::string longName(150, 'x');
    // Only 120 characters after the label are read: the AFN beyond them is lost.
    Parse(std::string(kHead) + "Ann LEE\nSex: F\nFather: " + longName + " LEE (AFN: 12-X)\n");
    ASSERT_EQ(P.PageParentSetCount, 1);
    EXPECT_EQ(P.PageParentSets[1].psFatherName.value(), std::string(120, 'x'));
    EXPECT_TRUE(P.PageParentSets[1].psFatherAFN.blank());
}

}  // namespace
}  // namespace lintora
