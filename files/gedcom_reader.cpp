#include "files/gedcom_reader.h"

#include <algorithm>
#include <charconv>
#include <exception>
#include <stdexcept>
#include <string_view>

#include "files/text_lines.h"
#include "record_store/fixed_text.h"
#include "record_store/name_parsing.h"
#include "record_store/program_state.h"
#include "record_store/tables.h"
#include "record_store/text_routines.h"

namespace lintora {

namespace {

// The state of the read in progress; a spare one between loads.
GedReader* current = nullptr;

GedReader& Ged() {
    if (current) return *current;  // every line asks: no guard of the spare's start on this way
    static GedReader spare;
    return spare;
}

// GEDCOM allows levels up to 99; anything deeper is not a GEDCOM line.
constexpr int kMaxLevel = 99;
// Line numbers named in the bad-line report.
constexpr std::size_t kBadLinesNamed = 5;
// Characters a source field gathers from its CONC and CONT lines.
constexpr std::size_t kSourceTextWidth = 4 * kNoteLineWidth;

bool StartsWith(std::string_view s, std::string_view p) { return s.substr(0, p.size()) == p; }

bool IsBlankChar(char c) { return c == ' ' || c == '\t'; }

bool IsPointer(std::string_view w) { return w.size() >= 2 && w.front() == '@' && w.back() == '@'; }

// Tags whose value may point at a record; any other value between "@"
// marks is text and keeps them.
bool PointerTag(std::string_view tag) {
    for (std::string_view t : {"FAMC", "FAMS", "HUSB", "WIFE", "CHIL", "SOUR", "REPO", "NOTE", "SUBM", "OBJE",
                               "ASSO", "ALIA", "ANCI", "DESI"})
        if (tag == t) return true;
    return false;
}

// Position just after the word that starts at or after pos, and where that word starts.
std::size_t SkipWord(std::string_view s, std::size_t pos, std::size_t* start = nullptr) {
    while (pos < s.size() && IsBlankChar(s[pos])) ++pos;
    if (start) *start = pos;
    while (pos < s.size() && !IsBlankChar(s[pos])) ++pos;
    return pos;
}

void BadLine(const std::string& message) {
    auto& r = Ged().GedRead;
    ++r.badLines;
    if (r.badLineNos.size() < kBadLinesNamed) r.badLineNos.push_back(r.lineNo);
    if (r.firstBadLine.empty()) r.firstBadLine = message;
}

template <typename Int>
Int ToNumber(std::string_view s) {
    std::string t = TrimBlanks(s);
    Int v{};
    auto [p, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (ec == std::errc::result_out_of_range) throw std::runtime_error("Overflow");
    if (ec != std::errc() || p != t.data() + t.size() || t.empty()) throw std::runtime_error("Type mismatch");
    return v;
}

// Files one note line (kind "I", "F"), continuing text longer than a note
// line holds on CONC lines so that nothing is cut. Returns false when the
// note table is full.
bool FileNoteText(const char* kind, int32_t owner, const std::string& tag, std::string_view text) {
    auto& r = Ged().GedRead;
    std::string lineTag = tag;
    for (const std::string& piece : CutNoteText(text)) {
        int32_t n = AddNotes();
        if (n == 0) {
            ++r.skippedNotes;
            return false;
        }
        NoteRec& N = g.Notes[n];
        N.nKind = kind;
        N.nOwner = owner;
        N.nTag = lineTag;
        N.nText = piece;
        // The length keeps trailing blanks, which the padded field gives back.
        N.nLen = static_cast<int16_t>(Utf8Length(piece));
        lineTag = "2 CONC";
    }
    return true;
}

// A note line of an individual ("I") or family ("F"); sub is the path below
// the record type (":NOTE", ":NOTE:CONT", ":NOTE:CONC").
void NoteLine(const char* kind, int32_t owner, std::string_view sub, FixedText<18>& noteXref,
              FixedText<1>& noteFlag, std::vector<GedReader::GedPending>& pointers) {
    const std::string& value = Ged().GedValue;
    bool& opening = Ged().GedRead.noteOpening;
    std::string tag;
    if (sub == ":NOTE") {
        // A NOTE line that files no text leaves its continuations to open a
        // note, as a save writes them.
        opening = true;
        if (Ged().GedValueIsPointer) {  // its text comes once all records are read
            noteXref = value;
            pointers.push_back({owner, value});
            return;
        }
        if (!value.empty() && value.front() == '@') {
            noteXref = value;
            return;
        }
        // A blank NOTE line files nothing; its first continuation with text
        // opens the note, so that it does not run on into the note before.
        if (value.empty()) return;
        tag = "1 NOTE";
    } else if (sub == ":NOTE:CONT") {
        tag = "2 CONT";
    } else if (sub == ":NOTE:CONC") {
        tag = "2 CONC";
    } else {
        return;
    }
    if (opening) {
        // A note never starts with a blank line.
        if (value.empty()) return;
        tag = "1 NOTE";
        opening = false;
    }
    if (FileNoteText(kind, owner, tag, Ged().GedRawValue)) noteFlag = "Y";
}

void SetIfNonBlank(auto& field, const std::string& value) {
    if (!TrimBlanks(value).empty()) field = value;
}

bool EventPath(std::string_view path, std::initializer_list<std::string_view> prefixes) {
    for (auto p : prefixes)
        if (StartsWith(path, p)) return true;
    return false;
}

// The pieces of a NAME value between its slashes, each trimmed, joined by blanks.
std::string JoinedName(std::string_view value) {
    std::string joined;
    for (std::size_t start = 0;;) {
        std::size_t slash = value.find('/', start);
        std::string piece = TrimBlanks(value.substr(start, slash == std::string::npos ? slash : slash - start));
        if (!piece.empty()) joined += piece + " ";
        if (slash == std::string::npos) break;
        start = slash + 1;
    }
    return joined;
}

// The display name and key follow the stored parts, as a save writes them
// ("given /surname/suffix", a slash inside a part as a blank) and a reload
// reads them: the first load and the reload of its save then agree.
void SettleName(IndivRec& R) {
    auto part = [](const auto& field) {
        std::string p = field.value();
        std::replace(p.begin(), p.end(), '/', ' ');
        return p;
    };
    R.iName = JoinedName(part(R.iGivn) + "/" + part(R.iSurn) + "/" + part(R.iSuffix));
    R.iNameKey = NameKeyOf(R.iGivn.value(), R.iSurn.value());
}

void StoreName(IndivRec& R, const std::string& value) {
    auto& r = Ged().GedRead;
    const std::string joined = JoinedName(value);
    NameParts np = ParseNameParts(TrimBlanks(joined));
    R.iSurn = np.surname;
    R.iGivn = np.given;
    R.iPrefix = np.prefix;
    R.iSuffix = np.suffix;
    if (!r.titleFromLine) R.iTitle = np.title;
    R.iNick = np.nickname;
    R.iNameKey = np.key;
    r.namePartLines = false;
    r.nameAfterSlashes.clear();
    // The slashes say which words are the surname ("Mary /Van Dyke/"), also
    // that there is none ("Albert Augustus //"); they win over the guess
    // from the word order, and what follows them is the suffix. Where they
    // decide, the words before them are the given names, whole: no suffix,
    // rank, nickname or title is guessed from them.
    const std::size_t open = value.find('/');
    const std::size_t close = open == std::string::npos ? open : value.find('/', open + 1);
    if (close != std::string::npos) {
        const std::string surname = TrimBlanks(value.substr(open + 1, close - open - 1));
        if (surname != R.iSurn.trimmed()) {
            R.iSurn = surname;
            R.iGivn = TrimBlanks(value.substr(0, open));
            R.iSuffix.clear();
            R.iPrefix.clear();
            R.iNick.clear();
            if (!r.titleFromLine) R.iTitle.clear();
        }
        r.nameAfterSlashes = TrimBlanks(value.substr(close + 1));
        if (R.iSuffix.blank() && UpperCase(R.iTitle.trimmed()) != UpperCase(r.nameAfterSlashes))
            R.iSuffix = r.nameAfterSlashes;
    }
    SettleName(R);
}

// A GIVN, SURN, NICK, NPFX or NSFX line: the file names the parts itself,
// so the guesses from the NAME line's words give way to them.
void NamePartLine(IndivRec& R) {
    auto& r = Ged().GedRead;
    if (r.namePartLines) return;
    r.namePartLines = true;
    R.iNick.clear();
    R.iPrefix.clear();
    if (!r.titleFromLine) R.iTitle.clear();
    R.iSuffix = r.nameAfterSlashes;
    SettleName(R);
}

}  // namespace

void BeginGedRead(GedReader& reader) {
    reader = GedReader{};
    current = &reader;
}

void EndGedRead() { current = nullptr; }

int32_t FindXrefIndiv(const std::string& xref) {
    const std::string key = TrimBlanks(xref);
    if (key.empty()) return 0;  // a blank pointer names nobody
    auto it = Ged().GedRead.xrefIndex.find(key);
    if (it == Ged().GedRead.xrefIndex.end()) return 0;
    return Ged().XrefMap[it->second].xIndiv;
}

void ParseGedRec(const std::string& line, int32_t lineNo) {
    auto& r = Ged().GedRead;
    r.lineNo = lineNo;
    try {
        std::string_view s(line);
        std::size_t p = 0;
        while (p < s.size() && IsBlankChar(s[p])) ++p;
        if (p == s.size()) return;  // empty or only blanks
        std::size_t q = p;
        while (q < s.size() && q - p <= 2 && s[q] >= '0' && s[q] <= '9') ++q;
        if (q == p || q - p > 2 || (q < s.size() && !IsBlankChar(s[q])))
            throw std::runtime_error("not a GEDCOM line");
        int level = 0;  // one or two digits, checked above
        for (std::size_t k = p; k < q; ++k) level = level * 10 + (s[k] - '0');
        if (level > kMaxLevel) throw std::runtime_error("not a GEDCOM line");
        // A line more than one level deeper than the one before has no
        // parent; the missing levels stay empty, so its path matches nothing.
        Ged().GedTagStack.resize(static_cast<std::size_t>(level) + 1);
        std::size_t wordStart = 0;
        std::size_t afterWord = SkipWord(s, q, &wordStart);
        std::string_view word = s.substr(wordStart, afterWord - wordStart);
        if (level == 0) {
            // The record type is the word after the pointer, if there is one.
            std::string_view type = word;
            if (IsPointer(word) || (!word.empty() && word.front() == '@')) {
                std::size_t typeStart = 0;
                std::size_t afterType = SkipWord(s, afterWord, &typeStart);
                type = s.substr(typeStart, afterType - typeStart);
                afterWord = afterType;
            }
            Ged().GedTagStack[0].assign(type);
            r.skipRecord = false;
        } else {
            if (IsPointer(word)) {  // a pointer before the tag
                std::size_t tagStart = 0;
                std::size_t afterTag = SkipWord(s, afterWord, &tagStart);
                word = s.substr(tagStart, afterTag - tagStart);
            }
            Ged().GedTagStack[level].assign(word);
        }
        std::string& path = Ged().GedTagPath;  // rebuilt in place, its buffer kept
        path.clear();
        for (std::size_t i = 0; i < Ged().GedTagStack.size(); ++i) {
            if (i) path += ':';
            path += Ged().GedTagStack[i];
        }
        GetGedValue(line);
        LoadTables();
    } catch (const std::exception&) {
        BadLine("Problem parsing GedRec: " + TrimBlanks(line));
    }
}

void GetGedValue(const std::string& line) {
    std::string_view s(line);
    std::size_t levelEnd = SkipWord(s, 0);
    std::size_t wStart = 0;
    std::size_t wEnd = SkipWord(s, levelEnd, &wStart);
    std::string_view w = s.substr(wStart, wEnd - wStart);
    std::string_view level = s.substr(0, levelEnd);
    while (!level.empty() && level.front() == ' ') level.remove_prefix(1);
    const bool levelZero = level == "0";
    // Both values are assigned in place, keeping their buffers from line to line.
    std::string& raw = Ged().GedRawValue;
    Ged().GedValueIsPointer = false;
    if (IsPointer(w)) {
        Ged().GedValue.assign(w.substr(1, w.size() - 2));
        Ged().GedValueIsPointer = true;
        // Text after the record type of a level-0 line (a NOTE record's first line).
        std::size_t afterType = SkipWord(s, wEnd);
        raw.assign(afterType < s.size() ? s.substr(afterType + 1) : std::string_view());
        return;
    }
    raw.assign(wEnd < s.size() ? s.substr(wEnd + 1) : std::string_view());  // after one blank
    std::string_view v = raw;
    while (!v.empty() && v.front() == ' ') v.remove_prefix(1);
    while (!v.empty() && v.back() == ' ') v.remove_suffix(1);
    if (IsPointer(v) && v.find(' ') == std::string_view::npos && !levelZero && PointerTag(w)) {
        v = v.substr(1, v.size() - 2);
        Ged().GedValueIsPointer = true;
    }
    Ged().GedValue.assign(v);
}

void LoadTables() {
    try {
        if (Ged().GedRead.skipRecord || Ged().GedTagStack.empty()) return;
        const std::string& type = Ged().GedTagStack[0];
        if (type == "INDI") ProcessINDI();
        else if (type == "FAM") ProcessFAM();
        else if (type == "SOUR") ProcessSOUR();
        else if (type == "REPO") ProcessREPO();
        else if (type == "NOTE") ProcessNOTE();
        // HEAD (its FILE never names the program's own file; CHAR is read
        // before the lines), SUBM, SUBN, TRLR and other records: nothing.
    } catch (const std::exception& e) {
        BadLine("Problem loading GedCom table (LoadTables): " + Ged().GedTagPath + "\n" + e.what());
    }
}

void ProcessINDI() {
    auto& r = Ged().GedRead;
    const std::string_view path = Ged().GedTagPath;  // compared by length first
    const std::string& value = Ged().GedValue;
    try {
        if (path == "INDI") {
            int32_t i = AddIndiv();
            r.curIndiv = i;
            if (i == 0) {
                r.skipRecord = true;
                ++r.skippedIndivs;
                return;
            }
            g.Indiv[i].iXref = value;
            r.namePartLines = r.titleFromLine = r.noteOpening = false;
            r.nameAfterSlashes.clear();
            Ged().XrefMap.push_back({TrimBlanks(value), i});
            Ged().XrefCount = static_cast<int32_t>(Ged().XrefMap.size()) - 1;
            if (!TrimBlanks(value).empty()) r.xrefIndex.emplace(TrimBlanks(value), Ged().XrefCount);
            return;
        }
        const int32_t i = r.curIndiv;
        if (i <= 0 || i > g.IndivCount) return;
        IndivRec& R = g.Indiv[i];
        if (path == "INDI:NAME") StoreName(R, value);
        else if (path == "INDI:TITL" || path == "INDI:NAME:TITL") {
            SetIfNonBlank(R.iTitle, value);
            r.titleFromLine = r.titleFromLine || !value.empty();
        } else if (path == "INDI:NAME:NPFX") {
            NamePartLine(R);
            SetIfNonBlank(R.iPrefix, value);
        } else if (path == "INDI:NAME:NSFX") {
            NamePartLine(R);
            SetIfNonBlank(R.iSuffix, value);
            SettleName(R);
        } else if (path == "INDI:NAME:NICK") {
            NamePartLine(R);
            SetIfNonBlank(R.iNick, value);
        } else if (path == "INDI:NAME:GIVN" || path == "INDI:NAME:SURN") {
            // Also when blank: a blank SURN line says there is no surname.
            NamePartLine(R);
            FixedText<120>& part = path == "INDI:NAME:GIVN" ? R.iGivn : R.iSurn;
            part = value;
            SettleName(R);
        }
        else if (path == "INDI:NAME:_EXT") R.iExt = value;
        else if (path == "INDI:_GID") R.iGenID = value;
        else if (path == "INDI:SEX") R.iSex = value;
        else if (path == "INDI:CDP2") {
            std::size_t dash = value.find('-');
            R.iCDno = ToNumber<int16_t>(value.substr(0, dash));
            if (dash == std::string::npos) throw std::runtime_error("Subscript out of range");
            R.iPIDno = ToNumber<int32_t>(value.substr(dash + 1));
        } else if (path == "INDI:SUBN") R.iSubmNo = value;
        else if (StartsWith(path, "INDI:NOTE")) {
            NoteLine("I", i, path.substr(4), R.iNoteXref, R.iNoteFlg, r.indivNotePtrs);
        } else if (path == "INDI:AFN") R.iAFN = value;
        else if (path == "INDI:FAMC") R.iFamcXref = value;
        else if (path == "INDI:FAMS") {
            if (R.iFamsCount < INT16_MAX) ++R.iFamsCount;
        } else if (path == "INDI:SOUR") R.iSourXref = value;
        // The change stamp is the record's own; a reload keeps it.
        else if (path == "INDI:CHAN:DATE") SetIfNonBlank(R.iChanDate, value);
        else if (path == "INDI:CHAN:DATE:TIME") SetIfNonBlank(R.iChanTime, value);

        if (EventPath(path, {"INDI:BIR", "INDI:DEA", "INDI:CHR", "INDI:EVE", "INDI:BUR", "INDI:BAP",
                             "INDI:IMM", "INDI:EMI"}))
            ProcessEvent("I");
    } catch (const std::exception& e) {
        BadLine("Problem processing Indiv (ProcessINDI): \n" + Ged().GedTagPath + ": " + value + "\n" + e.what());
    }
}

void ProcessFAM() {
    auto& r = Ged().GedRead;
    const std::string_view path = Ged().GedTagPath;  // compared by length first
    const std::string& value = Ged().GedValue;
    try {
        if (path == "FAM") {
            int32_t f = AddFamil();
            r.curFamil = f;
            if (f == 0) {
                r.skipRecord = true;
                ++r.skippedFamils;
                return;
            }
            g.Famil[f].fXref = value;
            r.noteOpening = false;
            return;
        }
        const int32_t f = r.curFamil;
        if (f <= 0 || f > g.FamilCount) return;
        FamilRec& F = g.Famil[f];
        if (path == "FAM:HUSB") {
            F.fHusbXref = value;
            int32_t i = FindXrefIndiv(value);
            if (i != F.fWife) F.fHusb = i;  // never the same person as the wife
        } else if (path == "FAM:WIFE") {
            F.fWifeXref = value;
            int32_t i = FindXrefIndiv(value);
            if (i != F.fHusb) F.fWife = i;
        } else if (path == "FAM:CHIL") {
            if (F.fChilCount < INT16_MAX) ++F.fChilCount;
            r.children.push_back({f, value});
        } else if (path == "FAM:SOUR") F.fSourXref = value;
        else if (StartsWith(path, "FAM:NOTE")) {
            NoteLine("F", f, path.substr(3), F.fNoteXref, F.fNoteFlg, r.familNotePtrs);
        }
        if (EventPath(path, {"FAM:MAR", "FAM:DIV", "FAM:EVE", "FAM:ANU"})) ProcessEvent("F");
    } catch (const std::exception& e) {
        BadLine("Problem processing Family (ProcessFAM): \n" + Ged().GedTagPath + ": " + value + "\n" + e.what());
    }
}

void ProcessEvent(const std::string& ownerKind) {
    (void)ownerKind;  // the field follows from the path alone
    const std::string_view path = Ged().GedTagPath;  // compared by length first
    try {
        const std::string& v = Ged().GedValue;
        const auto& r = Ged().GedRead;
        if (StartsWith(path, "INDI:")) {
            if (r.curIndiv <= 0 || r.curIndiv > g.IndivCount) return;
            IndivRec& R = g.Indiv[r.curIndiv];
            if (path == "INDI:BIRT:DATE") R.ibDate = v;
            else if (path == "INDI:BIRT:PLAC") R.ibPlace = v;
            else if (path == "INDI:CHR:DATE") R.icDate = v;
            else if (path == "INDI:CHR:PLAC") R.icPlace = v;
            else if (path == "INDI:DEAT:DATE") R.idDate = v;
            else if (path == "INDI:DEAT:PLAC") R.idPlace = v;
            else if (path == "INDI:BURI:DATE") R.iblDate = v;
            else if (path == "INDI:BURI:PLAC") R.iblPlace = v;
        } else if (StartsWith(path, "FAM:")) {
            if (r.curFamil <= 0 || r.curFamil > g.FamilCount) return;
            FamilRec& F = g.Famil[r.curFamil];
            if (path == "FAM:MARR:DATE") F.fmDate = v;
            else if (path == "FAM:MARR:PLAC") F.fmPlace = v;
        }
    } catch (const std::exception& e) {
        BadLine("Problem loading GedCom table (ProcessEvent): " + Ged().GedTagPath + "\n" + e.what());
    }
}

void ProcessNOTE() {
    auto& r = Ged().GedRead;
    const std::string& path = Ged().GedTagPath;
    try {
        if (path == "NOTE") {
            Ged().GedNoteXref = Ged().GedValue;
            // The record's first line of text stands on its level-0 line.
            auto& lines = r.noteRecords[Ged().GedNoteXref];
            lines.clear();
            lines.push_back({"1 NOTE", Ged().GedRawValue});
        } else if (path == "NOTE:CONT" || path == "NOTE:CONC") {
            auto it = r.noteRecords.find(Ged().GedNoteXref);
            if (it == r.noteRecords.end()) return;
            it->second.push_back({path == "NOTE:CONT" ? "2 CONT" : "2 CONC", Ged().GedRawValue});
        }
    } catch (const std::exception& e) {
        BadLine("Problem processing Notes (ProcessNOTE): " + path + ": " + Ged().GedValue + "\n" + e.what());
    }
}

void ProcessSOUR() {
    auto& r = Ged().GedRead;
    const std::string& path = Ged().GedTagPath;
    const std::string& value = Ged().GedValue;
    try {
        if (path == "SOUR") {
            int32_t s = AddGedSource();
            r.curSource = static_cast<int16_t>(s);
            if (s == 0) {
                r.skipRecord = true;
                return;
            }
            g.GedSource[s].sXref = value;
            return;
        }
        const int16_t s = r.curSource;
        if (s <= 0 || s > g.GedSourceCount) return;
        SourceRec& S = g.GedSource[s];
        if (path == "SOUR:TITL") S.sTitle = value;
        else if (path == "SOUR:AUTH") S.sAuthor = value;
        else if (path == "SOUR:PUBL") S.sPublish = value;
        else if (path == "SOUR:ABBR") S.sAbbr = value;
        else if (path == "SOUR:REPO") S.sReposXref = value;
        // Long texts go on over CONC and CONT lines; the field keeps what it holds.
        if (path == "SOUR:TITL" || path == "SOUR:AUTH" || path == "SOUR:PUBL") {
            r.sourceText = Ged().GedRawValue;
        } else if (path.size() > 10 && (path.ends_with(":CONC") || path.ends_with(":CONT"))) {
            const std::string field = path.substr(0, path.size() - 5);
            FixedText<120>* target = field == "SOUR:TITL"   ? &S.sTitle
                                     : field == "SOUR:AUTH" ? &S.sAuthor
                                     : field == "SOUR:PUBL" ? &S.sPublish
                                                            : nullptr;
            if (!target) return;
            if (r.sourceText.size() < kSourceTextWidth)
                r.sourceText += (path.ends_with(":CONT") ? " " : "") + Ged().GedRawValue;
            *target = TrimBlanks(r.sourceText);
        }
    } catch (const std::exception& e) {
        BadLine("Problem processing Sources (ProcessSOUR): " + path + ": " + value + "\n" + e.what());
    }
}

void ProcessREPO() {
    auto& r = Ged().GedRead;
    const std::string& path = Ged().GedTagPath;
    const std::string& value = Ged().GedValue;
    try {
        if (path == "REPO") {
            int32_t n = AddGedRepository();
            r.curRepos = static_cast<int16_t>(n);
            if (n == 0) {
                r.skipRecord = true;
                return;
            }
            g.GedRepository[n].rXref = value;
            return;
        }
        const int16_t n = r.curRepos;
        if (n <= 0 || n > g.GedRepositoryCount) return;
        ReposRec& R = g.GedRepository[n];
        if (path == "REPO:NAME") R.rName = value;
        else if (path == "REPO:ADDR") R.rAddr = value;
        else if (path == "REPO:CONT") R.rCont = value;
        // The address continuation as GEDCOM places it, below ADDR; the first one counts.
        else if (path == "REPO:ADDR:CONT" && R.rCont.blank()) R.rCont = value;
    } catch (const std::exception& e) {
        BadLine("Problem processing Repository (ProcessREPO): \n" + path + ": " + value + "\n" + e.what());
    }
}

void ResolveGedLinks() {
    auto& r = Ged().GedRead;
    // Spouses named before their own INDI records.
    for (int32_t f = 1; f <= g.FamilCount; ++f) {
        FamilRec& F = g.Famil[f];
        if (F.fHusb == 0 && !F.fHusbXref.blank()) {
            int32_t i = FindXrefIndiv(F.fHusbXref.value());
            if (i != F.fWife) F.fHusb = i;
        }
        if (F.fWife == 0 && !F.fWifeXref.blank()) {
            int32_t i = FindXrefIndiv(F.fWifeXref.value());
            if (i != F.fHusb) F.fWife = i;
        }
    }
    // Family as child: the child's own FAMC line first, else the family's CHIL line.
    std::unordered_map<std::string, int32_t> famByXref;
    for (int32_t f = 1; f <= g.FamilCount; ++f) {
        std::string x = g.Famil[f].fXref.trimmed();
        if (!x.empty()) famByXref.emplace(x, f);
    }
    for (int32_t i = 1; i <= g.IndivCount; ++i) {
        IndivRec& R = g.Indiv[i];
        if (R.iFamcXref.blank()) continue;
        auto it = famByXref.find(R.iFamcXref.trimmed());
        // Nobody is a child of his own marriage.
        if (it != famByXref.end() && g.Famil[it->second].fHusb != i && g.Famil[it->second].fWife != i)
            R.iFamc = g.Famil[it->second].fRIN;
    }
    for (const auto& c : r.children) {
        int32_t i = FindXrefIndiv(c.xref);
        if (i > 0 && g.Indiv[i].iFamc == 0 &&
            i != g.Famil[c.record].fHusb && i != g.Famil[c.record].fWife)
            g.Indiv[i].iFamc = c.record;
    }
    // Note pointers bring the text of the note record.
    auto bring = [&](const char* kind, const std::vector<GedReader::GedPending>& ptrs, auto flag) {
        for (const auto& p : ptrs) {
            auto it = r.noteRecords.find(p.xref);
            if (it == r.noteRecords.end()) continue;
            bool any = false, opening = false;
            for (const auto& line : it->second) {
                // As in a record: blank lines before the text file nothing.
                std::string tag = line.tag;
                if (tag == "1 NOTE") opening = true;
                if (opening) {
                    if (TrimBlanks(line.text).empty()) continue;
                    tag = "1 NOTE";
                }
                opening = false;
                any = FileNoteText(kind, p.record, tag, line.text) || any;
            }
            if (any) flag(p.record);
        }
    };
    bring("I", r.indivNotePtrs, [](int32_t i) { g.Indiv[i].iNoteFlg = "Y"; });
    bring("F", r.familNotePtrs, [](int32_t f) { g.Famil[f].fNoteFlg = "Y"; });
}

}  // namespace lintora
