#pragma once
// Lines of a text file, whatever its line ends (CR, LF or CR LF).
#include <string>
#include <string_view>
#include <vector>

namespace lintora {

// A line end after the last line adds no empty line.
std::vector<std::string> SplitFileLines(std::string_view contents);

}  // namespace lintora
