#pragma once
// The paste entry: the copied text of a genealogy page goes in, the page's
// persons come out filed in the tables, with one result line per paste.
#include <string>

namespace lintora {

// The single entry of page import, called by the paste button with the
// clipboard text. Asks before re-processing unchanged text, refuses pages
// it cannot handle, takes the undo snapshot, runs the page's parser, files
// the page, renumbers the trees and reports the result. Never throws.
void ProcessClipboard(const std::string& text);

// Closes a paste that produced data: recounts the cached family counters,
// counts the individuals and families added and updated, re-centres the
// pedigree on the page's main person and writes the result line. Runs once
// per paste; a second call for the same paste changes nothing. The counts
// given are updates already reported (by the paste, before a parent-set
// choice) and are added to those found now.
void ReportPasteResults(int32_t indivUpdatedBefore = 0, int32_t familUpdatedBefore = 0);

// Splits copied text into PageLines and PageRawLines. LF and CR LF line
// ends give the same lines; a line of only CR or blanks is empty.
void SplitPageText(const std::string& text);

}  // namespace lintora
