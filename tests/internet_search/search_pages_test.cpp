#include "internet_search/search_pages.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "internet_search/region_lists.h"
#include "platform/navigate.h"
#include "record_store/program_state.h"
#include "record_store/text_routines.h"
#include "tests/internet_search/search_fixture.h"

namespace lintora {
namespace {

using testing::CleanState;
using testing::ShippedSitesTest;

std::vector<std::string> Names(const std::vector<InetPageRec>& pages) {
    std::vector<std::string> out;
    for (const auto& p : pages) out.push_back(p.ipName.trimmed());
    return out;
}

std::vector<std::string> Names(const RegionFill& fill) {
    std::vector<std::string> out;
    for (const auto& r : fill.items) out.push_back(r.rgName.trimmed());
    return out;
}

TEST_F(ShippedSitesTest, SitesAndPagesOfTheShippedFile) {
    std::vector<SearchSite> sites = SearchSites();
    ASSERT_EQ(sites.size(), 8u);
    EXPECT_EQ(sites[0].name, "FamilySearch");
    EXPECT_EQ(sites[4].name, "MyTrees");
    for (std::size_t k = 0; k < sites.size(); ++k) EXPECT_EQ(sites[k].siteNo, std::to_string(k + 1));
    EXPECT_EQ(Names(SitePages("1", true)),
              (std::vector<std::string>{"Historical Records", "Ancestral File Number (AFN)", "Ancestral File",
                                        "Pedigree Resource File", "International Genealogical Index", "Home"}));
    // Without a surname only the Home pages.
    for (const auto& s : sites) EXPECT_EQ(Names(SitePages(s.siteNo, false)), std::vector<std::string>{"Home"});
    EXPECT_TRUE(SitePages("9", true).empty());
    EXPECT_TRUE(SitePages("", true).empty());
}

TEST_F(ShippedSitesTest, PresetRegionPositionsLandOnTheirDefaults) {
    struct Preset {
        const char* tag;
        std::size_t position;
    };
    for (const Preset& p : {Preset{"ALLR1", 225}, Preset{"AFNR1", 222}, Preset{"IGIR1", 12}}) {
        RegionFill level1 = CollectRegions(p.tag, nullptr, kMaxRegionList1);
        ASSERT_GT(level1.items.size(), p.position) << p.tag;
        EXPECT_EQ(level1.overflowRow, 0);
        EXPECT_EQ(level1.items[p.position].rgName.trimmed(), "United States") << p.tag;
        std::vector<std::string> names = Names(level1);
        EXPECT_TRUE(std::is_sorted(names.begin(), names.end(),
                                   [](const std::string& a, const std::string& b) {
                                       return LowerCase(a) < LowerCase(b);
                                   }))
            << p.tag;
        // The default region has states below it.
        std::string code = level1.items[p.position].rgCode.trimmed();
        RegionFill level2 = CollectRegions(Level2Tag(p.tag, ""), &code, kMaxRegionList23);
        EXPECT_EQ(level2.items.size(), 51u) << p.tag;
    }
    // Counties of England below the IGI's England; nothing below a state of
    // the country lists.
    std::string england = "I-ENG";
    RegionFill counties = CollectRegions(kLevel3Tag, &england, kMaxRegionList23);
    EXPECT_EQ(counties.items.size(), 40u);
    EXPECT_EQ(counties.items.front().rgName.trimmed(), "Bedfordshire");
    std::string ohio = "US-OH";
    EXPECT_TRUE(CollectRegions(kLevel3Tag, &ohio, kMaxRegionList23).items.empty());
}

TEST_F(CleanState, RegionRowsCompareTrimmedAndExact) {
    auto row = [](const char* tag, const char* name, const char* parent, const char* code) {
        RegionRec& r = g.Regions[++g.RegionCount];
        r.rgTag = tag;
        r.rgName = name;
        r.rgParent = parent;
        r.rgCode = code;
        r.rgText = name;
    };
    row("ALLR1", "Canada", "", "CAN");
    row("ALLR2 ", "Ontario", "CAN ", "CA-ON");
    row("ALLR2", "Quebec", "CAN", "CA-QC");
    row("allr2", "Manitoba", "CAN", "CA-MB");
    row("ALLR2", "Ohio", "USA", "US-OH");
    std::string can = "CAN  ";
    EXPECT_EQ(Names(CollectRegions("ALLR2  ", &can, kMaxRegionList23)),
              (std::vector<std::string>{"Ontario", "Quebec"}));
    EXPECT_EQ(Names(CollectRegions("ALLR1", nullptr, kMaxRegionList1)), std::vector<std::string>{"Canada"});
    // A list that takes no more keeps what it has and names the row left out.
    RegionFill full = CollectRegions("ALLR2", &can, 1);
    EXPECT_EQ(Names(full), std::vector<std::string>{"Ontario"});
    EXPECT_EQ(full.overflowRow, 3);
    EXPECT_EQ(RegionListProblem(2, "ALLR2", 3),
              "Problem processing Region2 List (GetRegion2Select): \nALLR2-3: Subscript out of range");
    EXPECT_EQ(Level2Tag("IGIR1", "ALLR2"), "IGIR2");
    EXPECT_EQ(Level2Tag("igir1", "ALLR2"), "ALLR2");
    g.RegionCount = 0;
    EXPECT_TRUE(CollectRegions("ALLR1", nullptr, kMaxRegionList1).items.empty());
}

// Rows out of order or past the limits still give one line per site and
// at most 16 pages.
TEST_F(CleanState, SiteNumbersMapToTheirRows) {
    auto link = [](const char* no, const char* site, const std::string& page) {
        LinkRec& l = g.Links[++g.LinkCount];
        l.lSiteNo = no;
        l.lSiteName = site;
        l.lPageName = page;
        l.lUrl = "https://x.example/" + page;
    };
    link("1", "One", "Search");
    link("3", "Three", "Home");
    link("3", "Three", "Search");
    link("1", "One", "Home page");
    for (int i = 0; i < 20; ++i) link("2", "Two", "Page " + std::to_string(i));
    std::vector<SearchSite> sites = SearchSites();
    ASSERT_EQ(sites.size(), 3u);
    EXPECT_EQ(sites[1].name, "Three");
    EXPECT_EQ(sites[1].siteNo, "3");
    EXPECT_EQ(Names(SitePages("1", true)), (std::vector<std::string>{"Search", "Home page"}));
    EXPECT_EQ(SitePages("2", true).size(), 16u);
    EXPECT_EQ(SitePages("2", false).size(), 0u);
    for (int i = 0; i < 20; ++i) link(std::to_string(10 + i).c_str(), "Many", "Home");
    EXPECT_EQ(SearchSites().size(), 12u);
}

TEST_F(CleanState, PersonSpousesAndPlacesForTheSearchWindow) {
    EXPECT_EQ(PlaceLastTwoParts("Salem, Marion, Oregon"), " Marion,  Oregon");
    EXPECT_EQ(PlaceLastTwoParts("  Salem  "), "Salem");
    EXPECT_EQ(PlaceLastTwoParts(""), "");
    EXPECT_EQ(YearText("12 MAR 1850"), "1850");
    EXPECT_EQ(YearText("ABT Mar"), "");

    g.IndivCount = 5;
    for (int32_t i = 1; i <= 5; ++i) g.Indiv[i].iRIN = i;
    IndivRec& p = g.Indiv[1];
    p.iAFN = "1ABC-23 ";
    p.iGivn = "Mary Ann";
    p.iSurn = "O'Neil";
    p.idDate = "12 MAR 1850";
    p.ibPlace = "Salem, Marion, Oregon, USA";
    p.iFamc = 1;
    g.Indiv[2].iGivn = "John";
    g.Indiv[2].iSurn = "O'Neil";
    g.Indiv[3].iGivn = "Patrick";
    g.Indiv[3].iSurn = "Murphy";
    g.FamilCount = 4;
    g.Famil[1].fHusb = 2;  // the parents: a father, no mother
    g.Famil[2].fHusb = 3;  // first marriage
    g.Famil[2].fWife = 1;
    g.Famil[2].fmDate = "ABT 1875";
    g.Famil[2].fmPlace = "Dublin";
    g.Famil[3].fWife = 1;  // second, spouse unknown
    g.Famil[4].fHusb = 99;  // out of range: no spouse of hers
    g.Famil[4].fWife = 4;

    SearchPerson s = ReadSearchPerson(1);
    EXPECT_EQ(s.afn, "1ABC-23");
    EXPECT_EQ(s.first, "Mary Ann");
    EXPECT_EQ(s.bYear, "");
    EXPECT_EQ(s.dYear, "1850");
    EXPECT_EQ(s.bPlace, " Oregon,  USA");
    EXPECT_EQ(s.fFirst + "/" + s.fLast + "/" + s.mFirst + "/" + s.mLast, "John/O'Neil//");
    ASSERT_EQ(s.spouses.size(), 2u);
    SpouseValues first = ReadSpouseValues(s.spouses[0]);
    EXPECT_EQ(first.first + "/" + first.last + "/" + first.year + "/" + first.place, "Patrick/Murphy/1875/Dublin");
    SpouseValues second = ReadSpouseValues(s.spouses[1]);
    EXPECT_EQ(second.first + second.last + second.year + second.place, "");
    EXPECT_TRUE(ReadSearchPerson(0).first.empty());
    EXPECT_TRUE(ReadSearchPerson(6).first.empty());
    g.Indiv[1].iFamc = 4000;
    EXPECT_TRUE(ReadSearchPerson(1).fFirst.empty());
}

TEST_F(CleanState, OnlyWebAddressesAreOpened) {
    EXPECT_TRUE(NavigateTo("https://www.familysearch.org/search?q=a%20b"));
    EXPECT_TRUE(NavigateTo("HTTP://example.org"));
    ui.Answer(MsgResult::Ok);
    ui.Answer(MsgResult::Ok);
    ui.Answer(MsgResult::Ok);
    ui.Answer(MsgResult::Ok);
    for (const char* refused : {"file:///etc/passwd", "javascript:alert(1)", "https://a.example/x y", "http:///x"})
        EXPECT_FALSE(NavigateTo(refused)) << refused;
    EXPECT_EQ(ui.Texts().back(),
              "Problem with navigation parms: http:///x\nOnly http and https web addresses are opened.");
    EXPECT_FALSE(NavigateTo(""));  // nothing opened, nothing said
    EXPECT_EQ(ui.boxes.size(), 4u);
    EXPECT_EQ(ui.openedAddresses,
              (std::vector<std::string>{"https://www.familysearch.org/search?q=a%20b", "HTTP://example.org"}));
    // A browser that cannot be started is reported.
    ui.openError = "xdg-open could not be started";
    ui.Answer(MsgResult::Ok);
    EXPECT_FALSE(NavigateTo("https://example.org/"));
    EXPECT_EQ(ui.boxes.back().text, "Problem with navigation parms: https://example.org/\nxdg-open could not be started");
    EXPECT_EQ(ui.boxes.back().icon, MsgIcon::Exclamation);
}

}  // namespace
}  // namespace lintora
