#pragma once
// The parents sentence of an ahnentafel entry: ". He was the son of 4.
// John Smith and 5. Mary Jones." In an ahnentafel the father of n is 2n and
// the mother 2n + 1, so odd numbers are mothers.
#include <cstdint>
#include <string>

namespace lintora {

class ReportFiling;

struct AhnParents {
    std::string lead;       // the entry up to the period that opens the sentence (all of it without one)
    std::string sex = "U";  // "M" after "He was the son of", "F" after "She was the daughter of"
    std::string fatherName, motherName;  // "<unknown>" for a parent not named; empty without a sentence
    int32_t fatherNo = 0, motherNo = 0;  // 0 when not given and not derivable
    int32_t family = 0;                  // the parents' family when filed
};

// Reads the sentence. With `filing` set, both parents are matched or added
// (father "M", mother "F", each with his number as generated id) and their
// family found or made; `indivAdded` and `familAdded` count the new ones.
// Without any number no id is given. A number part that is no number is
// read as part of the name. Failures show "Problem encountered processing
// Ahn parents (...)" and return what was read; a full table ends the parse
// (TablesFull).
AhnParents ParseAhnParents(const std::string& text, ReportFiling* filing, int& indivAdded, int& familAdded);

}  // namespace lintora
