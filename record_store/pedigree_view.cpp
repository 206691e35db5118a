#include "record_store/pedigree_view.h"

#include <deque>
#include <vector>

#include "record_store/dates_places.h"
#include "record_store/program_state.h"

namespace lintora {

namespace {

int16_t YearOf(const std::string& date) {
    std::string dmy;
    int16_t y = 0, m = 0, d = 0;
    ParseDateParts(TrimBlanks(date), dmy, y, m, d);
    return y;
}

}  // namespace

int32_t FamilyAsChild(int32_t person) {
    if (!LiveIndiv(person)) return 0;
    const int32_t f = g.Indiv[person].iFamc;
    return LiveFamil(f) ? f : 0;
}

int32_t ParentIn(int32_t family, bool father) {
    if (!LiveFamil(family)) return 0;
    const int32_t p = father ? g.Famil[family].fHusb : g.Famil[family].fWife;
    return LiveIndiv(p) ? p : 0;
}

bool LiveIndiv(int32_t n) {
    return n > 0 && n <= g.IndivCount && n < static_cast<int32_t>(g.Indiv.size()) &&
           g.Indiv[n].iTree != kRemovedTree;
}

bool LiveFamil(int32_t n) {
    return n > 0 && n <= g.FamilCount && n < static_cast<int32_t>(g.Famil.size()) &&
           g.Famil[n].fTree != kRemovedTree;
}

std::string FormatLifeDates(int32_t person) {
    if (!LiveIndiv(person)) return "<unknown>";
    const IndivRec& I = g.Indiv[person];
    int b = YearOf(I.ibDate.value());
    if (b == 0) b = YearOf(I.icDate.value());
    int d = YearOf(I.idDate.value());
    if (d == 0) d = YearOf(I.iblDate.value());
    std::string text = " " + I.iGivn.trimmed() + " " + I.iSurn.trimmed();
    if (b > 0 && d > 0)
        text += "  (" + std::to_string(b) + "-" + std::to_string(d) + ")";
    else if (b > 0)
        text += "  (" + std::to_string(b) + "-    )";
    else if (d > 0)
        text += "  (    -" + std::to_string(d) + ")";
    return text;
}

std::string LifeDatesCaption(int32_t person) { return " " + TrimBlanks(FormatLifeDates(person)); }

std::string MoreButtonCaption(int32_t person) {
    if (FamilyAsChild(person) == 0) return "";
    // Breadth first over the known ancestors; a family is expanded once,
    // at its shallowest depth, so lines that meet are counted once.
    std::vector<char> expanded(static_cast<std::size_t>(g.FamilCount) + 1, 0);
    std::deque<std::pair<int32_t, int>> queue{{person, 1}};
    int deepest = 1;
    while (!queue.empty()) {
        auto [who, gen] = queue.front();
        queue.pop_front();
        const int32_t f = FamilyAsChild(who);
        if (f == 0 || expanded[f]) continue;
        expanded[f] = 1;
        for (bool father : {true, false}) {
            const int32_t p = ParentIn(f, father);
            if (p == 0) continue;
            queue.emplace_back(p, gen + 1);
            if (gen + 1 > deepest) deepest = gen + 1;
        }
    }
    const int n = deepest - 1;
    if (n == 0) return ">";
    if (n < 10) return std::to_string(n) + ">";
    return std::to_string(n);
}

PedigreeView BuildPedigree() {
    PedigreeView v;
    const int32_t root = g.TreeSlot[0];
    for (int i = 1; i < kTreeBoxes; ++i) g.TreeSlot[i] = 0;
    if (!LiveIndiv(root)) {
        g.TreeSlot[0] = 0;
        return v;
    }
    auto show = [&](int slot) {
        const int32_t p = g.TreeSlot[slot];
        v.caption[slot] = LifeDatesCaption(p);
        v.notes[slot] = LiveIndiv(p) && g.Indiv[p].iNoteFlg.value() == "Y";
    };
    show(0);
    for (int i = 0; i < 15; ++i) {
        const int32_t f = FamilyAsChild(g.TreeSlot[i]);
        if (f == 0) continue;
        // A missing parent shows as "<unknown>"; the boxes above him stay empty.
        g.TreeSlot[2 * i + 1] = ParentIn(f, true);
        g.TreeSlot[2 * i + 2] = ParentIn(f, false);
        show(2 * i + 1);
        show(2 * i + 2);
    }
    for (int j = 15; j < kTreeBoxes; ++j) v.more[j - 15] = MoreButtonCaption(g.TreeSlot[j]);
    for (int32_t f = 1; f <= g.FamilCount && !v.childButton; ++f)
        if (LiveFamil(f) && (g.Famil[f].fHusb == root || g.Famil[f].fWife == root)) v.childButton = true;
    return v;
}

int32_t TreePointerRoot(int32_t person) {
    for (int s = 0; s < kTreeBoxes; ++s) {
        if (g.TreeSlot[s] != person || person == 0) continue;
        if (s < 15) return g.TreeSlot[0];
        return s < 23 ? g.TreeSlot[1] : g.TreeSlot[2];
    }
    return person;
}

}  // namespace lintora
