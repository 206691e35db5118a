#pragma once
// Names of parameterized test cases made from each case's own data, so that a
// case keeps its name from build to build and a failing one can be run again
// alone (gtest's default names a case by its index, which CTest's discovery
// would replace by a print of the parameter: for a struct, a dump of its bytes).
#include <cstddef>
#include <cstdio>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <utility>

#include <gtest/gtest.h>

namespace lintora::testing {

// A gtest name ([A-Za-z0-9_], never empty) for any UTF-8 text: its ASCII
// letters and digits, Latin-1 letters without their marks, words joined by
// one '_'. A text without a letter or digit is spelt out sign by sign, so that
// "", "  " and "***" get names of their own.
inline std::string IdentifierOf(std::string_view text) {
    // Latin-1 letters U+00C0..U+00FF as ASCII; "" for the two signs among them.
    static const char* const kLatin1[64] = {
        "A", "A",  "A", "A", "A", "A", "AE", "C", "E", "E", "E", "E", "I", "I", "I", "I",
        "D", "N",  "O", "O", "O", "O", "O",  "",  "O", "U", "U", "U", "U", "Y", "Th", "ss",
        "a", "a",  "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i", "i",
        "d", "n",  "o", "o", "o", "o", "o",  "",  "o", "u", "u", "u", "u", "y", "th", "y"};
    std::string words, signs;
    bool apart = false;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        char32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length && i + k < text.size(); ++k) {
            code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        i += length;
        std::string letters;
        if ((code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z') || (code >= 'a' && code <= 'z')) {
            letters = static_cast<char>(code);
        } else if (code >= 0xC0 && code <= 0xFF) {
            letters = kLatin1[code - 0xC0];
        }
        if (letters.empty()) {
            static const std::pair<char32_t, const char*> kSignNames[] = {
                {U' ', "Blank"}, {U'\t', "Tab"}, {U'\r', "CR"}, {U'\n', "LF"}, {U'*', "Star"}, {U'?', "Question"},
                {U'+', "Plus"}, {U'-', "Dash"}, {U'.', "Dot"}, {U',', "Comma"}, {U':', "Colon"}, {U';', "Semicolon"},
                {U'/', "Slash"}};
            char number[16];
            std::snprintf(number, sizeof number, "U%04X", static_cast<unsigned>(code));
            std::string sign = number;
            for (const auto& [c, spelt] : kSignNames) {
                if (c == code) sign = spelt;
            }
            signs += (signs.empty() ? "" : "_") + sign;
            apart = !words.empty();
            continue;
        }
        if (apart) words += '_';
        words += letters;
        apart = false;
    }
    std::string name = !words.empty() ? words : !signs.empty() ? signs : "Empty";
    // A long text is cut at a word's end; the cases that then meet are told apart by Unique.
    constexpr std::size_t kLongest = 72;
    if (name.size() > kLongest) {
        const std::size_t end = name.rfind('_', kLongest);
        name.resize(end == std::string::npos || end == 0 ? kLongest : end);
    }
    return name;
}

// The name itself, or with _2, _3 ... where a case of the same instantiation
// had it already. gtest asks for the names of an instantiation in order from
// index 0, once per test of the suite.
inline std::string Unique(std::string name, std::size_t index) {
    static std::set<std::string> given;
    if (index == 0) given.clear();
    std::string unique = name;
    for (int n = 2; given.count(unique) != 0; ++n) unique = name + "_" + std::to_string(n);
    given.insert(unique);
    return unique;
}

// The name generator (4th argument of INSTANTIATE_TEST_SUITE_P) naming each
// case by a text of it: a member (&Case::what), a function of the case, or
// the parameter itself where that is a text.
template <class Text = std::identity>
auto NamedBy(Text text = {}) {
    return [text](const auto& info) {
        return Unique(IdentifierOf(std::string_view(std::invoke(text, info.param))), info.index);
    };
}

}  // namespace lintora::testing
