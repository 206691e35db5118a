#pragma once
// Numbers and parts read out of the free-text dates and places that the
// records keep exactly as the pages gave them. Both routines are forgiving:
// what they cannot read becomes 0 or stays empty; neither reports anything.
#include <cstdint>
#include <string>
#include <string_view>

namespace lintora {

// Reads year, month and day (0 = not given) from a date text such as
// "12 Jan 1850", "ABT 1850" or "BEF 3 Mar 1850", and sets `result` to
// "year/month/day" without leading zeros ("0/0/0" when no number is found).
// A blank date text sets the numbers to 0 and leaves `result` as it was.
// Month names (MonthsUC, then Months, case-sensitive) count only at the start
// of a word and only where the word goes on as the month's full name
// ("January", "Sept", "JUNE"), so "Deceased" is not December.
void ParseDateParts(std::string_view dateText, std::string& result, int16_t& year, int16_t& month,
                    int16_t& day);

// Cuts a place text at its commas into up to four trimmed parts; the fourth
// keeps any further commas. A part that lies between commas but is empty
// becomes one blank; parts not reached stay empty. `unused` is always
// emptied (callers pass it for the layout they share).
void SplitPlace(std::string_view place, std::string& unused, std::string& part1, std::string& part2,
                std::string& part3, std::string& part4);

}  // namespace lintora
