#include "record_store/place_names.h"

#include <array>
#include <vector>

#include "record_store/fixed_text.h"
#include "record_store/text_routines.h"

namespace lintora {

namespace {

bool OneOf(std::string_view word, std::initializer_list<std::string_view> list) {
    for (auto w : list)
        if (word == w) return true;
    return false;
}

bool EndsWithDigit(const std::string& s) { return !s.empty() && s.back() >= '0' && s.back() <= '9'; }

void DropTrailingDigits(std::string& s) {
    while (EndsWithDigit(s)) {
        s.pop_back();
        s = TrimBlanks(s);
    }
}

std::string JoinNonBlank(const std::vector<std::string>& parts, bool keepEmpty) {
    std::string out;
    bool first = true;
    for (const auto& part : parts) {
        std::string t = TrimBlanks(part);
        if (t.empty() && !keepEmpty) continue;
        if (!first) out += ", ";
        out += t;
        first = false;
    }
    return out;
}

// Decides which words of a place without commas belong together: direction
// words and name prefixes join the next word, county, township, city and
// cemetery words the previous one; words starting with a small letter go.
std::string GroupWords(std::string text) {
    for (std::string_view sep : {".", ",", ";"}) text = ReplaceAll(text, sep, " ");
    std::vector<std::string> words;
    for (auto& w : SplitFields(text, " "))
        if (!w.empty()) words.push_back(std::move(w));

    const std::size_t n = words.size();
    for (std::size_t i = 0; i < n; ++i) {
        std::string& word = words[i];
        if (StartsLowerCase(word)) word = " ";
        const bool last = i + 1 == n;
        if (!last && (OneOf(word, {"East", "West", "North", "South"}) ||
                      OneOf(word, {"St", "New", "Old", "Of", "Los"}))) {
            word += " " + words[i + 1];
            words[i + 1] = " ";
        }
        if (i > 0 && (OneOf(word, {"County", "Co", "Twp", "Twnship", "City"}) ||
                      OneOf(word, {"Cemetery", "Cemetary", "Burial", "Grounds"}))) {
            words[i - 1] += " " + word;
            word = " ";
        }
    }
    return JoinNonBlank(words, false);
}

}  // namespace

std::string NormalizePlace(std::string_view place) {
    std::string text = TrimBlanks(place);
    DropTrailingDigits(text);

    bool bracketed = false;
    std::size_t open = text.find('<');
    if (open != std::string::npos) {
        std::size_t close = text.find('>', open + 1);
        if (close != std::string::npos) {
            bracketed = true;
            text = text.substr(open + 1, close - open - 1);
        }
    }

    if (text.find(',') != std::string::npos) {
        text = JoinNonBlank(SplitFields(text, ","), true);
        DropTrailingDigits(text);
    } else {
        text = GroupWords(std::move(text));
    }

    text = TrimBlanks(ProperCase(text));
    return bracketed ? "<" + text + ">" : text;
}

}  // namespace lintora
