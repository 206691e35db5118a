#include "page_import/splitters.h"

#include <gtest/gtest.h>

#include <string>

namespace lintora {
namespace {

struct NameAfnCase {
    const char* text;
    const char* name;
    const char* afn;
    const char* textAfter;
};

class SplitNameAFNCases : public ::testing::TestWithParam<NameAfnCase> {};

TEST_P(SplitNameAFNCases, NameAndNumber) {
    const NameAfnCase& c = GetParam();
    std::string text = c.text, name = "old", afn = "old";
    SplitNameAFN(text, name, afn);
    EXPECT_EQ(name, c.name);
    EXPECT_EQ(afn, c.afn);
    EXPECT_EQ(text, c.textAfter);
}

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
        NameAfnCase{"José Núñez (AFN: Ñ1)", "José Núñez", "Ñ1", "José Núñez (AFN: Ñ1"}));

TEST(SplitNameAFN, OutputMayBeTheTextItself) {
    std::string s = "John Smith (AFN: 1A2B-3C4) x", afn;
    SplitNameAFN(s, s, afn);
    EXPECT_EQ(s, "John Smith");
    EXPECT_EQ(afn, "1A2B-3C4");
}

}  // namespace
}  // namespace lintora
