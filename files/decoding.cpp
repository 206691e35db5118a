#include "files/decoding.h"

#include <algorithm>
#include <cstring>
#include <functional>

#include "files/charset.h"
#include "files/file_end.h"
#include "files/gedcom_reader.h"
#include "files/reading_set.h"
#include "files/text_lines.h"
#include "files/work_lines.h"

namespace lintora {

namespace {

// The line in UTF-8: itself where it reads so, else made anew in made.
std::string_view InUtf8(std::string_view line, CharSet set, bool utf16, std::string& made) {
    // Plain ASCII reads alike in every set.
    if (utf16 || AllAscii(line)) return line;
    if (set == CharSet::Ansel) {
        made.clear();
        AppendAnselAsUtf8(made, line);
        return made;
    }
    if (set == CharSet::Cp437) return made = Cp437ToUtf8(line);
    if (IsValidUtf8(line)) return line;
    // In a UTF-8 file only the bytes that are no UTF-8 are read as Windows-1252.
    if (set == CharSet::Utf8) return made = Utf8Repaired(line);
    return made = Windows1252ToUtf8(line);
}

// The lines read in the set into UTF-8, each written back over the bytes
// it came from, so that a load holds the file's bytes once. A line that
// grows in its reading (a letter of two bytes for one) and finds no room
// before the next line still to be read goes into out.grown.
void LinesToUtf8(std::vector<std::string_view>& lines, CharSet set, bool utf16, DecodedLines& out) {
    std::string& text = out.text;
    // Lines made anew by the reading set stand outside text.
    const auto inText = [&](std::string_view line) {
        return !line.empty() && std::greater_equal<>()(line.data(), text.data()) &&
               std::less<>()(line.data(), text.data() + text.size());
    };
    // Where the first line after line k that is still to be read begins.
    std::vector<std::size_t> nextToRead(lines.size(), text.size());
    for (std::size_t k = lines.size(); k-- > 1;) {
        nextToRead[k - 1] = nextToRead[k];
        if (inText(lines[k]))
            nextToRead[k - 1] = std::min(nextToRead[k], static_cast<std::size_t>(lines[k].data() - text.data()));
    }
    std::size_t written = 0;
    std::string made;
    for (std::size_t k = 0; k < lines.size(); ++k) {
        const std::string_view utf8 = InUtf8(lines[k], set, utf16, made);
        if (utf8.size() > nextToRead[k] - written) {
            lines[k] = out.grown.emplace_back(utf8);
            continue;
        }
        // A line joined into its value is empty, and may point nowhere.
        if (!utf8.empty()) std::memmove(text.data() + written, utf8.data(), utf8.size());
        lines[k] = {text.data() + written, utf8.size()};
        written += utf8.size();
    }
    ControlsToBlanks(text.data(), text.data() + written);  // what lies past it is read by nobody
    for (std::string& line : out.grown) ControlsToBlanks(line);
}

}  // namespace

void FileLines(std::string bytes, DecodedLines& out) {
    std::string& text = out.text;
    text.swap(bytes);
    const auto b = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    bool utf16 = text.size() >= 2 && ((b(0) == 0xFF && b(1) == 0xFE) || (b(0) == 0xFE && b(1) == 0xFF));
    const char order = utf16 ? 0 : Utf16WithoutMark(text);
    utf16 = utf16 || order != 0;
    const bool utf8Mark = !utf16 && text.size() >= 3 && b(0) == 0xEF && b(1) == 0xBB && b(2) == 0xBF;
    if (utf16) {
        std::string utf8 = Utf16ToUtf8(text, order == 'B');
        text.swap(utf8);
    }
    std::string_view view(text);
    if (utf8Mark) view.remove_prefix(3);
    // End-of-file marks that old systems padded files with are no text.
    while (!view.empty() && (view.back() == '\0' || view.back() == '\x1A')) view.remove_suffix(1);
    std::vector<std::string_view> lines = SplitFileLineViews(view);
    const bool gedcom = HeadedAsGedcom(lines);  // then a line of digits is a bad line, not a code
    // Judged on the bytes as written: decoding a work line writes over its end.
    const bool lastLineCut = !gedcom && LastWorkLineCut(view, lines);
    if (!gedcom) DecodeWorkLines(text, lines);
    std::deque<std::string> joined;  // lines made anew; a deque never moves them
    const CharSet set = ReadingSet(lines, joined, utf16, utf8Mark, out.unknownCharSet);
    LinesToUtf8(lines, set, utf16, out);
    out.lines.swap(lines);
    out.end = JudgeEnd(out.lines, lastLineCut);
}

}  // namespace lintora
