#pragma once
// Names of parameterized cases from their own data, the same in every build, so that a failing one can be run again.
#include <cstddef>
#include <cstdio>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <utility>

#include <gtest/gtest.h>

namespace lintora::testing {

// A gtest name ([A-Za-z0-9_], never empty) for any UTF-8 text: its ASCII letters and digits and Latin-1 letters
// without their marks, words joined by one '_'; a text without either is spelt by its bytes ("x20_x2A").
inline std::string IdentifierOf(std::string_view text) {
    // U+00C0..U+00FF (0xC3 0x80..0xBF) as ASCII; '_' for the two signs among them.
    static constexpr std::string_view kLatin1 = "AAAAAAACEEEEIIIIDNOOOOO_OUUUUYTsaaaaaaaceeeeiiiidnooooo_ouuuuyty";
    std::string words, signs;
    bool apart = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const bool ascii = (byte >= '0' && byte <= '9') || ((byte | 0x20) >= 'a' && (byte | 0x20) <= 'z');
        char letter = ascii ? static_cast<char>(byte) : '_';
        if (byte == 0xC3 && i + 1 < text.size()) letter = kLatin1[text[++i] & 0x3F];
        char spelt[8];
        std::snprintf(spelt, sizeof spelt, "_x%02X", byte);
        if (letter == '_') signs += spelt, apart = !words.empty();
        else words += std::exchange(apart, false) ? std::string{'_', letter} : std::string(1, letter);
    }
    std::string name = !words.empty() ? words : !signs.empty() ? signs.substr(1) : "Empty";
    // A long text is cut at a word's end; the cases that then meet are told apart by Unique.
    if (const std::size_t end = name.rfind('_', 72); name.size() > 72) name.resize(end == 0 || end > 72 ? 72 : end);
    return name;
}

// The name, or with _2, _3 ... where a case of the instantiation had it (gtest asks in order from index 0).
inline std::string Unique(std::string name, std::size_t index) {
    static std::set<std::string> given;
    if (index == 0) given.clear();
    std::string unique = name;
    for (int n = 2; given.count(unique) != 0; ++n) unique = name + "_" + std::to_string(n);
    return *given.insert(unique).first;
}

// The name generator of INSTANTIATE_TEST_SUITE_P naming each case by a text of it: a member (&Case::what), a
// function of the case, or the parameter itself.
template <class Text = std::identity>
auto NamedBy(Text text = {}) {
    return [text](const auto& info) {
        return Unique(IdentifierOf(std::string_view(std::invoke(text, info.param))), info.index);
    };
}

}  // namespace lintora::testing
