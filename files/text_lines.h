#pragma once
// Lines of a text file, whatever its line ends (CR, LF or CR LF).
#include <string>
#include <string_view>
#include <vector>

namespace lintora {

// A line end after the last line adds no empty line.
std::vector<std::string> SplitFileLines(std::string_view contents);
// The same lines as views into contents.
std::vector<std::string_view> SplitFileLineViews(std::string_view contents);

// Every control character (below a blank) becomes a blank: files are
// written so, and read so, that a loaded value is the value saved again.
void ControlsToBlanks(std::string& text);
void ControlsToBlanks(char* from, char* to);

// Characters one note line of a file holds; longer text goes on in CONC lines.
inline constexpr std::size_t kNoteLineWidth = 120;

// Note text cut into pieces of at most kNoteLineWidth characters (one empty
// piece for empty text). A cut never leaves a combining mark at the start
// of a piece, where it would lose its letter. Reader and writer cut alike,
// so a note written in pieces is read back in the same pieces.
std::vector<std::string> CutNoteText(std::string_view text);

}  // namespace lintora
