#include "files/gedcom_reader.h"

#include <algorithm>
#include <charconv>
#include <exception>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string_view>

#include "files/gedcom_names.h"
#include "files/text_lines.h"
#include "record_store/fixed_text.h"
#include "record_store/program_state.h"
#include "record_store/tables.h"
#include "record_store/text_routines.h"

namespace lintora {

namespace {

// The state of the read in progress; a spare one between loads.
GedReader* current = nullptr;

[[gnu::noinline]] GedReader& SpareReader() {
    static GedReader spare;
    return spare;
}

// Asked many times a line: kept inline, the spare's start guard out of its way.
inline GedReader& Ged() { return current ? *current : SpareReader(); }

// GEDCOM allows levels up to 99; anything deeper is not a GEDCOM line.
constexpr int kMaxLevel = 99;
// Line numbers named in the bad-line report.
constexpr std::size_t kBadLinesNamed = 5;
// Characters a source field gathers from its CONC and CONT lines.
constexpr std::size_t kSourceTextWidth = 4 * kNoteLineWidth;

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

// The tags the reader acts on, as codes: a line's path is dispatched on
// one number rather than on its tags joined as text.
enum Tag : uint8_t {
    kNoTag,  // a level the file skipped
    kOtherTag,
    kINDI, kFAM, kSOUR, kREPO, kNOTE, kNAME, kTITL, kNPFX, kNSFX, kNICK, kGIVN, kSURN, kEXT, kGID,
    kSEX, kCDP2, kSUBN, kAFN, kFAMC, kFAMS, kCHAN, kDATE, kTIME, kBIRT, kCHR, kDEAT, kBURI, kPLAC,
    kHUSB, kWIFE, kCHIL, kMARR, kCONT, kCONC, kAUTH, kPUBL, kABBR, kADDR, kSPFX, kDSP,
};

// The text of each known tag, by code.
constexpr std::string_view kTagText[] = {
    "", "", "INDI", "FAM", "SOUR", "REPO", "NOTE", "NAME", "TITL", "NPFX", "NSFX", "NICK", "GIVN", "SURN", "_EXT",
    "_GID", "SEX", "CDP2", "SUBN", "AFN", "FAMC", "FAMS", "CHAN", "DATE", "TIME", "BIRT", "CHR", "DEAT", "BURI",
    "PLAC", "HUSB", "WIFE", "CHIL", "MARR", "CONT", "CONC", "AUTH", "PUBL", "ABBR", "ADDR", "SPFX", "_DSP",
};
static_assert(std::size(kTagText) == kDSP + 1);

constexpr uint32_t Packed(std::string_view w) {
    uint32_t v = 0;
    for (char c : w) v = (v << 8) | static_cast<unsigned char>(c);
    return v;
}

Tag TagCode(std::string_view w) {
    if (w.empty()) return kNoTag;
    if (w.size() > 4) return kOtherTag;
    switch (Packed(w)) {
        case Packed("INDI"): return kINDI;
        case Packed("FAM"): return kFAM;
        case Packed("SOUR"): return kSOUR;
        case Packed("REPO"): return kREPO;
        case Packed("NOTE"): return kNOTE;
        case Packed("NAME"): return kNAME;
        case Packed("TITL"): return kTITL;
        case Packed("NPFX"): return kNPFX;
        case Packed("NSFX"): return kNSFX;
        case Packed("NICK"): return kNICK;
        case Packed("GIVN"): return kGIVN;
        case Packed("SURN"): return kSURN;
        case Packed("_EXT"): return kEXT;
        case Packed("_GID"): return kGID;
        case Packed("SEX"): return kSEX;
        case Packed("CDP2"): return kCDP2;
        case Packed("SUBN"): return kSUBN;
        case Packed("AFN"): return kAFN;
        case Packed("FAMC"): return kFAMC;
        case Packed("FAMS"): return kFAMS;
        case Packed("CHAN"): return kCHAN;
        case Packed("DATE"): return kDATE;
        case Packed("TIME"): return kTIME;
        case Packed("BIRT"): return kBIRT;
        case Packed("CHR"): return kCHR;
        case Packed("DEAT"): return kDEAT;
        case Packed("BURI"): return kBURI;
        case Packed("PLAC"): return kPLAC;
        case Packed("HUSB"): return kHUSB;
        case Packed("WIFE"): return kWIFE;
        case Packed("CHIL"): return kCHIL;
        case Packed("MARR"): return kMARR;
        case Packed("CONT"): return kCONT;
        case Packed("CONC"): return kCONC;
        case Packed("AUTH"): return kAUTH;
        case Packed("PUBL"): return kPUBL;
        case Packed("ABBR"): return kABBR;
        case Packed("ADDR"): return kADDR;
        case Packed("SPFX"): return kSPFX;
        case Packed("_DSP"): return kDSP;
        default: return kOtherTag;
    }
}

// Paths of up to four levels: the depth, then a code per level. A deeper
// path matches none of them.
constexpr int kPathLevels = 4;

template <typename... Tags>
constexpr uint64_t P(Tags... tags) {
    uint64_t v = 0;
    int n = 0;
    ((v |= static_cast<uint64_t>(tags) << (8 * n++)), ...);
    return v | static_cast<uint64_t>(sizeof...(tags)) << 32;
}

uint64_t PathOf(const std::vector<uint8_t>& codes) {
    if (codes.size() > kPathLevels) return uint64_t{codes.size()} << 32;
    uint64_t v = 0;
    for (std::size_t i = 0; i < codes.size(); ++i) v |= static_cast<uint64_t>(codes[i]) << (8 * i);
    return v | uint64_t{codes.size()} << 32;
}

// The path below its first levels: the same path with only those tags.
uint64_t Under(uint64_t path, int levels) {
    const uint64_t mask = (uint64_t{1} << (8 * levels)) - 1;
    return (path & mask) | uint64_t{static_cast<uint64_t>(levels)} << 32;
}
int Depth(uint64_t path) { return static_cast<int>(path >> 32); }
Tag TagAt(uint64_t path, int level) {
    return level < Depth(path) && level < kPathLevels ? static_cast<Tag>((path >> (8 * level)) & 0xFF) : kNoTag;
}

// The path as the file spells it, for the bad-line report.
std::string TagPath() {
    std::string path;
    for (std::size_t i = 0; i < Ged().GedTagCodes.size(); ++i) {
        if (i) path += ':';
        const uint8_t code = Ged().GedTagCodes[i];
        path += code == kOtherTag ? std::string_view(Ged().GedTagStack[i]) : kTagText[code];
    }
    return path;
}

// Level's tag: its code, and its text when it has no code of its own.
void SetTag(std::size_t level, std::string_view tag) {
    const Tag code = TagCode(tag);
    Ged().GedTagCodes[level] = code;
    if (code == kOtherTag) Ged().GedTagStack[level].assign(tag);
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
        // A note opens at its text, as a save writes it: a whole line of
        // blanks before the text would be dropped there.
        if (lineTag == "1 NOTE" && TrimBlanks(piece).empty()) continue;
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

// A note line of an individual ("I") or family ("F"); path is its whole
// path (record type, NOTE, then CONT or CONC).
void NoteLine(const char* kind, int32_t owner, uint64_t path, FixedText<18>& noteXref,
              FixedText<1>& noteFlag, std::vector<GedReader::GedPending>& pointers) {
    const Tag type = TagAt(path, 0);
    const std::string& value = Ged().GedValue;
    bool& opening = Ged().GedRead.noteOpening;
    std::string tag;
    if (path == P(type, kNOTE)) {
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
    } else if (path == P(type, kNOTE, kCONT)) {
        tag = "2 CONT";
    } else if (path == P(type, kNOTE, kCONC)) {
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

// The part of the name a line gives: a title, or a line below NAME.
std::optional<NamePart> NamePartOf(uint64_t path) {
    if (path == P(kINDI, kTITL)) return NamePart::Title;
    if (Depth(path) != 3 || Under(path, 2) != P(kINDI, kNAME)) return std::nullopt;
    switch (TagAt(path, 2)) {
        case kTITL: return NamePart::Title;
        case kNPFX: return NamePart::Prefix;
        case kNSFX: return NamePart::Suffix;
        case kNICK: return NamePart::Nick;
        case kGIVN: return NamePart::Given;
        case kSURN: return NamePart::Surname;
        case kSPFX: return NamePart::SurnamePrefix;
        case kDSP: return NamePart::Shown;
        default: return std::nullopt;
    }
}

void ValueAfterLevel(std::string_view s, std::size_t levelEnd);

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

void ParseGedRec(std::string_view line, int32_t lineNo) {
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
        // The tag texts only grow: a text is read only where its level's code says so.
        if (Ged().GedTagStack.size() <= static_cast<std::size_t>(level))
            Ged().GedTagStack.resize(static_cast<std::size_t>(level) + 1);
        Ged().GedTagCodes.resize(static_cast<std::size_t>(level) + 1);
        std::size_t wordStart = 0;
        std::size_t afterWord = SkipWord(s, q, &wordStart);
        std::string_view word = s.substr(wordStart, afterWord - wordStart);
        if (level == 0) {
            EndGedLines();  // the record before is whole
            // The record type is the word after the pointer, if there is one.
            std::string_view type = word;
            if (IsPointer(word) || (!word.empty() && word.front() == '@')) {
                std::size_t typeStart = 0;
                std::size_t afterType = SkipWord(s, afterWord, &typeStart);
                type = s.substr(typeStart, afterType - typeStart);
                afterWord = afterType;
            }
            SetTag(0, type);
            r.skipRecord = false;
        } else {
            if (IsPointer(word)) {  // a pointer before the tag
                std::size_t tagStart = 0;
                std::size_t afterTag = SkipWord(s, afterWord, &tagStart);
                word = s.substr(tagStart, afterTag - tagStart);
            }
            SetTag(static_cast<std::size_t>(level), word);
        }
        Ged().GedPath = PathOf(Ged().GedTagCodes);
        ValueAfterLevel(s, q);  // the level word ends where its digits do
        LoadTables();
    } catch (const std::exception&) {
        BadLine("Problem parsing GedRec: " + TrimBlanks(line));
    }
}

namespace {

// Whether the level word that ends at levelEnd reads "0".
bool LevelZero(std::string_view s, std::size_t levelEnd) {
    std::string_view level = s.substr(0, levelEnd);
    while (!level.empty() && level.front() == ' ') level.remove_prefix(1);
    return level == "0";
}

// Text put in a buffer kept from line to line (an append into room held
// costs less than assign's general replace).
void Put(std::string& to, std::string_view text) {
    const std::less<const char*> before;
    if (!before(text.data(), to.data()) && !before(to.data() + to.size(), text.data())) {
        to.assign(text);  // a part of the buffer itself
        return;
    }
    to.clear();
    to.append(text);
}

// GetGedValue for a line whose level word ends at levelEnd.
void ValueAfterLevel(std::string_view s, std::size_t levelEnd) {
    std::size_t wStart = 0;
    std::size_t wEnd = SkipWord(s, levelEnd, &wStart);
    std::string_view w = s.substr(wStart, wEnd - wStart);
    const bool levelZero = LevelZero(s, levelEnd);
    // The value is assigned in place, keeping its buffer from line to line.
    std::string_view& raw = Ged().GedRawValue;
    Ged().GedValueIsPointer = false;
    if (IsPointer(w)) {
        Put(Ged().GedValue, w.substr(1, w.size() - 2));
        Ged().GedValueIsPointer = true;
        // Text after the record type of a level-0 line (a NOTE record's first line).
        std::size_t afterType = SkipWord(s, wEnd);
        raw = afterType < s.size() ? s.substr(afterType + 1) : std::string_view();
        return;
    }
    // Read back from the local, not from the field just stored (a wide read
    // of two narrow stores stalls).
    const std::string_view afterTag = wEnd < s.size() ? s.substr(wEnd + 1) : std::string_view();  // after one blank
    raw = afterTag;
    std::string_view v = afterTag;
    while (!v.empty() && v.front() == ' ') v.remove_prefix(1);
    while (!v.empty() && v.back() == ' ') v.remove_suffix(1);
    if (IsPointer(v) && v.find(' ') == std::string_view::npos && !levelZero && PointerTag(w)) {
        v = v.substr(1, v.size() - 2);
        Ged().GedValueIsPointer = true;
    }
    Put(Ged().GedValue, v);
}

}  // namespace

void GetGedValue(std::string_view line) { ValueAfterLevel(line, SkipWord(line, 0)); }

void LoadTables() {
    try {
        if (Ged().GedRead.skipRecord || Ged().GedTagCodes.empty()) return;
        switch (Ged().GedTagCodes[0]) {
            case kINDI: ProcessINDI(); break;
            case kFAM: ProcessFAM(); break;
            case kSOUR: ProcessSOUR(); break;
            case kREPO: ProcessREPO(); break;
            case kNOTE: ProcessNOTE(); break;
            default: break;
        }
        // HEAD (its FILE never names the program's own file; CHAR is read
        // before the lines), SUBM, SUBN, TRLR and other records: nothing.
    } catch (const std::exception& e) {
        BadLine("Problem loading GedCom table (LoadTables): " + TagPath() + "\n" + e.what());
    }
}

void ProcessINDI() {
    auto& r = Ged().GedRead;
    const uint64_t path = Ged().GedPath;
    const std::string& value = Ged().GedValue;
    try {
        if (path == P(kINDI)) {
            int32_t i = AddIndiv();
            r.curIndiv = i;
            if (i == 0) {
                r.skipRecord = true;
                ++r.skippedIndivs;
                return;
            }
            g.Indiv[i].iXref = value;
            r.noteOpening = false;
            StartIndividualName(r.name);
            std::string key = TrimBlanks(value);
            Ged().XrefCount = static_cast<int32_t>(Ged().XrefMap.size());
            if (!key.empty()) r.xrefIndex.emplace(key, Ged().XrefCount);
            Ged().XrefMap.push_back({std::move(key), i});
            return;
        }
        const int32_t i = r.curIndiv;
        if (i <= 0 || i > g.IndivCount) return;
        IndivRec& R = g.Indiv[i];
        if (path == P(kINDI, kNAME)) ReadNameLine(r.name, R, value);
        else if (const auto part = NamePartOf(path)) ReadNamePart(r.name, R, *part, value);
        else if (path == P(kINDI, kNAME, kEXT)) R.iExt = value;
        else if (path == P(kINDI, kGID)) R.iGenID = value;
        else if (path == P(kINDI, kSEX)) R.iSex = value;
        else if (path == P(kINDI, kCDP2)) {
            std::size_t dash = value.find('-');
            R.iCDno = ToNumber<int16_t>(value.substr(0, dash));
            if (dash == std::string::npos) throw std::runtime_error("Subscript out of range");
            R.iPIDno = ToNumber<int32_t>(value.substr(dash + 1));
        } else if (path == P(kINDI, kSUBN)) R.iSubmNo = value;
        else if (TagAt(path, 1) == kNOTE) {
            NoteLine("I", i, path, R.iNoteXref, R.iNoteFlg, r.indivNotePtrs);
        } else if (path == P(kINDI, kAFN)) R.iAFN = value;
        else if (path == P(kINDI, kFAMC)) R.iFamcXref = value;
        else if (path == P(kINDI, kFAMS)) {
            if (R.iFamsCount < INT16_MAX) ++R.iFamsCount;
        } else if (path == P(kINDI, kSOUR)) R.iSourXref = value;
        // The change stamp is the record's own; a reload keeps it.
        else if (path == P(kINDI, kCHAN, kDATE)) SetIfNonBlank(R.iChanDate, value);
        else if (path == P(kINDI, kCHAN, kDATE, kTIME)) SetIfNonBlank(R.iChanTime, value);
        else if (Depth(path) == 3) ProcessEvent("I");
    } catch (const std::exception& e) {
        BadLine("Problem processing Indiv (ProcessINDI): \n" + TagPath() + ": " + value + "\n" + e.what());
    }
}

void ProcessFAM() {
    auto& r = Ged().GedRead;
    const uint64_t path = Ged().GedPath;
    const std::string& value = Ged().GedValue;
    try {
        if (path == P(kFAM)) {
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
        if (path == P(kFAM, kHUSB)) {
            F.fHusbXref = value;
            int32_t i = FindXrefIndiv(value);
            if (i != F.fWife) F.fHusb = i;  // never the same person as the wife
        } else if (path == P(kFAM, kWIFE)) {
            F.fWifeXref = value;
            int32_t i = FindXrefIndiv(value);
            if (i != F.fHusb) F.fWife = i;
        } else if (path == P(kFAM, kCHIL)) {
            if (F.fChilCount < INT16_MAX) ++F.fChilCount;
            r.children.push_back({f, value});
        } else if (path == P(kFAM, kSOUR)) F.fSourXref = value;
        else if (TagAt(path, 1) == kNOTE) {
            NoteLine("F", f, path, F.fNoteXref, F.fNoteFlg, r.familNotePtrs);
        } else if (Depth(path) == 3) ProcessEvent("F");
    } catch (const std::exception& e) {
        BadLine("Problem processing Family (ProcessFAM): \n" + TagPath() + ": " + value + "\n" + e.what());
    }
}

void ProcessEvent(const std::string& ownerKind) {
    (void)ownerKind;  // the field follows from the path alone
    const uint64_t path = Ged().GedPath;
    try {
        const std::string& v = Ged().GedValue;
        const auto& r = Ged().GedRead;
        if (TagAt(path, 0) == kINDI) {
            if (r.curIndiv <= 0 || r.curIndiv > g.IndivCount) return;
            IndivRec& R = g.Indiv[r.curIndiv];
            if (path == P(kINDI, kBIRT, kDATE)) R.ibDate = v;
            else if (path == P(kINDI, kBIRT, kPLAC)) R.ibPlace = v;
            else if (path == P(kINDI, kCHR, kDATE)) R.icDate = v;
            else if (path == P(kINDI, kCHR, kPLAC)) R.icPlace = v;
            else if (path == P(kINDI, kDEAT, kDATE)) R.idDate = v;
            else if (path == P(kINDI, kDEAT, kPLAC)) R.idPlace = v;
            else if (path == P(kINDI, kBURI, kDATE)) R.iblDate = v;
            else if (path == P(kINDI, kBURI, kPLAC)) R.iblPlace = v;
        } else if (TagAt(path, 0) == kFAM) {
            if (r.curFamil <= 0 || r.curFamil > g.FamilCount) return;
            FamilRec& F = g.Famil[r.curFamil];
            if (path == P(kFAM, kMARR, kDATE)) F.fmDate = v;
            else if (path == P(kFAM, kMARR, kPLAC)) F.fmPlace = v;
        }
    } catch (const std::exception& e) {
        BadLine("Problem loading GedCom table (ProcessEvent): " + TagPath() + "\n" + e.what());
    }
}

void ProcessNOTE() {
    auto& r = Ged().GedRead;
    const uint64_t path = Ged().GedPath;
    try {
        if (path == P(kNOTE)) {
            Ged().GedNoteXref = Ged().GedValue;
            // The record's first line of text stands on its level-0 line.
            auto& lines = r.noteRecords[Ged().GedNoteXref];
            lines.clear();
            lines.push_back({"1 NOTE", std::string(Ged().GedRawValue)});
        } else if (path == P(kNOTE, kCONT) || path == P(kNOTE, kCONC)) {
            auto it = r.noteRecords.find(Ged().GedNoteXref);
            if (it == r.noteRecords.end()) return;
            it->second.push_back({path == P(kNOTE, kCONT) ? "2 CONT" : "2 CONC", std::string(Ged().GedRawValue)});
        }
    } catch (const std::exception& e) {
        BadLine("Problem processing Notes (ProcessNOTE): " + TagPath() + ": " + Ged().GedValue + "\n" + e.what());
    }
}

void ProcessSOUR() {
    auto& r = Ged().GedRead;
    const uint64_t path = Ged().GedPath;
    const std::string& value = Ged().GedValue;
    try {
        if (path == P(kSOUR)) {
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
        if (path == P(kSOUR, kTITL)) S.sTitle = value;
        else if (path == P(kSOUR, kAUTH)) S.sAuthor = value;
        else if (path == P(kSOUR, kPUBL)) S.sPublish = value;
        else if (path == P(kSOUR, kABBR)) S.sAbbr = value;
        else if (path == P(kSOUR, kREPO)) S.sReposXref = value;
        // Long texts go on over CONC and CONT lines; the field keeps what it holds.
        const Tag last = TagAt(path, 2);
        if (path == P(kSOUR, kTITL) || path == P(kSOUR, kAUTH) || path == P(kSOUR, kPUBL)) {
            r.sourceText = Ged().GedRawValue;
        } else if (Depth(path) == 3 && (last == kCONC || last == kCONT)) {
            const uint64_t field = Under(path, 2);
            FixedText<120>* target = field == P(kSOUR, kTITL)   ? &S.sTitle
                                     : field == P(kSOUR, kAUTH) ? &S.sAuthor
                                     : field == P(kSOUR, kPUBL) ? &S.sPublish
                                                                : nullptr;
            if (!target) return;
            if (r.sourceText.size() < kSourceTextWidth) {
                if (last == kCONT) r.sourceText += ' ';
                r.sourceText += Ged().GedRawValue;
            }
            *target = TrimBlanks(r.sourceText);
        }
    } catch (const std::exception& e) {
        BadLine("Problem processing Sources (ProcessSOUR): " + TagPath() + ": " + value + "\n" + e.what());
    }
}

void ProcessREPO() {
    auto& r = Ged().GedRead;
    const uint64_t path = Ged().GedPath;
    const std::string& value = Ged().GedValue;
    try {
        if (path == P(kREPO)) {
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
        if (path == P(kREPO, kNAME)) R.rName = value;
        else if (path == P(kREPO, kADDR)) R.rAddr = value;
        else if (path == P(kREPO, kCONT)) R.rCont = value;
        // The address continuation as GEDCOM places it, below ADDR; the first one counts.
        else if (path == P(kREPO, kADDR, kCONT) && R.rCont.blank()) R.rCont = value;
    } catch (const std::exception& e) {
        BadLine("Problem processing Repository (ProcessREPO): \n" + TagPath() + ": " + value + "\n" + e.what());
    }
}

bool HeadedAsGedcom(const std::vector<std::string_view>& lines) {
    for (std::string_view line : lines) {
        const std::size_t at = line.find_first_not_of(" \t");
        if (at == std::string_view::npos) continue;
        line.remove_prefix(at);
        return line.starts_with("0 HEAD") && (line.size() == 6 || IsBlankChar(line[6]));
    }
    return false;
}

void EndGedLines() {
    auto& r = Ged().GedRead;
    if (r.curIndiv > 0 && r.curIndiv <= g.IndivCount) EndName(r.name, g.Indiv[r.curIndiv]);
    r.name.unsettled = false;
}

void ResolveGedLinks() {
    EndGedLines();
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
    famByXref.reserve(static_cast<std::size_t>(g.FamilCount));
    for (int32_t f = 1; f <= g.FamilCount; ++f) {
        std::string x = g.Famil[f].fXref.trimmed();
        if (!x.empty()) famByXref.emplace(std::move(x), f);
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
