#include "page_import/gencircles_individual.h"

#include <exception>
#include <vector>

#include "page_import/event_splitters.h"
#include "page_import/gencircles_pedigree.h"
#include "page_import/line_cursor.h"
#include "page_import/mytrees_splitters.h"
#include "page_import/parse_support.h"
#include "page_import/skipped_entries.h"
#include "platform/platform.h"
#include "platform/window_ports.h"
#include "record_store/fixed_text.h"
#include "record_store/linking.h"
#include "record_store/notes.h"
#include "record_store/program_state.h"
#include "record_store/text_routines.h"

namespace lintora {

namespace {

bool IsAfnLabel(const std::string& label) {
    return label == "Ancestral File #" || label == "Ancestral File Number" || label == "AFN" || label == "AFN#" ||
           label == "Afn" || label == "Afn#";
}

// Date and place of an event value ("12 Mar 1820 in Boston").
void Event(const std::string& value, std::string& date, std::string& place) {
    std::string text = value;
    SplitDatePlaceAt(text, date, place, " in ");
}

template <typename Field>
void EventInto(const std::string& value, Field& date, Field& place) {
    std::string d, p;
    Event(value, d, p);
    date = d;
    place = p;
}

}  // namespace

std::string StripSmartMatches(const std::string& text) {
    std::string built;
    try {
        std::vector<std::string> words = SplitFields(TrimBlanks(text), " ");
        if (!words.empty() && words.back() == "SmartMatches") {
            words.back().clear();
            if (words.size() > 1 && IsPlainNumber(words[words.size() - 2])) words[words.size() - 2].clear();
        }
        for (std::string& w : words) {
            if (w.empty() || IsPlainNumber(w)) continue;
            // A footnote digit leaves the word; the word stays a word of its own.
            if (w.back() >= '0' && w.back() <= '9') w.pop_back();
            built += TrimBlanks(w) + " ";
        }
        std::string name, date, place;
        ParsePersonLineGNC(built, name, date, place);
        return TrimBlanks(name);
    } catch (const std::exception& e) {
        ShowProblem("Problem parsing Name (GNC): " + TrimBlanks(built) + "\n" + e.what());
        return {};
    }
}

void ProcessIndGNC() {
    std::ptrdiff_t lineNo = 0;
    SkippedEntries skipped;
    ParentSetLines sets(skipped, true);
    try {
        MainWindow().SetStatusLabel("Processing...");
        Port().SetBusy(true);
        PageScratchRec& P = g.PageScratch;
        const PageLineCursor page(g.PageLines);
        bool notes = false, children = false;
        // The last spouse line found no room: its marriage lines and
        // children are dropped with it, and the marriage before it is
        // already filed.
        bool spouseSkipped = false;
        int32_t family = 0;

        // Files the marriage read so far: the first with the page person
        // and his parents, every later one by itself.
        auto fileMarriage = [&]() {
            if (spouseSkipped) return;
            if (P.PageSpouseCount == 1) {
                // The notes are stored once, after the whole page.
                const std::string held = P.pgNotes.str();
                P.pgNotes.clear();
                LinkPageFamily();
                P.pgNotes = held;
            } else if (P.PageSpouseCount > 1 && P.pgRIN > 0 && P.pgRIN <= g.IndivCount) {
                // Without the page person, or without their family, nobody
                // of this marriage is filed.
                LinkPageSpouse(P.PageSpouseCount, family, " ");
                if (family > 0)
                    for (int16_t c = 1; c <= P.PageChildCount; ++c) LinkPageChild(c, family);
            }
            P.PageChildCount = 0;
        };

        for (lineNo = 1; lineNo <= page.Last(); ++lineNo) {
            const std::string line = page.Trimmed(lineNo);
            if (Utf8Length(line) < 3) continue;
            const std::string next = page.Trimmed(lineNo + 1);

            if (line.starts_with("- - - - - -")) notes = children = false;
            if (line == "SmartMatches") break;
            if (line == "Notes") {
                notes = true;
                children = false;  // a note is nobody's child
            }
            if (line == "Sources") notes = children = false;
            if (notes) AppendNoteLine(line, next);

            g.LineFields = SplitFields(line, ":");
            g.LineLabel = TrimBlanks(g.LineFields[0]);
            const std::string& label = g.LineLabel;
            const std::string value = g.LineFields.size() > 1 ? g.LineFields[1] : std::string();
            if (IsAfnLabel(label)) {
                P.pgAFN = TrimBlanks(value);
            } else if (label == "Sex") {
                P.pgSex = TrimBlanks(value);
            } else if (label == "Birth") {
                Event(value, P.pgbDate, P.pgbPlace);
                P.pgName = StripSmartMatches(page.Trimmed(lineNo - 1));
            } else if (label == "Christening") {
                Event(value, P.pgcDate, P.pgcPlace);
            } else if (label == "Death") {
                Event(value, P.pgdDate, P.pgdPlace);
            } else if (label == "Burial") {
                Event(value, P.pgblDate, P.pgblPlace);
            } else if (label == "Father" || label == "Mother") {
                const bool father = label == "Father";
                const int16_t s = father ? sets.Father() : sets.Mother(true);
                if (s > 0) {
                    PageParentSet& set = P.PageParentSets[s];
                    std::string name, date, place;
                    ParsePersonLineGNC(value, name, date, place);
                    if (!TrimBlanks(name).empty()) {
                        if (father) {
                            set.psFatherName = name;
                            set.psFatherbDate = date;
                            set.psFatherbPlace = place;
                        } else {
                            set.psMotherName = name;
                            set.psMotherbDate = date;
                            set.psMotherbPlace = place;
                        }
                    }
                    // The same pair again is the same set.
                    if (!father && s >= 2) {
                        const PageParentSet& before = P.PageParentSets[s - 1];
                        if (set.psFatherName == before.psFatherName && set.psMotherName == before.psMotherName)
                            --P.PageParentSetCount;
                    }
                }
            } else if (label == "Marriage") {
                // Before any spouse the marriage has nobody to go to.
                if (P.PageSpouseCount > 0 && !spouseSkipped)
                    EventInto(value, P.PageSpouses[P.PageSpouseCount].spmDate,
                              P.PageSpouses[P.PageSpouseCount].spmPlace);
            }

            if (line.find("(Wife)") != std::string::npos || line.find("(Husband)") != std::string::npos) {
                fileMarriage();
                children = false;
                const int16_t k = P.AddSpouse();
                spouseSkipped = k == 0;
                if (k == 0) {
                    skipped.Add();
                } else {
                    std::string name, date, place;
                    ParsePersonLineGNC(line, name, date, place);
                    PageSpouse& sp = P.PageSpouses[k];
                    sp.spName = name;
                    sp.spbDate = date;
                    sp.spbPlace = place;
                }
            }
            if (children && !line.starts_with("Children:")) {
                std::string name, date, place;
                ParsePersonLineGNC(line, name, date, place);
                if (!TrimBlanks(name).empty()) {
                    const int16_t c = spouseSkipped ? 0 : P.AddChild();
                    if (c == 0) {
                        skipped.Add();
                    } else {
                        PageChild& ch = P.PageChildren[c];
                        ch.chName = TrimBlanks(name);
                        ch.chbDate = TrimBlanks(date);
                        ch.chbPlace = TrimBlanks(place);
                        ch.chSex = "U";
                    }
                }
            }
            if (line.starts_with("Children:")) children = true;
        }

        lineNo = page.Last() + 1;
        if (P.PageSpouseCount >= 2) fileMarriage();
        else LinkPageFamily();

        // The filing stored the notes when it ran after them; they are not
        // stored twice.
        const std::string text = TrimBlanks(P.pgNotes);
        if (!text.empty() && g.PageMainIndiv > 0) {
            g.IndivNoteText = text;
            StoreNotes("I", g.PageMainIndiv, "N");
        }
    } catch (const std::exception& e) {
        ShowProblem("Problem processing GNC:IND " + std::to_string(lineNo) + " - " + e.what());
    }
    Port().SetBusy(false);
    skipped.Report("parents, spouses or children");
}

}  // namespace lintora
