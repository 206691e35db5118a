#include "page_import/narrative_split.h"

#include <vector>

#include "record_store/fixed_text.h"
#include "record_store/program_state.h"
#include "record_store/text_routines.h"

namespace lintora {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Digits with an optional sign, thousands separators and one decimal point.
bool ReadsAsNumber(std::string_view w) {
    std::size_t k = 0;
    if (k < w.size() && (w[k] == '+' || w[k] == '-')) ++k;
    bool digit = false, point = false;
    for (; k < w.size(); ++k) {
        if (IsDigit(w[k])) {
            digit = true;
        } else if (w[k] == ',' && !point) {
            continue;
        } else if (w[k] == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digit;
}

bool IsDateWord(const std::string& w) {
    if (ReadsAsNumber(w)) return true;
    if (w.size() > 4 && ReadsAsNumber(std::string_view(w).substr(0, 4))) return true;
    const std::string u = UpperCase(w);
    return u == "ABT" || u == "ABT." || u == "AFT" || u == "AFT." || u == "BEF" || u == "BEF.";
}

bool IsMonthAbbreviation(const std::string& w) {
    for (int m = 0; m < 12; ++m)
        if (w == Utf8Left(MonthsUC[m], 3) || w == Utf8Left(Months[m], 3)) return true;
    return false;
}

}  // namespace

void SplitANCDatePlace(std::string_view text, std::string& name, std::string& date) {
    name.clear();
    date.clear();
    if (TrimBlanks(text).empty()) return;
    std::string s = ReplaceAll(TrimBlanks(text), "*", "");
    if (s.empty()) return;
    s = ReplaceAll(s, "WFT Est.", "");
    const std::vector<std::string> words = SplitFields(s, " ");

    std::size_t first = 0;
    for (std::size_t k = 1; k < words.size() && first == 0; ++k)
        if (IsDateWord(words[k])) first = k;
    if (first == 0) {
        name = s;
        return;
    }
    // Words up to index cut (inclusive) are the name; cut may fall below 0.
    std::ptrdiff_t cut = static_cast<std::ptrdiff_t>(first) - 1;
    if (IsMonthAbbreviation(words[static_cast<std::size_t>(cut)])) --cut;
    for (std::size_t k = 0; k < words.size(); ++k) {
        std::string& part = static_cast<std::ptrdiff_t>(k) <= cut ? name : date;
        part += ' ';
        part += words[k];
    }
}

}  // namespace lintora
