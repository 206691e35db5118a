#include "record_store/utf8_text.h"

namespace lintora {

namespace {

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// A byte that starts a character: a lead byte, or a stray continuation byte
// (one not following a non-ASCII byte).
bool StartsChar(std::string_view s, std::size_t i) {
    return !IsContinuation(static_cast<unsigned char>(s[i])) || i == 0 ||
           static_cast<unsigned char>(s[i - 1]) < 0x80;
}

constexpr unsigned char kLatin1Lead = 0xC3;  // UTF-8 lead byte of U+00C0..U+00FF

// Second bytes after 0xC3: capitals 0x80..0x9E and small letters 0xA0..0xBE,
// each pair 0x20 apart; 0x97 (multiplication sign) and 0xB7 (division sign)
// are not letters, and ß and ÿ have no Latin-1 capital.
bool IsLatin1Capital(unsigned char second) { return second >= 0x80 && second <= 0x9E && second != 0x97; }
bool IsLatin1Small(unsigned char second) { return second >= 0xA0 && second <= 0xBE && second != 0xB7; }

enum class Case { Upper, Lower };

// Recases the character starting at s[i] in place; returns its length in bytes.
std::size_t RecaseAt(std::string& s, std::size_t i, Case to) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
        if (to == Case::Upper && c >= 'a' && c <= 'z') s[i] = static_cast<char>(c - 0x20);
        if (to == Case::Lower && c >= 'A' && c <= 'Z') s[i] = static_cast<char>(c + 0x20);
        return 1;
    }
    if (c == kLatin1Lead && i + 1 < s.size()) {
        unsigned char d = static_cast<unsigned char>(s[i + 1]);
        if (to == Case::Upper && IsLatin1Small(d)) s[i + 1] = static_cast<char>(d - 0x20);
        if (to == Case::Lower && IsLatin1Capital(d)) s[i + 1] = static_cast<char>(d + 0x20);
        if ((d & 0xC0) == 0x80) return 2;
        return 1;
    }
    // Any other character is left as it is.
    return Utf8CharSize(s, i);
}

// Base letters of U+00C0..U+00FF, by the second byte of the UTF-8 form;
// empty for the signs × and ÷.
constexpr std::string_view kLatin1Base[64] = {
    "A", "A", "A", "A", "A", "A", "AE", "C", "E", "E", "E", "E", "I", "I", "I", "I",
    "D", "N", "O", "O", "O", "O", "O", "",  "O", "U", "U", "U", "U", "Y", "TH", "SS",
    "A", "A", "A", "A", "A", "A", "AE", "C", "E", "E", "E", "E", "I", "I", "I", "I",
    "D", "N", "O", "O", "O", "O", "O", "",  "O", "U", "U", "U", "U", "Y", "TH", "Y"};

// Base letters of U+0100..U+017F (Latin Extended-A), capital and small in turn.
constexpr std::string_view kLatinExtABase[128] = {
    "A", "A", "A", "A", "A", "A", "C", "C", "C", "C", "C", "C", "C", "C", "D", "D",
    "D", "D", "E", "E", "E", "E", "E", "E", "E", "E", "E", "E", "G", "G", "G", "G",
    "G", "G", "G", "G", "H", "H", "H", "H", "I", "I", "I", "I", "I", "I", "I", "I",
    "I", "I", "IJ", "IJ", "J", "J", "K", "K", "K", "L", "L", "L", "L", "L", "L", "L",
    "L", "L", "L", "N", "N", "N", "N", "N", "N", "N", "N", "N", "O", "O", "O", "O",
    "O", "O", "OE", "OE", "R", "R", "R", "R", "R", "R", "S", "S", "S", "S", "S", "S",
    "S", "S", "T", "T", "T", "T", "T", "T", "U", "U", "U", "U", "U", "U", "U", "U",
    "U", "U", "U", "U", "W", "W", "Y", "Y", "Y", "Z", "Z", "Z", "Z", "Z", "Z", "S"};

