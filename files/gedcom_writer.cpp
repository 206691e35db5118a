#include "files/gedcom_writer.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <string_view>
#include <unordered_map>

#include "files/charset.h"
#include "files/file_saving.h"
#include "files/gedcom_names.h"
#include "files/text_lines.h"
#include "lintora_version.h"
#include "platform/disk/file_reading.h"
#include "platform/platform.h"
#include "platform/disk/save_contents.h"
#include "record_store/program_state.h"
#include "platform/window_ports.h"

namespace lintora {

namespace {

// The maker's postal address in the header.
constexpr const char* kMakerAddress[] = {"Corvesta Software", "12 Harbour Lane", "Bristol BS1 4QA"};

// The header line of a GEDCOM file written in UTF-8.
constexpr std::string_view kCharUtf8 = "1 CHAR UTF-8";

// No control character reaches the file: line ends would break the line,
// and tabs and the rest are not text to other programs.
std::string OneLine(std::string s) {
    ControlsToBlanks(s);
    return s;
}

bool IsAscii(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// ASCII without control characters: text every file holds as it stands.
bool PlainAscii(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return b >= 0x20 && b < 0x80;
    });
}

class Writer {
public:
    Writer(FileKind kind, const std::string& filePath, bool progress)
        : filePath_(filePath), progress_(progress) {
        gedcom_ = kind == FileKind::Gedcom;
        // The work file keeps its citations whatever the export options say;
        // there every record gets one citation.
        citations_ = !gedcom_ || g.SourceCheck;
        perItem_ = gedcom_ && g.Option1 == 1;
        writeSources_ = !gedcom_ || g.SourceCheck;
    }

    std::vector<std::string> Build() {
        // Room for the lines of a usual record up front: growing the list
        // moves every line written so far.
        lines_.reserve(64 + 24 * static_cast<std::size_t>(std::max(0, g.IndivCount)) +
                       12 * static_cast<std::size_t>(std::max(0, g.FamilCount)) +
                       static_cast<std::size_t>(std::max(0, g.NotesCount)));
        Index();
        Write();
        // A GEDCOM file is in ANSEL when all it holds fits there. Else it is
        // written again, header first, in UTF-8, which loses no letter.
        if (Ansel() && !missing_.letter.empty()) {
            utf8_ = true;
            lines_.clear();
            Write();
        }
        return std::move(lines_);
    }

    // What made the file UTF-8; empty for a file in ANSEL.
    const NotInAnsel& Missing() const { return missing_; }

private:
    std::string filePath_;
    bool progress_;
    bool gedcom_ = true;
    bool citations_ = true;
    bool perItem_ = false;
    bool writeSources_ = true;
    bool utf8_ = false;  // a GEDCOM file in UTF-8
    NotInAnsel missing_;
    // The part of the file being written, to name where a letter ANSEL
    // lacks stands (record: the number of a record part).
    enum class Part { Header, Submitter, Individual, Family, Source, Repository };
    Part part_ = Part::Header;
    int32_t record_ = 0;
    std::vector<std::string> lines_;
    std::vector<std::vector<int32_t>> famsOf_, childrenOf_, indivNotes_, familNotes_;
    std::vector<bool> sourceWritten_;
    // How an ANSEL file holds field texts that need spelling.
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    static constexpr std::size_t kSpeltKept = 4096;
    std::unordered_map<std::string, AnselSpelling, TextHash, std::equal_to<>> spelt_;

    bool Ansel() const { return gedcom_ && !utf8_; }

    void Write() {
        if (gedcom_) {
            Header();
            if (g.PrepCheck) Submitter();
        }
        Individuals();
        Families();
        if (writeSources_) {
            Sources();
            Repositories();
        }
        Trailer();
    }

    // Every value is judged where it is made, so a line is taken as it is.
    void Line(std::string text) { lines_.push_back(OneLine(std::move(text))); }

    // The first letter that ANSEL would not give back makes the file UTF-8
    // and tells the user why (tooLong: its spelling would not fit its field).
    void NotKept(const std::string& letter, bool tooLong = false) {
        if (letter.empty() || !missing_.letter.empty()) return;
        missing_.letter = letter;
        missing_.where = Where();
        missing_.tooLong = tooLong;
    }

    // An ANSEL pass ends at the first letter that makes the file UTF-8.
    bool Decided() const { return Ansel() && !missing_.letter.empty(); }

