#pragma once
// A file's bytes as lines of UTF-8: byte-order mark honoured, work-file
// lines decoded, the character set of the header applied, CONC values
// joined, and how the file ends. The bytes are read where they stand, so
// that a load holds them once.
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "files/file_end.h"

namespace lintora {

// A file's text as lines of UTF-8, each a view into text or, for a line
// that grew in its reading and found no room where it stood, into grown.
// The views point into both: they are filled in place, never copied or moved.
struct DecodedLines {
    std::string text;  // the file's bytes, read into UTF-8 where they stand
    std::deque<std::string> grown;
    std::vector<std::string_view> lines;
    std::string unknownCharSet;  // the header's CHAR when the program does not know it
    FileEnd end;  // its trailer a view into the lines
    DecodedLines() = default;
    DecodedLines(const DecodedLines&) = delete;
    DecodedLines& operator=(const DecodedLines&) = delete;
};

// The bytes become out.text and are read in place. Throws BadWorkLine for
// a work-file line that names no character.
void FileLines(std::string bytes, DecodedLines& out);

}  // namespace lintora
