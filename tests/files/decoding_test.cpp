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
    EXPECT_FALSE(decoded.end.cutShort);
    EXPECT_EQ(decoded.unknownCharSet, "");
}

// A file of another program labelled ANSEL but written in UTF-8, a letter
// cut between a line and its CONC line with a blank line between them: the
// line alone is no UTF-8, yet the file is plainly UTF-8 and read so; one
// real ANSEL line anywhere else makes it ANSEL again.
TEST(DecodingTest, AFileLabelledAnselIsReadAsUtf8WhenItsCutLettersAreWhole) {
    const std::string head = "0 HEAD\r\n1 CHAR ANSEL\r\n0 @I1@ INDI\r\n1 NAME Ren\xC3\r\n\r\n2 CONC \xA9 /Lund/\r\n";
    DecodedLines utf8, ansel;
    FileLines(head + "1 NOTE Malm\xC3\xB6\r\n0 TRLR\r\n", utf8);
    EXPECT_EQ(std::string(utf8.lines[3]), "1 NAME Ren\u00E9 /Lund/");
    EXPECT_EQ(std::string(utf8.lines[6]), "1 NOTE Malm\u00F6");
    FileLines(head + "1 NOTE Malm\xE8o\r\n0 TRLR\r\n", ansel);
    EXPECT_EQ(std::string(ansel.lines[6]), "1 NOTE Malm\u00F6");
    EXPECT_NE(std::string(ansel.lines[3]), "1 NAME Ren\u00E9 /Lund/");
}

}  // namespace
}  // namespace lintora::testing
