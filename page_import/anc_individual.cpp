#include "page_import/anc_individual.h"

#include <array>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "page_import/event_splitters.h"
#include "page_import/line_cursor.h"
#include "page_import/skipped_entries.h"
#include "platform/platform.h"
#include "record_store/fixed_text.h"
#include "record_store/linking.h"
#include "record_store/name_parsing.h"
#include "record_store/notes.h"
#include "record_store/program_state.h"
#include "record_store/text_routines.h"
#include "platform/window_ports.h"

namespace lintora {

namespace {

// Footnote marks " 9" down to " 1", each cut once when the value ends in it.
std::string CutFootnoteMarks(std::string value) {
    for (char d = '9'; d >= '1'; --d) {
        const char mark[3] = {' ', d, '\0'};
        if (value.size() >= 2 && value.compare(value.size() - 2, 2, mark) == 0) value.resize(value.size() - 2);
    }
    return value;
}

std::string Starless(const std::string& value) { return ReplaceAll(TrimBlanks(value), "*", ""); }

bool OneOf(const std::string& label, std::initializer_list<std::string_view> labels) {
    for (auto l : labels)
        if (label == l) return true;
    return false;
}

class IndividualPage {
public:
    explicit IndividualPage(const PageLineCursor& page) : page_(page) {}

    void Run() {
        for (line_ = 1; line_ <= page_.Last(); ++line_) {
            const std::string& line = page_.At(line_);
            if (Utf8Length(line) <= 2) continue;
            Sections(line);
            if (noteMode_ == 'Y') AppendNoteLine(line, page_.At(line_ + 1));
            if (sourceMode_) AppendNoteLine(line, page_.At(line_ + 1));
            if (childMode_) Child(line);

            const std::vector<std::string> fields = SplitFields(TrimBlanks(line), ":");
            const std::string label = UpperCase(TrimBlanks(fields[0]));
            const std::string value = fields.size() > 1 ? fields[1] : std::string();
            if (sourceMode_ || noteMode_ == 'Y') continue;
            Labelled(line, label, CutFootnoteMarks(value));

            const std::vector<std::string> words = SplitFields(TrimBlanks(line), " ");
            const std::string first = UpperCase(TrimBlanks(words[0]));
            if (first == "MARRIAGE") Marriage(line);
            else if (first == "CHILDREN") childMode_ = true;
        }
        FileLastMarriage();
    }

    const SkippedEntries& Skipped() const { return skipped_; }
    std::ptrdiff_t Line() const { return line_; }

private:
    PageScratchRec& P = g.PageScratch;
    const PageLineCursor& page_;
    std::ptrdiff_t line_ = 0;
    char noteMode_ = 'N';  // 'Y' collecting, 'X' a NOTE label is ignored
    bool sourceMode_ = false;
    bool childMode_ = false;
    // The marriage being read was refused for want of room: it and its
    // children are skipped, and the spouse before it is not filed twice.
    bool spouseSkipped_ = false;
    bool parentSetSkipped_ = false;
    SkippedEntries skipped_;

    void Sections(const std::string& line) {
        auto begins = [&](std::string_view m) { return line.rfind(m, 0) == 0; };
        if (begins("Marriage")) noteMode_ = 'X';
        if (begins("Index") || begins("Search") || line.find("Suggested Next Step") != std::string::npos ||
            line.ends_with("Step:")) {
            noteMode_ = 'N';
            sourceMode_ = false;
        }
        if (begins("Sources:")) {
            noteMode_ = 'N';
            sourceMode_ = true;
            if (P.pgNotes.chars() < kMaxPageNotes) P.pgNotes += "\r\n";
        }
        if (begins("Father:") || begins("Mother:")) noteMode_ = 'X';
    }

    void Child(const std::string& line) {
        std::string text = line;
        for (std::string_view marker : {"Has Children", "Has No Children"}) {
            const std::size_t at = text.find(marker);
            if (at != std::string::npos) text = text.substr(at + marker.size());
        }
        std::string name, date, place;
        SplitNameDatePlace(text, name, date, place, " b: ");
        if (!TrimBlanks(name).empty()) {
            const int16_t k = spouseSkipped_ ? 0 : P.AddChild();
            if (k == 0) {
                skipped_.Add();
            } else {
                PageChild& c = P.PageChildren[k];
                c.chName = TrimBlanks(name);
                c.chbDate = TrimBlanks(date);
                c.chbPlace = TrimBlanks(place);
                c.chSex = "U";
            }
        }
        if (Utf8Length(page_.At(line_ + 1)) < 4) childMode_ = false;
    }

