#pragma once
// Splitting a full name as found on a page or in a file into the name
// fields of an individual, with the case of the surname fixed by
// g.SurnameCase and the 20-character phonetic key iNameKey.
#include <string>
#include <string_view>

namespace lintora {

struct NameParts {
    std::string surname;
    std::string given;
    std::string prefix;    // military rank
    std::string suffix;    // generation suffix (Jr, III, ...)
    std::string title;
    std::string nickname;
    std::string key;       // 20 characters: given-name code, surname code (10 blanks each when missing)
};

// All outputs start blank. The key is always 20 characters (20 blanks for a
// blank name); compare keys at full width (FixedText<20> or .padded()), as a
// stored field drops its trailing blanks. Failures are reported ("Problem
// parsing Name: ") and the outputs keep what was set so far.
void ParseNameParts(std::string_view fullName, std::string& surname, std::string& given,
                    std::string& prefix, std::string& suffix, std::string& title,
                    std::string& nickname, std::string& key);
// withKey false leaves the key blank, for a caller that keys the parts it
// settles on itself.
NameParts ParseNameParts(std::string_view fullName, bool withKey = true);

// The 20-character key of stored given names and surname, built as
// ParseNameParts builds it from the parts it finds.
std::string NameKeyOf(std::string_view given, std::string_view surname);

}  // namespace lintora
