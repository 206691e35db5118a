#include "record_store/descendants.h"

#include <algorithm>

#include "record_store/dates_places.h"
#include "record_store/fixed_text.h"
#include "record_store/program_state.h"
#include "record_store/text_routines.h"
#include "record_store/trees.h"

namespace lintora {
namespace {

const char* const kSpouseMark = "    +  ";
const char* const kNoDescendants = "(no descendant list for this person)";
constexpr std::size_t kMaxIndent = 80;

bool LiveIndiv(int32_t r) {
    return r >= 1 && r <= g.IndivCount && r < static_cast<int32_t>(g.Indiv.size()) &&
           g.Indiv[r].iTree != kRemovedTree;
}

std::string YearText(const std::string& date) {
    std::string form;
    int16_t year = 0, month = 0, day = 0;
    ParseDateParts(TrimBlanks(date), form, year, month, day);
    return year < 1 ? std::string("    ") : std::to_string(year);
}

// Families by partner and children by family, each in ascending order, so
// the outline costs one pass over the tables instead of one per person.
class Outline {
public:
    Outline() {
        const int32_t families = std::min<int32_t>(g.FamilCount, static_cast<int32_t>(g.Famil.size()) - 1);
        const int32_t people = std::min<int32_t>(g.IndivCount, static_cast<int32_t>(g.Indiv.size()) - 1);
        familiesOf_.resize(static_cast<std::size_t>(std::max(people, 0)) + 1);
        childrenOf_.resize(static_cast<std::size_t>(std::max(families, 0)) + 1);
        for (int32_t f = 1; f <= families; ++f) {
            const FamilRec& fam = g.Famil[f];
            if (fam.fTree == kRemovedTree) continue;
            if (fam.fHusb >= 1 && fam.fHusb <= people) familiesOf_[fam.fHusb].push_back(f);
            if (fam.fWife >= 1 && fam.fWife <= people && fam.fWife != fam.fHusb)
                familiesOf_[fam.fWife].push_back(f);
        }
        for (int32_t c = 1; c <= people; ++c) {
            const IndivRec& r = g.Indiv[c];
            if (r.iTree != kRemovedTree && r.iFamc >= 1 && r.iFamc <= families) childrenOf_[r.iFamc].push_back(c);
        }
    }

    void AddLine(int32_t r, const std::string& indent, int16_t generation) {
        lines.push_back({DescLineText(r, indent, generation), LiveIndiv(r) ? r : 0});
    }

    void AddSpouses(int32_t r, const std::string& indent, int16_t generation) {
        if (r < 1 || static_cast<std::size_t>(r) >= familiesOf_.size()) return;
        for (int32_t f : familiesOf_[r]) {
            const FamilRec& fam = g.Famil[f];
            const int32_t other = fam.fHusb == r ? fam.fWife : fam.fHusb;
            AddLine(other, indent + kSpouseMark, 0);
            AddChildren(f, indent + "    ", static_cast<int16_t>(generation + 1));
        }
    }

    void AddChildren(int32_t f, const std::string& indent, int16_t generation) {
        const std::string inner = indent + "    ";
        if (inner.size() > kMaxIndent) return;
        for (int32_t c : childrenOf_[f]) {
            AddLine(c, inner, generation);
            AddSpouses(c, inner, generation);
        }
    }

    std::vector<DescLine> lines;

private:
    std::vector<std::vector<int32_t>> familiesOf_;
    std::vector<std::vector<int32_t>> childrenOf_;
};

}  // namespace

std::string DescLineText(int32_t indiv, const std::string& indent, int16_t generation) {
    // No record (a marriage without the other spouse): blank years.
    std::string name, birth, death;
    if (LiveIndiv(indiv)) {
        const IndivRec& r = g.Indiv[indiv];
        name = r.iGivn.trimmed() + " " + UpperCase(r.iSurn.trimmed());
        if (!r.iPrefix.blank()) name += ", " + r.iPrefix.trimmed();
        birth = r.ibDate.value();
        death = r.idDate.value();
    }
    const std::string dates = "  (" + YearText(birth) + " - " + YearText(death) + ")";
    std::string line = indent;
    if (generation > 0) line += std::to_string(generation) + "  ";
    line += TrimBlanks(name) + dates;
    return TrimRightBlanks(line);
}

std::vector<DescLine> BuildDescendantOutline(int32_t indiv) {
    if (!LiveIndiv(indiv)) return {};
    Outline outline;
    outline.AddLine(indiv, "", 1);
    outline.AddSpouses(indiv, "", 1);
    if (outline.lines.size() == 1) outline.lines.push_back({kNoDescendants, 0});
    return std::move(outline.lines);
}

}  // namespace lintora