    // Text as the user sees it: control characters are blanks, and blanks
    // at its ends go.
    static std::string Typed(std::string_view s) { return TrimBlanks(OneLine(std::string(s))); }

    // How an ANSEL file holds a text as the user sees it. Letters that are
    // their own ANSEL letters need nothing; the same names and places with
    // other letters come back record after record and are spelt once.
    const AnselSpelling* Spelling(const std::string& typed) {
        if (AnselGivesBack(typed)) return nullptr;
        if (auto it = spelt_.find(typed); it != spelt_.end()) return &it->second;
        if (spelt_.size() >= kSpeltKept) spelt_.clear();
        return &spelt_.emplace(typed, SpellInAnsel(typed)).first->second;
    }

    // A field's text as written: control characters are blanks, blanks at
    // its ends go, and in an ANSEL file letters ANSEL lacks are spelt as the
    // file will hold them. There, text that would not come back as a field
    // of width characters holds it makes the file UTF-8 (judge false: text
    // the file may not hold).
    std::string T(std::string_view s, std::size_t width = std::string::npos, bool judge = true) {
        if (PlainAscii(s)) return TrimBlanks(s);  // most fields
        std::string typed = Typed(s);
        if (!Ansel()) return typed;
        const AnselSpelling* spelt = Spelling(typed);
        if (!spelt) return typed;
        if (judge) NotKept(spelt->NotKept(width), spelt->TooLong(width));
        return spelt->text;
    }
    template <std::size_t N>
    std::string T(const FixedText<N>& f) { return T(f.value(), N); }

    // Text that goes out as it stands, not through T, is judged as a field is.
    void Judge(std::string_view s, std::size_t width = std::string::npos) {
        if (Ansel() && !PlainAscii(s)) (void)T(s, width);
    }

    // A person as the message names him: given names and surname.
    std::string PersonName(int32_t i) const {
        const std::string name = TrimBlanks(Typed(g.Indiv[i].iGivn.value()) + " " + Typed(g.Indiv[i].iSurn.value()));
        return name.empty() ? "individual " + std::to_string(i) : name;
    }

    // Where the part being written stands, in words.
    std::string Where() const {
        switch (part_) {
            case Part::Header: return "the name of the file";
            case Part::Submitter: return "the submitter record";
            case Part::Individual: return "the record of " + PersonName(record_);
            case Part::Family: {
                const FamilRec& f = g.Famil[record_];
                std::string partners;
                for (int32_t p : {f.fHusb, f.fWife})
                    if (IndivLive(p)) partners += (partners.empty() ? "" : " and ") + PersonName(p);
                return partners.empty() ? "a family record" : "the family of " + partners;
            }
            case Part::Source: return "the source \"" + Typed(g.Source[record_].sTitle.value()) + "\"";
            case Part::Repository: return "the repository \"" + Typed(g.Repository[record_].rName.value()) + "\"";
        }
        return {};
    }
    template <std::size_t N>
    bool Blank(const FixedText<N>& f) { return T(f).empty(); }
    bool NonBlank(const std::string& s) { return !T(s).empty(); }

    bool IndivLive(int32_t i) const { return i >= 1 && i <= g.IndivCount && g.Indiv[i].iTree != 99; }
    bool FamilLive(int32_t f) const { return f >= 1 && f <= g.FamilCount && g.Famil[f].fTree != 99; }

