#include "record_store/dates_places.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lintora {
namespace {

std::string Parse(const std::string& text) {
    std::string result = "unchanged";
    int16_t y = -1, m = -1, d = -1;
    ParseDateParts(text, result, y, m, d);
    // The numbers and the text must agree.
    if (result != "unchanged") {
        EXPECT_EQ(result, std::to_string(y) + "/" + std::to_string(m) + "/" + std::to_string(d))
            << text;
    }
    return result;
}

TEST(ParseDateParts, ReadsTheWorkedExamples) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"12 Jan 1850", "1850/1/12"},
        {"12 JAN 1850", "1850/1/12"},
        {"Jan 1850", "1850/1/0"},
        {"1850", "1850/0/0"},
        {"ABT 1850", "1850/0/0"},
        {"Abt. 1850", "1850/0/0"},
        {"BEF 1850", "1850/0/0"},
        {"AFTER 1850", "1850/0/0"},
        {"before 1850", "1850/0/0"},
        {"BEF 3 Mar 1850", "1850/3/3"},
        {"12 January 1850", "1850/1/12"},
        {"12 jan 1850", "1850/0/12"},
        {"12/1/1850", "12/0/0"},
        {"1750/51", "1750/0/0"},
        {"Jan 5", "5/0/0"},
        {"BET 1850 AND 1860", "1860/0/0"},
        {"12 1850", "1850/0/12"},
        {"Living", "0/0/0"},
        {"45 Dec 1850", "1850/12/45"},
        {"12 3", "0/0/3"},
        {"/51 1750", "1750/0/51"},
        {"31  DEC  1899", "1899/12/31"},
        {"1 Mai 12345 1850", "1850/0/1"},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(Parse(text), expected) << text;
}

TEST(ParseDateParts, BlankTextLeavesTheResultAsGiven) {
    EXPECT_EQ(Parse(""), "unchanged");
    EXPECT_EQ(Parse("    "), "unchanged");
    std::string result = "x";
    int16_t y = 5, m = 5, d = 5;
    ParseDateParts(" ", result, y, m, d);
    EXPECT_EQ(y + m + d, 0);
}

TEST(ParseDateParts, MonthNamesCountOnlyAsWords) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"Deceased 1850", "1850/0/0"},
        {"Decd 1850", "1850/0/0"},  // deceased, not December
        {"Decatur 1850", "1850/0/0"},
        {"DECEASED 12 1850", "1850/0/12"},
        {"Marched 1850", "1850/0/0"},
        {"Mayfield 1850", "1850/0/0"},
        {"12 Sept 1850", "1850/9/12"},
        {"12 JUNE 1850", "1850/6/12"},
        {"12 Dec, 1850", "1850/12/12"},
        {"12JAN1850", "1850/1/12"},
        {"ABT Nov 1850", "1850/11/0"},
        {"Abt Décembre 1850", "1850/0/0"},
        {"Juneau 1850 Jul", "1850/7/0"},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(Parse(text), expected) << text;
}

struct PlaceCase {
    std::string text;
    std::vector<std::string> parts;  // parts 1 to 4
};

TEST(SplitPlace, CutsAtCommasIntoFourParts) {
    const std::vector<PlaceCase> cases = {
        {"Boston", {"Boston", "", "", ""}},
        {"  Boston  ", {"Boston", "", "", ""}},
        {"Boston, Suffolk, Massachusetts, USA, North America",
         {"Boston", "Suffolk", "Massachusetts", "USA, North America"}},
        {", Ohio", {" ", "Ohio", "", ""}},
        {"Boston,", {"Boston", " ", "", ""}},
        {"a,,b", {"a", " ", "b", ""}},
        {"a, b, c,", {"a", "b", "c", " "}},
        {"", {"", "", "", ""}},
        {"   ", {"", "", "", ""}},
        {"Köln, Nordrhein-Westfalen", {"Köln", "Nordrhein-Westfalen", "", ""}},
    };
    for (const auto& c : cases) {
        std::string unused = "x", p1 = "x", p2 = "x", p3 = "x", p4 = "x";
        SplitPlace(c.text, unused, p1, p2, p3, p4);
        EXPECT_EQ(unused, "");
        EXPECT_EQ((std::vector<std::string>{p1, p2, p3, p4}), c.parts) << c.text;
    }
}

TEST(SplitPlace, PlaceMayBeOneOfItsOwnOutputs) {
    std::string unused, p1 = "Boston, Suffolk", p2, p3, p4;
    SplitPlace(p1, unused, p1, p2, p3, p4);
    EXPECT_EQ(p1, "Boston");
    EXPECT_EQ(p2, "Suffolk");
}

}  // namespace
}  // namespace lintora
