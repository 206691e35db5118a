#include "files/work_lines.h"

#include <algorithm>

#include "files/gedcom_writer.h"

namespace lintora {

BadWorkLine::BadWorkLine(std::string_view line, std::size_t lineNo, std::size_t group)
    : std::runtime_error("Line " + std::to_string(lineNo) + " holds the code " +
                         std::string(line.substr(3 * group, 3)) + " at character " + std::to_string(3 * group + 1) +
                         ", where a character code from 000 to 255 was expected.") {}

bool AllDigits(std::string_view s) {
    if (s.empty()) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

void DecodeWorkLines(std::string& text, std::vector<std::string_view>& lines) {
    for (std::size_t k = 0; k < lines.size(); ++k) {
        std::string_view& line = lines[k];
        if (!AllDigits(line)) continue;
        char* const at = text.data() + (line.data() - text.data());
        std::size_t length = 0;
        if (!DecodeLineInto(line, at, length)) throw BadWorkLine(line, k + 1, length);
        // A line end coded inside the line is no line end: the field keeps a blank.
        std::replace_if(at, at + length, [](char c) { return c == '\r' || c == '\n'; }, ' ');
        line = {at, length};
    }
}

}  // namespace lintora
