#pragma once
// Turns a place as some pages give it (a run of words without commas,
// perhaps with a postal code after it or the usable part in angle brackets)
// into the comma-separated form the records store.
#include <string>
#include <string_view>

namespace lintora {

// "East Boston Suffolk Massachusetts" gives "East Boston, Suffolk,
// Massachusetts"; "Boston, Suffolk, MASSACHUSETTS 02134" gives "Boston,
// Suffolk, Massachusetts"; "Dorchester <Boston Suffolk>" gives
// "<Boston, Suffolk>". Works on any text, an empty one included.
std::string NormalizePlace(std::string_view place);

}  // namespace lintora
