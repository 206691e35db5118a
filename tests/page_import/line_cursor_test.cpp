#include "page_import/line_cursor.h"

#include <gtest/gtest.h>

#include "record_store/fixed_text.h"

namespace lintora {
namespace {

TEST(PageLineCursor, LinesOutsideThePageReadEmptyAndMatchNothing) {
    const std::vector<std::string> lines = {"Heading", "  Name: John Smith \r", "Born"};
    PageLineCursor page(lines);
    EXPECT_EQ(page.Last(), 2);
    EXPECT_EQ(page.At(-1), "");
    EXPECT_EQ(page.At(3), "");
    EXPECT_EQ(page.Trimmed(1), "Name: John Smith");
    EXPECT_TRUE(page.Equals(1, "Name: John Smith"));
    EXPECT_FALSE(page.BeginsWith(5, ""));
    EXPECT_FALSE(page.Contains(-2, ""));
    EXPECT_TRUE(page.AnyBeginsWith(-3, 9, "Born"));
    EXPECT_EQ(page.FindBeginning(0, "Born"), 2);
    EXPECT_EQ(page.FindBeginning(3, "Born"), -1);

    const std::vector<std::string> none;
    PageLineCursor empty(none);
    EXPECT_EQ(empty.Last(), -1);
    EXPECT_EQ(empty.At(0), "");
    EXPECT_FALSE(empty.InFirstTwo("x"));
}

TEST(Utf8Mid, CountsCharactersNotBytes) {
    EXPECT_EQ(Utf8Mid("Zoë Ægir", 3, 3), "ë Æ");
    EXPECT_EQ(Utf8Mid("abc", 0, 2), "ab");
    EXPECT_EQ(Utf8Mid("abc", 4, 2), "");
    EXPECT_EQ(Utf8Mid("abcdef", 2), "bcdef");
}

}  // namespace
}  // namespace lintora
