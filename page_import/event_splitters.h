#pragma once
// Splitters for the free event text of Ancestry, RootsWeb and GenCircles
// pages ("12 Mar 1820 in Boston, Suffolk"). Neither reports anything: what
// cannot be read stays empty.
#include <string>
#include <string_view>

namespace lintora {

// Splits an event text at the first separator (" in ") into a date and a
// normalised place. Sentence punctuation (".;,:") at the end of the text is
// cut off, periods are removed everywhere and "WFT Est" from the
// date. A date part that holds no day, month or year is dropped. A text
// without the separator that is no date is taken as the place, and so is
// the rest of a text that starts with the separator's word ("in Boston");
// "Deceased", "Private", "Living", "Unknown" and "Y" are never a place.
// `text` returns trimmed and without periods (unchanged when blank).
void SplitDatePlaceAt(std::string& text, std::string& date, std::string& place,
                      std::string_view separator);

// Splits "John Smith b: 12 Mar 1820 in Boston" at the last marker (" b: ")
// into the name and the event text (at most 120 characters from the
// marker's closing blank), which SplitDatePlaceAt splits at " in ".
// Without a marker after the first two characters the whole text is the
// name. Asterisks and "WFT Est." are removed first.
void SplitNameDatePlace(std::string_view text, std::string& name, std::string& date,
                        std::string& place, std::string_view marker);

// True when ParseDateParts finds a day, month or year in the text.
bool ReadsAsDate(std::string_view text);

}  // namespace lintora
