#include "page_import/af_individual.h"

#include <string>
#include <string_view>
#include <vector>

#include "page_import/line_cursor.h"
#include "page_import/parse_support.h"
#include "page_import/splitters.h"
#include "platform/platform.h"
#include "record_store/fixed_text.h"
#include "record_store/program_state.h"
#include "record_store/text_routines.h"
#include "platform/window_ports.h"

namespace lintora {

namespace {

// A line led by a label ("Death: ...", or a heading such as "Parents:") is
// never the place of the event above it.
bool IsLabelledLine(const std::string& trimmed) {
    std::string first = trimmed.substr(0, trimmed.find(' '));
    return !first.empty() && first.back() == ':';
}

// The place line under an event or marriage line i: the next line, trimmed,
// unless it is empty (past the page too) or a labelled line of its own.
std::string PlaceBelow(const PageLineCursor& page, std::ptrdiff_t i) {
    std::string next = TrimBlanks(page.At(i + 1));
    if (next.empty() || IsLabelledLine(next)) return {};
    return next;
}

// Date after the label of line i, and the place below it; a blank value
// keeps what the field held.
template <typename DateField, typename PlaceField>
void ReadEvent(const PageLineCursor& page, std::ptrdiff_t i, DateField& date, PlaceField& place) {
    g.LineFields = SplitFields(page.At(i), ":");
    std::string d = TrimBlanks(FieldAt(g.LineFields, 1));
    if (!d.empty()) date = d;
    std::string p = PlaceBelow(page, i);
    if (!p.empty()) place = p;
}

// Name and AFN of the text after a "Father:", "Mother:" or "Spouse:" label.
void NameAndAFN(const std::string& line, std::string& name, std::string& afn) {
    std::string work = Utf8Mid(line, 9, 120);
    SplitNameAFN(work, name, afn);
    name = TrimBlanks(name);
    afn = TrimBlanks(afn);
    // The page's "Family" link follows the AFN, which drops it; without an
    // AFN it would end up in the name ("Unknown  Family").
    constexpr std::string_view kLink = " Family";
    if (afn.empty() && name.size() > kLink.size() && name.ends_with(kLink))
        name = TrimBlanks(name.substr(0, name.size() - kLink.size()));
}

}  // namespace

void ParseAFIndividual() {
    MainWindow().SetStatusLabel("Processing...");
    Port().SetBusy(true);
    PageScratchRec& P = g.PageScratch;
    SkippedEntries skipped;
    ParentSetLines sets(skipped, true);
    try {
        // Set when the page holds more spouses than the scratch record has
        // room for: the marriage that belongs to the skipped spouse is
        // dropped with it, never written into the last kept one.
        bool spouseSkipped = false;
        const PageLineCursor page(g.PageLines);
        for (std::ptrdiff_t i = 1; i <= page.Last(); ++i) {
            const std::string line = page.At(i);
            if (Utf8Length(line) <= 2) continue;
            g.LineFields = SplitFields(TrimBlanks(line), " ");
            g.LineLabel = FieldAt(g.LineFields, 0);
            const std::string& label = g.LineLabel;

            if (label == "Sex:") {
                std::string work = TrimBlanks(page.At(i - 1));
                std::string name, afn;
                SplitNameAFN(work, name, afn);
                P.pgName = name;
                P.pgAFN = afn;
                std::string f1 = TrimBlanks(FieldAt(g.LineFields, 1));
                std::string f2 = TrimBlanks(FieldAt(g.LineFields, 2));
                // A "Sex:" line without a value leaves the sex empty.
                P.pgSex = !f1.empty() ? f1 : !f2.empty() ? f2 : TrimBlanks(Utf8Mid(line, 5, 4));
            } else if (label == "Birth:") {
                ReadEvent(page, i, P.pgbDate, P.pgbPlace);
            } else if (label == "Christened:") {
                ReadEvent(page, i, P.pgcDate, P.pgcPlace);
            } else if (label == "Death:") {
                ReadEvent(page, i, P.pgdDate, P.pgdPlace);
            } else if (label == "Burial:") {
                ReadEvent(page, i, P.pgblDate, P.pgblPlace);
            } else if (label == "Father:" || label == "Mother:") {
                const bool father = label == "Father:";
                const int16_t s = father ? sets.Father() : sets.Mother(false);
                if (s == 0) continue;
                PageParentSet& set = P.PageParentSets[s];
                std::string name, afn;
                NameAndAFN(line, name, afn);
                if (father) {
                    if (!name.empty()) set.psFatherName = name;
                    if (!afn.empty()) set.psFatherAFN = afn;
                } else {
                    if (!name.empty()) set.psMotherName = name;
                    if (!afn.empty()) set.psMotherAFN = afn;
                }
            } else if (label == "Spouse:") {
                int16_t k = P.AddSpouse();
                spouseSkipped = (k == 0);
                if (k == 0) {
                    skipped.Add();
                    continue;
                }
                PageSpouse& sp = P.PageSpouses[k];
                std::string name, afn;
                NameAndAFN(line, name, afn);
                if (!afn.empty()) sp.spAFN = afn;
                sp.spName = name.empty() ? std::string("<unknown>") : name;
            } else if (label == "Marriage:") {
                // A marriage before any spouse, or of a skipped one, has nobody to go to.
                if (P.PageSpouseCount == 0 || spouseSkipped) continue;
                PageSpouse& sp = P.PageSpouses[P.PageSpouseCount];
                ReadEvent(page, i, sp.spmDate, sp.spmPlace);
            }
        }
    } catch (...) {
        // The parse ends quietly; what it gathered is filed.
    }
    Port().SetBusy(false);
    skipped.Report("parents or spouses");
}

}  // namespace lintora
