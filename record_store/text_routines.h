#pragma once
// Field and text routines shared by every page parser, the file reader and
// writer, the editor and the search window. Comparisons are exact
// (case-sensitive); positions are 1-based byte positions into the UTF-8
// text (a match of a whole search text always starts on a character), and
// 0 means "not found". Trimming removes blanks only.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "record_store/utf8_text.h"  // letter case

namespace lintora {

// Returned by NextToken when no delimiter is left; a control value, never data.
inline constexpr std::string_view kStopMarker = "~TWA";

// Splits text at every delimiter (matched whole; an empty delimiter means a
// single blank). Fields are not trimmed and empty fields stay; the rest of
// the text is the last element, so there is always at least one. A field
// that reads exactly "~TWA" ends the split: everything after it stays in
// the last element.
std::vector<std::string> SplitFields(std::string_view text, std::string_view delimiter);

// Pops the text before the first delimiter; `text` keeps what follows the
// delimiter. Without a delimiter in the text (or with an empty delimiter)
// returns "~TWA" and leaves `text` unchanged.
std::string NextToken(std::string& text, std::string_view delimiter);

// Position of the last occurrence of search in text, 0 if none. An empty
// search gives the length of the text (in bytes).
std::size_t InStrLast(std::string_view text, std::string_view search);

// Trims the text and replaces every occurrence of search, re-trimming after
// each replacement (so removing text at either end also removes the blanks
// left standing there, and "  " by " " collapses any run of blanks). The
// search goes on from the end of the inserted text, so a replacement that
// holds the search text is not replaced again.
std::string ReplaceAll(std::string_view text, std::string_view search, std::string_view replacement);

// Splits the trimmed text at the first delimiter into the part before and
// the part after (neither trimmed). Both are empty for a blank text; with no
// delimiter (or an empty one) `before` is the whole untrimmed text.
void SplitAtFirst(std::string_view text, std::string_view delimiter, std::string& before,
                  std::string& after);

// Longest the page notes grow before further lines are ignored.
inline constexpr std::size_t kMaxPageNotes = 63000;

// Extends the page notes (g.PageScratch.pgNotes) by one trimmed page line and
// the separator that joins it to the next: a line break after a sentence or a
// short line, a blank where a long line stops in mid-sentence.
void AppendNoteLine(std::string_view line, std::string_view nextLine);


}  // namespace lintora
