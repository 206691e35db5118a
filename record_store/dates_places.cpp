#include "record_store/dates_places.h"

#include <array>
#include <vector>

#include "record_store/fixed_text.h"
#include "record_store/program_state.h"
#include "record_store/text_routines.h"

namespace lintora {

namespace {

// What may follow the three letters of a month name within the same word.
constexpr std::array<std::string_view, 12> kMonthRest = {
    "uary", "ruary", "ch", "il", "", "e", "y", "ust", "tember", "ober", "ember", "ember"};

// Any letter, including the bytes of a non-ASCII character.
bool IsWordChar(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c >= 0x80;
}

// True when `name` starts a word of w at position p (nothing letter-like just
// before it) and the letters after it continue the month's full name, so
// that "January", "Sept" and "JUNE" count but "Deceased" does not.
bool MonthWordAt(std::string_view w, std::size_t p, std::string_view name, std::string_view rest,
                 bool capitals) {
    if (p > 0 && IsWordChar(static_cast<unsigned char>(w[p - 1]))) return false;
    std::size_t e = p + name.size();
    std::size_t n = 0;
    while (e + n < w.size() && IsWordChar(static_cast<unsigned char>(w[e + n]))) ++n;
    if (n > rest.size()) return false;
    std::string expected(rest.substr(0, n));
    if (capitals) expected = UpperCase(expected);
    return w.compare(e, n, expected) == 0;
}

bool HoldsMonth(std::string_view w, std::string_view name, std::string_view rest, bool capitals) {
    if (name.empty()) return false;
    for (std::size_t p = w.find(name); p != std::string_view::npos; p = w.find(name, p + 1))
        if (MonthWordAt(w, p, name, rest, capitals)) return true;
    return false;
}

int16_t FindMonth(std::string_view w) {
    for (std::size_t m = 0; m < kMonthRest.size(); ++m)
        if (HoldsMonth(w, MonthsUC[m], kMonthRest[m], true)) return static_cast<int16_t>(m + 1);
    for (std::size_t m = 0; m < kMonthRest.size(); ++m)
        if (HoldsMonth(w, Months[m], kMonthRest[m], false)) return static_cast<int16_t>(m + 1);
    return 0;
}

bool IsQualifier(std::string_view word) {
    static constexpr std::array<std::string_view, 6> kQualifiers = {"BEF", "BEFORE", "AFT",
                                                                    "AFTER", "ABT",    "ABOUT"};
    std::string upper = UpperCase(word);
    for (auto q : kQualifiers)
        if (upper == q) return true;
    return false;
}

bool AllDigits(std::string_view s) {
    if (s.empty()) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

// At most four digits, so the value always fits.
int16_t ToNumber(std::string_view digits) {
    int v = 0;
    for (char c : digits) v = v * 10 + (c - '0');
    return static_cast<int16_t>(v);
}

}  // namespace

void ParseDateParts(std::string_view dateText, std::string& result, int16_t& year, int16_t& month,
                    int16_t& day) {
    year = month = day = 0;
    if (TrimBlanks(dateText).empty()) return;

    std::string w;
    for (const auto& word : SplitFields(ReplaceAll(dateText, ".", ""), " ")) {
        if (IsQualifier(word)) continue;
        std::size_t slash = word.find('/');
        // A double-dated year such as 1750/51 counts as 1750.
        if (slash != std::string::npos && slash > 0)
            w.append(word, 0, slash);
        else
            w += word;
        w += ' ';
    }

    if (Utf8Length(w) >= 8) month = FindMonth(w);

    // Every character that is not a digit becomes one blank.
    std::string digits;
    for (std::size_t i = 0; i < w.size(); i += Utf8CharSize(w, i))
        digits += (w[i] >= '0' && w[i] <= '9') ? w[i] : ' ';

    std::string trimmed = TrimBlanks(digits);
    // A short remainder with an inner blank cannot be read and leaves the year 0.
    if (trimmed.size() <= 4 && AllDigits(trimmed)) year = ToNumber(trimmed);

    if (year == 0) {
        for (const auto& word : SplitFields(digits, " ")) {
            if (word.empty()) continue;
            if (word.size() <= 2)
                day = ToNumber(word);
            else if (word.size() <= 4)
                year = ToNumber(word);
        }
    }

    result = std::to_string(year) + "/" + std::to_string(month) + "/" + std::to_string(day);
}

void SplitPlace(std::string_view place, std::string& unused, std::string& part1, std::string& part2,
                std::string& part3, std::string& part4) {
    // Read the place before the outputs are cleared: a caller may pass one of them as the place.
    std::string t = TrimBlanks(place);
    unused.clear();
    part1.clear();
    part2.clear();
    part3.clear();
    part4.clear();
    if (t.empty()) return;
    if (t.find(',') == std::string::npos) {
        part1 = t;
        return;
    }

    // Each part up to the next comma; the last part takes whatever is left.
    const std::array<std::string*, 4> parts = {&part1, &part2, &part3, &part4};
    std::string rest = t;
    for (std::size_t k = 0; k < parts.size(); ++k) {
        std::size_t c = k + 1 < parts.size() ? rest.find(',') : std::string::npos;
        if (c == std::string::npos) {
            *parts[k] = rest;
        } else {
            *parts[k] = TrimBlanks(std::string_view(rest).substr(0, c));
            rest = TrimBlanks(std::string_view(rest).substr(c + 1));
        }
        if (parts[k]->empty()) *parts[k] = " ";
        if (c == std::string::npos) break;
    }
}

}  // namespace lintora
