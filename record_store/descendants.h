#pragma once
// The descendants outline of one person: the person, each spouse, the
// children of each marriage with their own spouses and children, depth
// first, each line with birth and death years.
#include <cstdint>
#include <string>
#include <vector>

namespace lintora {

struct DescLine {
    std::string text;   // indented line, trailing blanks cut
    int32_t indiv = 0;  // the person of the line; 0 for none
};

// Outline of indiv; empty when indiv is not a live individual. A person
// with no marriage gets the "(no descendant list for this person)" line.
// Children are listed down to generation 11, which also ends loops.
std::vector<DescLine> BuildDescendantOutline(int32_t indiv);

// One line: generation above 0 gives "g  Name  (1850 - 1920)", 0 a spouse line.
std::string DescLineText(int32_t indiv, const std::string& indent, int16_t generation);

}  // namespace lintora
