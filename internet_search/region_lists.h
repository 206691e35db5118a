#pragma once
// The region rows of the site data file as the search window lists them:
// one region set per level, levels 2 and 3 below a parent's code.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "record_store/fixed_text.h"

namespace lintora {

// One listed region: a region row without its set tag.
struct RegionItemRec {
    FixedText<60> rgName;
    FixedText<4> rgAux;
    FixedText<6> rgParent;
    FixedText<8> rgCode;
    FixedText<60> rgText;
    int16_t rgIndex = 0;
};

// Most regions a level-1 list, and a level-2 or level-3 list, takes.
inline constexpr std::size_t kMaxRegionList1 = 300;
inline constexpr std::size_t kMaxRegionList23 = 100;

struct RegionFill {
    std::vector<RegionItemRec> items;  // in table order
    int32_t overflowRow = 0;           // the first matching row left out, 0 when all fit
};

// The rows of g.Regions whose trimmed tag is the trimmed tag and, below
// level 1 (parent given), whose trimmed parent code is the trimmed parent;
// at most `limit`. Comparisons are exact.
RegionFill CollectRegions(std::string_view tag, const std::string* parent, std::size_t limit);

// The set of the level below a level-1 set: "ALLR1" gives "ALLR2", "AFNR1"
// "AFNR2", "IGIR1" "IGIR2"; any other tag keeps `current`.
std::string Level2Tag(std::string_view tag1, const std::string& current);
// Level 3 always comes from this set.
inline constexpr const char* kLevel3Tag = "IGIR3";

// The message of a list that takes no more rows ("Problem processing
// Region1 List (GetRegion1Select): ", a line feed, tag, "-", row, ": ", why).
std::string RegionListProblem(int level, std::string_view tag, int32_t row);

}  // namespace lintora
