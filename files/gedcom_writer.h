#pragma once
// The record writer for GEDCOM files and work files, and the digit encoding
// of work-file lines.
#include <string>
#include <string_view>
#include <vector>

namespace lintora {

enum class FileKind { Gedcom, Work };

// Why a GEDCOM file is written in UTF-8: the first letter ANSEL cannot hold
// and where it stands ("the record of Иван Петров"). Both empty for a file
// in ANSEL. tooLong: ANSEL spells the letter, but the spelling would not fit
// the field ("«" as "<<" in a name as long as its field).
struct NotInAnsel {
    std::string letter;
    std::string where;
    bool tooLong = false;
};

// The plain lines (UTF-8, no line ends) of a GEDCOM file or a work file
// built from the tables and the Preferences window's state in g. filePath
// is written into the GEDCOM header. A GEDCOM file is GEDCOM 5.5 in ANSEL
// when all it holds fits there, else GEDCOM 5.5.1 in UTF-8, and why says
// why. Marks the repositories that written sources point to (rCitations at
// least 1). showProgress reports the records written through the
// platform's progress display.
std::vector<std::string> BuildFileLines(FileKind kind, const std::string& filePath,
                                        bool showProgress = false, NotInAnsel* why = nullptr);

// The bytes of the file: GEDCOM lines in the character set their header
// declares (ANSEL or UTF-8), work-file lines encoded; each line ended by
// CR LF.
std::string FileContents(FileKind kind, const std::vector<std::string>& lines);

// Each byte of the line (UTF-8) as three decimal digits: "abc" gives
// "097098099".
std::string EncodeLine(std::string_view text);

// The reverse: groups of three characters read as byte values; a last group
// of one or two characters is read as its number. Throws
// std::invalid_argument for a group that is not a number from 0 to 255.
std::string DecodeLine(std::string_view text);
// The same without throwing: false for a line that is not a valid encoding.
bool TryDecodeLine(std::string_view text, std::string& out);
// The same into out, which may be text's own first character (a line
// decoded where it stands): length receives the characters written, and
// on false the number of the group that names no character (counted from
// 0), which is left as it was.
bool DecodeLineInto(std::string_view text, char* out, std::size_t& length);

// Encodes the plain work file at path in place (through a temporary file
// in its folder). Returns "" on success (also when no file is there), else
// why it failed; the plain file is then left as it was.
std::string EncodeWorkFile(const std::string& path);

}  // namespace lintora