    // One pass over the tables instead of a scan per record.
    void Index() {
        famsOf_.assign(g.IndivCount + 1, {});
        childrenOf_.assign(g.FamilCount + 1, {});
        indivNotes_.assign(g.IndivCount + 1, {});
        familNotes_.assign(g.FamilCount + 1, {});
        for (int32_t f = 1; f <= g.FamilCount; ++f) {
            if (!FamilLive(f)) continue;
            const FamilRec& fam = g.Famil[f];
            if (IndivLive(fam.fHusb)) famsOf_[fam.fHusb].push_back(f);
            if (IndivLive(fam.fWife) && fam.fWife != fam.fHusb) famsOf_[fam.fWife].push_back(f);
        }
        for (int32_t i = 1; i <= g.IndivCount; ++i)
            if (IndivLive(i) && FamilLive(g.Indiv[i].iFamc)) childrenOf_[g.Indiv[i].iFamc].push_back(i);
        int32_t notes = std::min(g.NotesCount, kMaxNotes);
        for (int32_t n = 1; n <= notes; ++n) {
            const NoteRec& note = g.Notes[n];
            char kind = note.nKind.first();
            if (kind == 'I' && note.nOwner >= 1 && note.nOwner <= g.IndivCount)
                indivNotes_[note.nOwner].push_back(n);
            else if (kind == 'F' && note.nOwner >= 1 && note.nOwner <= g.FamilCount)
                familNotes_[note.nOwner].push_back(n);
        }
        // A source is written when it has citations, and also when a written
        // record cites it, so that every citation finds its record.
        sourceWritten_.assign(g.SourceCount + 1, false);
        for (int32_t s = 1; s <= g.SourceCount; ++s) sourceWritten_[s] = g.Source[s].sCitations > 0;
        if (citations_) {
            for (int32_t i = 1; i <= g.IndivCount; ++i)
                if (IndivLive(i) && SourceExists(g.Indiv[i].iSource)) sourceWritten_[g.Indiv[i].iSource] = true;
            for (int32_t f = 1; f <= g.FamilCount; ++f)
                if (FamilLive(f) && SourceExists(g.Famil[f].fSource)) sourceWritten_[g.Famil[f].fSource] = true;
        }
    }

    bool SourceExists(int32_t s) const { return s >= 1 && s <= g.SourceCount; }

    void Citation(int32_t source) {
        if (citations_ && SourceExists(source) && sourceWritten_[source])
            Line("1 SOUR @S" + std::to_string(source) + "@");
    }

    // The clock as a date and a time, spelt as record stamps are.
    static std::string DateText(const LocalTime& t) {
        int m = (t.month >= 1 && t.month <= 12) ? t.month - 1 : 12;
        return std::to_string(t.day) + " " + Months[m] + " " + std::to_string(t.year);
    }
    static std::string TimeText(const LocalTime& t) {
        return std::to_string(t.hour) + ":" + std::to_string(t.minute) + ":" + std::to_string(t.second);
    }

    void Header() {
        part_ = Part::Header;
        LocalTime t = Port().Now();
        Line("0 HEAD");
        Line("1 SOUR " + std::filesystem::path(kExeName).stem().string());
        Line("2 NAME Corvesta's Lintora");
        Line("2 VERS " + std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor));
        Line(std::string("2 CORP ") + kCompanyName);
        Line(std::string("3 ADDR ") + kMakerAddress[0]);
        Line(std::string("4 CONT ") + kMakerAddress[1]);
        Line(std::string("4 CONT ") + kMakerAddress[2]);
        Line("1 DEST Other");
        Line("1 DATE " + DateText(t));
        Line("2 TIME " + TimeText(t));
        Judge(filePath_);
        Line("1 FILE " + filePath_);
        Line("1 GEDC");
        // UTF-8 is a character set of GEDCOM 5.5.1.
        Line(utf8_ ? "2 VERS 5.5.1" : "2 VERS 5.5");
        Line("2 FORM LINEAGE-LINKED");
        Line(utf8_ ? std::string(kCharUtf8) : "1 CHAR ANSEL");
        Line("1 LANG English");
        if (g.PrepCheck) Line("1 SUBM @SUB1@");
    }

    void Submitter() {
        part_ = Part::Submitter;
        const auto& t = g.PrefText;
        Line("0 @SUB1@ SUBM");
        Line("1 NAME " + T(t[1]));
        // Address lines 1 to 5 and the country. The continuation and country
        // lines stand under an ADDR line, so the first non-blank address line
        // (or the country alone) opens it.
        std::vector<std::string> addr;
        for (int k = 2; k <= 6; ++k)
            if (NonBlank(t[k])) addr.push_back(t[k]);
        bool country = NonBlank(t[7]);
        if (!addr.empty() || country) {
            // NonBlank judged these lines, which go out as they stand.
            Line("1 ADDR " + (addr.empty() ? t[7] : addr[0]));
            for (std::size_t k = 1; k < addr.size(); ++k) Line("2 CONT " + addr[k]);
            if (country) Line("2 CTRY " + t[7]);
        }
        if (NonBlank(t[8])) Line("1 PHON " + t[8]);
        if (NonBlank(t[9])) Line("1 RFN " + t[9]);
        if (NonBlank(t[10])) Line("1 EMAIL " + t[10]);
    }

