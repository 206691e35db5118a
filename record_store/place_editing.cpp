#include "record_store/place_editing.h"

#include <algorithm>
#include <unordered_map>

#include "record_store/fixed_text.h"
#include "record_store/program_state.h"
#include "record_store/trees.h"

namespace lintora {
namespace {

template <typename Fn>
void ForEachEventPlace(IndivRec& r, Fn fn) {
    fn(r.ibPlace);
    fn(r.icPlace);
    fn(r.idPlace);
    fn(r.iblPlace);
}

}  // namespace

std::vector<PlaceUse> CollectPlaces() {
    std::vector<PlaceUse> out;
    std::unordered_map<std::string, std::size_t> seen;  // place -> index in out
    const int32_t n = std::min<int32_t>(g.IndivCount, static_cast<int32_t>(g.Indiv.size()) - 1);
    for (int32_t i = 1; i <= n; ++i) {
        IndivRec& r = g.Indiv[i];
        if (r.iTree == kRemovedTree) continue;
        ForEachEventPlace(r, [&](auto& field) {
            std::string p = field.trimmed();
            if (p.empty()) return;
            auto [it, added] = seen.try_emplace(p, out.size());
            if (added)
                out.push_back({std::move(p), 1});
            else
                ++out[it->second].count;
        });
    }
    return out;
}

int32_t ReplacePlace(const std::string& oldPlace, const std::string& newPlace) {
    const std::string from = TrimBlanks(oldPlace);
    const std::string to = TrimBlanks(newPlace);
    if (from.empty() || to.empty()) return 0;
    int32_t count = 0;
    const int32_t n = std::min<int32_t>(g.IndivCount, static_cast<int32_t>(g.Indiv.size()) - 1);
    for (int32_t i = 1; i <= n; ++i) {
        IndivRec& r = g.Indiv[i];
        if (r.iTree == kRemovedTree) continue;
        ForEachEventPlace(r, [&](auto& field) {
            if (field.trimmed() != from) return;
            const std::string before = field.value();
            field = to;
            if (field.value() != before) ++count;
        });
    }
    if (count > 0) g.DataChanged = "Y";
    return count;
}

std::string PlaceChangeReport(int32_t count, const std::string& oldPlace, const std::string& newPlace) {
    return std::to_string(count) + " occurrences of " + TrimBlanks(oldPlace) + "\n changed to " +
           TrimBlanks(newPlace);
}

int32_t PlaceRowToSelect(int32_t placeCount, int32_t placeListPos) {
    if (placeCount < 10 || placeListPos <= 1) return placeCount > 0 ? 1 : 0;
    return std::min(placeListPos + 2, placeCount);
}

}  // namespace lintora
