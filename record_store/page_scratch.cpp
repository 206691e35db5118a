#include "record_store/page_scratch.h"

#include <exception>

#include "platform/platform.h"
#include "record_store/program_state.h"

namespace lintora {

namespace {
template <typename Arr>
int16_t AddEntry(Arr& entries, int16_t& count, int16_t capacity) {
    if (count >= capacity) return 0;
    ++count;
    entries[count] = {};
    return count;
}
}  // namespace

int16_t PageScratchRec::AddParentSet() { return AddEntry(PageParentSets, PageParentSetCount, kMaxParentSets); }
int16_t PageScratchRec::AddSpouse() { return AddEntry(PageSpouses, PageSpouseCount, kMaxPageSpouses); }
int16_t PageScratchRec::AddChild() { return AddEntry(PageChildren, PageChildCount, kMaxPageChildren); }

void InitPrep() {
    try {
        g.PageScratch = PageScratchRec{};
    } catch (const std::exception& e) {
        ShowProblem(std::string("Unidentified problem in InitPrep\n") + e.what());
    }
}

}  // namespace lintora
