#pragma once
// Recognition of a pasted page: which site it comes from (g.PageSite) and
// which kind of page it is (g.PageType), read from marker texts in
// g.PageLines. Line 0 is the first line as copied; lines 1 to last are the
// cleaned lines. Markers are compared case-sensitively.
#include <cstdint>
#include <string_view>

namespace lintora {

// Marker of an Ancestry page: the operator's domain as its footer prints it.
inline constexpr std::string_view kAncestryMarker = "Ancestry.com";

// Web domains named in the messages that list what a site's pages can be.
inline constexpr std::string_view kAncestryDomain = "ancestry.com";
inline constexpr std::string_view kRootsWebDomain = "rootsweb.ancestry.com";
inline constexpr std::string_view kGenCirclesDomain = "gencircles.com";
inline constexpr std::string_view kMyTreesDomain = "mytrees.com";
inline constexpr std::string_view kFamilySearchDomain = "familysearch.org";

// Web domain of a site code ("ANC", "RW", "GC", "MYT", "LDS"); empty for
// any other code.
std::string_view SiteDomain(std::string_view site);

// Sets g.PageSite and g.PageType (empty = not recognised), g.PasteSource to
// 0, and g.FirstSite / g.FirstType while they are empty. Reports nothing.
void IdentifyPage();

// Run by the paste entry for a paste with both codes, before its parser:
// raises g.MixedSources to "Y" when this paste comes from another site or
// record set than the first paste of the work. Never lowers it.
void UpdateMixedSources();

// Run by the paste entry after the undo snapshot: the source that this
// paste's records are tied to (for "LDS" the row whose kind is the page's
// record set), stored in g.PasteSource and returned; 0 = none.
int16_t ChoosePasteSource();

}  // namespace lintora