    void Event(const char* tag, const FixedText<100>& date, const FixedText<100>& place, int32_t source) {
        const std::string d = T(date), p = T(place);
        if (d.empty() && p.empty()) return;
        Line(std::string("1 ") + tag);
        if (!d.empty()) Line("2 DATE " + d);
        if (!p.empty()) Line("2 PLAC " + p);
        if (perItem_) Citation(source);
    }

    // Note lines of one owner. A note opens at its first line with text,
    // also when that is a continuation: a reader skips a blank note line, so
    // blank lines before the text are not written.
    void NoteLines(const std::vector<int32_t>& notes) {
        bool opening = true;
        for (int32_t n : notes) {
            const NoteRec& note = g.Notes[n];
            int len = std::max<int>(0, note.nLen);
            // The padded field gives back the trailing blanks a CONC join needs.
            std::string text = Utf8Left(note.nText.padded(), static_cast<std::size_t>(len));
            std::string tag = T(note.nTag);
            if (tag != "1 NOTE" && tag != "2 CONT" && tag != "2 CONC") tag = "2 CONT";
            if (tag == "1 NOTE") opening = true;
            // In an ANSEL file the line is spelt once, blanks at its ends
            // kept: cut after the conversion, where a letter ANSEL lacks may
            // grow into several, so that a reader finds every line as long
            // as a note line holds and keeps the pieces as written.
            std::string line = OneLine(std::move(text));
            std::string typed;  // the line before its spelling, where it has one
            if (Ansel() && !PlainAscii(line)) {
                AnselSpelling spelt = SpellInAnsel(line);
                NotKept(spelt.lost);
                typed = std::exchange(line, std::move(spelt.text));
            }
            if (opening) {
                const std::size_t shown = line.find_first_not_of(' ');
                if (shown == std::string::npos) {
                    // A line that only its spelling makes blank would go.
                    if (!typed.empty()) Judge(typed);
                    continue;
                }
                tag = "1 NOTE";
                opening = false;
                // A NOTE line that begins with "@" names a note record; such
                // text joins an empty NOTE line instead, which reads the same.
                if (line[shown] == '@') {
                    Line(tag);
                    tag = "2 CONC";
                }
            }
            if (!gedcom_) {
                Line(tag + " " + line);
                continue;
            }
            // The cut counts characters, never bytes, so a UTF-8 letter
            // stays whole.
            for (const std::string& piece : CutNoteText(line)) {
                Line(tag + " " + piece);
                tag = "2 CONC";
            }
        }
    }

    void Individuals() {
        if (progress_) {
            Progress().Start(g.IndivCount);
            Progress().SetLabel("Writing Individuals");
        }
        for (int32_t i = 1; i <= g.IndivCount; ++i) {
            if (progress_) {
                Progress().SetLabel("Writing individuals (" + std::to_string(i) + " of " +
                                     std::to_string(g.IndivCount) + ")");
                Progress().Set(i);
            }
            if (Decided()) return;
            if (IndivLive(i)) Individual(i);
        }
    }

