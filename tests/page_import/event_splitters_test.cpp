#include "page_import/event_splitters.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/case_names.h"

namespace lintora {
namespace {

struct DatePlaceAtCase {
    const char* text;
    const char* date;
    const char* place;
    const char* textAfter;
};

class SplitDatePlaceAtCases : public ::testing::TestWithParam<DatePlaceAtCase> {};

TEST_P(SplitDatePlaceAtCases, DateAndPlace) {
    const auto& c = GetParam();
    std::string text = c.text, date = "old", place = "old";
    SplitDatePlaceAt(text, date, place, " in ");
    EXPECT_EQ(date, c.date) << c.text;
    EXPECT_EQ(place, c.place) << c.text;
    EXPECT_EQ(text, c.textAfter) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    EventTexts, SplitDatePlaceAtCases,
    ::testing::Values(
        DatePlaceAtCase{"12 Mar 1820 in Boston, Suffolk, Massachusetts", "12 Mar 1820",
                        "Boston, Suffolk, Massachusetts", "12 Mar 1820 in Boston, Suffolk, Massachusetts"},
        // The final period goes, and so does every other one.
        DatePlaceAtCase{"1820 in Boston.", "1820", "Boston", "1820 in Boston"},
        DatePlaceAtCase{"Abt. 1820 in St. Albans.", "Abt 1820", "St Albans", "Abt 1820 in St Albans"},
        DatePlaceAtCase{"  1820  ", "1820", "", "1820"},
        // The date is kept as written, not rewritten.
        DatePlaceAtCase{"Mar 12 1820", "Mar 12 1820", "", "Mar 12 1820"},
        // "WFT Est" leaves the date, never the place.
        DatePlaceAtCase{"WFT Est 1790-1820 in WFT Estates", "1790-1820", "Wft, Estates",
                        "WFT Est 1790-1820 in WFT Estates"},
        // A date part that holds no date is dropped; the place stays.
        DatePlaceAtCase{"Unknown in Kent", "", "Kent", "Unknown in Kent"},
        // No separator and no date: the text is the place, not lost.
        DatePlaceAtCase{"Boston, Suffolk.", "", "Boston, Suffolk", "Boston, Suffolk"},
        // What a site shows for a hidden or unknown event is neither date nor place.
        DatePlaceAtCase{"Deceased", "", "", "Deceased"},
        DatePlaceAtCase{"Private.", "", "", "Private"},
        DatePlaceAtCase{"LIVING", "", "", "LIVING"},
        DatePlaceAtCase{"unknown", "", "", "unknown"},
        DatePlaceAtCase{"Y", "", "", "Y"},
        DatePlaceAtCase{"1850 in Unknown", "1850", "", "1850 in Unknown"},
        // What is left of "He died in Boston." after the clause is cut off.
        DatePlaceAtCase{"in Boston.", "", "Boston", "in Boston"},
        // A lone small word is no place name.
        DatePlaceAtCase{"in", "", "", "in"},
        // Only the first separator splits.
        DatePlaceAtCase{"1850 in Marlborough in Kent", "1850", "Marlborough, Kent",
                        "1850 in Marlborough in Kent"},
        DatePlaceAtCase{"", "", "", ""},
        DatePlaceAtCase{"   ", "", "", "   "},
        DatePlaceAtCase{".", "", "", ""},
        DatePlaceAtCase{"1 May 1880 in Kraków", "1 May 1880", "Kraków", "1 May 1880 in Kraków"},
        // The sentence's punctuation ends with neither date nor place.
        DatePlaceAtCase{"1804 in Hartford, Hartford, Connecticut;", "1804", "Hartford, Hartford, Connecticut",
                        "1804 in Hartford, Hartford, Connecticut"},
        DatePlaceAtCase{"1880; ", "1880", "", "1880"},
        DatePlaceAtCase{"in Dover, Kent,", "", "Dover, Kent", "in Dover, Kent"},
        DatePlaceAtCase{";", "", "", ""}),
    testing::NamedBy(&DatePlaceAtCase::text));

TEST(EventSplitters, AnotherSeparatorSplitsTheSameWay) {
    std::string text = "1850 at Boston", date, place;
    SplitDatePlaceAt(text, date, place, " at ");
    EXPECT_EQ(date, "1850");
    EXPECT_EQ(place, "Boston");
}

struct NameDatePlaceCase {
    const char* text;
    const char* name;
    const char* date;
    const char* place;
};

class SplitNameDatePlaceCases : public ::testing::TestWithParam<NameDatePlaceCase> {};

TEST_P(SplitNameDatePlaceCases, NameThenEvent) {
    const auto& c = GetParam();
    std::string name = "old", date = "old", place = "old";
    SplitNameDatePlace(c.text, name, date, place, " b: ");
    EXPECT_EQ(name, c.name) << c.text;
    EXPECT_EQ(date, c.date) << c.text;
    EXPECT_EQ(place, c.place) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    NameTexts, SplitNameDatePlaceCases,
    ::testing::Values(
        NameDatePlaceCase{"John Smith b: 12 Mar 1820 in Boston", "John Smith", "12 Mar 1820", "Boston"},
        NameDatePlaceCase{" *John Smith* b: WFT Est. 1780-1800 ", "John Smith", "1780-1800", ""},
        NameDatePlaceCase{"John Smith", "John Smith", "", ""},
        NameDatePlaceCase{"  ", "", "", ""},
        NameDatePlaceCase{"***", "", "", ""},
        // Two markers: the last one splits; the first stays in the name.
        NameDatePlaceCase{"John b: Smith b: 1820", "John b: Smith", "1820", ""},
        // A marker in the first two characters is no marker.
        NameDatePlaceCase{"J b: 1820", "J b: 1820", "", ""},
        NameDatePlaceCase{"Jo b: 1820", "Jo", "1820", ""},
        NameDatePlaceCase{"Ann Lee b: in Dover", "Ann Lee", "", "Dover"}),
    testing::NamedBy(&NameDatePlaceCase::text));

TEST(EventSplitters, EventTextIsCutTo120Characters) {
    // The event is read from the marker's closing blank: 119 characters of it.
    const std::string tail(200, 'X');
    std::string name, date, place;
    SplitNameDatePlace("Ann Lee b: 1820 in " + tail, name, date, place, " b: ");
    EXPECT_EQ(name, "Ann Lee");
    EXPECT_EQ(date, "1820");
    EXPECT_EQ(place.size(), 119u - 8u);
}

TEST(EventSplitters, DateTest) {
    EXPECT_TRUE(ReadsAsDate("ABT 1850"));
    EXPECT_TRUE(ReadsAsDate("Jan 1850"));
    EXPECT_FALSE(ReadsAsDate("Boston"));
    EXPECT_FALSE(ReadsAsDate(""));
}

}  // namespace
}  // namespace lintora
