#include "page_import/igi_family.h"

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

void ProcessFamIGI() {
    MainWindow().SetStatusLabel("Processing...");
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
                const FamilyEvent e = label == "Birth"         ? FamilyEvent::Birth
                                      : label == "Christening" ? FamilyEvent::Christening
                                      : label == "Death"       ? FamilyEvent::Death
                                                              : FamilyEvent::Burial;
                PutFamilyGroupEvent(section, childSkipped, e, TrimBlanks(date), TrimBlanks(place));
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
