#pragma once
// FamilySearch Pedigree Resource File individual page.
#include <cstdint>
#include <string>

namespace lintora {

// Takes a person text of this page apart, from its end: "(AFN: ...)",
// "Pin #" number, "Compact Disc #" number, and what is left is the name.
// `text` is shortened as the parts come off. Returns false when a disc or
// pin number does not read as a number; the name is then left empty.
bool ParsePRFNameLine(std::string& text, std::string& name, int16_t& cdNo, int32_t& pidNo, std::string& afn);

// Reads PageLines into the page scratch record: the page person with name,
// AFN, disc and pin numbers, sex, four events and submission number, the
// parent sets and the spouses with their marriages. Files nothing itself.
// Never throws.
void ProcessIndPRF();

}  // namespace lintora
