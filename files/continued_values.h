#pragma once
// Values that go on over CONC lines, in a GEDCOM file read as UTF-8.
// Writers that count bytes cut a letter between a line and its CONC line;
// the pieces of a value are taken together so that such a letter reads
// whole.
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace lintora {

// Mends the lines (views) of a file read as UTF-8: a letter cut between two
// pieces of a note goes whole into the first piece, the note keeping its
// lines (a CONC line left with nothing is left empty); the CONC pieces of
// any other value (a name, a place) join its first line, their own lines
// left empty. Bytes that are no UTF-8 stay as they are. Lines made anew are
// kept in store, which must outlive the views.
void JoinContinuedValues(std::vector<std::string_view>& lines, std::deque<std::string>& store);

}  // namespace lintora
