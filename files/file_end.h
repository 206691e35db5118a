#pragma once
// How a file ends: whole with its trailer (0 TRLR), cut short before it or,
// for a work file, inside its last line, or with records after it.
#include <string>
#include <string_view>
#include <vector>

namespace lintora {

struct FileEnd {
    std::string_view trailer;  // its last trailer line; empty when it has none, or it was cut
    bool cutShort = false;  // no trailer, or a work file cut inside its last line
    bool recordsAfter = false;  // lines of text follow its last trailer
};

// The program ends every line of a work file with CR LF: a work file whose
// last line lacks it was cut inside that line, however whole it reads.
// lines are views into text, before the work lines are decoded.
bool LastWorkLineCut(std::string_view text, const std::vector<std::string_view>& lines);

// The end of the file whose lines these are. It is whole when it has its
// trailer and, for a work file, its last line ends as the program ends it.
FileEnd JudgeEnd(const std::vector<std::string_view>& lines, bool lastLineCut);

// The first page a work file's trailer names ("0 TRLR <site> <type>"); empty
// for a trailer that names none.
struct FirstPage {
    std::string site, type;
};
FirstPage FirstPageOf(const FileEnd& end);

}  // namespace lintora
