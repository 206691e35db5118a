#include "files/file_loading.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <deque>
#include <exception>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string_view>
#include <unordered_map>
#include <utility>

#include <fcntl.h>

#include "files/charset.h"
#include "files/continued_values.h"
#include "files/data_files.h"
#include "files/file_open.h"
#include "files/file_saving.h"
#include "files/gedcom_reader.h"
#include "files/gedcom_writer.h"
#include "files/text_lines.h"
#include "files/unfinished_save.h"
#include "lintora_version.h"
#include "platform/disk/file_reading.h"
#include "platform/platform.h"
#include "record_store/clear.h"
#include "record_store/name_parsing.h"
#include "record_store/program_state.h"
#include "record_store/tables.h"
#include "record_store/text_routines.h"
#include "record_store/trees.h"
#include "platform/window_ports.h"

namespace lintora {

namespace {

// Files longer than this show the progress window.
constexpr std::uint64_t kProgressFrom = 50000;
// Lines read between two progress updates.
constexpr int32_t kProgressEvery = 2000;

// The old work while a load fills fresh tables; emptied once the load is in.
WorkTables& Spare() {
    static WorkTables spare;
    return spare;
}

WorkTables& Tables() { return g; }

bool AllDigits(std::string_view s) {
    if (s.empty()) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

// The values of HEAD CHAR and HEAD SOUR, or empty.
struct Header {
    std::string charSet, source;
};
Header ReadHeader(const std::vector<std::string_view>& lines) {
    Header h;
    bool inHead = false;
    for (const auto& raw : lines) {
        std::string line = TrimBlanks(raw);
        if (line.empty()) continue;
        if (line[0] == '0') {
            if (inHead) break;
            inHead = line == "0 HEAD" || line.rfind("0 HEAD ", 0) == 0;
            if (!inHead) break;  // the header comes first or not at all
            continue;
        }
        if (!inHead) continue;
        if (line.rfind("1 CHAR", 0) == 0 && h.charSet.empty()) h.charSet = TrimBlanks(line.substr(6));
        else if (line.rfind("1 SOUR ", 0) == 0) h.source = TrimBlanks(line.substr(7));
    }
    return h;
}

// How the text of a file is read, by the character set its header names.
enum class CharSet {
    Ansel,
    Utf8,
    Cp437,  // IBMPC: files of DOS programs
    Other,  // valid UTF-8 as UTF-8, other bytes as Windows-1252 (ANSI, ASCII, none)
};

// The set a header names; known is false for a name the program does not know.
CharSet CharSetOf(const std::string& name, bool& known) {
    const std::string n = UpperCase(name);
    known = true;
    if (n == "ANSEL") return CharSet::Ansel;
    if (n == "UTF-8" || n == "UTF8") return CharSet::Utf8;
    if (n == "IBMPC") return CharSet::Cp437;
    // UNICODE files are UTF-16, read before their header; work files have no CHAR line.
    known = n.empty() || n == "ANSI" || n == "ASCII" || n == "UNICODE";
    return CharSet::Other;
}

bool AllAscii(std::string_view s) {
    // Eight bytes at a time: asked of every line of a file.
    std::size_t i = 0;
    for (std::uint64_t x; i + 8 <= s.size(); i += 8) {
        std::memcpy(&x, s.data() + i, 8);
        if (x & 0x8080808080808080ull) return false;
    }
    return std::all_of(s.begin() + static_cast<std::ptrdiff_t>(i), s.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// A work-file line with a code group that names no character.
struct BadWorkLine : std::runtime_error {
    // group: the number of the group that names no character, from 0.
    BadWorkLine(std::string_view line, std::size_t lineNo, std::size_t group)
        : std::runtime_error("Line " + std::to_string(lineNo) + " holds the code " +
                             std::string(line.substr(3 * group, 3)) + " at character " +
                             std::to_string(3 * group + 1) +
                             ", where a character code from 000 to 255 was expected.") {}
};

// A file's text as lines of UTF-8, each a view into text or, for a line
// that grew in its reading and found no room where it stood, into grown.
// The views point into both: they are filled in place, never copied or moved.
struct DecodedLines {
    std::string text;  // the file's bytes, read into UTF-8 where they stand
    std::deque<std::string> grown;
    std::vector<std::string_view> lines;
    std::string unknownCharSet;  // the header's CHAR when the program does not know it
    bool lastLineCut = false;  // a work file whose last line lacks its CR LF
    DecodedLines() = default;
    DecodedLines(const DecodedLines&) = delete;
    DecodedLines& operator=(const DecodedLines&) = delete;
};

// A file that names a single-byte set but is plainly UTF-8 (every non-ASCII
// byte in a valid sequence once the CONC pieces of its values are joined)
// is read as UTF-8: its lines become those of a UTF-8 file.
bool PlainlyUtf8(std::vector<std::string_view>& lines, std::deque<std::string>& store) {
    std::vector<std::string_view> joined = lines;
    JoinContinuedValues(joined, store, Utf8CharEnd);
    bool nonAscii = false;
    for (const auto& line : joined) {
        if (!IsValidUtf8(line)) return false;
        if (!nonAscii) nonAscii = !AllAscii(line);
    }
    if (nonAscii) lines.swap(joined);
    return nonAscii;
}

// Where a letter ends in the bytes of a file read in set.
LetterEnd LetterEndIn(CharSet set) {
    if (set == CharSet::Ansel) return AnselLetterEnd;
    if (set == CharSet::Cp437) return [](std::string_view, std::size_t pos) { return pos + 1; };
    return Utf8CharEnd;  // ANSI and the like: valid UTF-8 is read as such
}

// The set the lines are read in, from their header; the values of the file
// are joined (lines made anew kept in store). A set the program does not
// know is named in unknown.
CharSet ReadingSet(std::vector<std::string_view>& lines, std::deque<std::string>& store, bool utf16,
                   bool utf8Mark, std::string& unknown) {
    if (utf16) {  // UTF-8 by now, whatever its header says
        JoinContinuedValues(lines, store, Utf8CharEnd);
        return CharSet::Utf8;
    }
    const Header header = ReadHeader(lines);
    bool known = true;
    CharSet set = CharSetOf(header.charSet, known);
    if (!known) unknown = ToUtf8(header.charSet);
    if (utf8Mark && header.charSet.empty()) set = CharSet::Utf8;
    // Our own files are ANSEL whatever their bytes look like: some ANSEL
    // pairs ("\xC4\xB2", sharp and o with stroke) read as UTF-8 too.
    const bool own = header.source == std::filesystem::path(kExeName).stem().string();
    if (((set == CharSet::Ansel && !own) || set == CharSet::Cp437) && PlainlyUtf8(lines, store))
        return CharSet::Utf8;
    JoinContinuedValues(lines, store, LetterEndIn(set));
    return set;
}

bool HoldsText(std::string_view line) { return line.find_first_not_of(' ') != std::string_view::npos; }

// The program ends every line of a work file with CR LF: a work file whose
// last line lacks it was cut inside that line, however whole it reads.
bool LastWorkLineCut(std::string_view text, const std::vector<std::string_view>& lines) {
    for (std::size_t k = lines.size(); k-- > 0;) {
        if (!HoldsText(lines[k])) continue;
        const std::size_t end = static_cast<std::size_t>(lines[k].data() - text.data()) + lines[k].size();
        return AllDigits(lines[k]) && text.substr(end, 2) != "\r\n";
    }
    return false;
}

// Encoded work-file lines decoded where they stand (a line only shrinks).
void DecodeWorkLines(std::string& text, std::vector<std::string_view>& lines) {
    for (std::size_t k = 0; k < lines.size(); ++k) {
        std::string_view& line = lines[k];
        // An encoded work-file line holds digits only; a GEDCOM line never does.
        if (!AllDigits(line)) continue;
        char* const at = text.data() + (line.data() - text.data());
        std::size_t length = 0;
        if (!DecodeLineInto(line, at, length)) throw BadWorkLine(line, k + 1, length);
        // A line end coded inside the line is no line end: the field keeps a blank.
        std::replace_if(at, at + length, [](char c) { return c == '\r' || c == '\n'; }, ' ');
        line = {at, length};
    }
}

// The line in UTF-8: itself where it reads so, else made anew in made.
std::string_view InUtf8(std::string_view line, CharSet set, bool utf16, std::string& made) {
    // Plain ASCII reads alike in every set.
    if (utf16 || AllAscii(line)) return line;
    if (set == CharSet::Ansel) {
        made.clear();
        AppendAnselAsUtf8(made, line);
        return made;
    }
    if (set == CharSet::Cp437) return made = Cp437ToUtf8(line);
    if (IsValidUtf8(line)) return line;
    // In a UTF-8 file only the bytes that are no UTF-8 are read as Windows-1252.
    if (set == CharSet::Utf8) return made = Utf8Repaired(line);
    return made = Windows1252ToUtf8(line);
}

// The lines read in the set into UTF-8, each written back over the bytes
// it came from, so that a load holds the file's bytes once. A line that
// grows in its reading (a letter of two bytes for one) and finds no room
// before the next line still to be read goes into out.grown.
void LinesToUtf8(std::vector<std::string_view>& lines, CharSet set, bool utf16, DecodedLines& out) {
    std::string& text = out.text;
    // Lines made anew by the reading set stand outside text.
    const auto inText = [&](std::string_view line) {
        return !line.empty() && std::greater_equal<>()(line.data(), text.data()) &&
               std::less<>()(line.data(), text.data() + text.size());
    };
    // Where the first line after line k that is still to be read begins.
    std::vector<std::size_t> nextToRead(lines.size(), text.size());
    for (std::size_t k = lines.size(); k-- > 1;) {
        nextToRead[k - 1] = nextToRead[k];
        if (inText(lines[k]))
            nextToRead[k - 1] = std::min(nextToRead[k], static_cast<std::size_t>(lines[k].data() - text.data()));
    }
    std::size_t written = 0;
    std::string made;
    for (std::size_t k = 0; k < lines.size(); ++k) {
        const std::string_view utf8 = InUtf8(lines[k], set, utf16, made);
        if (utf8.size() > nextToRead[k] - written) {
            lines[k] = out.grown.emplace_back(utf8);
            continue;
        }
        std::memmove(text.data() + written, utf8.data(), utf8.size());
        lines[k] = {text.data() + written, utf8.size()};
        written += utf8.size();
    }
    ControlsToBlanks(text);  // what lies past the last line is read by nobody
    for (std::string& line : out.grown) ControlsToBlanks(line);
}

// The file's text as lines of UTF-8: byte-order mark honoured, work-file
// lines decoded, the character set of HEAD CHAR applied. The bytes become
// out.text and are read in place.
void FileLines(std::string bytes, DecodedLines& out) {
    std::string& text = out.text;
    text.swap(bytes);
    const auto b = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    bool utf16 = text.size() >= 2 && ((b(0) == 0xFF && b(1) == 0xFE) || (b(0) == 0xFE && b(1) == 0xFF));
    const char order = utf16 ? 0 : Utf16WithoutMark(text);
    utf16 = utf16 || order != 0;
    const bool utf8Mark = !utf16 && text.size() >= 3 && b(0) == 0xEF && b(1) == 0xBB && b(2) == 0xBF;
    if (utf16) {
        std::string utf8 = Utf16ToUtf8(text, order == 'B');
        text.swap(utf8);
    }
    std::string_view view(text);
    if (utf8Mark) view.remove_prefix(3);
    // End-of-file marks that old systems padded files with are no text.
    while (!view.empty() && (view.back() == '\0' || view.back() == '\x1A')) view.remove_suffix(1);
    std::vector<std::string_view> lines = SplitFileLineViews(view);
    out.lastLineCut = LastWorkLineCut(view, lines);
    DecodeWorkLines(text, lines);
    std::deque<std::string> joined;  // lines made anew; a deque never moves them
    const CharSet set = ReadingSet(lines, joined, utf16, utf8Mark, out.unknownCharSet);
    LinesToUtf8(lines, set, utf16, out);
    out.lines.swap(lines);
}

// "0 TRLR", alone or with a work file's site and page type after it.
bool IsTrailer(std::string_view line) {
    const std::string t = TrimBlanks(line);
    return t == "0 TRLR" || t.starts_with("0 TRLR ");
}

// How a file ends. It is whole when it has its trailer and, for a work
// file, its last line ends as the program ends it.
struct FileEnd {
    std::string_view trailer;  // its first trailer line; empty when it has none, or it was cut
    bool cutShort = false;  // no trailer, or a work file cut inside its last line
    bool recordsAfter = false;  // lines of text follow the trailer
};

FileEnd JudgeEnd(const std::vector<std::string_view>& lines, bool lastLineCut) {
    FileEnd end;
    const auto trailer = std::find_if(lines.begin(), lines.end(), IsTrailer);
    if (trailer == lines.end()) {
        end.cutShort = true;
        return end;
    }
    end.recordsAfter = std::any_of(trailer + 1, lines.end(), HoldsText);
    end.cutShort = lastLineCut;
    // A trailer cut short names no first page: its words may be cut too.
    if (!lastLineCut || end.recordsAfter) end.trailer = *trailer;
    return end;
}

CutShortFile CutShortKey(const FileStamp& file) { return {file.device, file.inode, file.size, file.modified}; }

void RememberCutShort(const FileStamp& file) {
    if (!IsCutShort(file)) g.CutShortFiles.push_back(CutShortKey(file));
}

void ShowProgress(bool shown, int value) {
    if (shown) Progress().Set(value);
}

void ProgressStage(bool shown, std::uint64_t maximum, const std::string& label) {
    if (!shown) return;
    StartProgress(maximum);
    Progress().SetLabel(label);
}

// The display goes back to its resting look (the version under the bar).
void ResetProgress() { Progress().End(); }

// The GEDCOM sources and repositories, cited or named like ours, into
// Source and Repository; the citing records then point at them.
void MergeGedSources() {
    std::unordered_map<std::string, int32_t> gedSource;  // pointer -> GedSource
    for (int32_t k = g.GedSourceCount; k >= 1; --k) gedSource[TrimBlanks(g.GedSource[k].sXref)] = k;
    auto cite = [&](const std::string& xref) {
        if (xref.empty()) return;
        auto it = gedSource.find(xref);
        if (it != gedSource.end()) ++g.GedSource[it->second].sCitations;
    };
    for (int32_t i = 1; i <= g.IndivCount; ++i) cite(g.Indiv[i].iSourXref.trimmed());
    for (int32_t f = 1; f <= g.FamilCount; ++f) cite(g.Famil[f].fSourXref.trimmed());

    std::unordered_map<std::string, int32_t> source;  // GEDCOM pointer -> Source
    for (int32_t k = 1; k <= g.GedSourceCount; ++k) {
        SourceRec& G = g.GedSource[k];
        const std::string title = G.sTitle.trimmed();
        if (title.empty()) continue;
        for (int32_t s = 1; s <= g.SourceCount; ++s) {
            if (g.Source[s].sTitle.trimmed() != title) continue;
            g.Source[s].sCitations = G.sCitations;
            g.Source[s].sXref = G.sXref;
            G.sCitations = 0;
            source.emplace(TrimBlanks(G.sXref), s);
            break;
        }
    }
    // A GEDCOM repository counts as cited when a source that is kept names it.
    std::unordered_map<std::string, int32_t> gedRepos;
    for (int32_t k = g.GedRepositoryCount; k >= 1; --k) gedRepos[TrimBlanks(g.GedRepository[k].rXref)] = k;
    for (int32_t k = 1; k <= g.GedSourceCount; ++k) {
        const SourceRec& G = g.GedSource[k];
        if (G.sCitations <= 0) continue;
        auto it = gedRepos.find(TrimBlanks(G.sReposXref));
        if (it != gedRepos.end()) ++g.GedRepository[it->second].rCitations;
    }
    std::unordered_map<std::string, int32_t> repos;  // GEDCOM pointer -> Repository
    for (int32_t k = 1; k <= g.GedRepositoryCount; ++k) {
        ReposRec& G = g.GedRepository[k];
        const std::string name = G.rName.trimmed();
        if (name.empty()) continue;
        for (int32_t r = 1; r <= g.RepositoryCount; ++r) {
            if (g.Repository[r].rName.trimmed() != name) continue;
            // Its own reference stays: the data files know it by that.
            g.Repository[r].rCitations = G.rCitations;
            G.rCitations = 0;
            repos.emplace(TrimBlanks(G.rXref), r);
            break;
        }
    }
    // Sources from the data files are linked already; the file's pointers
    // name only the file's own repositories.
    const int32_t firstFromFile = g.SourceCount + 1;
    for (int32_t k = 1; k <= g.GedSourceCount; ++k) {
        const SourceRec G = g.GedSource[k];
        if (G.sCitations <= 0) continue;
        int32_t s = AddSource();
        if (s == 0) break;
        SourceRec& S = g.Source[s];
        S.sCitations = G.sCitations;
        S.sTitle = G.sTitle;
        S.sAbbr = G.sAbbr;
        S.sAuthor = G.sAuthor;
        S.sPublish = G.sPublish;
        S.sXref = G.sXref;
        S.sReposXref = G.sReposXref;
        S.sFlag = "U";
        source.emplace(TrimBlanks(G.sXref), s);
    }
    for (int32_t k = 1; k <= g.GedRepositoryCount; ++k) {
        const ReposRec G = g.GedRepository[k];
        if (G.rCitations <= 0) continue;
        int32_t r = AddRepository();
        if (r == 0) break;
        ReposRec& R = g.Repository[r];
        R.rCitations = G.rCitations;
        R.rXref = G.rXref;
        R.rName = G.rName;
        R.rAddr = G.rAddr;
        R.rCont = G.rCont;
        R.rFlag = "U";
        repos.emplace(TrimBlanks(G.rXref), r);
    }
    for (int32_t i = 1; i <= g.IndivCount; ++i) {
        auto it = source.find(g.Indiv[i].iSourXref.trimmed());
        if (!g.Indiv[i].iSourXref.blank() && it != source.end())
            g.Indiv[i].iSource = static_cast<int16_t>(it->second);
    }
    for (int32_t f = 1; f <= g.FamilCount; ++f) {
        auto it = source.find(g.Famil[f].fSourXref.trimmed());
        if (!g.Famil[f].fSourXref.blank() && it != source.end())
            g.Famil[f].fSource = static_cast<int16_t>(it->second);
    }
    for (int32_t s = firstFromFile; s <= g.SourceCount; ++s) {
        SourceRec& S = g.Source[s];
        auto it = repos.find(TrimBlanks(S.sReposXref));
        if (it != repos.end()) S.sRepos = static_cast<int16_t>(it->second);
    }
}

// Partners the file names but does not hold become "<unknown>" persons.
void AddPlaceholderSpouses() {
    auto placeholder = [](const char* sex) -> int32_t {
        int32_t i = AddIndiv();
        if (i == 0) return 0;
        IndivRec& R = g.Indiv[i];
        R.iName = "<unknown>";
        R.iGivn = "<unknown>";
        R.iNameKey = NameKeyOf(R.iGivn.value(), "");
        R.iSex = sex;
        R.iFamsCount = 1;
        return i;
    };
    for (int32_t f = 1; f <= g.FamilCount; ++f) {
        if (g.Famil[f].fHusb == 0) g.Famil[f].fHusb = placeholder("M");
        if (g.Famil[f].fWife == 0) g.Famil[f].fWife = placeholder("F");
    }
}

// The counts follow the links, as a save writes them (a FAMS line for each
// family the person is a partner of, a CHIL line for each child) and a
// reload counts them; pointers that name no family count nothing.
void CountFamilyLinks() {
    for (int32_t i = 1; i <= g.IndivCount; ++i) g.Indiv[i].iFamsCount = 0;
    for (int32_t f = 1; f <= g.FamilCount; ++f) g.Famil[f].fChilCount = 0;
    auto raise = [](int16_t& count) {
        if (count < INT16_MAX) ++count;
    };
    for (int32_t f = 1; f <= g.FamilCount; ++f) {
        const FamilRec& F = g.Famil[f];
        if (F.fHusb > 0 && F.fHusb <= g.IndivCount) raise(g.Indiv[F.fHusb].iFamsCount);
        if (F.fWife > 0 && F.fWife <= g.IndivCount && F.fWife != F.fHusb) raise(g.Indiv[F.fWife].iFamsCount);
    }
    for (int32_t i = 1; i <= g.IndivCount; ++i) {
        const int32_t f = g.Indiv[i].iFamc;
        if (f > 0 && f <= g.FamilCount) raise(g.Famil[f].fChilCount);
    }
}

std::string Plural(int32_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

void ReportSkipsAndBadLines(const GedReader& reader) {
    const auto& r = reader.GedRead;
    if (r.skippedIndivs || r.skippedFamils || r.skippedNotes)
        ShowProblem("The tables are full: " + Plural(r.skippedIndivs, "individual", "individuals") + ", " +
                    Plural(r.skippedFamils, "family", "families") + " and " +
                    Plural(r.skippedNotes, "note line", "note lines") + " of " + g.FileName +
                    " were skipped.");
    if (r.badLines) {
        std::string at;
        for (std::size_t k = 0; k < r.badLineNos.size(); ++k)
            at += (k ? ", " : "") + std::to_string(r.badLineNos[k]);
        if (r.badLines > static_cast<int32_t>(r.badLineNos.size())) at += ", ...";
        ShowProblem("Problem reading " + g.FileName + ": " +
                    Plural(r.badLines, "line was", "lines were") + " not understood and skipped (line " +
                    at + ").\n" + r.firstBadLine);
    }
}

// After the lines, on the fresh tables alone: placeholders, links, index,
// sources.
void CompleteTables(bool progress) {
    ResolveGedLinks();
    AddPlaceholderSpouses();
    CountFamilyLinks();
    ProgressStage(progress, g.IndivCount, "Processing Family IDs ...");
    BuildNameIndex();
    ShowProgress(progress, g.IndivCount);
    ProgressStage(progress, 100, "Loading...");
    ShowProgress(progress, 5);
    MergeGedSources();
    ShowProgress(progress, 55);
}

// The work is the file's from here: what named the old work is reset, the
// surname case and trees follow the new tables.
void CommitLoad(bool progress, bool rememberedFile, const std::string& firstSite,
                const std::string& firstType) {
    // The records read are work to save: LastIndiv stays on the last one.
    const int32_t lastRead = g.LastIndiv;
    ClearWorkState();
    g.LastIndiv = lastRead;
    g.FirstSite = firstSite;
    g.FirstType = firstType;
    g.MixedSources = firstSite == "Mixed-Source" ? "Y" : "N";
    const std::string surname = g.Indiv[1].iSurn.trimmed();
    g.SurnameCase = surname == UpperCase(surname) ? "U" : "P";
    if (progress) Progress().SetLabel("Building tree...");
    ShowProgress(progress, 85);
    LoadGenTree();
    ClearWorkWindows();
    g.TreeSlot.fill(0);
    const int32_t pos = g.datPos;
    // The remembered root belongs to the remembered file only.
    const bool live = rememberedFile && pos > 0 && pos <= g.IndivCount && g.Indiv[pos].iTree != kRemovedTree;
    g.TreeSlot[0] = live ? pos : 1;
    g.datPos = 0;
    ShowProgress(progress, 100);
}

}  // namespace

bool LoadFile() {
    bool swapped = false, committed = false;
    // What the adds and the name parsing of a load change besides the tables.
    const int32_t lastIndiv = g.LastIndiv, lastFamil = g.LastFamil;
    const std::string surnameCase = g.SurnameCase;
    // A load that fails gives the old work back, trees too.
    auto giveBack = [&] {
        if (!swapped) return;
        std::swap(Tables(), Spare());
        swapped = false;
        g.LastIndiv = lastIndiv;
        g.LastFamil = lastFamil;
        g.SurnameCase = surnameCase;
        if (committed) LoadGenTree();
    };
    bool progress = false;
    const int16_t pasteSource = g.PasteSource;
    // The reader's working state belongs to this load alone.
    GedReader reader;
    struct ReadEnds {
        ~ReadEnds() { EndGedRead(); }
    } readEnds;
    try {
        MainWindow().HideParentPickList();
        Port().SetBusy(true);
        const std::string path = g.FilePath;
        const std::string name = std::filesystem::path(path).filename().string();
        const std::string why = path.empty() ? "" : WhyNoOrdinaryFile(path);
        if (path.empty() || !why.empty()) {
            Port().SetBusy(false);
            if (!why.empty()) ShowProblem(name + " cannot be opened: " + why);
            return false;
        }
        UnfinishedSave unfinished(path);
        if (unfinished.Running()) {
            Port().SetBusy(false);
            unfinished.TellRunning();
            return false;
        }
        unfinished.OfferEarlierContents();
        int16_t err = 0;
        int16_t no = OpenFileChecked(path, kOpenInput, 0, true, &err);
        std::FILE* f = OpenedFile(no);
        if (!f) {
            Port().SetBusy(false);
            if (err) ShowProblem("Problem opening " + path + ": the file cannot be read.");
            return false;
        }
        // A save that began after the look for its record holds the file
        // with a write lock while it writes it over; ours, held for the
        // read, goes with the descriptor.
        if (RealSystem().LockWhole(::fileno(f), F_RDLCK) != 0 && (errno == EAGAIN || errno == EACCES)) {
            CloseFile(no);
            Port().SetBusy(false);
            unfinished.TellRunning();
            return false;
        }
        // What was opened is what is judged and read, not what the name names now.
        const FileStamp stamp = StampOfOpenFile(::fileno(f));
        std::string bytes;
        bytes.reserve(stamp.size);
        char buf[1 << 16];
        std::size_t got;
        while ((got = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.append(buf, got);
        const bool readFailed = std::ferror(f) != 0;
        CloseFile(no);
        if (readFailed) {
            Port().SetBusy(false);
            ShowProblem("Problem reading " + path + ": the file cannot be read.");
            return false;
        }
        if (bytes.find_first_not_of(" \t\r\n") == std::string::npos) {
            Port().SetBusy(false);
            if (!unfinished.TellStopped(false)) MsgBox("File is empty!", MsgButtons::Ok, MsgIcon::Exclamation);
            return false;
        }
        const std::uint64_t length = bytes.size();
        progress = length > kProgressFrom;
        ProgressStage(progress, length, "Reading " + name + " (" + std::to_string(length) + ")");
        DecodedLines decoded;
        FileLines(std::move(bytes), decoded);
        const std::vector<std::string_view>& lines = decoded.lines;

        // Fresh tables; the work goes back when the file gives nothing.
        std::swap(Tables(), Spare());
        swapped = true;
        g.Empty();
        g.SurnameCase = " ";
        g.PasteSource = 0;  // loaded records cite what the file says, not the last paste
        LoadDatFile("Limited");
        BeginGedRead(reader);
        // Room for every person's pointer at once (a hint: the index never
        // grows through its rehashes while the file is read).
        reader.GedRead.xrefIndex.reserve(static_cast<std::size_t>(std::count_if(
            lines.begin(), lines.end(), [](std::string_view l) { return l.starts_with("0 @") && l.ends_with(" INDI"); })));
        std::uint64_t chars = 0;
        for (std::size_t k = 0; k < lines.size(); ++k) {
            ParseGedRec(lines[k], static_cast<int32_t>(std::min<std::size_t>(k + 1, INT32_MAX)));
            chars += lines[k].size();
            if (progress && k % kProgressEvery == 0) SetProgress(chars, length);
        }
        if (progress) SetProgress(length, length);
        const FileEnd end = JudgeEnd(lines, decoded.lastLineCut);
        std::string firstSite, firstType;
        std::vector<std::string> words;
        for (auto& w : SplitFields(end.trailer, " "))
            if (!w.empty()) words.push_back(w);
        if (words.size() > 2) {
            if (words.size() > 3) firstType = words[3];
            firstSite = words[2];
        }
        if (g.IndivCount == 0) {
            giveBack();
            g.PasteSource = pasteSource;
            Port().SetBusy(false);
            if (!unfinished.TellStopped(!end.cutShort))
                MsgBox("No GED data in file!", MsgButtons::Ok, MsgIcon::Exclamation);
            ResetProgress();
            return false;
        }
        const bool rememberedFile = name == TrimBlanks(g.datFilename);
        CompleteTables(progress);
        committed = true;
        CommitLoad(progress, rememberedFile, firstSite, firstType);
        swapped = false;
        Spare().Empty();
        g.PasteSource = pasteSource;

        // The work now is the file's: remember it and show it.
        SetFileNameParts(path);
        g.FilePath = path;
        MainWindow().SetMainCaption("Lintora (" + g.FileName + ")");
        g.LastWorkFile = path;
        SaveStartupSettings(
            {{"InitDirWRK", g.FileDir}, {"datFilename", g.FileName}, {"datPos", std::to_string(g.TreeSlot[0])}});
        g.datFilename = TrimBlanks(g.FileName);
        g.InitDirWRK = TrimBlanks(g.FileDir);
        MarkWorkSaved();
        SearchWindow().ClearSiteLists();
        MainWindow().BuildTree();
        MainWindow().UpdateStatusBar();
        MainWindow().EnableDataCommands();
        MainWindow().SetToolButtonEnabled(kUndoToolButton, false);
        ResetProgress();
        Port().SetBusy(false);
        if (!decoded.unknownCharSet.empty())
            ShowProblem("The character set \"" + decoded.unknownCharSet + "\" named in " + g.FileName +
                        " is not known: its text was read as Windows-1252 (as UTF-8 where it is UTF-8).");
        if (end.cutShort) RememberCutShort(stamp);
        if (!unfinished.TellStopped(!end.cutShort) && end.cutShort)
            ShowProblem(name + " ends before its last line (0 TRLR): it may be incomplete. " +
                        "Saving over it would lose what is missing.");
        if (end.recordsAfter)
            ShowProblem(name + " holds records after its last line (0 TRLR): they were loaded with the rest.");
        ReportSkipsAndBadLines(reader);
        return true;
    } catch (const std::exception& e) {
        try {
            giveBack();
        } catch (const std::exception&) {
        }
        g.PasteSource = pasteSource;
        Port().SetBusy(false);
        // A damaged work-file line is named; other failures have nothing to show.
        const auto* bad = dynamic_cast<const BadWorkLine*>(&e);
        MsgBox("Error: Input file " + g.FilePath + " format not recognizable to Lintora" +
                   (bad ? std::string("\n") + bad->what() : std::string()),
               MsgButtons::Ok, MsgIcon::Exclamation);
        ResetProgress();
        return false;
    }
}

bool IsCutShort(const FileStamp& file) {
    return file.exists && std::ranges::find(g.CutShortFiles, CutShortKey(file)) != g.CutShortFiles.end();
}

void ForgetCutShort(const FileStamp& file) { std::erase(g.CutShortFiles, CutShortKey(file)); }

}  // namespace lintora
