#pragma once
// Building a search address: a page template from the site data file with
// its "#......#" placeholders filled from the search window's criteria.
#include <optional>
#include <string>
#include <string_view>

#include "internet_search/region_lists.h"

namespace lintora {

// The search window's values as they stand when the search starts. Texts
// are the boxes as typed; a criterion counts only when its box holds 1.
struct SearchValues {
    std::string site;         // the site list's text
    std::string urlTemplate;  // the chosen page's address template
    std::string afn, first, last;
    std::string fFirst, fLast, mFirst, mLast, sFirst, sLast;
    std::string bYear, dYear, mYear;
    std::string bPlace, dPlace, mPlace;
    int bRange = -1, dRange = -1, mRange = -1;  // chosen range line, -1 for none
    int chkAFN = 0, chkIName = 0, chkByear = 0, chkBplace = 0, chkDyear = 0, chkDplace = 0;
    int chkMyear = 0, chkMplace = 0, chkFName = 0, chkMName = 0, chkSName = 0, chkRegion = 0;
    // The chosen region of each level; empty for a level not shown or with
    // no line chosen.
    std::optional<RegionItemRec> region1, region2, region3;
};

// Lines of the three range lists, in order.
inline constexpr const char* kRangeLines[5] = {" Exact year", " + or - 2 years", " + or - 5 years",
                                               " + or - 10 years", " + or - 20 years"};
// The range of a range-list line as text ("0", "2", "5", "10", "20"); "0"
// when no line is chosen.
std::string RangeText(int line);

// A year box's value: a whole number from 1 to 9999, or -1 for text that
// is no year (empty, words, signs).
int YearValue(std::string_view text);

// A value prepared for an address: commas count as blanks and the text is
// trimmed; with firstWordOnly only the text before the first blank is kept,
// otherwise every run of blanks and plus signs is one blank. The result is
// percent-encoded as UTF-8 with blanks as "+".
std::string PrepareUrlValue(std::string_view value, bool firstWordOnly);

// One placeholder of a template and what takes its place.
struct UrlTag {
    std::string_view tag;  // eight characters, "#" at both ends
    std::string value;     // already prepared
};
// Fills a template in one pass from left to right: each placeholder of the
// list is replaced by its value and inserted text is never searched again;
// every other text stays as written. The result is trimmed.
std::string FillUrlTags(std::string_view urlTemplate, const UrlTag* tags, std::size_t count);

// The MyTrees rule: a MyTrees search needs a birth or death year.
enum class MyTreesYear { Ready, TickBirth, TickDeath, Refuse };
// Ready for every other site and when a ticked birth or death year counts;
// otherwise which box to tick, or Refuse when neither box holds a year.
MyTreesYear CheckMyTreesYears(const SearchValues& v);
inline constexpr const char* kMyTreesNeedsYear =
    "MyTrees searches require a date-range.\nPlease provide birth year and/or death year and try again.";

// The finished address of a search (the MyTrees rule already applied), or
// "" when the template is empty. Besides the year and its range
// ("#BTDATE#", "#BRANGE#" and the like) a template may ask for the first
// and last year of the range: "#BFYEAR#" and "#BTYEAR#" for the birth,
// "#DFYEAR#", "#DTYEAR#" for the death, "#MFYEAR#", "#MTYEAR#" for the
// marriage (a first year below 1 reads 1).
std::string BuildSearchAddress(const SearchValues& v);

}  // namespace lintora
