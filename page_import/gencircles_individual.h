#pragma once
// GenCircles individual page.
#include <string>

namespace lintora {

// Reads g.PageLines and files the page itself, marriage by marriage: the
// person with his parents, first spouse and that marriage's children, then
// each further spouse with his own children; then the page notes.
// g.PageMainIndiv ends on the page person. Never throws.
void ProcessIndGNC();

// The name of a person line that may end in a number and "SmartMatches"
// ("John Smith 3 SmartMatches" -> "John Smith"); a footnote digit at the
// end of a name word is dropped ("Smith1" -> "Smith").
std::string StripSmartMatches(const std::string& text);

}  // namespace lintora
