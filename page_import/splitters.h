#pragma once
// Splitters shared by the FamilySearch page parsers. Both work on plain
// text and touch no shared state.
#include <string>

namespace lintora {

// "John Smith (AFN: 1A2B-3C4)" -> name "John Smith", afn "1A2B-3C4".
// Without an AFN the afn is one blank. `text` is changed in place (cut
// before its last ")"); pass a working copy.
void SplitNameAFN(std::string& text, std::string& name, std::string& afn);

// "Born: 12 Jan 1850 Place: Boston Suffolk Massachusetts" -> date
// "12 Jan 1850", place normalised. A line without "Place:" gives neither.
// `text` becomes the trimmed part before "Place:".
void SplitDatePlace(std::string& text, std::string& date, std::string& place);

// "12 MAR 1821  Rochdale, Lancashire, England" -> date and place, split at
// the last pair of blanks; the place normalised. A value with a colon is a
// label line, not a value: both come back empty.
void SplitIGIDatePlace(const std::string& text, std::string& date, std::string& place);

}  // namespace lintora
