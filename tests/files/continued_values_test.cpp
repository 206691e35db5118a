#include "files/continued_values.h"

#include <gtest/gtest.h>

#include "files/charset.h"

#include <string>
#include <vector>

namespace lintora {
namespace {

std::vector<std::string> Joined(const std::vector<std::string>& file, LetterEnd letterEnd = Utf8CharEnd) {
    std::vector<std::string_view> lines(file.begin(), file.end());
    std::deque<std::string> store;
    JoinContinuedValues(lines, store, letterEnd);
    return {lines.begin(), lines.end()};
}

// A note keeps its lines, a cut letter going whole into the first of its
// pieces; the CONC pieces of other values join their first line. Only
// CONC lines of the level below a value (or beside a CONT line) continue it.
TEST(ContinuedValues, CutLettersGoWholeNotesKeepTheirLines) {
    const std::vector<std::string> file = {
        "0 @N1@ NOTE Smile \xF0\x9F",  // U+1F600 cut over three lines
        "1 CONC \x98",
        "1 CONC \x80 and \xD0",  // and a stray byte before a whole line
        "1 CONT Ёлка",
        "0 @S1@ SOUR",
        "1 TITL Книга учёта \xD0",
        "2 CONC \xB6ителей",
        "2 CONT том \xD0",
        "2 CONC \x92\xD1\x82\xD0\xBE\xD1",
        "2 CONC \x80ой",
        "1 NOTE abc \xD0",
        "2 SOUR @S2@",
        "2 CONC \x9F",  // continues no piece before it
        "0 TRLR",
    };
    EXPECT_EQ(Joined(file), (std::vector<std::string>{
                                "0 @N1@ NOTE Smile \xF0\x9F\x98\x80",
                                "",
                                "1 CONC  and \xD0",
                                "1 CONT Ёлка",
                                "0 @S1@ SOUR",
                                "1 TITL Книга учёта жителей",
                                "",
                                "2 CONT том Второй",
                                "",
                                "",
                                "1 NOTE abc \xD0",
                                "2 SOUR @S2@",
                                "2 CONC \x9F",
                                "0 TRLR",
                            }));
}

// In ANSEL a mark stands before its letter: a mark cut from it at the end
// of a piece takes the letter into that piece.
TEST(ContinuedValues, AnselMarksCutFromTheirLettersTakeThemBack) {
    const std::vector<std::string> file = {
        "1 NOTE Ren\xE2",  // acute, then e on the CONC line
        "2 CONC e was here, Ko\xE8\xE2",
        "2 CONC \xE1",  // marks only
        "2 CONC uln",
    };
    EXPECT_EQ(Joined(file, AnselLetterEnd), (std::vector<std::string>{
                                                "1 NOTE Ren\xE2" "e",
                                                "2 CONC  was here, Ko\xE8\xE2\xE1u",
                                                "",
                                                "2 CONC ln",
                                            }));
}

}  // namespace
}  // namespace lintora
