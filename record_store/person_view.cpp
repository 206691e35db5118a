#include "record_store/person_view.h"

#include "record_store/dates_places.h"
#include "record_store/pedigree_view.h"
#include "record_store/program_state.h"

namespace lintora {

namespace {

void YearMonth(const std::string& date, int16_t& year, int16_t& month) {
    std::string dmy;
    int16_t day = 0;
    year = month = 0;
    ParseDateParts(TrimBlanks(date), dmy, year, month, day);
}

int AgeAt(int32_t person, int16_t ey, int16_t em) {
    if (!LiveIndiv(person)) return 0;
    int16_t by = 0, bm = 0;
    YearMonth(g.Indiv[person].ibDate.value(), by, bm);
    if (by <= 0 || ey <= 0) return 0;
    int age = ey - by;
    if (bm > 0 && em > 0 && em < bm) --age;
    return age;
}

std::string EventLine(const FixedText<100>& date, const FixedText<100>& place) {
    return date.trimmed() + " - " + place.trimmed();
}

}  // namespace

std::string FormatMarrAges(int32_t a, int32_t b, const std::string& date) {
    int16_t ey = 0, em = 0;
    YearMonth(date, ey, em);
    const int ageA = AgeAt(a, ey, em);
    const int ageB = AgeAt(b, ey, em);
    if (ageA > 0 && ageB > 0) return "(" + std::to_string(ageA) + "/" + std::to_string(ageB) + ")";
    if (ageA > 0 && ageB == 0) return "(" + std::to_string(ageA) + "/?\?)";
    if (ageA == 0 && ageB > 0) return "(?\?/" + std::to_string(ageB) + ")";
    return "";
}

std::string MarriageLine(int32_t family, int32_t first, int32_t second) {
    if (!LiveFamil(family)) return "";
    const FamilRec& F = g.Famil[family];
    return F.fmDate.trimmed() + " - " + F.fmPlace.trimmed() + "  " +
           FormatMarrAges(first, second, F.fmDate.trimmed());
}

std::string MarriageLine(int32_t family) {
    if (!LiveFamil(family)) return "";
    return MarriageLine(family, g.Famil[family].fHusb, g.Famil[family].fWife);
}

ChildEntry ChildLine(int32_t child) {
    ChildEntry c;
    c.indiv = child;
    if (!LiveIndiv(child)) return c;
    for (int32_t f = 1; f <= g.FamilCount && !c.hasFam; ++f) {
        const FamilRec& F = g.Famil[f];
        if (LiveFamil(f) && (F.fHusb == child || F.fWife == child) && F.fChilCount > 0) c.hasFam = true;
    }
    const IndivRec& I = g.Indiv[child];
    std::string dmy;
    int16_t y = 0, m = 0, d = 0;
    ParseDateParts(I.ibDate.trimmed(), dmy, y, m, d);
    c.line = std::string(c.hasFam ? "<" : "  ") + (y >= 1 ? " " + std::to_string(y) + " - " : " ------ - ") +
             I.iGivn.trimmed() + " " + I.iSurn.trimmed();
    return c;
}

std::vector<ChildEntry> CollectChildren(int32_t family, int32_t leaveOut) {
    std::vector<ChildEntry> out;
    if (!LiveFamil(family)) return out;
    for (int32_t i = 1; i <= g.IndivCount && static_cast<int>(out.size()) < kMaxPanelChildren; ++i)
        if (i != leaveOut && LiveIndiv(i) && g.Indiv[i].iFamc == family) out.push_back(ChildLine(i));
    return out;
}

std::string SpouseLine(int32_t spouse) {
    if (!LiveIndiv(spouse)) return " <unknown>";
    return g.Indiv[spouse].iGivn.trimmed() + " " + g.Indiv[spouse].iSurn.trimmed();
}

PersonPanel ShowIndivPanel(int32_t p) {
    PersonPanel panel;
    if (!LiveIndiv(p)) return panel;
    const IndivRec& I = g.Indiv[p];
    panel.birth = EventLine(I.ibDate, I.ibPlace);
    panel.death = EventLine(I.idDate, I.idPlace);
    for (int32_t f = 1; f <= g.FamilCount; ++f) {
        if (!LiveFamil(f)) continue;
        const FamilRec& F = g.Famil[f];
        int32_t spouse;
        if (F.fHusb == p)
            spouse = F.fWife;
        else if (F.fWife == p)
            spouse = F.fHusb;
        else
            continue;
        if (static_cast<int>(panel.spouses.size()) >= kMaxPanelSpouses) continue;
        if (!LiveIndiv(spouse)) spouse = 0;
        SpouseEntry s;
        s.spouse = spouse;
        s.family = f;
        s.line = SpouseLine(spouse);
        panel.spouses.push_back(s);
        if (panel.spouses.size() == 1) {
            panel.firstFamily = f;
            panel.marriage = MarriageLine(f, p, spouse);
            panel.children = CollectChildren(f);
        }
    }
    return panel;
}

int32_t FindCouple(int32_t person, int32_t spouse) {
    for (int32_t f = 1; f <= g.FamilCount; ++f) {
        if (!LiveFamil(f)) continue;
        const FamilRec& F = g.Famil[f];
        if ((F.fWife == spouse && F.fHusb == person) || (F.fHusb == spouse && F.fWife == person)) return f;
    }
    return 0;
}

}  // namespace lintora
