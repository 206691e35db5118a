#include "page_import/page_recognition.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "page_import/line_cursor.h"
#include "record_store/fixed_text.h"
#include "record_store/program_state.h"

namespace lintora {
namespace {

using PageView = PageLineCursor;

std::string RecogniseSite(const PageView& page) {
    if (page.InFirstTwo("FamilySearch")) return "LDS";
    static const std::array<std::pair<std::string_view, const char*>, 4> markers = {{
        {kAncestryMarker, "ANC"},
        {"RootsWeb", "RW"},
        {"GenCircles", "GC"},
        {"Fficiency Software, Inc", "MYT"},
    }};
    for (std::ptrdiff_t i = 1; i <= page.Last(); ++i)
        for (const auto& [marker, code] : markers)
            if (page.Contains(i, marker)) return code;
    return "";
}

// FamilySearch: the record set and page kind are named in the heading
// (lines 0 and 1). Every hit overwrites the one before, so later tests win.
std::string RecogniseFamilySearch(const PageView& page) {
    struct KindTest {
        std::string_view marker;
        const char* code;
    };
    struct RecordSet {
        std::string_view name;
        std::array<KindTest, 3> kinds;
    };
    static const std::array<RecordSet, 3> sets = {{
        {"Ancestral File",
         {{{"Family Group Record", "FamANC"}, {"Individual Record", "IndANC"}, {"Pedigree Chart", "PedANC"}}}},
        {"International Genealogical Index",
         {{{"Individual Record", "IndIGI"}, {"Family Group Record", "FamIGI"}, {"Pedigree Chart", "PedIGI"}}}},
        {"Pedigree Resource File", {{{"Individual Record", "IndPRF"}, {"", nullptr}, {"", nullptr}}}},
    }};
    std::string type;
    for (const auto& set : sets) {
        if (!page.InFirstTwo(set.name)) continue;
        for (const auto& kind : set.kinds)
            if (kind.code && page.InFirstTwo(kind.marker)) type = kind.code;
    }
    return type;
}

// Ancestry and RootsWeb pages share their layouts.
std::string RecogniseAncestry(const PageView& page) {
    for (std::ptrdiff_t i = 1; i <= page.Last(); ++i) {
        if (page.Contains(i, "Descendant Register, Generation")) return "Reg";
        if (page.BeginsWith(i, "1") &&
            (page.BeginsWith(i + 1, "+") || (page.BeginsWith(i + 1, "2") && page.BeginsWith(i - 2, "Index"))))
            return "Des";
        if (page.Contains(i, "Ahnentafel, Generation No. 1")) return "Ahn";
        // A page offering the other view shows the chart in this one.
        if (page.Equals(i, "Display pedigree in table format")) return "Ptx";
        if (page.Equals(i, "Display pedigree in text format")) return "Ptb";
        if (page.BeginsWith(i, "Given Name:") &&
            (page.BeginsWith(i + 1, "Surname:") || page.AnyBeginsWith(i + 1, i + 3, "Sex:") ||
             page.BeginsWith(i - 1, "Surname:")))
            return "Ind";
        if (page.BeginsWith(i, "Name:") && page.AnyBeginsWith(i + 1, i + 3, "Sex:")) return "Ind";
    }
    return "";
}

std::string RecogniseMyTrees(const PageView& page) {
    for (std::ptrdiff_t i = 1; i <= page.Last(); ++i) {
        if (page.Contains(i, " - Submitted Pedigree")) return "Ped";
        if (page.Contains(i, "Husband's Line")) return "Ped";
        if (page.Equals(i, "Family Record")) return "Fam";
        if (page.Equals(i, "Individual Record")) return "Ind";
    }
    return "";
}

std::string RecogniseGenCircles(const PageView& page) {
    for (std::ptrdiff_t i = 1; i <= page.Last(); ++i) {
        if (page.Contains(i, "Click the icon to move the pedigree chart to that person.")) return "Ped";
        if (page.Contains(i, "Spouses & Children")) return "Ind";
    }
    return "";
}

std::string RecognisePageType(const std::string& site, const PageView& page) {
    if (site == "LDS") return RecogniseFamilySearch(page);
    if (site == "ANC" || site == "RW") return RecogniseAncestry(page);
    if (site == "MYT") return RecogniseMyTrees(page);
    if (site == "GC") return RecogniseGenCircles(page);
    return "";
}

// Page-type codes end in their record set ("IndIGI"); shorter codes are
// compared whole.
std::string_view LastThree(std::string_view code) {
    return code.size() > 3 ? code.substr(code.size() - 3) : code;
}

}  // namespace

std::string_view SiteDomain(std::string_view site) {
    if (site == "ANC") return kAncestryDomain;
    if (site == "RW") return kRootsWebDomain;
    if (site == "GC") return kGenCirclesDomain;
    if (site == "MYT") return kMyTreesDomain;
    if (site == "LDS") return kFamilySearchDomain;
    return {};
}

void IdentifyPage() {
    g.PageSite.clear();
    g.PageType.clear();
    g.PasteSource = 0;
    try {
        const PageView page(g.PageLines);
        g.PageSite = RecogniseSite(page);
        if (g.PageSite.empty()) return;
        g.PageType = RecognisePageType(g.PageSite, page);
        if (TrimBlanks(g.FirstSite).empty()) g.FirstSite = TrimBlanks(g.PageSite);
        if (TrimBlanks(g.FirstType).empty()) g.FirstType = TrimBlanks(g.PageType);
    } catch (...) {
        // Recognition reports nothing: what it could not decide stays empty
        // and the paste entry refuses the page.
    }
}

void UpdateMixedSources() {
    const std::string site = TrimBlanks(g.PageSite);
    const std::string type = TrimBlanks(g.PageType);
    if (site.empty() || type.empty()) return;
    // Trimmed on both sides: a first type read back from a work file may
    // carry blanks that would otherwise count as a different record set.
    const std::string firstType = TrimBlanks(g.FirstType);
    if (site != TrimBlanks(g.FirstSite) || LastThree(type) != LastThree(firstType)) g.MixedSources = "Y";
}

int16_t ChoosePasteSource() {
    g.PasteSource = 0;
    const std::string site = TrimBlanks(g.PageSite);
    const std::string type = TrimBlanks(g.PageType);
    if (site.empty() || type.empty()) return 0;
    const std::string recordSet = type.size() == 6 ? type.substr(3) : std::string();
    // Never past the table, and only numbers the 16-bit field can hold.
    const std::ptrdiff_t last = std::min<std::ptrdiff_t>(
        {g.SourceCount, static_cast<std::ptrdiff_t>(g.Source.size()) - 1, std::numeric_limits<int16_t>::max()});
    for (std::ptrdiff_t i = 1; i <= last; ++i) {
        const SourceRec& s = g.Source[static_cast<std::size_t>(i)];
        if (s.sSite.trimmed() != site) continue;
        if (site == "LDS" && s.sKind.trimmed() != recordSet) continue;
        g.PasteSource = static_cast<int16_t>(i);
        break;
    }
    return g.PasteSource;
}

}  // namespace lintora
