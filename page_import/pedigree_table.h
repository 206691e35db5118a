#pragma once
// Ancestry and RootsWeb pedigree chart copied in its table form: numbered
// boxes (the father of box n is 2n, the mother 2n + 1) whose name and
// "B:", "C:", "M:", "D:" and "P:" lines may stand side by side.
#include <cstdint>
#include <string>

namespace lintora {

// Splits a cell that ends in, or carries inside it, the number of another
// box: "John Smith 9" gives before "John Smith ", nextBox 9; "P: Ohio 12
// John Smith" gives before "P: Ohio ", after "John Smith", nextBox 12; a
// number of 16 to 32 at the end is the line's own box (ownBox). Numbers
// that cannot be boxes (years) are not box numbers.
void ParsePtbDateLine(const std::string& text, std::string& before, std::string& after, int32_t& ownBox,
                      int32_t& nextBox);

// Splits an event cell at " <box> " searched from its first month name:
// "D: 3 MAR 1901 12 Anna Berg" for box 12 gives "D: 3 MAR 1901" and "Anna
// Berg". Both parts are empty when the number does not occur.
void SplitAtMonthName(int32_t box, const std::string& text, std::string& left, std::string& right);

// Rebuilds boxes 1 to 31 from g.PageLines and files boxes 1 to 15, each
// with his parents and spouse, through the page scratch record. An empty
// box is never filed as a person.
void ProcessPtbANC();

}  // namespace lintora
