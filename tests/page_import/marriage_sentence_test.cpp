#include "page_import/marriage_sentence.h"

#include <gtest/gtest.h>

#include <string>

namespace lintora {
namespace {

TEST(SplitAtMarried, CutsAtTheFirstPhraseAndTellsTheSex) {
    std::string head = "old", tail = "old", sex = "U";
    SplitAtMarried("3. Ann LEE was born 1800. She married Tom ROE 1820. He married again.", head, tail, sex);
    EXPECT_EQ(head, "3. Ann LEE was born 1800.");
    EXPECT_EQ(tail, "Tom ROE 1820. He married again.");
    EXPECT_EQ(sex, "F");

    SplitAtMarried("2. Tom ROE was born 1790. He married Ann LEE.", head, tail, sex);
    EXPECT_EQ(head, "2. Tom ROE was born 1790.");
    EXPECT_EQ(tail, "Ann LEE.");
    EXPECT_EQ(sex, "M");

    // Without the phrase (or without its full stop) nothing changes.
    head = "kept", tail = "", sex = "U";
    SplitAtMarried("4. Bo LEE She married nobody.", head, tail, sex);
    EXPECT_EQ(head, "kept");
    EXPECT_EQ(tail, "");
    EXPECT_EQ(sex, "U");
}

}  // namespace
}  // namespace lintora
