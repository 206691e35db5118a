#include "page_import/splitters.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/case_names.h"

namespace lintora {
namespace {

// Both splitters take a text (changed in place) and give two parts.
struct SplitCase {
    const char* text;
    const char* first;
    const char* second;
    const char* textAfter;
};

void ExpectSplit(void (*split)(std::string&, std::string&, std::string&), const SplitCase& c) {
    std::string text = c.text, first = "old", second = "old";
    split(text, first, second);
    EXPECT_EQ(first, c.first);
    EXPECT_EQ(second, c.second);
    EXPECT_EQ(text, c.textAfter);
}

using NameAfnCase = SplitCase;  // text, name, afn, text after
class SplitNameAFNCases : public ::testing::TestWithParam<NameAfnCase> {};

TEST_P(SplitNameAFNCases, NameAndNumber) { ExpectSplit(SplitNameAFN, GetParam()); }

INSTANTIATE_TEST_SUITE_P(
    AncestralFile, SplitNameAFNCases,
    ::testing::Values(
        NameAfnCase{"John Smith (AFN: 1A2B-3C4)", "John Smith", "1A2B-3C4", "John Smith (AFN: 1A2B-3C4"},
        NameAfnCase{"  John Smith  ( AFN:  9Z )", "John Smith  ( AFN:  9Z )", " ", "  John Smith  ( AFN:  9Z "},
        NameAfnCase{"  John Smith  (AFN:  9Z  ) ", "John Smith", "9Z", "  John Smith  (AFN:  9Z  "},
        // No ")" at all: the name as passed, untrimmed.
        NameAfnCase{"  John Smith ", "  John Smith ", " ", "  John Smith "},
        NameAfnCase{"", "", " ", ""},
        // A ")" only among the first two characters counts as none.
        NameAfnCase{"a) John", "a) John", " ", "a) John"},
        NameAfnCase{"ab)", "ab)", " ", "ab"},
        // A nickname in parentheses without an AFN keeps the whole name.
        NameAfnCase{" Mary (Polly) Smith ", "Mary (Polly) Smith", " ", " Mary (Polly"},
        NameAfnCase{"John (Jack)", "John (Jack)", " ", "John (Jack"},
        // Words after the AFN's ")" are dropped.
        NameAfnCase{"John Smith (AFN: 1A2B-3C4) more words", "John Smith", "1A2B-3C4",
                    "John Smith (AFN: 1A2B-3C4"},
        // A later parenthesis does not run into the number.
        NameAfnCase{"John Smith (AFN: 1A2B-3C4) (twin)", "John Smith", "1A2B-3C4",
                    "John Smith (AFN: 1A2B-3C4) (twin"},
        NameAfnCase{"John (Jack) Smith (AFN: 77)", "John (Jack) Smith", "77", "John (Jack) Smith (AFN: 77"},
        // At most 20 characters of the number, counted before trimming.
        NameAfnCase{"X (AFN: 123456789012345678901234)", "X", "1234567890123456789", "X (AFN: 123456789012345678901234"},
        NameAfnCase{"X (AFN:éééééééééééééééééééééééé)", "X", "éééééééééééééééééééé", "X (AFN:éééééééééééééééééééééééé"},
        NameAfnCase{"(AFN: 12)", "", "12", "(AFN: 12"},
        NameAfnCase{"José Núñez (AFN: Ñ1)", "José Núñez", "Ñ1", "José Núñez (AFN: Ñ1"}),
    testing::NamedBy(&NameAfnCase::text));

TEST(Splitters, AnOutputMayBeTheTextItself) {
    std::string s = "John Smith (AFN: 1A2B-3C4) x", afn;
    SplitNameAFN(s, s, afn);
    EXPECT_EQ(s, "John Smith");
    EXPECT_EQ(afn, "1A2B-3C4");

    std::string line = "Born: 1850 Place: Boston Suffolk", place;
    SplitDatePlace(line, line, place);
    EXPECT_EQ(line, "1850");
    EXPECT_EQ(place, "Boston, Suffolk");
}

using DatePlaceCase = SplitCase;  // text, date, place, text after
class SplitDatePlaceCases : public ::testing::TestWithParam<DatePlaceCase> {};

TEST_P(SplitDatePlaceCases, DateAndNormalisedPlace) { ExpectSplit(SplitDatePlace, GetParam()); }

INSTANTIATE_TEST_SUITE_P(
    EventLines, SplitDatePlaceCases,
    ::testing::Values(
        DatePlaceCase{"Born: 12 Jan 1850 Place: Boston Suffolk Massachusetts", "12 Jan 1850",
                      "Boston, Suffolk, Massachusetts", "Born: 12 Jan 1850"},
        DatePlaceCase{"Christened:  Abt 1850   Place:  Suffolk County Massachusetts ", "Abt 1850",
                      "Suffolk County, Massachusetts", "Christened:  Abt 1850"},
        DatePlaceCase{"Died: 3 Mar 1901 Place:", "3 Mar 1901", "", "Died: 3 Mar 1901"},
        DatePlaceCase{"Died: 3 Mar 1901", "", "", "Died: 3 Mar 1901"},
        DatePlaceCase{"Buried: Place: Boston", "", "Boston", "Buried:"},
        DatePlaceCase{"Place: Boston", "", "", "Place: Boston"},
        DatePlaceCase{"", "", "", ""},
        DatePlaceCase{"Born 1850 Place: Boston", "", "Boston", "Born 1850"},
        DatePlaceCase{"Event: Birth: 1850 Place: Boston", "1850", "Boston", "Event: Birth: 1850"},
        // At most 30 characters from the blank after the colon: 29 visible.
        DatePlaceCase{"Born: about the twelfth of January in 1850 Place: Boston", "about the twelfth of January",
                      "Boston", "Born: about the twelfth of January in 1850"},
        DatePlaceCase{"Born: 1850 Place: Zürich Schweiz", "1850", "Zürich, Schweiz", "Born: 1850"}),
    testing::NamedBy(&DatePlaceCase::text));

TEST(SplitDatePlace, PlaceKeepsItsFirst120Characters) {
    // The blank after "Place:" is the first of the 120.
    std::string text = "Born: 1850 Place: A" + std::string(59, 'a') + std::string(70, 'b') + " 1234", date, place;
    SplitDatePlace(text, date, place);
    EXPECT_EQ(date, "1850");
    EXPECT_EQ(place, "A" + std::string(59, 'a') + std::string(59, 'b'));
}

TEST(SplitDatePlace, MultiByteCharactersCountAsOne) {
    std::string text, date, place;
    text = "Born: " + std::string("é") + std::string(40, 'x') + " Place: " + "Ü" + std::string(130, 'z');
    SplitDatePlace(text, date, place);
    EXPECT_EQ(date, "é" + std::string(28, 'x'));
    EXPECT_EQ(place, "Ü" + std::string(118, 'z'));
}

}  // namespace
}  // namespace lintora
