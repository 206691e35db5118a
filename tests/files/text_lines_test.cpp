#include "files/text_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lintora {
namespace {

using Lines = std::vector<std::string>;

TEST(SplitFileLines, EveryLineEndStyleAndTheirMixtures) {
    EXPECT_EQ(SplitFileLines("0 HEAD\r\n1 CHAR ANSEL\r\n0 TRLR\r\n"), (Lines{"0 HEAD", "1 CHAR ANSEL", "0 TRLR"}));
    EXPECT_EQ(SplitFileLines("0 HEAD\n1 CHAR ANSEL\n0 TRLR"), (Lines{"0 HEAD", "1 CHAR ANSEL", "0 TRLR"}));
    EXPECT_EQ(SplitFileLines("0 HEAD\r1 CHAR ANSEL\r0 TRLR\r"), (Lines{"0 HEAD", "1 CHAR ANSEL", "0 TRLR"}));
    // LF CR is two ends (an empty line between), CR LF one; empty lines stay.
    EXPECT_EQ(SplitFileLines("a\n\rb\r\n\r\nc\n\nd\r\re"), (Lines{"a", "", "b", "", "c", "", "d", "", "e"}));
    EXPECT_EQ(SplitFileLines(""), Lines{});
    EXPECT_EQ(SplitFileLines("\r\n"), Lines{""});
    EXPECT_EQ(SplitFileLines("no end"), Lines{"no end"});
    // A long file of one style only is split whole.
    std::string cr;
    for (int i = 0; i < 20000; ++i) cr += std::to_string(i) + "\r";
    const Lines lines = SplitFileLines(cr);
    ASSERT_EQ(lines.size(), 20000u);
    EXPECT_EQ(lines.front(), "0");
    EXPECT_EQ(lines.back(), "19999");
    // Ends at every place within a run of bytes, long lines and short, the
    // three styles taking turns; bytes with the high bit set are no ends.
    const char* const ends[] = {"\r\n", "\n", "\r"};
    std::string text;
    Lines expected;
    for (int len = 0; len < 40; ++len) {
        std::string line(static_cast<std::size_t>(len), 'x');
        for (int k = 0; k < len; k += 5) line[static_cast<std::size_t>(k)] = static_cast<char>(0x8A + k);
        expected.push_back(line);
        text += line + ends[len % 3];
    }
    text += "last";
    expected.push_back("last");
    EXPECT_EQ(SplitFileLines(text), expected);
}

}  // namespace
}  // namespace lintora
