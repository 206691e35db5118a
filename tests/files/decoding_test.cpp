#include "files/decoding.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lintora::testing {
namespace {

// A name and a note continued on CONC lines, each cut between a mark and
// its letter, in an ANSEL file of another program: the letter stays whole,
// and a CONC line whose whole text went to the line before is left empty.
TEST(DecodingTest, ConcLinesJoinedIntoTheirValueAreLeftEmpty) {
    DecodedLines decoded;
    FileLines("0 HEAD\r\n1 CHAR ANSEL\r\n0 @I1@ INDI\r\n1 NAME Ren\xE2\r\n2 CONC e /Lund/\r\n"
              "1 NOTE Born in Malm\xE8\r\n2 CONC o in Sk\xEA" "ane\r\n0 TRLR\r\n",
              decoded);
    std::vector<std::string> lines(decoded.lines.begin(), decoded.lines.end());
    EXPECT_EQ(lines, (std::vector<std::string>{"0 HEAD", "1 CHAR ANSEL", "0 @I1@ INDI", "1 NAME Ren\u00E9 /Lund/",
                                               "", "1 NOTE Born in Malm\u00F6", "2 CONC  in Sk\u00E5ne", "0 TRLR"}));
    EXPECT_FALSE(decoded.lastLineCut);
    EXPECT_EQ(decoded.unknownCharSet, "");
}

}  // namespace
}  // namespace lintora::testing
