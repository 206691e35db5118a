#include "files/text_lines.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

namespace lintora {

std::vector<std::string> SplitFileLines(std::string_view contents) {
    const std::vector<std::string_view> views = SplitFileLineViews(contents);
    return std::vector<std::string>(views.begin(), views.end());
}

namespace {

// Marks (the high bit of each byte) where the eight bytes in x hold a CR or
// an LF. A mark above the lowest one may be false, the lowest never is.
std::uint64_t LineEndMarks(std::uint64_t x) {
    constexpr std::uint64_t ones = 0x0101010101010101ull, highs = 0x8080808080808080ull;
    const std::uint64_t lf = x ^ (ones * '\n'), cr = x ^ (ones * '\r');
    return (((lf - ones) & ~lf) | ((cr - ones) & ~cr)) & highs;
}

// The number of LF bytes in s, counted eight bytes at a time (a plain count
// widens every byte to a 64-bit sum).
std::size_t CountLineFeeds(std::string_view s) {
    constexpr std::uint64_t ones = 0x0101010101010101ull, lows = 0x7F7F7F7F7F7F7F7Full;
    std::size_t n = 0, i = 0;
    for (std::uint64_t x; i + 8 <= s.size(); i += 8) {
        std::memcpy(&x, s.data() + i, 8);
        const std::uint64_t y = x ^ (ones * '\n');  // an LF byte is now 0
        const std::uint64_t marks = ~(((y & lows) + lows) | y | lows) >> 7;  // 1 in each LF byte
        n += static_cast<std::size_t>((marks * ones) >> 56);  // the bytes summed into the top one
    }
    return n + static_cast<std::size_t>(std::count(s.begin() + static_cast<std::ptrdiff_t>(i), s.end(), '\n'));
}

}  // namespace

std::vector<std::string_view> SplitFileLineViews(std::string_view contents) {
    std::vector<std::string_view> lines;
    lines.reserve(CountLineFeeds(contents) + 1);
    // A line ends at a CR, an LF or a CR LF pair. Lines are short: eight
    // bytes at a time are looked through for an end, not one search per end.
    const char* const end = contents.data() + contents.size();
    const char* start = contents.data();
    const char* p = start;
    while (p < end) {
        for (std::uint64_t x; end - p >= 8; p += 8) {
            std::memcpy(&x, p, 8);
            if (const std::uint64_t marks = LineEndMarks(x)) {
                // The first byte in memory is the lowest: its mark says where the end is.
                if constexpr (std::endian::native == std::endian::little) p += std::countr_zero(marks) / 8;
                break;
            }
        }
        while (p < end && *p != '\n' && *p != '\r') ++p;
        if (p == end) break;
        lines.emplace_back(start, static_cast<std::size_t>(p - start));
        if (*p == '\r' && p + 1 < end && p[1] == '\n') ++p;
        start = ++p;
    }
    if (start < end) lines.emplace_back(start, static_cast<std::size_t>(end - start));
    return lines;
}

void ControlsToBlanks(char* from, char* to) {
    // Written as a select, not a branch, so that it runs over many bytes at once.
    std::transform(from, to, from, [](char c) { return static_cast<unsigned char>(c) < 0x20 ? ' ' : c; });
}

void ControlsToBlanks(std::string& text) { ControlsToBlanks(text.data(), text.data() + text.size()); }

namespace {

// Byte length of the UTF-8 sequence led by c (1 for a stray byte).
std::size_t SequenceLength(unsigned char c) {
    if (c >= 0xF0 && c <= 0xF4) return 4;
    if (c >= 0xE0) return c <= 0xEF ? 3 : 1;
    if (c >= 0xC2) return 2;
    return 1;
}

// A combining mark (U+0300..U+036F, U+FE20..U+FE2F) starts at s[i].
bool CombiningAt(std::string_view s, std::size_t i) {
    auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    if (i + 1 < s.size() && (b(i) == 0xCC || (b(i) == 0xCD && b(i + 1) <= 0xAF))) return true;
    return i + 2 < s.size() && b(i) == 0xEF && b(i + 1) == 0xB8 && b(i + 2) >= 0xA0 && b(i + 2) <= 0xAF;
}

}  // namespace

std::vector<std::string> CutNoteText(std::string_view text) {
    // No more bytes than a line holds characters: one piece, nothing to count.
    if (text.size() <= kNoteLineWidth) return {std::string(text)};
    std::vector<std::string> pieces;
    std::size_t pos = 0;
    do {
        std::vector<std::size_t> starts;  // characters of this piece, and where the next begins
        std::size_t end = pos;
        while (end < text.size() && starts.size() < kNoteLineWidth) {
            starts.push_back(end);
            end = std::min(text.size(), end + SequenceLength(static_cast<unsigned char>(text[end])));
        }
        // Step back over marks so that they stay with their letter.
        std::size_t cut = end, k = starts.size();
        while (cut < text.size() && k > 1 && CombiningAt(text, cut)) cut = starts[--k];
        if (cut < text.size() && CombiningAt(text, cut)) cut = end;  // only marks: cut anyway
        pieces.emplace_back(text.substr(pos, cut - pos));
        pos = cut;
    } while (pos < text.size());
    return pieces;
}

}  // namespace lintora
