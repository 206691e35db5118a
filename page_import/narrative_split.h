#pragma once
// The spouse phrase of a narrative report after its place is cut off
// ("Mary Jones 12 Jan 1725"): the name, then the date from the first word
// that starts one.
#include <string>
#include <string_view>

namespace lintora {

// name and date receive the two parts, each word led by one blank (callers
// trim them); without a date word the name is the cleaned text itself and
// the date empty. The first word always belongs to the name, except a
// month abbreviation ("Jan", "JAN") just before the first date word, which
// goes with the date. Asterisks and "WFT Est." are removed first.
void SplitANCDatePlace(std::string_view text, std::string& name, std::string& date);

}  // namespace lintora