    void Labelled(const std::string& line, const std::string& label, const std::string& value) {
        if (label == "NAME") {
            P.pgName = Starless(value);
            NameParts n = ParseNameParts(P.pgName);
            P.pgSurn = TrimBlanks(n.surname);
            P.pgGivn = TrimBlanks(n.given);
            P.pgPrefix = TrimBlanks(n.prefix);
            P.pgSuffix = TrimBlanks(n.suffix);
            P.pgTitle = TrimBlanks(n.title);
            P.pgNick = TrimBlanks(n.nickname);
        } else if (OneOf(label, {"GIVEN NAME", "GIVN"})) {
            P.pgGivn = Starless(value);
        } else if (OneOf(label, {"TITLE", "TITL"})) {
            P.pgTitle = Starless(value);
        } else if (OneOf(label, {"PREFIX", "PRFX"})) {
            P.pgPrefix = Starless(value);
        } else if (OneOf(label, {"SUFFIX", "SUFX"})) {
            P.pgSuffix = Starless(value);
        } else if (OneOf(label, {"NICK NAME", "NICK"})) {
            P.pgNick = Starless(value);
        } else if (OneOf(label, {"SURNAME", "SURN"})) {
            P.pgSurn = Starless(value);
        } else if (label == "SEX") {
            P.pgSex = TrimBlanks(value);
            if (TrimBlanks(P.pgName).empty()) P.pgName = P.pgGivn + " " + P.pgSurn;
        } else if (OneOf(label, {"AFN", "AFN#", "ANCESTRAL FILE #"})) {
            P.pgAFN = SplitFields(TrimBlanks(value), " ")[0];
        } else if (OneOf(label, {"BIRTH", "BORN"})) {
            Event(value, P.pgbDate, P.pgbPlace);
        } else if (OneOf(label, {"DEATH", "DIED"})) {
            Event(value, P.pgdDate, P.pgdPlace);
        } else if (OneOf(label, {"CHRISTENING", "CHRISTENED"})) {
            Event(value, P.pgcDate, P.pgcPlace);
        } else if (OneOf(label, {"BURIAL", "BURIED"})) {
            Event(value, P.pgblDate, P.pgblPlace);
        } else if (label == "FATHER") {
            Father(line);
        } else if (label == "MOTHER") {
            Mother(line);
        } else if (label == "NOTE") {
            if (noteMode_ == 'N') {
                noteMode_ = 'Y';
                if (!TrimBlanks(line).empty()) AppendNoteLine(line, value);
            }
        } else if (OneOf(label, {"OCCUPATION", "EVENT", "RESIDENCE"})) {
            if (P.pgNotes.chars() < kMaxPageNotes) P.pgNotes += TrimBlanks(line) + "\r\n";
        }
    }

    static void Event(const std::string& value, std::string& date, std::string& place) {
        std::string text = value, d, p;
        SplitDatePlaceAt(text, d, p, " in ");
        date = TrimBlanks(d);
        place = TrimBlanks(p);
    }

    // Name, birth date and place after the "Father:" or "Mother:" label.
    static void Parent(const std::string& line, std::string& name, std::string& date, std::string& place) {
        SplitNameDatePlace(Utf8Mid(line, 8, 120), name, date, place, " b: ");
        name = TrimBlanks(name);
    }

    void Father(const std::string& line) {
        const int16_t s = P.AddParentSet();
        parentSetSkipped_ = (s == 0);
        if (s == 0) {
            skipped_.Add();
            return;
        }
        PageParentSet& set = P.PageParentSets[s];
        set.psFatherName = "<unknown>";
        set.psMotherName = "<unknown>";
        std::string name, date, place;
        Parent(line, name, date, place);
        if (!name.empty()) {
            set.psFatherName = name;
            set.psFatherbDate = Utf8Left(TrimBlanks(date), 30);
            set.psFatherbPlace = TrimBlanks(place);
        }
    }

