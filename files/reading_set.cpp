#include "files/reading_set.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>

#include "files/charset.h"
#include "files/continued_values.h"
#include "lintora_version.h"
#include "record_store/fixed_text.h"
#include "record_store/text_routines.h"
#include "record_store/utf8_text.h"

namespace lintora {

namespace {

// The values of HEAD CHAR and HEAD SOUR, or empty.
struct Header {
    std::string charSet, source;
};
Header ReadHeader(const std::vector<std::string_view>& lines) {
    Header h;
    bool inHead = false;
    for (const auto& raw : lines) {
        std::string line = TrimBlanks(raw);
        if (line.empty()) continue;
        if (line[0] == '0') {
            if (inHead) break;
            inHead = line == "0 HEAD" || line.rfind("0 HEAD ", 0) == 0;
            if (!inHead) break;  // the header comes first or not at all
            continue;
        }
        if (!inHead) continue;
        if (line.rfind("1 CHAR", 0) == 0 && h.charSet.empty()) h.charSet = TrimBlanks(line.substr(6));
        else if (line.rfind("1 SOUR ", 0) == 0) h.source = TrimBlanks(line.substr(7));
    }
    return h;
}

// The set a header names; known is false for a name the program does not know.
CharSet CharSetOf(const std::string& name, bool& known) {
    const std::string n = UpperCase(name);
    known = true;
    if (n == "ANSEL") return CharSet::Ansel;
    if (n == "UTF-8" || n == "UTF8") return CharSet::Utf8;
    if (n == "IBMPC") return CharSet::Cp437;
    // UNICODE files are UTF-16, read before their header; work files have no CHAR line.
    known = n.empty() || n == "ANSI" || n == "ASCII" || n == "UNICODE";
    return CharSet::Other;
}

// A file that names a single-byte set but is plainly UTF-8 (every non-ASCII
// byte in a valid sequence once the CONC pieces of its values are joined)
// is read as UTF-8: its lines become those of a UTF-8 file.
bool PlainlyUtf8(std::vector<std::string_view>& lines, std::deque<std::string>& store) {
    // Joining mends only letters cut at a CONC line: a line that is no UTF-8
    // and stands apart from every CONC line settles it without a join.
    const auto mayJoin = [](std::string_view line) { return line.find("CONC") != std::string_view::npos; };
    const auto blank = [](std::string_view line) { return line.find_first_not_of(" \t") == std::string_view::npos; };
    // A file of ASCII alone reads the same either way: nothing to join.
    bool anyNonAscii = false;
    for (std::size_t k = 0; k < lines.size(); ++k) {
        if (AllAscii(lines[k])) continue;
        anyNonAscii = true;
        if (IsValidUtf8(lines[k]) || mayJoin(lines[k])) continue;
        std::size_t next = k + 1;
        while (next < lines.size() && blank(lines[next])) ++next;
        if (next == lines.size() || !mayJoin(lines[next])) return false;
    }
    if (!anyNonAscii) return false;
    std::vector<std::string_view> joined = lines;
    JoinContinuedValues(joined, store, Utf8CharEnd);
    bool nonAscii = false;
    for (const auto& line : joined) {
        if (!IsValidUtf8(line)) return false;
        if (!nonAscii) nonAscii = !AllAscii(line);
    }
    if (nonAscii) lines.swap(joined);
    return nonAscii;
}

// Where a letter ends in the bytes of a file read in set.
LetterEnd LetterEndIn(CharSet set) {
    if (set == CharSet::Ansel) return AnselLetterEnd;
    if (set == CharSet::Cp437) return [](std::string_view, std::size_t pos) { return pos + 1; };
    return Utf8CharEnd;  // ANSI and the like: valid UTF-8 is read as such
}

}  // namespace

bool AllAscii(std::string_view s) {
    // Eight bytes at a time: asked of every line of a file.
    std::size_t i = 0;
    for (std::uint64_t x; i + 8 <= s.size(); i += 8) {
        std::memcpy(&x, s.data() + i, 8);
        if (x & 0x8080808080808080ull) return false;
    }
    return std::all_of(s.begin() + static_cast<std::ptrdiff_t>(i), s.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

CharSet ReadingSet(std::vector<std::string_view>& lines, std::deque<std::string>& store, bool utf16,
                   bool utf8Mark, std::string& unknown) {
    if (utf16) {  // UTF-8 by now, whatever its header says
        JoinContinuedValues(lines, store, Utf8CharEnd);
        return CharSet::Utf8;
    }
    const Header header = ReadHeader(lines);
    bool known = true;
    CharSet set = CharSetOf(header.charSet, known);
    if (!known) unknown = ToUtf8(header.charSet);
    if (utf8Mark && header.charSet.empty()) set = CharSet::Utf8;
    // Our own files are ANSEL whatever their bytes look like: some ANSEL
    // pairs ("\xC4\xB2", sharp and o with stroke) read as UTF-8 too.
    const bool own = header.source == std::filesystem::path(kExeName).stem().string();
    if (((set == CharSet::Ansel && !own) || set == CharSet::Cp437) && PlainlyUtf8(lines, store))
        return CharSet::Utf8;
    JoinContinuedValues(lines, store, LetterEndIn(set));
    return set;
}

}  // namespace lintora
