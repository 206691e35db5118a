#include "internet_search/region_lists.h"

#include <algorithm>

#include "record_store/program_state.h"

namespace lintora {

RegionFill CollectRegions(std::string_view tag, const std::string* parent, std::size_t limit) {
    RegionFill fill;
    const std::string wanted = TrimBlanks(tag);
    const std::string wantedParent = parent ? TrimBlanks(*parent) : std::string();
    const int32_t count = std::min<int32_t>(g.RegionCount, static_cast<int32_t>(g.Regions.size()) - 1);
    for (int32_t i = 1; i <= count; ++i) {
        const RegionRec& r = g.Regions[i];
        if (r.rgTag.trimmed() != wanted) continue;
        if (parent && r.rgParent.trimmed() != wantedParent) continue;
        if (fill.items.size() >= limit) {
            fill.overflowRow = i;
            break;
        }
        RegionItemRec item;
        item.rgName = r.rgName.trimmed();
        item.rgAux = r.rgAux.trimmed();
        item.rgParent = r.rgParent.trimmed();
        item.rgCode = r.rgCode.trimmed();
        item.rgText = r.rgText.trimmed();
        item.rgIndex = r.rgIndex;
        fill.items.push_back(std::move(item));
    }
    return fill;
}

std::string Level2Tag(std::string_view tag1, const std::string& current) {
    if (tag1 == "ALLR1") return "ALLR2";
    if (tag1 == "AFNR1") return "AFNR2";
    if (tag1 == "IGIR1") return "IGIR2";
    return current;
}

std::string RegionListProblem(int level, std::string_view tag, int32_t row) {
    std::string n = std::to_string(level);
    return "Problem processing Region" + n + " List (GetRegion" + n + "Select): \n" + std::string(tag) + "-" +
           std::to_string(row) + ": Subscript out of range";
}

}  // namespace lintora