std::string Recase(std::string_view s, Case to) {
    std::string out(s);
    for (std::size_t i = 0; i < out.size();) i += RecaseAt(out, i, to);
    return out;
}

}  // namespace

std::size_t Utf8CharSize(std::string_view s, std::size_t i) {
    if (i >= s.size()) return 0;
    std::size_t n = 1;
    while (i + n < s.size() && !StartsChar(s, i + n)) ++n;
    return n;
}

std::size_t Utf8Length(std::string_view s) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < s.size(); ++i)
        if (StartsChar(s, i)) ++n;
    return n;
}

std::size_t Utf8LeftSize(std::string_view s, std::size_t n) {
    if (s.size() <= n) return s.size();  // never more characters than bytes
    std::size_t count = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (!StartsChar(s, i)) continue;
        if (count == n) return i;
        ++count;
    }
    return s.size();
}

std::string Utf8Left(std::string_view s, std::size_t n) { return std::string(s.substr(0, Utf8LeftSize(s, n))); }

std::string Utf8Mid(std::string_view s, std::size_t pos, std::size_t n) {
    const std::size_t skip = pos > 0 ? pos - 1 : 0;
    std::size_t count = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (!StartsChar(s, i)) continue;
        if (count == skip) return Utf8Left(s.substr(i), n);
        ++count;
    }
    return {};
}

std::string UpperCase(std::string_view s) { return Recase(s, Case::Upper); }

bool HasSmallLetter(std::string_view s) {
    // Steps through s as Recase does, without building the recased copy.
    for (std::size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            if (c >= 'a' && c <= 'z') return true;
            ++i;
        } else if (c == kLatin1Lead && i + 1 < s.size()) {
            const unsigned char d = static_cast<unsigned char>(s[i + 1]);
            if (IsLatin1Small(d)) return true;
            i += (d & 0xC0) == 0x80 ? 2 : 1;
        } else {
            i += Utf8CharSize(s, i);
        }
    }
    return false;
}

std::string LowerCase(std::string_view s) { return Recase(s, Case::Lower); }

std::string ProperCase(std::string_view s) {
    std::string out(s);
    bool wordStart = true;
    for (std::size_t i = 0; i < out.size();) {
        char c = out[i];
        i += RecaseAt(out, i, wordStart ? Case::Upper : Case::Lower);
        wordStart = c == ' ' || c == '\t' || c == '\r' || c == '\n';
    }
    return out;
}

bool StartsLowerCase(std::string_view s) {
    if (s.empty()) return false;
    unsigned char c = static_cast<unsigned char>(s[0]);
    if (c >= 'a' && c <= 'z') return true;
    return c == kLatin1Lead && s.size() > 1 && IsLatin1Small(static_cast<unsigned char>(s[1]));
}

std::string_view BaseLetterOf(std::string_view ch) {
    static constexpr std::string_view kCapitals = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    if (ch.size() == 1) {
        const char c = ch[0];
        if (c >= 'A' && c <= 'Z') return kCapitals.substr(static_cast<std::size_t>(c - 'A'), 1);
        if (c >= 'a' && c <= 'z') return kCapitals.substr(static_cast<std::size_t>(c - 'a'), 1);
        return {};
    }
    if (ch.size() != 2 || !IsContinuation(static_cast<unsigned char>(ch[1]))) return {};
    const unsigned char lead = static_cast<unsigned char>(ch[0]), second = static_cast<unsigned char>(ch[1]);
    if (lead == kLatin1Lead) return kLatin1Base[second - 0x80];
    if (lead == 0xC4 || lead == 0xC5) return kLatinExtABase[(lead - 0xC4) * 64 + (second - 0x80)];
    return {};
}

std::string BaseLetters(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t n = Utf8CharSize(s, i);
        const std::string_view ch = s.substr(i, n), base = BaseLetterOf(ch);
        out.append(base.empty() ? ch : base);
        i += n;
    }
    return out;
}

}  // namespace lintora
