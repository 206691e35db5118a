#include "files/continued_values.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/charset.h"

namespace lintora {
namespace {

std::vector<std::string> Joined(const std::vector<std::string>& file) {
    std::vector<std::string_view> lines(file.begin(), file.end());
    std::deque<std::string> store;
    JoinContinuedValues(lines, store, Utf8CharEnd);
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

}  // namespace
}  // namespace lintora
