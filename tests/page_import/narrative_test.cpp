#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "page_import/ahnentafel_parents.h"
#include "page_import/narrative_entry.h"
#include "page_import/narrative_split.h"
#include "page_import/report_filing.h"
#include "record_store/matching.h"
#include "record_store/program_state.h"
#include "record_store/tables.h"
#include "tests/support/case_names.h"
#include "tests/support/scripted_platform.h"

namespace lintora {
namespace {

using testing::CleanState;

class NarrativeTest : public CleanState {
protected:
    int32_t Person(const std::string& name, const char* sex = "") {
        MatchQuery q;
        q.name = name;
        const int32_t r = FindIndivMatches(q);
        g.Indiv[r].iSex = sex;
        return r;
    }
};

TEST_F(NarrativeTest, SentenceGivesNameSexAndEveryEvent) {
    std::string sex;
    const int32_t r = AddIndivANC("", "John Smith was born 12 Mar 1850 in Ohio. He was christened 1 Apr 1850 in "
                                      "Ohio, and died 3 Jan 1920 in Iowa. He was buried in Des Moines, Iowa.",
                                  0, sex, "");
    ASSERT_EQ(r, 1);
    const IndivRec& I = g.Indiv[1];
    EXPECT_EQ(I.iName.value(), "John Smith");
    EXPECT_EQ(sex, "M");
    EXPECT_EQ(I.iSex.value(), "M");
    EXPECT_EQ(I.ibDate.value(), "12 Mar 1850");
    EXPECT_EQ(I.ibPlace.value(), "Ohio");
    EXPECT_EQ(I.icDate.value(), "1 Apr 1850");
    EXPECT_EQ(I.icPlace.value(), "Ohio");
    // ", and died " wins over " He died "-style clauses and states no sex.
    EXPECT_EQ(I.idDate.value(), "3 Jan 1920");
    EXPECT_EQ(I.idPlace.value(), "Iowa");
    // A place-only clause keeps its place.
    EXPECT_EQ(I.iblDate.value(), "");
    EXPECT_EQ(I.iblPlace.value(), "Des Moines, Iowa");
}

struct ClauseCase {
    const char* text;
    const char* sexIn;
    const char* name;
    const char* sexOut;
    const char* birth;
    const char* death;
};

class AddIndivANCClauses : public NarrativeTest, public ::testing::WithParamInterface<ClauseCase> {};

TEST_P(AddIndivANCClauses, NameSexAndDates) {
    const ClauseCase& c = GetParam();
    std::string sex = c.sexIn;
    const int32_t r = AddIndivANC("", c.text, 0, sex, "");
    ASSERT_EQ(r, 1) << c.text;
    EXPECT_EQ(g.Indiv[r].iName.value(), c.name) << c.text;
    EXPECT_EQ(sex, c.sexOut) << c.text;
    EXPECT_EQ(g.Indiv[r].ibDate.value(), c.birth) << c.text;
    EXPECT_EQ(g.Indiv[r].idDate.value(), c.death) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Clauses, AddIndivANCClauses,
    ::testing::Values(
        ClauseCase{"Mary Jones She was born 1 May 1880 in Kent.", "", "Mary Jones", "F", "1 May 1880", ""},
        ClauseCase{"Ann Lee was born 1850. She died 1900.", "M", "Ann Lee", "F", "1850", "1900"},
        // The birth clause decides last.
        ClauseCase{"Sam Lee He was born 1850. She died 1900.", "", "Sam Lee", "M", "1850", "1900"},
        ClauseCase{"Ted Ray died 1901.", "M", "Ted Ray", "M", "", "1901"},
        // No clause: the whole sentence without periods is the name.
        ClauseCase{"Jas. Ray.", "", "Jas Ray", "", "", ""},
        ClauseCase{"? was born 1800.", "", "<unknown>", "", "1800", ""},
        ClauseCase{"Kit Day was born WFT Est 1790-1800.", "", "Kit Day", "", "1790-1800", ""},
        // A register child line's own wording.
        ClauseCase{"John Smith, born 12 Mar 1850 in Ohio, died 1900.", "", "John Smith", "", "12 Mar 1850", "1900"},
        ClauseCase{"Ann Ray, died 1901.", "", "Ann Ray", "", "", "1901"}),
    testing::NamedBy(&ClauseCase::text));

TEST_F(NarrativeTest, FamilyAsChildOnlyForANonPartnerWithoutOne) {
    const int32_t dad = Person("Karl Berg", "M"), mum = Person("Eva Lund", "F");
    g.Indiv[dad].ibDate = "1850";
    const int32_t fam = FindOrAddFamil(dad, mum);
    std::string sex;
    const int32_t kid = AddIndivANC("", "Nils Berg was born 1880.", fam, sex, "");
    EXPECT_EQ(g.Indiv[kid].iFamc, fam);
    // A partner of the family is never its child.
    sex.clear();
    EXPECT_EQ(AddIndivANC("", "Karl Berg was born 1850.", fam, sex, ""), dad);
    EXPECT_EQ(g.Indiv[dad].iFamc, 0);
    // A person with parents keeps them.
    const int32_t other = FindOrAddFamil(Person("Per Holm", "M"), Person("Ida Holm", "F"));
    sex.clear();
    EXPECT_EQ(AddIndivANC("1", "Nils Berg was born 1880.", other, sex, ""), kid);
    EXPECT_EQ(g.Indiv[kid].iFamc, fam);
}

TEST_F(NarrativeTest, ANameAloneLeavesRecordedDatesAndSex) {
    std::string sex = "M";
    const int32_t r = AddIndivANC("", "Ann Lee was born 3 Mar 1850 in Kent. She died 1900.", 0, sex, "");
    // The register's guess ("M" for a husband) does not beat a recorded sex,
    // and a bare name writes no blank dates.
    std::string guess = "M";
    EXPECT_EQ(AddIndivANC("", "Ann Lee was born 3 Mar 1850.", 0, guess, ""), r);
    EXPECT_EQ(g.Indiv[r].iSex.value(), "F");
    std::string unknown = "U";
    EXPECT_EQ(AddIndivANC("", "Ann Lee was born 1850", 0, unknown, ""), r);
    EXPECT_EQ(g.Indiv[r].iSex.value(), "F");
    EXPECT_EQ(g.Indiv[r].ibDate.value(), "1850");
    EXPECT_EQ(g.Indiv[r].ibPlace.value(), "Kent");
    EXPECT_EQ(g.Indiv[r].idDate.value(), "1900");
    EXPECT_EQ(g.IndivCount, 1);
    // A guess fills a sex nobody recorded.
    std::string m = "M";
    const int32_t t = AddIndivANC("", "Tom Ray", 0, m, "");
    EXPECT_EQ(g.Indiv[t].iSex.value(), "M");
}

TEST(NarrativeStrip, ParenthesizedAncestors) {
    EXPECT_EQ(StripParenthesized("Anna (Jo) Berg (Karl2, Nils1) was born 1850."), "Anna (Jo) Berg   was born 1850");
    EXPECT_EQ(StripParenthesized("Anna Berg (Karl2, Nils1) was born 1850."), "Anna Berg   was born 1850");
    EXPECT_EQ(StripParenthesized("Anna Berg (twin) was born 1850."), "Anna Berg (twin) was born 1850.");
    EXPECT_EQ(StripParenthesized("Anna Berg was born 1850."), "Anna Berg was born 1850.");
    EXPECT_EQ(StripParenthesized("Anna Berg (Nils1)"), "Anna Berg  ");
    EXPECT_EQ(StripParenthesized(""), "");
}

TEST_F(NarrativeTest, InferSexSwapsOnlyThisPastesFamilies) {
    const int32_t lund = Person("Olof Lund", "M"), berg = Person("Maja Berg", "F");
    const int32_t fam = FindOrAddFamil(lund, berg);
    std::string sex;
    const int32_t kid = AddIndivANC("", "Nils Berg was born 1880.", fam, sex, "");
    ASSERT_GT(kid, 0);
    // An older family of the same shape.
    const int32_t oldFam = FindOrAddFamil(Person("Per Holm", "F"), Person("Ida Dahl", "M"));

    InferSexFromSpouses({fam});
    EXPECT_EQ(g.Famil[fam].fHusb, berg);
    EXPECT_EQ(g.Famil[fam].fWife, lund);
    EXPECT_EQ(g.Indiv[berg].iSex.value(), "M");
    EXPECT_EQ(g.Indiv[lund].iSex.value(), "F");
    EXPECT_EQ(g.Indiv[g.Famil[oldFam].fHusb].iName.value(), "Per Holm");

    InferSexFromSpouses({oldFam, 0, 999});
    EXPECT_EQ(g.Indiv[g.Famil[oldFam].fHusb].iName.value(), "Ida Dahl");
}

struct DateSplitCase {
    const char* text;
    const char* name;
    const char* date;
};

class SplitANCDatePlaceCases : public ::testing::TestWithParam<DateSplitCase> {};

TEST_P(SplitANCDatePlaceCases, NameThenDate) {
    const auto& c = GetParam();
    std::string name = "old", date = "old";
    SplitANCDatePlace(c.text, name, date);
    EXPECT_EQ(name, c.name) << c.text;
    EXPECT_EQ(date, c.date) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    SpousePhrases, SplitANCDatePlaceCases,
    ::testing::Values(DateSplitCase{"Mary Jones", "Mary Jones", ""},
                      DateSplitCase{"Mary Jones Abt. 1750", " Mary Jones", " Abt. 1750"},
                      DateSplitCase{"Mary Jones aft. 1750", " Mary Jones", " aft. 1750"},
                      DateSplitCase{"Mary Jones BEF 1750", " Mary Jones", " BEF 1750"},
                      DateSplitCase{"Mary Jones 12 Jan 1725", " Mary Jones", " 12 Jan 1725"},
                      DateSplitCase{"Mary Jones Jan 12 1725", " Mary Jones", " Jan 12 1725"},
                      DateSplitCase{"Mary Jones JAN 12 1725", " Mary Jones", " JAN 12 1725"},
                      DateSplitCase{"Mary Jones January 12 1725", " Mary Jones January", " 12 1725"},
                      DateSplitCase{"Jan 1725", "", " Jan 1725"},
                      DateSplitCase{"1750 Mary", "1750 Mary", ""},
                      DateSplitCase{"Mary Jones 1750s", " Mary Jones", " 1750s"},
                      // The removed text leaves a double blank: an empty word.
                      DateSplitCase{"*Mary* Jones WFT Est. 1750", " Mary Jones ", " 1750"},
                      DateSplitCase{"***", "", ""},
                      DateSplitCase{"", "", ""},
                      DateSplitCase{"Mary  Jones 1750", " Mary  Jones", " 1750"}),
    testing::NamedBy(&DateSplitCase::text));

// Ahnentafel parents sentence: text, sex, lead, father no/name, mother no/name.
struct AhnCase {
    const char* text;
    const char* sex;
    const char* lead;
    int32_t fatherNo;
    const char* fatherName;
    int32_t motherNo;
    const char* motherName;
};

class ParseAhnParentsCases : public CleanState, public ::testing::WithParamInterface<AhnCase> {};

TEST_P(ParseAhnParentsCases, ReadOnly) {
    const AhnCase& c = GetParam();
    int persons = 0, families = 0;
    const AhnParents r = ParseAhnParents(c.text, nullptr, persons, families);
    EXPECT_EQ(r.sex, c.sex) << c.text;
    EXPECT_EQ(r.lead, c.lead) << c.text;
    EXPECT_EQ(r.fatherNo, c.fatherNo) << c.text;
    EXPECT_EQ(r.fatherName, c.fatherName) << c.text;
    EXPECT_EQ(r.motherNo, c.motherNo) << c.text;
    EXPECT_EQ(r.motherName, c.motherName) << c.text;
    EXPECT_EQ(r.family, 0);
    EXPECT_EQ(persons + families, 0);
    EXPECT_EQ(g.IndivCount, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Sentences, ParseAhnParentsCases,
    ::testing::Values(
        AhnCase{"John Smith was born 1800. He was the son of 4. Karl Smith and 5. Eva Lund.", "M",
                "John Smith was born 1800.", 4, "Karl Smith", 5, "Eva Lund"},
        AhnCase{"Ann was born 1800. She was the daughter of 6. Jon Ray and 7. Kit Ray.", "F", "Ann was born 1800.",
                6, "Jon Ray", 7, "Kit Ray"},
        AhnCase{"Ann. She was the daughter of 7. Kit Ray.", "F", "Ann.", 6, "<unknown>", 7, "Kit Ray"},
        AhnCase{"Ann. She was the daughter of 6. Jon Ray.", "F", "Ann.", 6, "Jon Ray", 7, "<unknown>"},
        AhnCase{"Tom. He was the son of 4. ? and 5. Eva J. Lund.", "M", "Tom.", 4, "<unknown>", 5, "Eva J Lund"},
        // A name with an abbreviation and no number is a name, not a failure.
        AhnCase{"Tom. He was the son of John Smith Sr. and 5. Eva Lund.", "M", "Tom.", 4, "John Smith Sr", 5,
                "Eva Lund"},
        // No numbers at all: no number is made up.
        AhnCase{"Tom. He was the son of John Smith and Eva Lund.", "M", "Tom.", 0, "John Smith", 0, "Eva Lund"},
        AhnCase{"Tom was born 1800.", "U", "Tom was born 1800.", 0, "", 0, ""},
        AhnCase{"", "U", "", 0, "", 0, ""}),
    testing::NamedBy(&AhnCase::text));

TEST_F(NarrativeTest, AhnParentsFiledWithNumbersAsIds) {
    ReportFiling filing;
    int persons = 0, families = 0;
    const AhnParents r =
        ParseAhnParents("Tom. He was the son of 4. Karl Smith and 5. Eva Lund.", &filing, persons, families);
    ASSERT_EQ(g.IndivCount, 2);
    EXPECT_EQ(persons, 2);
    EXPECT_EQ(families, 1);
    ASSERT_EQ(r.family, 1);
    const FamilRec& F = g.Famil[1];
    EXPECT_EQ(g.Indiv[F.fHusb].iName.value(), "Karl Smith");
    EXPECT_EQ(g.Indiv[F.fHusb].iSex.value(), "M");
    EXPECT_EQ(g.Indiv[F.fHusb].iGenID.value(), "4");
    EXPECT_EQ(g.Indiv[F.fWife].iSex.value(), "F");
    EXPECT_EQ(g.Indiv[F.fWife].iGenID.value(), "5");
    // The same sentence again finds both by their numbers and adds nothing.
    ParseAhnParents("Tom. He was the son of 4. Karl Smith and 5. Eva Lund.", &filing, persons, families);
    EXPECT_EQ(g.IndivCount, 2);
    EXPECT_EQ(g.FamilCount, 1);
    EXPECT_EQ(persons, 2);
    // Page ids are cleared at the end; a LIVING person's own id would stay.
    filing.ClearPageIds();
    EXPECT_TRUE(g.Indiv[1].iGenID.blank());
    EXPECT_TRUE(g.Indiv[2].iGenID.blank());
}

TEST_F(NarrativeTest, AhnParentsWithoutNumbersGetNoId) {
    ReportFiling filing;
    int persons = 0, families = 0;
    ParseAhnParents("Tom. He was the son of John Smith and Eva Lund.", &filing, persons, families);
    ParseAhnParents("Ann. She was the daughter of Jon Ray and Kit Ray.", &filing, persons, families);
    ASSERT_EQ(g.IndivCount, 4);
    for (int32_t i = 1; i <= 4; ++i) EXPECT_TRUE(g.Indiv[i].iGenID.blank()) << i;
    EXPECT_EQ(g.FamilCount, 2);
}

TEST(ReportFilingLines, RepeatedLinesAfterTheSecondBecomeBlank) {
    const std::vector<std::string> lines = {"Head",          " Same title ", "Same title", "Same title",
                                            "short", "short", "2. Ann LEE was born 1850.", "  2. Ann LEE was born 1850."};
    const std::vector<std::string> want = {"Head",  " Same title ", "Same title", " ",
                                           "short", "short", "2. Ann LEE was born 1850.", " "};
    // Line 0 is never compared; lines 1 and 2 are never replaced; short lines stay.
    EXPECT_EQ(WithoutRepeatedLines(lines), want);
    EXPECT_TRUE(WithoutRepeatedLines({}).empty());
}

TEST(ReportFilingNumbers, WholeNumbersOnly) {
    int32_t v = -5;
    EXPECT_TRUE(ReadWholeNumber(" 12 ", v));
    EXPECT_EQ(v, 12);
    EXPECT_TRUE(ReadWholeNumber("-1", v));
    EXPECT_EQ(v, -1);
    for (const char* bad : {"", "+", "iv", "1.5", "12a", "1234567890", "+ 1"}) EXPECT_FALSE(ReadWholeNumber(bad, v)) << bad;
}

}  // namespace
}  // namespace lintora
