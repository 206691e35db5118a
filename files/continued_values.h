#pragma once
// Values that go on over CONC lines. Writers that count bytes cut a letter
// between a line and its CONC line (in ANSEL a mark from the letter after
// it); the pieces of a value are taken together so that such a letter
// reads whole, whatever the character set of the file.
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace lintora {

// Where the letter that begins at pos ends, in the character set of a file.
using LetterEnd = std::size_t (*)(std::string_view text, std::size_t pos);

// Mends the lines (views) of a file: a letter cut between two pieces of a
// note goes whole into the first piece, the note keeping its lines (a CONC
// line left with nothing is left empty); the CONC pieces of any other value
// (a name, a place) join its first line, their own lines left empty. Lines
// made anew are kept in store, which must outlive the views.
void JoinContinuedValues(std::vector<std::string_view>& lines, std::deque<std::string>& store,
                         LetterEnd letterEnd);

}  // namespace lintora
