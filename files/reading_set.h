#pragma once
// The character set a file's lines are read in: the one its header names,
// or UTF-8 for a file that names a single-byte set but is plainly UTF-8.
// The values continued on CONC lines are joined as the set reads them.
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace lintora {

// How the text of a file is read, by the character set its header names.
enum class CharSet {
    Ansel,
    Utf8,
    Cp437,  // IBMPC: files of DOS programs
    Other,  // valid UTF-8 as UTF-8, other bytes as Windows-1252 (ANSI, ASCII, none)
};

bool AllAscii(std::string_view s);

// The set the lines are read in, from their header; the values of the file
// are joined (lines made anew kept in store). A set the program does not
// know is named in unknown.
CharSet ReadingSet(std::vector<std::string_view>& lines, std::deque<std::string>& store, bool utf16,
                   bool utf8Mark, std::string& unknown);

}  // namespace lintora