    void Individual(int32_t i) {
        part_ = Part::Individual;
        record_ = i;
        const IndivRec& r = g.Indiv[i];
        Line("0 @I" + std::to_string(i) + "@ INDI");
        const NameLines name{T(r.iGivn), T(r.iSurn), T(r.iSuffix), T(r.iPrefix), T(r.iNick)};
        const std::string shown = T(r.iName.value(), r.iName.width, false), title = T(r.iTitle);
        bool shownKept = false;
        const std::string nameLine = SavedNameLine(name, shown, shownKept);
        // The name shown as a reader makes it, from the NAME line where that
        // holds it, else from the parts, is judged as every field is.
        if (Ansel()) {
            if (shownKept)
                Judge(r.iName.value(), r.iName.width);
            else
                Judge(Utf8Left(ShownNameOf({Typed(r.iGivn.value()), Typed(r.iSurn.value()), Typed(r.iSuffix.value()), {}, {}}),
                               r.iName.width),
                      r.iName.width);
        }
        Line("1 NAME " + nameLine);
        Line("2 SURN " + name.surname);
        Line("2 GIVN " + name.given);
        if (!name.prefix.empty()) Line("2 NPFX " + name.prefix);
        if (!name.suffix.empty()) Line("2 NSFX " + name.suffix);
        if (!name.nick.empty()) Line("2 NICK " + name.nick);
        // Our own file keeps a name shown that no NAME line gives back (one
        // without the surname, a slash in the given names); other programs
        // would take such a line for one they do not understand.
        if (!gedcom_ && !shownKept && !shown.empty()) Line("2 _DSP " + shown);
        // Other programs read a title as the individual's own attribute;
        // the work file keeps it with the name.
        if (!gedcom_ && !title.empty()) Line("2 TITL " + title);
        if (!gedcom_ && !Blank(r.iExt)) Line("2 _EXT " + T(r.iExt));
        if (perItem_) Citation(r.iSource);
        if (gedcom_ && !title.empty()) Line("1 TITL " + title);
        const std::string sex = T(r.iSex);
        Line("1 SEX " + (sex.empty() ? std::string(" ") : sex));
        Event("BIRT", r.ibDate, r.ibPlace, r.iSource);
        Event("CHR", r.icDate, r.icPlace, r.iSource);
        Event("DEAT", r.idDate, r.idPlace, r.iSource);
        Event("BURI", r.iblDate, r.iblPlace, r.iSource);
        if (const std::string afn = T(r.iAFN); !afn.empty()) {
            Line("1 AFN " + afn);
            if (perItem_) Citation(r.iSource);
        }
        if (!gedcom_) {
            if (r.iCDno != 0 || r.iPIDno != 0)
                Line("1 CDP2 " + std::to_string(r.iCDno) + "-" + std::to_string(r.iPIDno));
            if (!Blank(r.iSubmNo)) Line("1 SUBN " + T(r.iSubmNo));
            if (!Blank(r.iGenID)) Line("1 _GID " + T(r.iGenID));
        }
        for (int32_t f : famsOf_[i]) {
            Line("1 FAMS @F" + std::to_string(f) + "@");
            if (perItem_) Citation(g.Famil[f].fSource);
        }
        if (FamilLive(r.iFamc)) {
            Line("1 FAMC @F" + std::to_string(r.iFamc) + "@");
            if (perItem_) Citation(r.iSource);
        }
        if (r.iNoteFlg.value() == "Y") NoteLines(indivNotes_[i]);
        if (gedcom_ && g.NoteCheck && NonBlank(g.PrefText[11]))
            Line("1 NOTE " + T(g.PrefText[11]));
        if (!perItem_) Citation(r.iSource);
        Line("1 CHAN");
        // A blank stamp is the one a reader gives the record: now.
        const std::string date = T(r.iChanDate), time = T(r.iChanTime);
        Line("2 DATE " + (date.empty() ? DateText(Port().Now()) : date));
        Line("3 TIME " + (time.empty() ? TimeText(Port().Now()) : time));
    }

    void Families() {
        if (progress_) {
            Progress().Start(g.FamilCount);
            Progress().SetLabel("Writing Families");
        }
        for (int32_t f = 1; f <= g.FamilCount && !Decided(); ++f) {
            if (!FamilLive(f)) continue;
            if (progress_) {
                Progress().SetLabel("Writing families (" + std::to_string(f) + " of " +
                                     std::to_string(g.FamilCount) + ")");
                Progress().Set(f);
            }
            part_ = Part::Family;
            record_ = f;
            const FamilRec& r = g.Famil[f];
            Line("0 @F" + std::to_string(f) + "@ FAM");
            if (IndivLive(r.fHusb)) Line("1 HUSB @I" + std::to_string(r.fHusb) + "@");
            if (IndivLive(r.fWife) && r.fWife != r.fHusb) Line("1 WIFE @I" + std::to_string(r.fWife) + "@");
            for (int32_t c : childrenOf_[f]) Line("1 CHIL @I" + std::to_string(c) + "@");
            const std::string date = T(r.fmDate), place = T(r.fmPlace);
            if (!date.empty() || !place.empty()) {
                Line("1 MARR");
                if (!date.empty()) Line("2 DATE " + date);
                if (!place.empty()) Line("2 PLAC " + place);
            }
            Citation(r.fSource);
            if (r.fNoteFlg.value() == "Y") NoteLines(familNotes_[f]);
        }
    }

    void Sources() {
        for (int32_t s = 1; s <= g.SourceCount && !Decided(); ++s) {
            if (!sourceWritten_[s]) continue;
            part_ = Part::Source;
            record_ = s;
            const SourceRec& r = g.Source[s];
            Line("0 @S" + std::to_string(s) + "@ SOUR");
            if (r.sRepos >= 1 && r.sRepos <= g.RepositoryCount) {
                Line("1 REPO @REP" + std::to_string(r.sRepos) + "@");
                // The repository pointed to is written too.
                ReposRec& rep = g.Repository[r.sRepos];
                if (rep.rCitations <= 0) rep.rCitations = 1;
            }
            Line("1 TITL " + T(r.sTitle));
            Line("1 AUTH " + T(r.sAuthor));
            Line("1 PUBL " + T(r.sPublish));
        }
    }

