#pragma once
// Ancestry and RootsWeb descendants list: one person per line, led by his
// generation number ("2 John Smith b: 1850 d: 1920"), each spouse on a
// "+ " line indented under him.
#include <cstdint>
#include <string>

namespace lintora {

// Splits one cleaned list line. Returns false for a line that is neither a
// person line (a whole number first) nor a spouse line ("+" first). mark is
// "+" for a spouse, else one blank; level takes the person's generation
// and is left alone for a spouse. "?" names read "<unknown>".
bool ParseDesLine(const std::string& line, std::string& mark, int32_t& level, std::string& name,
                  std::string& birth, std::string& death);

// Files every person, spouse and family of the list in g.PageLines (with
// g.PageRawLines for the spouses' indentation) and sets g.PageMainIndiv.
// Persons named LIVING keep a generated id, so the next paste of the same
// list finds them again.
void ProcessDesANC();

}  // namespace lintora
