#include "files/file_end.h"

#include "files/work_lines.h"
#include "record_store/text_routines.h"

namespace lintora {

namespace {

bool HoldsText(std::string_view line) { return line.find_first_not_of(' ') != std::string_view::npos; }

// "0 TRLR", alone or with a work file's site and page type after it.
bool IsTrailer(std::string_view line) {
    const std::size_t from = line.find_first_not_of(' ');
    if (from == std::string_view::npos || line[from] != '0') return false;
    line.remove_prefix(from);
    line.remove_suffix(line.size() - (line.find_last_not_of(' ') + 1));
    return line == "0 TRLR" || line.starts_with("0 TRLR ");
}

}  // namespace

bool LastWorkLineCut(std::string_view text, const std::vector<std::string_view>& lines) {
    // The line end the file uses: its first.
    const std::size_t first = text.find_first_of("\r\n");
    const std::string_view lineEnd = first == std::string_view::npos  ? "\r\n"
                                     : text[first] == '\n'            ? "\n"
                                     : text.substr(first, 2) == "\r\n" ? "\r\n"
                                                                      : "\r";
    for (std::size_t k = lines.size(); k-- > 0;) {
        if (!HoldsText(lines[k])) continue;
        const std::size_t end = static_cast<std::size_t>(lines[k].data() - text.data()) + lines[k].size();
        return AllDigits(lines[k]) && text.substr(end, lineEnd.size()) != lineEnd;
    }
    return false;
}

FileEnd JudgeEnd(const std::vector<std::string_view>& lines, bool lastLineCut) {
    FileEnd end;
    // From the end: a whole file ends with its trailer, and only what
    // follows a trailer is looked at.
    auto trailer = lines.end();
    for (auto k = lines.end(); k != lines.begin();) {
        if (IsTrailer(*--k)) {
            trailer = k;
            break;
        }
        end.recordsAfter = end.recordsAfter || HoldsText(*k);
    }
    if (trailer == lines.end()) {
        end.cutShort = true;
        end.recordsAfter = false;
        return end;
    }
    end.cutShort = lastLineCut;
    // A trailer cut short names no first page: its words may be cut too.
    if (!lastLineCut || end.recordsAfter) end.trailer = *trailer;
    return end;
}

FirstPage FirstPageOf(const FileEnd& end) {
    FirstPage page;
    std::vector<std::string> words;
    for (auto& w : SplitFields(end.trailer, " "))
        if (!w.empty()) words.push_back(w);
    if (words.size() > 2) {
        if (words.size() > 3) page.type = words[3];
        page.site = words[2];
    }
    return page;
}

}  // namespace lintora