    void Repositories() {
        for (int32_t k = 1; k <= g.RepositoryCount && !Decided(); ++k) {
            const ReposRec& r = g.Repository[k];
            if (r.rCitations <= 0) continue;
            part_ = Part::Repository;
            record_ = k;
            Line("0 @REP" + std::to_string(k) + "@ REPO");
            Line("1 NAME " + T(r.rName));
            Line("1 ADDR " + T(r.rAddr));
            // The continuation belongs under the address.
            if (!Blank(r.rCont)) Line("2 CONT " + T(r.rCont));
        }
    }

    void Trailer() {
        if (gedcom_) Line("0 TRLR");
        else if (g.MixedSources == "Y") Line("0 TRLR Mixed-Source Multiple");
        else Line("0 TRLR " + g.FirstSite + " " + g.FirstType);
    }
};

int DigitValue(char c) { return (c >= '0' && c <= '9') ? c - '0' : -1; }

}  // namespace

std::vector<std::string> BuildFileLines(FileKind kind, const std::string& filePath, bool showProgress,
                                        NotInAnsel* why) {
    Writer writer(kind, filePath, showProgress);
    std::vector<std::string> lines = writer.Build();
    if (why) *why = writer.Missing();
    return lines;
}

std::string FileContents(FileKind kind, const std::vector<std::string>& lines) {
    std::string out;
    std::size_t size = 0;
    for (const auto& l : lines) size += l.size();
    out.reserve(kind == FileKind::Work ? size * 3 + lines.size() * 2 : size + lines.size() * 3);
    // The header, which comes first, names the character set.
    bool utf8 = false;
    for (std::size_t k = 1; kind == FileKind::Gedcom && k < lines.size() && !lines[k].starts_with("0 "); ++k)
        utf8 = utf8 || lines[k] == kCharUtf8;
    for (const auto& l : lines) {
        if (kind == FileKind::Work) out += EncodeLine(l);
        else if (IsAscii(l)) out += l;  // most lines: the same bytes in either set
        else if (utf8) out += Utf8Repaired(l);
        else out += Utf8ToAnsel(l);
        out += "\r\n";
    }
    return out;
}

std::string EncodeLine(std::string_view text) {
    std::string out(text.size() * 3, '0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        unsigned v = static_cast<unsigned char>(text[i]);
        out[i * 3] = static_cast<char>('0' + v / 100);
        out[i * 3 + 1] = static_cast<char>('0' + v / 10 % 10);
        out[i * 3 + 2] = static_cast<char>('0' + v % 10);
    }
    return out;
}

bool DecodeLineInto(std::string_view text, char* out, std::size_t& length) {
    length = 0;
    // Group i is read before character i is written, which lies before it.
    for (std::size_t i = 0; i < text.size(); i += 3, ++length) {
        std::size_t n = std::min<std::size_t>(3, text.size() - i);
        int v = 0;
        for (std::size_t k = 0; k < n; ++k) {
            int d = DigitValue(text[i + k]);
            if (d < 0) return false;
            v = v * 10 + d;
        }
        if (v > 255) return false;
        out[length] = static_cast<char>(v);
    }
    return true;
}

bool TryDecodeLine(std::string_view text, std::string& out) {
    out.resize(text.size() / 3 + 1);
    std::size_t length = 0;
    const bool decoded = DecodeLineInto(text, out.data(), length);
    out.resize(length);
    return decoded;
}

std::string DecodeLine(std::string_view text) {
    std::string out;
    if (!TryDecodeLine(text, out))
        throw std::invalid_argument("not an encoded work-file line: " + std::string(text.substr(0, 30)));
    return out;
}

std::string EncodeWorkFile(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) return {};
    std::string plain;
    if (!ReadWholeFile(path, plain)) return "cannot read " + path;
    std::string encoded;
    encoded.reserve(plain.size() * 3);
    for (const auto& line : SplitFileLines(plain)) {
        encoded += EncodeLine(line);
        encoded += "\r\n";
    }
    return NotSavedText(path, SaveContents(path, encoded));
}

}  // namespace lintora
