#include "page_import/gencircles_pedigree.h"

#include <array>
#include <exception>
#include <vector>

#include "page_import/event_splitters.h"
#include "page_import/line_cursor.h"
#include "platform/platform.h"
#include "platform/window_ports.h"
#include "record_store/fixed_text.h"
#include "record_store/linking.h"
#include "record_store/program_state.h"
#include "record_store/text_routines.h"

namespace lintora {

namespace {

bool IsSuffix(std::string_view w) { return w == "Jr" || w == "Sr" || w == "II" || w == "III" || w == "IV"; }

// "(Wife)" and "(Husband)" mark a spouse line; the first one found goes.
std::string WithoutSpouseMark(std::string name) {
    for (std::string_view mark : {"(Wife)", "(Husband)"}) {
        const std::size_t at = name.find(mark);
        if (at != std::string::npos) return name.replace(at, mark.size(), mark.size(), ' ');
    }
    return name;
}

// A list number and its period in front ("12. Smith"); a period inside the
// name ("John F. Kennedy") stays.
std::string WithoutListNumber(const std::string& name) {
    std::size_t digits = 0;
    while (digits < name.size() && name[digits] >= '0' && name[digits] <= '9') ++digits;
    if (digits == 0 || digits >= name.size() || name[digits] != '.') return name;
    return TrimBlanks(std::string_view(name).substr(digits + 1));
}

// One chart slot as the page gives it; birth and death are whole event texts.
struct Slot {
    std::string name, sex, birth, death;
};

constexpr int kSlots = 16;

// Date and place of an event text ("12 Mar 1820 in Boston").
void Event(const std::string& text, std::string& date, std::string& place) {
    std::string t = text;
    SplitDatePlaceAt(t, date, place, " in ");
}

}  // namespace

void ParsePersonLineGNC(const std::string& text, std::string& name, std::string& date, std::string& place) {
    name.clear();
    date.clear();
    place.clear();
    try {
        if (TrimBlanks(text).empty()) return;
        std::string n;
        SplitNameDatePlace(text, n, date, place, " b. ");
        date = TrimBlanks(date);
        n = TrimBlanks(WithoutSpouseMark(n));
        n = WithoutListNumber(n);
        if (n.starts_with("Descendants")) n = TrimBlanks(std::string_view(n).substr(11));

        std::string suffix;
        std::vector<std::string> parts = SplitFields(n, ",");
        if (parts.size() > 1 && IsSuffix(TrimBlanks(parts.back()))) {
            suffix = TrimBlanks(parts.back());
            parts.pop_back();
            n.clear();
            for (std::size_t i = 0; i < parts.size(); ++i) n += (i > 0 ? ", " : "") + parts[i];
        }
        const std::size_t comma = n.find(',');
        if (comma != std::string::npos)
            n = TrimBlanks(std::string_view(n).substr(comma + 1)) + " " + TrimBlanks(std::string_view(n).substr(0, comma));

        std::vector<std::string> words;
        for (const std::string& w : SplitFields(TrimBlanks(n), " ")) {
            if (w.empty()) continue;
            if (IsSuffix(w)) suffix = w;
            else words.push_back(w);
        }
        // The suffix stands just before the surname.
        n.clear();
        for (std::size_t i = 0; i + 1 < words.size(); ++i) n += words[i] + " ";
        if (!suffix.empty()) n += suffix + " ";
        if (!words.empty()) n += words.back();
        name = TrimBlanks(n);
        place = TrimBlanks(place);
    } catch (...) {
        // Silent by design: the results hold what was set.
    }
}

void ProcessPedGNC() {
    std::ptrdiff_t lineNo = 0;
    try {
        MainWindow().SetStatusLabel("Processing...");
        Port().SetBusy(true);
        std::array<Slot, kSlots + 1> slot{};
        const PageLineCursor page(g.PageLines);
        // Labelled lines before the first "Birth:" land in row 0, never
        // filed; those of a slot past the chart's 16 are not kept.
        int current = 0;
        bool beyond = false;
        for (lineNo = 1; lineNo <= page.Last(); ++lineNo) {
            const std::string line = page.Trimmed(lineNo);
            if (line.starts_with("Birth:")) {
                beyond = current >= kSlots;
                if (beyond) continue;
                ++current;
                slot[current].birth = TrimBlanks(std::string_view(line).substr(6));
                std::string name, date, place;
                ParsePersonLineGNC(page.Trimmed(lineNo - 1), name, date, place);
                slot[current].name = TrimBlanks(name);
            } else if (beyond) {
                continue;
            } else if (line.starts_with("Death:")) {
                slot[current].death = TrimBlanks(std::string_view(line).substr(6));
            } else if (line.starts_with("Sex:")) {
                slot[current].sex = TrimBlanks(std::string_view(line).substr(4));
            }
        }

        int filed = 0;
        int32_t main = 0;
        PageScratchRec& P = g.PageScratch;
        for (int k = 1; k <= 7; ++k) {
            lineNo = page.Last() + 1;
            int partner = 0;
            if (k > 1) {
                slot[k].sex = k % 2 == 0 ? "M" : "F";
                partner = k % 2 == 0 ? k + 1 : k - 1;
            }
            InitPrep();
            const Slot& s = slot[k];
            P.pgName = s.name;
            P.pgSex = s.sex;
            // The event texts hold a place after the date; each goes to its field.
            Event(s.birth, P.pgbDate, P.pgbPlace);
            Event(s.death, P.pgdDate, P.pgdPlace);

            const Slot& father = slot[2 * k];
            const Slot& mother = slot[2 * k + 1];
            if (TrimBlanks(father.name) != TrimBlanks(mother.name)) {
                P.PageParentSetCount = 1;
                PageParentSet& set = P.PageParentSets[1];
                std::string date, place;
                set.psFatherName = father.name;
                Event(father.birth, date, place);
                set.psFatherbDate = date;
                set.psFatherbPlace = place;
                set.psMotherName = mother.name;
                Event(mother.birth, date, place);
                set.psMotherbDate = date;
                set.psMotherbPlace = place;
            }
            if (partner > 0 && !TrimBlanks(slot[partner].name).empty()) {
                P.PageSpouseCount = 1;
                PageSpouse& sp = P.PageSpouses[1];
                std::string date, place;
                sp.spName = slot[partner].name;
                Event(slot[partner].birth, date, place);
                sp.spbDate = date;
                sp.spbPlace = place;
            }
            if (TrimBlanks(P.pgName).empty()) continue;
            LinkPageFamily();
            ++filed;
            MainWindow().SetStatusLabel("Processing..." + std::to_string(filed));
            if (filed == 1) main = g.PageMainIndiv;
        }
        if (main != 0) g.PageMainIndiv = main;
    } catch (const std::exception& e) {
        ShowProblem("Problem processing GNC:PED " + std::to_string(lineNo) + " - " + e.what());
    }
    Port().SetBusy(false);
}

}  // namespace lintora
