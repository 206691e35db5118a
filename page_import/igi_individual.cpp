#include "page_import/igi_individual.h"

#include <cstddef>
#include <string>

#include "page_import/line_cursor.h"
#include "page_import/parse_support.h"
#include "page_import/splitters.h"
#include "platform/platform.h"
#include "platform/window_ports.h"
#include "record_store/fixed_text.h"
#include "record_store/program_state.h"
#include "record_store/text_routines.h"

namespace lintora {

namespace {

// The line above line i; the first line of the page has none.
std::string LineAbove(const PageLineCursor& page, std::ptrdiff_t i) { return i <= 1 ? std::string(" ") : page.At(i - 1); }

template <typename DateField, typename PlaceField>
void StoreEvent(DateField& dateField, PlaceField& placeField, const std::string& value) {
    std::string date, place;
    SplitIGIDatePlace(value, date, place);
    dateField = date;
    placeField = TrimBlanks(place);
}

}  // namespace

void ProcessIndIGI() {
    MainWindow().SetStatusLabel("Processing...");
    Port().SetBusy(true);
    PageScratchRec& P = g.PageScratch;
    SkippedEntries skipped;
    ParentSetLines sets(skipped);
    bool spouseSkipped = false;
    try {
        const PageLineCursor page(g.PageLines);
        for (std::ptrdiff_t i = 1; i <= page.Last(); ++i) {
            const std::string& line = page.At(i);
            if (Utf8Length(line) <= 2) continue;
            const std::string text = page.Trimmed(i);
            const std::string above = LineAbove(page, i);

            g.LineFields = SplitFields(text, " ");
            g.LineLabel = TrimBlanks(FieldAt(g.LineFields, 0));
            if (g.LineLabel == "Male" || g.LineLabel == "<Male>") {
                P.pgName = TrimBlanks(above);
                P.pgSex = "M";
            } else if (g.LineLabel == "Female" || g.LineLabel == "<Female>") {
                P.pgName = TrimBlanks(above);
                P.pgSex = "F";
            }

            g.LineFields = SplitFields(text, ":");
            const bool hasColon = g.LineFields.size() > 1;
            const std::string field1 = FieldAt(g.LineFields, 1);
            std::string value = hasColon ? TrimBlanks(field1) : line;
            const std::string& below = page.At(i + 1);
            g.LineLabel = TrimBlanks(FieldAt(g.LineFields, 0));
            const std::string& label = g.LineLabel;
            // An event or marriage value stands after its label or, when
            // that is empty, on the next line.
            const std::string& eventValue = TrimBlanks(field1).empty() ? below : value;

            if (label == "Birth" || label == "Christening" || label == "Death" || label == "Burial") {
                // A label without a colon has no value to read.
                if (!hasColon) continue;
                if (label == "Birth") StoreEvent(P.pgbDate, P.pgbPlace, eventValue);
                else if (label == "Christening") StoreEvent(P.pgcDate, P.pgcPlace, eventValue);
                else if (label == "Death") StoreEvent(P.pgdDate, P.pgdPlace, eventValue);
                else StoreEvent(P.pgblDate, P.pgblPlace, eventValue);
            } else if (label == "Father") {
                value = CutLinkWord(value, "Family");
                const int16_t s = sets.Father();
                if (s > 0 && !TrimBlanks(value).empty()) P.PageParentSets[s].psFatherName = TrimBlanks(value);
            } else if (label == "Mother") {
                value = CutLinkWord(value, "Family");
                const int16_t s = sets.Mother(true);
                if (s > 0 && !TrimBlanks(value).empty()) P.PageParentSets[s].psMotherName = TrimBlanks(value);
            } else if (label == "Spouse") {
                value = CutLinkWord(value, "Family");
                if (TrimBlanks(value).empty()) continue;
                const int16_t k = P.AddSpouse();
                spouseSkipped = (k == 0);
                if (k == 0) {
                    skipped.Add();
                    continue;
                }
                P.PageSpouses[k].spName = TrimBlanks(value);
            } else if (label == "Marriage") {
                if (!hasColon) continue;
                // Before the first spouse, or after one that did not fit,
                // the marriage has nobody to go to.
                if (P.PageSpouseCount <= 0 || spouseSkipped) continue;
                PageSpouse& sp = P.PageSpouses[P.PageSpouseCount];
                StoreEvent(sp.spmDate, sp.spmPlace, TrimBlanks(eventValue));
            } else if (label == "Film Number" || label == "Page Number" || label == "Reference number") {
                // The source numbers stand on the line above their label.
                const std::string number = TrimBlanks(above);
                if (label == "Film Number") P.pgFilmNo = number;
                else if (label == "Page Number") P.pgPageNo = number;
                else P.pgRefNo = number;
            }
        }
    } catch (...) {
        // The parse ends quietly; what it gathered is filed.
    }
    Port().SetBusy(false);
    skipped.Report();
}

}  // namespace lintora