    void Mother(const std::string& line) {
        int16_t s = P.PageParentSetCount;
        if (s == 0 || parentSetSkipped_ || P.PageParentSets[s].psMotherName.trimmed() != "<unknown>") {
            // A mother without a father, or a second mother, opens a set.
            s = P.AddParentSet();
            parentSetSkipped_ = (s == 0);
            if (s == 0) {
                skipped_.Add();
                return;
            }
            P.PageParentSets[s].psFatherName = "<unknown>";
        }
        PageParentSet& set = P.PageParentSets[s];
        set.psMotherName = "<unknown>";
        std::string name, date, place;
        Parent(line, name, date, place);
        if (!name.empty()) {
            set.psMotherName = name;
            set.psMotherbDate = Utf8Left(TrimBlanks(date), 30);
            set.psMotherbPlace = TrimBlanks(place);
        }
        // The same parents named twice count once.
        if (s >= 2 && set.psFatherName == P.PageParentSets[s - 1].psFatherName &&
            set.psMotherName == P.PageParentSets[s - 1].psMotherName)
            --P.PageParentSetCount;
    }

    // Files the marriage read so far: the first one with the page person and
    // his parents, every later one as a further spouse with its children.
    void FileMarriageSoFar() {
        if (spouseSkipped_) return;
        if (P.PageSpouseCount == 1) {
            // The notes go in once the whole page is read: the sources
            // still follow.
            const std::string notes = P.pgNotes.str();
            P.pgNotes.clear();
            LinkPageFamily();
            P.pgNotes = notes;
        } else if (P.PageSpouseCount >= 2) {
            FileLaterSpouse();
        }
        P.PageChildCount = 0;
    }

    // A later spouse and the children of that marriage; without the page
    // person, or without their family, nobody of it is filed.
    void FileLaterSpouse() {
        if (P.pgRIN <= 0 || P.pgRIN > g.IndivCount) return;
        int32_t fam = 0;
        LinkPageSpouse(P.PageSpouseCount, fam, " ");
        if (fam == 0) return;
        for (int16_t k = 1; k <= P.PageChildCount; ++k) LinkPageChild(k, fam);
    }

    void Marriage(const std::string& line) {
        FileMarriageSoFar();
        const int16_t k = P.AddSpouse();
        spouseSkipped_ = (k == 0);
        P.PageChildCount = 0;
        if (k == 0) {
            skipped_.Add();
            return;
        }
        PageSpouse& sp = P.PageSpouses[k];
        for (std::ptrdiff_t at : {line_ + 1, line_ + 2}) {
            if (!page_.InPage(at) || !page_.BeginsWith(at, "Married:")) continue;
            std::string text = Utf8Mid(CutFootnoteMarks(page_.Trimmed(at)), 9), date, place;
            SplitDatePlaceAt(text, date, place, " in ");
            sp.spmDate = TrimBlanks(date);
            sp.spmPlace = TrimBlanks(place);
            break;
        }
        std::string name, date, place;
        SplitNameDatePlace(Utf8Mid(line, 12, 120), name, date, place, " b: ");
        sp.spName = TrimBlanks(name);
        sp.spbDate = TrimBlanks(date);
        sp.spbPlace = TrimBlanks(place);
    }

    void FileLastMarriage() {
        if (P.PageSpouseCount <= 1) {
            LinkPageFamily();
            return;
        }
        if (!spouseSkipped_) FileLaterSpouse();
        // The notes held back from the first marriage's filing.
        const std::string notes = TrimBlanks(P.pgNotes);
        if (!notes.empty() && P.pgRIN > 0 && P.pgRIN <= g.IndivCount) {
            g.IndivNoteText = notes;
            StoreNotes("I", P.pgRIN, "N");
        }
    }
};

}  // namespace

void ProcessIndANC() {
    MainWindow().SetStatusLabel("Processing...");
    Port().SetBusy(true);
    const PageLineCursor page(g.PageLines);
    IndividualPage reader(page);
    try {
        reader.Run();
    } catch (const std::exception& e) {
        Port().SetBusy(false);
        ShowProblem("Problem processing ANC:IND " + std::to_string(reader.Line()) + " - " + e.what());
    }
    MainWindow().SetStatusLabel("Processing...");
    Port().SetBusy(false);
    reader.Skipped().Report("parents, spouses or children");
}

}  // namespace lintora
