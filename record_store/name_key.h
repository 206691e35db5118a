#pragma once
// Phonetic code of one name word, so that names that sound alike compare
// equal. Mode 0 is the extended code (consonant-cluster rules, H and W
// count as vowels); mode 1 is plain American Soundex of length 4.
#include <string>
#include <string_view>

namespace lintora {

// Width of each half of iNameKey (given-name code, then surname code).
inline constexpr int kNameKeyHalf = 10;

// The code of `name`: its head letter followed by digits, exactly `length`
// characters (taken within 4..10; mode 1 always 4). The empty text when the
// name holds no letter. Letters are compared without case; accented Latin-1
// letters count as their base letter (É as E, ß as SS).
std::string SoundexKey(std::string_view name, int length = kNameKeyHalf, int mode = 0);

// One 10-character half of iNameKey: the extended code of `part`, or 10
// blanks when the part yields no code. Both halves always keep their width,
// so the surname code sits in characters 11..20 even for a missing given name.
std::string NameKeyHalf(std::string_view part);

}  // namespace lintora
