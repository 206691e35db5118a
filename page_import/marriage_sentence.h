#pragma once
// The marriage sentences of the register and ahnentafel reports: "He married
// Mary Jones 12 Jan 1725 in Boston, daughter of John Jones and Ann Lee. She
// was born 1700 in Salem." Only cuts the text; the reports file the people.
#include <string>

namespace lintora {

struct SpouseSentence {
    std::string name;        // the spouse's name, trimmed
    std::string events;      // the spouse's own sentences ("was born 1700 in Salem."), trimmed
    std::string marrDate;    // trimmed, empty when none
    std::string marrPlace;   // normalised, empty when none
    bool hasParents = false;
    std::string father, mother;  // without periods; mother "<unknown>" when only one is named
};

// Cuts an entry at its first ". She married " (else ". He married "): head
// becomes the entry up to and with that full stop, tail the text after
// "married ", and sex "F" (or "M"). Without the phrase nothing is changed.
void SplitAtMarried(const std::string& line, std::string& head, std::string& tail, std::string& sex);

// Takes the next spouse off `tail` (the text after the first "He married "
// or "She married "); `tail` keeps the text after a further marriage marker
// of the same person, or becomes empty. partnerSex ("M", "F" or other)
// chooses the markers: a man's further marriages and his wife's " She "
// sentences, or the other way round.
SpouseSentence NextSpouse(std::string& tail, const std::string& partnerSex);

}  // namespace lintora
