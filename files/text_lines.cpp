#include "files/text_lines.h"

namespace lintora {

std::vector<std::string> SplitFileLines(std::string_view contents) {
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < contents.size()) {
        std::size_t end = contents.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = contents.size();
        lines.emplace_back(contents.substr(pos, end - pos));
        if (end + 1 < contents.size() && contents[end] == '\r' && contents[end + 1] == '\n') ++end;
        pos = end + 1;
    }
    return lines;
}

}  // namespace lintora
