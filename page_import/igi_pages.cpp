#include "page_import/igi_pages.h"

#include <cstddef>
#include <string>

#include "page_import/line_cursor.h"
#include "page_import/parse_support.h"
#include "platform/platform.h"
#include "record_store/dates_places.h"
#include "record_store/fixed_text.h"
#include "record_store/place_names.h"
#include "record_store/program_state.h"
#include "record_store/text_routines.h"
#include "record_store/window_port.h"

namespace lintora {

void SplitIGIDatePlace(const std::string& text, std::string& date, std::string& place) {
    date.clear();
    place.clear();
    try {
        if (TrimBlanks(text).empty()) return;
        // A following label line taken as the value of an empty one.
        if (text.find(':') != std::string::npos) return;
        const std::size_t p = InStrLast(text, "  ");
        if (p > 2) {
            place = TrimBlanks(Utf8Left(std::string_view(text).substr(p), 120));
            date = TrimBlanks(std::string_view(text).substr(0, p - 1));
        } else {
            date = TrimBlanks(text);
            std::string ymd;
            int16_t y = 0, m = 0, d = 0;
            ParseDateParts(date, ymd, y, m, d);
            if (TrimBlanks(ymd) == "0/0/0") {
                date.clear();
                place = TrimBlanks(text);
            }
        }
        place = NormalizePlace(place);
    } catch (...) {
        // Ends quietly with what it has.
    }
}

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
    Windows().SetStatusLabel("Processing...");
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

void ProcessFamIGI() {
    Windows().SetStatusLabel("Processing...");
    Port().SetBusy(true);
    PageScratchRec& P = g.PageScratch;
    SkippedEntries skipped;
    ParentSetLines sets(skipped);
    bool childSkipped = false;
    char section = ' ';
    try {
        const PageLineCursor page(g.PageLines);
        // The name under a heading, or under the blank line after it.
        auto nameBelow = [&page](std::ptrdiff_t i) {
            std::string name = page.Trimmed(i + 1);
            if (name.empty()) name = page.Trimmed(i + 2);
            return TrimBlanks(CutLinkWord(name, "Pedigree"));
        };
        for (std::ptrdiff_t i = 1; i <= page.Last(); ++i) {
            if (Utf8Length(page.At(i)) <= 2) continue;
            const std::string text = page.Trimmed(i);
            std::string above = i <= 1 ? std::string(" ") : page.Trimmed(i - 1);

            if (text.starts_with("Husband")) {
                section = 'H';
                P.pgName = nameBelow(i);
                P.pgSex = "M";
            }
            if (text.starts_with("Wife")) {
                section = 'W';
                P.PageSpouses[1].spName = nameBelow(i);
                P.PageSpouseCount = 1;
            }
            if (text.starts_with("Children")) section = 'C';
            if (text == "Male" || text == "Female") {
                above = CutLinkWord(above, "Pedigree");
                const int16_t k = P.AddChild();
                childSkipped = (k == 0);
                if (k == 0) {
                    skipped.Add();
                } else {
                    P.PageChildren[k].chName = TrimBlanks(Utf8Mid(above, 4, 120));
                    P.PageChildren[k].chSex = text == "Male" ? "M" : "F";
                }
            }

            g.LineFields = SplitFields(text, ":");
            const bool hasColon = g.LineFields.size() > 1;
            std::string value = hasColon ? FieldAt(g.LineFields, 1) : above;
            g.LineLabel = TrimBlanks(FieldAt(g.LineFields, 0));
            const std::string& label = g.LineLabel;

            if (label == "Birth" || label == "Christening" || label == "Death" || label == "Burial") {
                std::string date, place;
                SplitIGIDatePlace(value, date, place);
                date = TrimBlanks(date);
                place = TrimBlanks(place);
                // The event belongs to whoever the section is about; an
                // empty part keeps what the field held.
                auto put = [&](auto& dateField, auto& placeField) {
                    if (!date.empty()) dateField = date;
                    if (!place.empty()) placeField = place;
                };
                const int e = label == "Birth" ? 0 : label == "Christening" ? 1 : label == "Death" ? 2 : 3;
                if (section == 'H') {
                    if (e == 0) put(P.pgbDate, P.pgbPlace);
                    else if (e == 1) put(P.pgcDate, P.pgcPlace);
                    else if (e == 2) put(P.pgdDate, P.pgdPlace);
                    else put(P.pgblDate, P.pgblPlace);
                } else if (section == 'W' && P.PageSpouseCount > 0) {
                    PageSpouse& sp = P.PageSpouses[P.PageSpouseCount];
                    if (e == 0) put(sp.spbDate, sp.spbPlace);
                    else if (e == 1) put(sp.spcDate, sp.spcPlace);
                    else if (e == 2) put(sp.spdDate, sp.spdPlace);
                    else put(sp.spblDate, sp.spblPlace);
                } else if (section == 'C' && P.PageChildCount > 0 && !childSkipped) {
                    PageChild& ch = P.PageChildren[P.PageChildCount];
                    if (e == 0) put(ch.chbDate, ch.chbPlace);
                    else if (e == 1) put(ch.chcDate, ch.chcPlace);
                    else if (e == 2) put(ch.chdDate, ch.chdPlace);
                    else put(ch.chblDate, ch.chblPlace);
                }
            } else if (label == "Marriage") {
                std::string date, place;
                SplitIGIDatePlace(value, date, place);
                P.PageSpouses[1].spmDate = TrimBlanks(date);
                P.PageSpouses[1].spmPlace = TrimBlanks(place);
            } else if (label == "Father") {
                value = TrimBlanks(CutLinkWord(value, "Family"));
                if (section == 'H') {
                    const int16_t s = sets.Father();
                    if (s > 0 && !value.empty()) P.PageParentSets[s].psFatherName = value;
                } else {
                    P.SpouseFather.Name = "<unknown>";
                    P.SpouseMother.Name = "<unknown>";
                    if (!value.empty()) P.SpouseFather.Name = value;
                }
            } else if (label == "Mother") {
                value = TrimBlanks(CutLinkWord(value, "Family"));
                if (section == 'H') {
                    const int16_t s = sets.Mother(true);
                    if (s > 0 && !value.empty()) P.PageParentSets[s].psMotherName = value;
                } else {
                    if (TrimBlanks(P.SpouseFather.Name).empty()) P.SpouseFather.Name = "<unknown>";
                    P.SpouseMother.Name = "<unknown>";
                    if (!value.empty()) P.SpouseMother.Name = value;
                }
            }
        }
    } catch (...) {
        // The parse ends quietly; what it gathered is filed.
    }
    Port().SetBusy(false);
    skipped.Report();
}

}  // namespace lintora
