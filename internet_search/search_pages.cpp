#include "internet_search/search_pages.h"

#include "record_store/dates_places.h"
#include "record_store/program_state.h"
#include "record_store/text_routines.h"

namespace lintora {

namespace {

int32_t LinkRows() { return std::min<int32_t>(g.LinkCount, static_cast<int32_t>(g.Links.size()) - 1); }

const IndivRec* Person(int32_t n) {
    return n >= 1 && n <= g.IndivCount && n < static_cast<int32_t>(g.Indiv.size()) ? &g.Indiv[n] : nullptr;
}

const FamilRec* Family(int32_t n) {
    return n >= 1 && n <= g.FamilCount && n < static_cast<int32_t>(g.Famil.size()) ? &g.Famil[n] : nullptr;
}

}  // namespace

std::vector<SearchSite> SearchSites() {
    std::vector<SearchSite> sites;
    for (int32_t i = 1; i <= LinkRows(); ++i) {
        const LinkRec& row = g.Links[i];
        std::string no = TrimBlanks(row.lSiteNo);
        bool listed = false;
        for (const auto& s : sites) listed = listed || s.siteNo == no;
        if (listed || no.empty()) continue;
        if (sites.size() >= kMaxSearchSites) break;
        sites.push_back({row.lSiteName.trimmed(), no});
    }
    return sites;
}

std::vector<InetPageRec> SitePages(std::string_view siteNo, bool withSurname) {
    std::vector<InetPageRec> pages;
    for (int32_t i = 1; i <= LinkRows() && pages.size() < kMaxSitePages; ++i) {
        const LinkRec& row = g.Links[i];
        if (TrimBlanks(row.lSiteNo) != siteNo) continue;
        if (!withSurname && row.lPageName.value().find("Home") == std::string::npos) continue;
        InetPageRec page;
        page.ipName = row.lPageName.trimmed();
        page.ipUrl = row.lUrl.trimmed();
        pages.push_back(std::move(page));
    }
    return pages;
}

std::string PlaceLastTwoParts(std::string_view place) {
    std::vector<std::string> parts = SplitFields(TrimBlanks(place), ",");
    if (parts.size() < 2) return parts.empty() ? std::string() : parts.front();
    return parts[parts.size() - 2] + ", " + parts.back();
}

std::string YearText(std::string_view date) {
    std::string text;
    int16_t year = 0, month = 0, day = 0;
    ParseDateParts(TrimBlanks(date), text, year, month, day);
    return year > 0 ? std::to_string(year) : std::string();
}

SearchPerson ReadSearchPerson(int32_t indiv) {
    SearchPerson p;
    const IndivRec* person = Person(indiv);
    if (!person) return p;
    p.afn = person->iAFN.trimmed();
    p.first = person->iGivn.trimmed();
    p.last = person->iSurn.trimmed();
    p.bYear = YearText(person->ibDate.value());
    p.bPlace = PlaceLastTwoParts(person->ibPlace.value());
    p.dYear = YearText(person->idDate.value());
    p.dPlace = PlaceLastTwoParts(person->idPlace.value());
    if (const FamilRec* parents = Family(person->iFamc)) {
        if (const IndivRec* father = Person(parents->fHusb)) {
            p.fFirst = father->iGivn.trimmed();
            p.fLast = father->iSurn.trimmed();
        }
        if (const IndivRec* mother = Person(parents->fWife)) {
            p.mFirst = mother->iGivn.trimmed();
            p.mLast = mother->iSurn.trimmed();
        }
    }
    // The marriages in family order, as the person's panel lists them.
    for (int32_t f = 1; f <= g.FamilCount && f < static_cast<int32_t>(g.Famil.size()); ++f) {
        const FamilRec& fam = g.Famil[f];
        int32_t spouse;
        if (fam.fHusb == indiv) spouse = fam.fWife;
        else if (fam.fWife == indiv) spouse = fam.fHusb;
        else continue;
        if (p.spouses.size() >= kMaxSearchSpouses) break;
        p.spouses.push_back({spouse, f});
    }
    return p;
}

SpouseValues ReadSpouseValues(const SearchSpouse& marriage) {
    SpouseValues s;
    if (const IndivRec* spouse = Person(marriage.spouse)) {
        s.first = spouse->iGivn.trimmed();
        s.last = spouse->iSurn.trimmed();
    }
    if (const FamilRec* fam = Family(marriage.family)) {
        s.year = YearText(fam->fmDate.value());
        s.place = PlaceLastTwoParts(fam->fmPlace.value());
    }
    return s;
}

}  // namespace lintora
