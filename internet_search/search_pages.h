#pragma once
// What the search window shows before a search: the sites and pages of the
// site data file, and the chosen person's names, years and places.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "record_store/fixed_text.h"

namespace lintora {

// Limits of the search window's lists.
inline constexpr std::size_t kMaxSearchSites = 12;
inline constexpr std::size_t kMaxSitePages = 16;
inline constexpr std::size_t kMaxSearchSpouses = 14;

// One line of the site list: the site's name and the number its rows carry.
struct SearchSite {
    std::string name;
    std::string siteNo;
};
// The sites of g.Links in the order they first appear, one line per site
// number (rows of a number already listed join that line), at most 12.
std::vector<SearchSite> SearchSites();

// One page of the chosen site.
struct InetPageRec {
    FixedText<40> ipName;
    FixedText<800> ipUrl;
};
// The pages of one site in row order, at most 16: all of them when the
// person has a surname, otherwise only those whose name holds "Home".
std::vector<InetPageRec> SitePages(std::string_view siteNo, bool withSurname);

// The last two comma-separated parts of a place ("Salem, Marion, Oregon"
// gives " Marion, Oregon"); parts keep their blanks.
std::string PlaceLastTwoParts(std::string_view place);
// The year of a date text as decimal digits, or "" when it gives none.
std::string YearText(std::string_view date);

// A marriage of the person: the spouse (0 when the family names none) and
// the family.
struct SearchSpouse {
    int32_t spouse = 0;
    int32_t family = 0;
};

// The person's values as the search window first shows them.
struct SearchPerson {
    std::string afn, first, last;
    std::string bYear, bPlace, dYear, dPlace;
    std::string fFirst, fLast, mFirst, mLast;
    std::vector<SearchSpouse> spouses;  // in family order, at most 14
};
// Reads person `indiv` from the tables; an individual out of range gives
// empty values.
SearchPerson ReadSearchPerson(int32_t indiv);

// The spouse boxes for one marriage: names, marriage year and place.
struct SpouseValues {
    std::string first, last, year, place;
};
SpouseValues ReadSpouseValues(const SearchSpouse& marriage);

}  // namespace lintora
