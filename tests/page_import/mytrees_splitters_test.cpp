#include "page_import/mytrees_splitters.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/case_names.h"

namespace lintora {
namespace {

struct KKCase {
    const char* text;
    const char* name;  // unused by the date and place splitter
    const char* date;
    const char* place;
};

class SplitDatePlaceKKCases : public ::testing::TestWithParam<KKCase> {};

TEST_P(SplitDatePlaceKKCases, DateEndsAtItsYear) {
    const auto& c = GetParam();
    std::string date = "old", place = "old";
    SplitDatePlaceKK(c.text, date, place);
    EXPECT_EQ(date, c.date) << c.text;
    EXPECT_EQ(place, c.place) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    EventValues, SplitDatePlaceKKCases,
    ::testing::Values(KKCase{"12 Jan 1850 Boston, Suffolk, MA", "", "12 Jan 1850", "Boston, Suffolk, MA"},
                      KKCase{"Abt 1749/50 Salem", "", "Abt 1749 /50", "Salem"},
                      KKCase{"1850", "", "1850", ""}, KKCase{"Boston", "", "", "Boston"},
                      KKCase{"  Boston Massachusetts ", "", "", "Boston Massachusetts"},
                      KKCase{"UNKNOWN Boston", "", "", "Boston"}, KKCase{"unknown Boston", "", "", "Boston"},
                      KKCase{"<Unk> Salem, MA", "", "", "Salem, MA"}, KKCase{"UNKNOWN", "", "", "UNKNOWN"},
                      // The last year word counts.
                      KKCase{"1850 Main 1852 Street", "", "1850 Main 1852", "Street"},
                      KKCase{"1850 Boston", "", "1850", "Boston"},
                      // Numbers of other lengths are no year; a sign makes no number.
                      KKCase{"185 Boston", "", "", "185 Boston"}, KKCase{"-1850 Boston", "", "", "-1850 Boston"},
                      KKCase{"", "", "", ""}, KKCase{"   ", "", "", ""}),
    testing::NamedBy(&KKCase::text));

class SplitPersonEntryKKCases : public ::testing::TestWithParam<KKCase> {};

TEST_P(SplitPersonEntryKKCases, NameDateAndPlace) {
    const auto& c = GetParam();
    std::string name = "old", date = "old", place = "old";
    SplitPersonEntryKK(c.text, name, date, place);
    EXPECT_EQ(name, c.name) << c.text;
    EXPECT_EQ(date, c.date) << c.text;
    EXPECT_EQ(place, c.place) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    ListEntries, SplitPersonEntryKKCases,
    ::testing::Values(
        KKCase{"3. Smith, John Henry - born: 12 Jan 1850 @ Boston, MA", "John Henry SMITH", "12 Jan 1850",
               "Boston, MA"},
        KKCase{"1. XJones, Mary - Birth/Chris: 1852", "Mary JONES", "1852", ""},
        KKCase{"4. Brown - born: 1860", "Brown", "1860", ""},
        KKCase{"Smith, John - born: 1850", "Smith, John - born: 1850", "", ""},
        KKCase{"7.   ", "7", "", ""},
        KKCase{"2. Ödegård, Åsa - born: 1 May 1880 @ Bergen", "Åsa ÖDEGÅRD", "1 May 1880", "Bergen"},
        KKCase{"6. Hill, - born: 1870", "Hill", "1870", ""}, KKCase{"", "", "", ""}),
    testing::NamedBy(&KKCase::text));

}  // namespace
}  // namespace lintora
