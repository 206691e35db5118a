#include "page_import/mytrees_pedigree.h"

#include <array>
#include <cstdint>
#include <exception>

#include "page_import/line_cursor.h"
#include "page_import/mytrees_splitters.h"
#include "platform/platform.h"
#include "record_store/fixed_text.h"
#include "record_store/matching.h"
#include "record_store/program_state.h"
#include "record_store/tables.h"
#include "record_store/text_routines.h"
#include "platform/window_ports.h"

namespace lintora {

namespace {

const char* const kCaution =
    "Lintora recognizes MyTrees pedigree data, however...\n"
    "On occasion some name fields are incorrectly parsed/omitted,\n"
    "and may be interpreted by Lintora in unexpected ways.\n"
    "Check your results carefully, and edit (or UnDo) accordingly.";

// One couple of the chart, slots 1..7: the husband's father's parents, the
// husband's parents, the husband's mother's parents, the central couple,
// then the same three of the wife.
struct FamilySlot {
    std::string surname, marriage, given, husbandDates, wife, wifeDates;
};

// One person of the chart, 1..14: the central couple, then each person's
// father at 2k + 1 and mother at 2k + 2.
struct PersonSlot {
    std::string name, dates, sex, marriage, spouse, father, mother;
    int32_t record = 0;      // the individual filed
    int32_t famcBefore = 0;  // his parents' family as the table held it
    int32_t family = 0;      // the family of his couple
};

// Where each person comes from: his couple's family slot, whether he is its
// husband, and for a wife the slot whose surname she takes (0: her name as
// the page shows it).
struct Origin {
    int family;
    bool husband;
    int wifeSurnameFrom;
};
constexpr std::array<Origin, 15> kOrigin = {{{0, false, 0},
                                             {4, true, 0},  {4, false, 6},
                                             {2, true, 0},  {2, false, 3},
                                             {6, true, 0},  {6, false, 7},
                                             {1, true, 0},  {1, false, 0},
                                             {3, true, 0},  {3, false, 0},
                                             {5, true, 0},  {5, false, 0},
                                             {7, true, 0},  {7, false, 0}}};

// The family slot whose wife is the mother of person k (1..6).
constexpr std::array<int, 7> kMotherSlot = {0, 2, 6, 1, 3, 5, 7};

std::string Join(const std::string& a, const std::string& b) { return TrimBlanks(a + " " + b); }

// A person's life years as the couple line gives them: "1844-1915" is born
// 1844, died 1915; "1847-" a birth alone, "-1915" a death alone.
void SplitLifeYears(const std::string& dates, std::string& birth, std::string& death) {
    SplitAtFirst(dates, "-", birth, death);
    birth = TrimBlanks(birth);
    death = TrimBlanks(death);
}

// The couple's place in the chart, read from the lines around its family
// line i and the side of the chart the scan is on.
int PositionOf(const PageLineCursor& page, std::ptrdiff_t i, char side) {
    if (page.Trimmed(i + 2).starts_with("Wife's Line")) return 4;
    if (side == 'H') {
        if (page.Trimmed(i + 4).starts_with("Wife's Line")) return 3;
        return page.Trimmed(i + 2).empty() ? 2 : 1;
    }
    if (page.Trimmed(i + 2).ends_with("DDC")) return 5;
    return page.Trimmed(i + 2).empty() ? 6 : 7;
}

}  // namespace

void ParseFamilyLineKK(const std::string& line, std::string& surname, std::string& marriage) {
    surname.clear();
    marriage.clear();
    try {
        if (TrimBlanks(line).empty()) return;
        std::string before, after;
        SplitAtFirst(line, "Family", before, after);
        surname = TrimBlanks(before);
        std::string rest = TrimBlanks(after);
        if (rest.empty()) return;
        if (rest.ends_with("DDC")) rest = TrimBlanks(std::string_view(rest).substr(0, rest.size() - 3));
        if (rest.ends_with(")")) rest = TrimBlanks(std::string_view(rest).substr(0, rest.size() - 1));
        marriage = TrimBlanks(ReplaceAll(rest, "(m", " "));
    } catch (...) {
        // Quietly ends with what it has.
    }
}

void ParseCoupleLineKK(const std::string& line, std::string& husband, std::string& wife, std::string& husbandDates,
                       std::string& wifeDates) {
    husband.clear();
    wife.clear();
    husbandDates.clear();
    wifeDates.clear();
    try {
        std::string s = TrimBlanks(line);
        if (s.empty()) return;
        if (s.ends_with("&")) s = TrimBlanks(std::string_view(s).substr(0, s.size() - 1));
        std::string husbandPart, wifePart, name, dates;
        SplitAtFirst(s, "&", husbandPart, wifePart);
        // The name ends at " - "; a bare "-" may be part of it ("Jean-Baptiste").
        auto nameAndDates = [&](const std::string& part) {
            SplitAtFirst(part, part.find(" - ") != std::string::npos ? " - " : "-", name, dates);
        };
        if (!TrimBlanks(wifePart).empty()) {
            nameAndDates(wifePart);
            wife = TrimBlanks(name);
            wifeDates = TrimBlanks(dates);
        }
        if (!TrimBlanks(husbandPart).empty()) {
            nameAndDates(husbandPart);
            husband = TrimBlanks(name);
            husbandDates = TrimBlanks(dates);
        }
    } catch (...) {
        // Quietly ends with what it has.
    }
}

void ProcessPedKK() {
    if (g.PedCautionShown.empty()) {
        // Once per run; it informs and never stands in the way of the filing.
        g.PedCautionShown = "X";
        try {
            ShowInfo(kCaution);
        } catch (...) {
        }
    }
    int stage = 0;  // the number a failure reports
    try {
        MainWindow().SetStatusLabel("Processing...");
        Port().SetBusy(true);
        std::array<FamilySlot, 8> fam{};
        std::array<PersonSlot, 15> person{};

        // The couples.
        const PageLineCursor page(g.PageLines);
        char side = ' ';
        for (std::ptrdiff_t i = 1; i <= page.Last(); ++i) {
            const std::string line = page.Trimmed(i);
            if (line.starts_with("Husband's Line")) side = 'H';
            if (line.starts_with("Wife's Line")) side = 'W';
            if (!line.ends_with("DDC")) continue;
            stage = PositionOf(page, i, side);
            FamilySlot& f = fam[stage];
            ParseFamilyLineKK(line, f.surname, f.marriage);
            ParseCoupleLineKK(page.Trimmed(i + 1), f.given, f.wife, f.husbandDates, f.wifeDates);
        }

        // The persons, each with his spouse and parents as the page names them.
        for (int k = 1; k <= 14; ++k) {
            const Origin& o = kOrigin[k];
            const FamilySlot& f = fam[o.family];
            PersonSlot& p = person[k];
            if (o.husband) {
                p.name = Join(f.given, f.surname);
                p.dates = f.husbandDates;
                p.sex = "M";
            } else {
                p.name = o.wifeSurnameFrom > 0 ? Join(f.wife, fam[o.wifeSurnameFrom].surname) : TrimBlanks(f.wife);
                p.dates = f.wifeDates;
                p.sex = "F";
            }
            p.marriage = f.marriage;
        }
        for (int k = 1; k <= 14; ++k) {
            person[k].spouse = person[k % 2 == 1 ? k + 1 : k - 1].name;
            if (k <= 6) {
                person[k].father = person[2 * k + 1].name;
                person[k].mother = person[2 * k + 2].name;
            }
        }

        // Filing.
        int filed = 0;
        for (int k = 1; k <= 14; ++k) {
            stage = k;
            PersonSlot& p = person[k];
            if (TrimBlanks(p.name).empty()) continue;
            ++filed;
            MainWindow().SetStatusLabel("Processing..." + std::to_string(filed));
            MatchQuery q;
            q.name = p.name;
            std::string birth, death;
            SplitLifeYears(p.dates, birth, death);
            q.bDate = birth;
            q.dDate = death;
            q.spouseName = p.spouse;
            // The husband of a couple is filed first: his wife's query knows his record.
            if (k % 2 == 0) q.spouseIndiv = person[k - 1].record;
            q.fatherName = p.father;
            q.motherName = p.mother;
            const int32_t r = FindIndivMatches(q);
            if (r <= 0 || r > g.IndivCount) continue;
            IndivRec& rec = g.Indiv[r];
            if (rec.ibDate.blank()) rec.ibDate = birth;
            if (rec.idDate.blank()) rec.idDate = death;
            rec.iSex = p.sex;
            p.record = r;
            p.famcBefore = rec.iFamc;
            if (k <= 6 && rec.iFamc > 0 && rec.iFamc <= g.FamilCount && !fam[kMotherSlot[k]].wife.empty()) {
                // Parents already recorded: the mother is looked for under
                // the name the table knows her by.
                const int32_t mother = g.Famil[rec.iFamc].fWife;
                person[2 * k + 2].name =
                    (mother > 0 && mother <= g.IndivCount)
                        ? Join(g.Indiv[mother].iGivn.trimmed(), g.Indiv[mother].iSurn.trimmed())
                        : std::string();
            }
            if (k % 2 == 0) {
                const int32_t f = FindOrAddFamil(person[k - 1].record, r);
                if (f > 0) {
                    FamilRec& F = g.Famil[f];
                    // The marriage text gives date and place, not a date alone.
                    std::string date, place;
                    SplitDatePlaceKK(p.marriage, date, place);
                    if (F.fmDate.blank()) F.fmDate = date;
                    if (F.fmPlace.blank()) F.fmPlace = place;
                    person[k - 1].family = f;
                    p.family = f;
                }
            }
        }

        // The two younger generations to their parents.
        for (int k = 1; k <= 6; ++k) {
            stage = k;
            const PersonSlot& p = person[k];
            const int32_t parents = person[2 * k + 1].family;
            if (p.record == 0 || p.famcBefore != 0 || parents <= 0 || parents > g.FamilCount) continue;
            IndivRec& rec = g.Indiv[p.record];
            const FamilRec& F = g.Famil[parents];
            // Nobody becomes a child of his own marriage.
            if (rec.iFamc != 0 || F.fHusb == p.record || F.fWife == p.record) continue;
            rec.iFamc = parents;
        }
        g.PageMainIndiv = person[1].record;
    } catch (const std::exception& e) {
        Port().SetBusy(false);
        ShowProblem("Problem processing KK:PED " + std::to_string(stage) + " - " + e.what());
        return;
    }
    Port().SetBusy(false);
}

}  // namespace lintora
