#include "page_import/mytrees_splitters.h"

#include <vector>

#include "record_store/fixed_text.h"
#include "record_store/text_routines.h"

namespace lintora {

bool IsPlainNumber(std::string_view s) {
    if (s.empty()) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

namespace {

// Before and after the first delimiter, both trimmed; the whole text and ""
// when the delimiter is absent.
void CutAtFirst(std::string_view text, std::string_view delimiter, std::string& before, std::string& after) {
    const std::size_t at = text.find(delimiter);
    if (at == std::string_view::npos) {
        before = TrimBlanks(text);
        after.clear();
        return;
    }
    before = TrimBlanks(text.substr(0, at));
    after = TrimBlanks(text.substr(at + delimiter.size()));
}

// The year word that ends the date part of an event value, or "".
std::string YearToken(const std::vector<std::string>& words) {
    std::string token;
    for (const std::string& w : words) {
        const std::size_t length = Utf8Length(w);
        const std::size_t slash = w.find('/');
        if (length == 7 && slash != std::string::npos && IsPlainNumber(std::string_view(w).substr(slash + 1)))
            token = w.substr(slash);
        else if (length == 4 && IsPlainNumber(w))
            token = w;
    }
    return token;
}

}  // namespace

void SplitDatePlaceKK(std::string_view text, std::string& date, std::string& place) {
    date.clear();
    place.clear();
    try {
        const std::string t = TrimBlanks(text);
        if (t.empty()) return;
        const std::vector<std::string> words = SplitFields(t, " ");
        if (words.size() == 1) {
            (IsPlainNumber(t) ? date : place) = t;
            return;
        }
        const std::string token = YearToken(words);
        if (!token.empty()) {
            std::string before, after;
            CutAtFirst(t, token, before, after);
            date = before.empty() ? token : before + " " + token;
            place = after;
            return;
        }
        const std::string first = UpperCase(words.front());
        if (first == "UNKNOWN" || first == "<UNKNOWN>" || first == "UNK" || first == "<UNK>")
            place = TrimBlanks(std::string_view(t).substr(words.front().size()));
        else
            place = t;
    } catch (...) {
        // Quietly ends with what it has.
    }
}

void SplitPersonEntryKK(std::string_view text, std::string& name, std::string& date, std::string& place) {
    name.clear();
    date.clear();
    place.clear();
    try {
        const std::string s = TrimBlanks(text);
        if (s.empty()) return;
        std::string number, entry;
        CutAtFirst(s, ".", number, entry);
        if (entry.empty()) {
            name = number;
            return;
        }
        if (entry.front() == 'X') entry = TrimBlanks(std::string_view(entry).substr(1));

        std::string namePart, rest, before;
        CutAtFirst(entry, " - ", namePart, rest);
        CutAtFirst(rest, "@", before, place);
        rest = before;
        CutAtFirst(rest, "born: ", before, date);
        rest = before;
        if (date.empty()) CutAtFirst(rest, "Birth/Chris: ", before, date);

        std::string surname, given;
        CutAtFirst(namePart, ",", surname, given);
        name = given.empty() ? surname : given + " " + UpperCase(surname);
    } catch (...) {
        // Quietly ends with what it has.
    }
}

}  // namespace lintora
