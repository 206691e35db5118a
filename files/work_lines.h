#pragma once
// The lines of a work file: each encoded as three-digit codes of its UTF-8
// bytes, decoded where it stands.
#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace lintora {

// A work-file line with a code group that names no character.
struct BadWorkLine : std::runtime_error {
    // group: the number of the group that names no character, from 0.
    BadWorkLine(std::string_view line, std::size_t lineNo, std::size_t group);
};

// An encoded work-file line holds digits only; a GEDCOM line never does.
bool AllDigits(std::string_view s);

// Encoded work-file lines decoded where they stand (a line only shrinks);
// throws BadWorkLine for a line that names no character.
void DecodeWorkLines(std::string& text, std::vector<std::string_view>& lines);

}  // namespace lintora
