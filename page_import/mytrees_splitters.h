#pragma once
// Splitters for the free text of MyTrees individual and family pages. Both
// work on plain text only and report nothing: what cannot be read stays
// empty.
#include <string>
#include <string_view>

namespace lintora {

// "12 Jan 1850 Boston, Suffolk, MA" -> date "12 Jan 1850", place "Boston,
// Suffolk, MA". The date ends at its year: the last word of four digits, or
// of the form "1749/50" (whose "/50" becomes a word of its own: "Abt 1749
// /50"). Without a year the whole text is the place, less a leading
// "UNKNOWN", "<UNKNOWN>", "UNK" or "<UNK>" in any case. A single number is
// a date.
void SplitDatePlaceKK(std::string_view text, std::string& date, std::string& place);

// One entry of a spouse or child list, "2. Smith, John Henry - born: 12 Jan
// 1850 @ Boston, MA" -> name "John Henry SMITH", date "12 Jan 1850", place
// "Boston, MA". A leading "X" of the name is dropped; "Birth/Chris: " stands
// in for "born: ". An entry without its list number is all name.
void SplitPersonEntryKK(std::string_view text, std::string& name, std::string& date, std::string& place);

// True for a non-empty run of the digits 0-9 (no sign, point or separator).
bool IsPlainNumber(std::string_view s);

}  // namespace lintora
