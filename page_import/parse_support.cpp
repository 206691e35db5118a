#include "page_import/parse_support.h"

#include "platform/platform.h"
#include "record_store/program_state.h"
#include "record_store/text_routines.h"

namespace lintora {

std::string FieldAt(const std::vector<std::string>& fields, std::size_t i) {
    return i < fields.size() ? fields[i] : std::string();
}

std::string CutLinkWord(const std::string& text, std::string_view word) {
    const std::size_t p = InStrLast(text, word);
    if (p > 2) return text.substr(0, p - 1);
    return text;
}

int16_t ParentSetLines::Father() {
    PageScratchRec& P = g.PageScratch;
    const int16_t s = P.AddParentSet();
    lastSkipped_ = (s == 0);
    if (s == 0) {
        skipped_.Add();
        return 0;
    }
    P.PageParentSets[s].psFatherName = "<unknown>";
    P.PageParentSets[s].psMotherName = "<unknown>";
    return s;
}

int16_t ParentSetLines::Mother(bool resetMother) {
    PageScratchRec& P = g.PageScratch;
    int16_t s = P.PageParentSetCount;
    if (s <= 0) {
        s = P.AddParentSet();
        lastSkipped_ = (s == 0);
        if (s == 0) return 0;
        P.PageParentSets[s].psFatherName = "<unknown>";
        P.PageParentSets[s].psMotherName = "<unknown>";
    } else if (lastSkipped_) {
        // The mother of a set that did not fit goes with it.
        if (countLostMothers_) skipped_.Add();
        return 0;
    } else if (P.PageParentSets[s].psMotherName.trimmed() != "<unknown>") {
        s = P.AddParentSet();
        lastSkipped_ = (s == 0);
        if (s == 0) {
            skipped_.Add();
            return 0;
        }
        P.PageParentSets[s].psFatherName = "<unknown>";
    }
    if (resetMother) P.PageParentSets[s].psMotherName = "<unknown>";
    return s;
}

void PutFamilyGroupEvent(char section, bool childSkipped, FamilyEvent event, const std::string& date,
                         const std::string& place) {
    PageScratchRec& P = g.PageScratch;
    auto put = [&](auto& dateField, auto& placeField) {
        if (!date.empty()) dateField = date;
        if (!place.empty()) placeField = place;
    };
    if (section == 'H') {
        if (event == FamilyEvent::Birth) put(P.pgbDate, P.pgbPlace);
        else if (event == FamilyEvent::Christening) put(P.pgcDate, P.pgcPlace);
        else if (event == FamilyEvent::Death) put(P.pgdDate, P.pgdPlace);
        else put(P.pgblDate, P.pgblPlace);
    } else if (section == 'W' && P.PageSpouseCount > 0) {
        PageSpouse& sp = P.PageSpouses[P.PageSpouseCount];
        if (event == FamilyEvent::Birth) put(sp.spbDate, sp.spbPlace);
        else if (event == FamilyEvent::Christening) put(sp.spcDate, sp.spcPlace);
        else if (event == FamilyEvent::Death) put(sp.spdDate, sp.spdPlace);
        else put(sp.spblDate, sp.spblPlace);
    } else if (section == 'C' && P.PageChildCount > 0 && !childSkipped) {
        PageChild& ch = P.PageChildren[P.PageChildCount];
        if (event == FamilyEvent::Birth) put(ch.chbDate, ch.chbPlace);
        else if (event == FamilyEvent::Christening) put(ch.chcDate, ch.chcPlace);
        else if (event == FamilyEvent::Death) put(ch.chdDate, ch.chdPlace);
        else put(ch.chblDate, ch.chblPlace);
    }
}

}  // namespace lintora
