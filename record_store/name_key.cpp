#include "record_store/name_key.h"

#include <algorithm>
#include <unordered_map>

#include "record_store/fixed_text.h"
#include "record_store/text_routines.h"

namespace lintora {

namespace {

// The name reduced to capitals A..Z (accented letters as their base
// letters), a letter equal to the one kept before it dropped.
std::string LettersOf(std::string_view name) {
    std::string out;
    auto keep = [&out](char c) {
        if (out.empty() || out.back() != c) out += c;
    };
    for (std::size_t i = 0; i < name.size();) {
        const std::size_t n = Utf8CharSize(name, i);
        const std::string_view ch = name.substr(i, n);
        // ASCII and Latin-1 letters and Ÿ; other letters have no code here.
        if (n == 1 || static_cast<unsigned char>(ch[0]) == 0xC3 || ch == "\xC5\xB8")
            for (char b : BaseLetterOf(ch)) keep(b);
        i += n;
    }
    return out;
}

// Consonant clusters of the extended code, in order; "_" stands for a
// dropped letter and is removed after the last rule.
struct PreRule {
    std::string_view find;
    std::string_view replace;
    bool onlyAtStart;  // applied only when the text begins with `find`
};
constexpr PreRule kPreRules[] = {
    {"PS", "S", true},     {"PF", "F", true},     {"DG", "_G", false},  {"GH", "_H", false},
    {"KN", "_N", false},   {"GN", "_N", false},   {"HN", "_N", false},  {"MB", "M_", false},
    {"PH", "F_", false},   {"DT", "T_", false},   {"TCH", "_CH", false}, {"SCH", "S__", false},
    {"SH", "S_", false},   {"MPS", "M_S", false}, {"MPT", "M_T", false}, {"MPZ", "M_Z", false},
};

char DigitOf(char c) {
    switch (c) {
        case 'B': case 'F': case 'P': case 'V': return '1';
        case 'C': case 'G': case 'J': case 'K': case 'Q': case 'S': case 'X': case 'Z': return '2';
        case 'D': case 'T': return '3';
        case 'L': return '4';
        case 'M': case 'N': return '5';
        case 'R': return '6';
        case 'A': case 'E': case 'I': case 'O': case 'U': case 'Y': case 'H': case 'W': return '0';
        default: return c;  // the marks "-" and "." have no digit
    }
}

}  // namespace

std::string SoundexKey(std::string_view name, int length, int mode) {
    if (mode > 0) length = 4;
    const int n = std::clamp(length, 4, 10);

    std::string text = LettersOf(name);
    if (text.empty()) return {};

    if (mode == 0) {
        for (const PreRule& rule : kPreRules) {
            if (rule.onlyAtStart && !text.starts_with(rule.find)) continue;
            // Capitals only: nothing to trim, so a rule that finds nothing changes nothing.
            if (text.find(rule.find) == std::string::npos) continue;
            text = ReplaceAll(text, rule.find, rule.replace);
        }
    }
    std::erase(text, '_');
    if (text.empty()) return {};

    const char head = text[0];
    if (head == 'H' || head == 'W') text[0] = '-';
    if (mode == 1) {
        for (std::size_t i = 1; i < text.size(); ++i)
            if (text[i] == 'H' || text[i] == 'W') text[i] = '.';
    }

    std::string digits;
    for (char c : text) {
        const char d = DigitOf(c);
        if (d == '.') continue;  // plain Soundex: letters either side of H and W are adjacent
        if (digits.empty() || digits.back() != d) digits += d;
    }
    digits.erase(0, 1);  // the head letter's own digit
    std::erase(digits, '0');
    digits.append(static_cast<std::size_t>(n), '0');
    digits.resize(static_cast<std::size_t>(n - 1));
    return head + digits;
}

std::string NameKeyHalf(std::string_view part) {
    // The same names come back again and again in a file: their keys are
    // kept, up to a bound, rather than worked out for every person. The
    // look-up takes the text as it stands, so a known name costs one hash.
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view t) const { return std::hash<std::string_view>{}(t); }
    };
    static std::unordered_map<std::string, std::string, TextHash, std::equal_to<>> known;
    constexpr std::size_t kKeptKeys = 4096;
    if (auto it = known.find(part); it != known.end()) return it->second;
    std::string code = SoundexKey(part, kNameKeyHalf, 0);
    if (code.empty()) code.assign(kNameKeyHalf, ' ');
    if (known.size() >= kKeptKeys) known.clear();
    known.emplace(part, code);
    return code;
}

}  // namespace lintora
