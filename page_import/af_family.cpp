#include "page_import/af_family.h"

#include <string>

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

// Name and AFN of a person text; the AFN is one blank when the page shows none.
void NameAFN(std::string text, std::string& name, std::string& afn) { SplitNameAFN(text, name, afn); }

// A child's column header ("1.  Sex  Name"): the words after the first
// hold "Sex" and "Name".
bool ChildHeader(const std::vector<std::string>& words) {
    if (words.size() < 3) return false;
    int hits = 0;
    for (std::size_t k = 1; k < words.size(); ++k) {
        const std::string w = TrimBlanks(words[k]);
        if (w == "Sex" || w == "Name") ++hits;
    }
    return hits == 2;
}

}  // namespace

void ParseAFFamilyGroup() {
    MainWindow().SetStatusLabel("Processing...");
    Port().SetBusy(true);
    PageScratchRec& P = g.PageScratch;
    SkippedEntries skipped;
    ParentSetLines sets(skipped);
    bool childSkipped = false;
    char section = ' ';
    try {
        const PageLineCursor page(g.PageLines);
        for (std::ptrdiff_t i = 1; i <= page.Last(); ++i) {
            if (Utf8Length(page.At(i)) <= 2) continue;
            const std::string line = page.Trimmed(i);
            const std::vector<std::string> words = SplitFields(line, " ");

            if (line.starts_with("Husband")) {
                section = 'H';
                std::string name, afn;
                NameAFN(page.Trimmed(i + 1), name, afn);
                P.pgName = name;
                P.pgAFN = afn;
                P.pgSex = "M";
            } else if (line.starts_with("Wife")) {
                section = 'W';
                std::string name, afn;
                NameAFN(page.Trimmed(i + 1), name, afn);
                P.PageSpouses[1].spName = name;
                P.PageSpouses[1].spAFN = afn;
                P.PageSpouseCount = 1;
            } else if (line.starts_with("Children")) {
                section = 'C';
            }

            if (section == 'C' && ChildHeader(words)) {
                const int16_t k = P.AddChild();
                childSkipped = (k == 0);
                if (k == 0) {
                    skipped.Add();
                } else {
                    const std::string next = page.Trimmed(i + 1);
                    PageChild& ch = P.PageChildren[k];
                    ch.chSex = TrimBlanks(Utf8Left(next, 2));
                    std::string name, afn;
                    NameAFN(Utf8Mid(next, 3, 120), name, afn);
                    ch.chName = TrimBlanks(name);
                    ch.chAFN = afn;
                }
            }

            g.LineFields = words;
            g.LineLabel = FieldAt(g.LineFields, 0);
            const std::string& label = g.LineLabel;

            if (label == "Born:" || label == "Christened:" || label == "Died:" || label == "Buried:") {
                std::string text = line, date, place;
                SplitDatePlace(text, date, place);
                const FamilyEvent e = label == "Born:"         ? FamilyEvent::Birth
                                      : label == "Christened:" ? FamilyEvent::Christening
                                      : label == "Died:"       ? FamilyEvent::Death
                                                              : FamilyEvent::Burial;
                PutFamilyGroupEvent(section, childSkipped, e, TrimBlanks(date), TrimBlanks(place));
            } else if (label == "Married:") {
                std::string text = line, date, place;
                SplitDatePlace(text, date, place);
                P.PageSpouses[1].spmDate = TrimBlanks(date);
                P.PageSpouses[1].spmPlace = TrimBlanks(place);
            } else if (label == "Father:" || label == "Mother:") {
                std::string name, afn;
                NameAFN(Utf8Mid(line, 9, 120), name, afn);
                name = TrimBlanks(name);
                afn = TrimBlanks(afn);
                const bool father = label == "Father:";
                if (section == 'H') {
                    const int16_t s = father ? sets.Father() : sets.Mother(true);
                    if (s > 0 && !name.empty()) {
                        PageParentSet& set = P.PageParentSets[s];
                        if (father) {
                            set.psFatherName = name;
                            set.psFatherAFN = afn;
                        } else {
                            set.psMotherName = name;
                            set.psMotherAFN = afn;
                        }
                    }
                } else if (father) {
                    P.SpouseFather.Name = "<unknown>";
                    P.SpouseMother.Name = "<unknown>";
                    if (!name.empty()) {
                        P.SpouseFather.Name = name;
                        P.SpouseFather.AFN = afn;
                    }
                } else {
                    if (P.SpouseFather.Name.empty()) P.SpouseFather.Name = "<unknown>";
                    P.SpouseMother.Name = "<unknown>";
                    if (!name.empty()) {
                        P.SpouseMother.Name = name;
                        P.SpouseMother.AFN = afn;
                    }
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
