#include "record_store/name_parsing.h"

#include <algorithm>
#include <array>
#include <exception>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "record_store/fixed_text.h"
#include "record_store/name_key.h"
#include "record_store/program_state.h"
#include "record_store/text_routines.h"

namespace lintora {

namespace {

constexpr std::size_t kNickWidth = 120;

// No small letter in the text.
bool IsUpperCaseText(std::string_view s) { return !HasSmallLetter(s); }

// Generation suffixes; "I", "V" and "X" count only as the last word.
constexpr std::array<std::string_view, 12> kSuffixes = {
    "JR", "SR", "II", "III", "IV", "VI", "VII", "VIII", "IX", "XI", "XII", "XIII"};
constexpr std::array<std::string_view, 3> kLastWordSuffixes = {"I", "V", "X"};
constexpr std::array<std::string_view, 6> kTitles = {"ESQ", "SIR", "DUKE", "KING", "QUEEN", "DUCHESS"};
constexpr std::array<std::string_view, 13> kRanks = {
    "PVT", "SGT", "LT", "COL", "SRG", "SRGNT", "SRGT", "CAP", "CAPT", "CPL", "CORP", "GEN", "MAJ"};

template <std::size_t N>
bool InList(const std::array<std::string_view, N>& list, std::string_view upperWord) {
    return std::find(list.begin(), list.end(), upperWord) != list.end();
}

// No listed word is longer than this; a longer word needs no recasing to
// tell (recasing keeps the byte length).
constexpr std::size_t kLongestListed = 7;

// The word in capitals, when it may be a listed word: the lists are ASCII,
// and recasing never turns another letter into ASCII. Empty otherwise.
struct ListedCase {
    char text[kLongestListed];
    std::size_t size = 0;
    explicit ListedCase(std::string_view word) {
        if (word.size() > kLongestListed) return;
        for (std::size_t i = 0; i < word.size(); ++i) {
            const auto c = static_cast<unsigned char>(word[i]);
            if (c >= 0x80) return;
            text[i] = static_cast<char>(c >= 'a' && c <= 'z' ? c - 0x20 : c);
        }
        size = word.size();
    }
    std::string_view view() const { return {text, size}; }
};

bool IsSuffix(std::string_view word, bool isLast) {
    const ListedCase up(word);
    return up.size > 0 && (InList(kSuffixes, up.view()) || (isLast && InList(kLastWordSuffixes, up.view())));
}

// Roman numerals stay in capitals (III, not Iii); Jr and Sr take proper case.
std::string SuffixCase(std::string_view suffix) {
    if (suffix.empty()) return {};  // most names
    const std::string up = UpperCase(suffix);
    if (up != "JR" && up != "SR" && (InList(kSuffixes, up) || InList(kLastWordSuffixes, up))) return up;
    return ProperCase(suffix);
}

// Hands each piece of a text between blanks to `take` (empty ones too)
// until it returns true; a stop marker makes the rest one piece, as
// SplitFields does.
template <typename Take>
void ForEachPiece(std::string_view text, Take take) {
    std::size_t start = 0;
    for (;;) {
        const std::size_t p = text.find(' ', start);
        if (p == std::string_view::npos) break;
        const std::string_view w = text.substr(start, p - start);
        start = p + 1;
        if (w == kStopMarker) break;
        if (take(w)) return;
    }
    take(text.substr(start));
}

// The words of a text split at blanks, empty words left out. The words'
// buffers are reused from name to name.
void SplitWords(std::string_view text, std::vector<std::string>& words) {
    std::size_t n = 0;
    ForEachPiece(text, [&](std::string_view w) {
        if (w.empty()) return false;
        if (n == words.size()) words.emplace_back(w);
        else words[n].assign(w);
        ++n;
        return false;
    });
    words.resize(n);
}

std::string JoinWords(const std::vector<std::string>& words, std::size_t from = 0) {
    std::string out;
    for (std::size_t i = from; i < words.size(); ++i) {
        if (!out.empty()) out += ' ';
        out += words[i];
    }
    return out;
}

// Removes every word `take` accepts; the last one taken is the result
// (`found` is left alone when none is taken).
template <typename Pred>
void TakeWords(std::vector<std::string>& words, std::string& found, Pred take) {
    const std::size_t count = words.size();
    std::size_t kept = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (take(words[i], i + 1 == count)) found = words[i];
        else if (kept++ != i) words[kept - 1] = std::move(words[i]);
    }
    words.resize(kept);
}

// Nickname between the first `open` mark and the next `close` mark: the text
// loses the marked part; false when there is no closing mark. With
// `wordEdges` the marks must open and close words, so the apostrophes of
// D'Arcy O'Brien are no quotes.
bool CutMarked(std::string& text, char open, char close, std::string& nick, bool wordEdges = false) {
    auto a = text.find(open);
    while (wordEdges && a != std::string::npos && a > 0 && text[a - 1] != ' ') a = text.find(open, a + 1);
    if (a == std::string::npos) return false;
    auto b = text.find(close, a + 1);
    // A closing mark ends a word: a blank, a comma or the end follows it.
    while (wordEdges && b != std::string::npos && b + 1 < text.size() && text[b + 1] != ' ' &&
           text[b + 1] != ',')
        b = text.find(close, b + 1);
    if (b == std::string::npos) return false;
    nick = Utf8Left(std::string_view(text).substr(a + 1, b - a - 1), kNickWidth);
    text = text.substr(0, a) + text.substr(b + 1);
    return true;
}

// Whether s holds any of the marks; one pass over s (find_first_of looks
// each of its characters up in the marks with a library call).
bool HasAnyOf(std::string_view s, std::string_view marks) {
    return std::any_of(s.begin(), s.end(), [marks](char c) {
        for (char m : marks)
            if (c == m) return true;
        return false;
    });
}

// The character after the first "/", "(" and "-" becomes a capital
// (Smith-Jones, not Smith-jones).
void CapitalsAfterMarks(std::string& s) {
    if (!HasAnyOf(s, "/(-")) return;  // most names
    for (char mark : {'/', '(', '-'}) {
        const auto p = s.find(mark);
        if (p == std::string::npos || p + 1 >= s.size()) continue;
        const std::size_t n = Utf8CharSize(s, p + 1);
        s.replace(p + 1, n, UpperCase(std::string_view(s).substr(p + 1, n)));
    }
}

// Placeholder names such as "<unknown>" are not the user's own writing.
bool IsMarkerName(std::string_view name) {
    return name.size() >= 2 && name.front() == '<' && name.back() == '>';
}

// The given-name half of the key skips "Mrs": a married title is no name.
// The words are those SplitWords gives, found without building them all.
std::string FirstKeyedGivenName(std::string_view given) {
    std::string first;
    ForEachPiece(given, [&first](std::string_view w) {
        if (w.empty() || (w.size() == 3 && UpperCase(w) == "MRS")) return false;
        first = w;
        return true;
    });
    return first;
}

// ReplaceAll in place; most names hold none of the marks, and then only
// its trimming is left to do.
void Replace(std::string& text, std::string_view search, std::string_view replacement) {
    if (text.find(search) != std::string::npos) text = ReplaceAll(text, search, replacement);
    else if (!text.empty() && (text.front() == ' ' || text.back() == ' ')) text = TrimBlanks(text);
}

// The text without its leading and trailing blanks, as TrimBlanks gives it.
std::string_view Trimmed(std::string_view s) {
    const std::size_t b = s.find_first_not_of(' ');
    if (b == std::string_view::npos) return {};
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

void Parse(std::string_view fullName, NameParts& out) {
    const std::string_view full = Trimmed(fullName);
    if (full.empty()) return;
    const bool capitals = IsUpperCaseText(full);

    // Cleaning.
    std::string text(full);
    // The text is trimmed: with none of the marks these replacements leave it as it is.
    if (HasAnyOf(text, ".,?_;%*")) {
        Replace(text, ".", " ");
        Replace(text, ", ", ",");
        for (std::string_view mark : {"?", "_", ";", "%", "*"}) Replace(text, mark, " ");
    }
    const bool dash = text.find(" - ") != std::string::npos;
    if (dash) text = ReplaceAll(text, " - ", "-");
    if (!text.empty() && text.back() == '-') text.pop_back();
    Replace(text, "  ", " ");

    // Nicknames: in parentheses, then in quotes (a quoted one wins).
    bool mrs = false;
    if (CutMarked(text, '(', ')', out.nickname) && UpperCase(TrimBlanks(out.nickname)) == "MRS") {
        mrs = true;
        out.nickname.clear();
    }
    // Without a closing mark any nickname found so far stays.
    const bool doubleQuote = text.find('"') != std::string::npos;
    const char quote = doubleQuote ? '"' : '\'';
    std::string quoted;
    if (CutMarked(text, quote, quote, quoted, !doubleQuote)) out.nickname = quoted;

    // Suffix or title after a comma.
    // Most names have no comma: then the whole text is the main part.
    std::string main, rest;
    const bool comma = text.find(',') != std::string::npos;
    if (comma) {
        const std::vector<std::string> parts = SplitFields(text, ",");
        main = parts[0];
        if (parts.size() >= 2) rest = parts.size() >= 3 ? parts[1] + " " + parts[2] : parts[1];
    }
    const std::string_view mainText = comma ? std::string_view(main) : std::string_view(text);
    std::vector<std::string>& words = g.NameWords;
    SplitWords(rest, words);
    if (!words.empty()) {
        if (IsSuffix(words[0], true)) {
            out.suffix = words[0];
            out.title = JoinWords(words, 1);
        } else {
            out.title = TrimBlanks(rest);
        }
    }

    SplitWords(mainText, words);
    TakeWords(words, out.suffix, IsSuffix);
    TakeWords(words, out.title, [](const std::string& w, bool) {
        const ListedCase up(w);
        return up.size > 0 && InList(kTitles, up.view());
    });
    TakeWords(words, out.prefix, [](const std::string& w, bool) {
        const ListedCase up(w);
        return up.size > 0 && InList(kRanks, up.view());
    });

    // Given names, then the surname.
    if (!words.empty()) out.surname = words.back();
    if (words.size() >= 2) out.given = words[0];
    bool surnameAtCapitals = false;
    if (words.size() >= 3) {
        const std::size_t last = words.size() - 1;
        if (capitals) {
            for (std::size_t i = 1; i < last; ++i) out.given.append(" ").append(words[i]);
        } else {
            out.surname.clear();
            for (std::size_t i = 1; i < last; ++i) {
                const std::string& w = words[i];
                // An initial (one capital letter) stays with the given names.
                if (!surnameAtCapitals && Utf8Length(w) >= 2 && IsUpperCaseText(w)) surnameAtCapitals = true;
                (surnameAtCapitals ? out.surname : out.given).append(" ").append(w);
            }
            out.surname = TrimBlanks(out.surname + " " + words[last]);
        }
    }
    const bool surnameWrittenInCapitals = IsUpperCaseText(out.surname);

    // The first name parsed decides how surnames are written from now on.
    std::string& surnameCase = g.SurnameCase;
    if (surnameCase == " " && !IsMarkerName(full)) {
        if (capitals || surnameAtCapitals) {
            surnameCase = "U";
        } else {
            bool anyNonSmall = false;
            for (std::size_t i = 0; i < out.surname.size() && !anyNonSmall;) {
                const std::size_t n = Utf8CharSize(out.surname, i);
                const std::string_view ch = std::string_view(out.surname).substr(i, n);
                anyNonSmall = UpperCase(ch) == ch;
                i += n;
            }
            surnameCase = anyNonSmall ? "M" : "P";
        }
    }
    if (surnameCase == "U") out.surname = TrimBlanks(UpperCase(out.surname));
    else if (surnameCase == "P") out.surname = ProperCase(out.surname);

    out.given = ProperCase(Trimmed(out.given));
    out.title = ProperCase(Trimmed(out.title));
    out.suffix = SuffixCase(Trimmed(out.suffix));
    out.nickname = ProperCase(Trimmed(out.nickname));
    out.prefix = std::string(Trimmed(out.prefix));
    for (std::string* s : {&out.given, &out.surname, &out.title}) CapitalsAfterMarks(*s);

    // A lone word is a given name unless it is written in capitals.
    if (out.given.empty() && !out.surname.empty() && !surnameWrittenInCapitals) {
        out.given = ProperCase(out.surname);
        CapitalsAfterMarks(out.given);  // proper case would undo them
        out.surname.clear();
    }
    if (Utf8Length(out.surname) == 1) {
        out.given = TrimBlanks(out.given + " " + out.surname);
        out.surname.clear();
    }
    if (out.surname.empty() && !out.title.empty()) {
        out.surname = out.title;
        out.title.clear();
    }
    if (dash) {
        out.surname = ReplaceAll(out.surname, "-", " - ");
        out.given = ReplaceAll(out.given, "-", " - ");
    }
    if (mrs) out.given = TrimBlanks("Mrs " + out.given);
}

}  // namespace

void ParseNameParts(std::string_view fullName, std::string& surname, std::string& given,
                    std::string& prefix, std::string& suffix, std::string& title,
                    std::string& nickname, std::string& key) {
    NameParts parts = ParseNameParts(fullName);
    surname = std::move(parts.surname);
    given = std::move(parts.given);
    prefix = std::move(parts.prefix);
    suffix = std::move(parts.suffix);
    title = std::move(parts.title);
    nickname = std::move(parts.nickname);
    key = std::move(parts.key);
}

std::string NameKeyOf(std::string_view given, std::string_view surname) {
    return NameKeyHalf(FirstKeyedGivenName(given)) + NameKeyHalf(surname);
}

NameParts ParseNameParts(std::string_view fullName, bool withKey) {
    NameParts parts;
    try {
        Parse(fullName, parts);
        if (withKey) parts.key = NameKeyOf(parts.given, parts.surname);
    } catch (const std::exception& e) {
        MsgBox(std::string("Problem parsing Name: \n") + e.what(), MsgButtons::Ok, MsgIcon::Exclamation);
    }
    return parts;
}

}  // namespace lintora
