#include "internet_search/search_address.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "internet_search/search_pages.h"
#include "tests/internet_search/search_fixture.h"

namespace lintora {
namespace {

using testing::ShippedSitesTest;

RegionItemRec Region(const char* code, const char* text, int16_t index) {
    RegionItemRec r;
    r.rgCode = code;
    r.rgText = text;
    r.rgIndex = index;
    return r;
}

// Mary Ann O'Neil with a full set of relatives, every criterion ticked.
SearchValues MaryAnn() {
    SearchValues v;
    v.site = "Test";
    v.afn = "1ABC-23";
    v.first = "Mary Ann";
    v.last = "O'Neil";
    v.bYear = "1850";
    v.bPlace = "Salem, Marion, Ohio";
    v.bRange = 2;
    v.dYear = "1900";
    v.dPlace = " Marion,  Ohio";
    v.dRange = 1;
    v.mYear = "";
    v.mPlace = "Salem & Marion";
    v.fFirst = "John";
    v.fLast = "O'Neil";
    v.mFirst = "Ann";
    v.mLast = "Smith-Jones";
    v.sFirst = "Patrick  Joseph";
    v.sLast = "Murphy";
    v.chkIName = v.chkByear = v.chkBplace = v.chkDyear = v.chkDplace = v.chkMplace = 1;
    v.chkFName = v.chkMName = v.chkSName = 1;
    return v;
}

struct AddressCase {
    const char* what;
    std::string urlTemplate;
    std::function<void(SearchValues&)> change;
    std::string expected;
};

TEST(SearchAddress, EveryCaseGivesItsWholeAddress) {
    const std::string person = "https://t.example/s?g=#IFNAME#&s=#ILNAME#&y=#BTDATE#&r=#BRANGE#&p=#BPLACE#";
    const std::string events =
        "https://t.example/e?e=#EVENTX#&x=#XRANGE#&f=#FRDATE#&t=#TODATE#&b=#BRANGE#&d=#DRANGE#&m=#MRANGE#";
    const std::string spans =
        "https://t.example/y?bf=#BFYEAR#&bt=#BTYEAR#&df=#DFYEAR#&dt=#DTYEAR#&mf=#MFYEAR#&mt=#MTYEAR#";
    const std::string family =
        "https://t.example/f?fa=#FATHER#&mo=#MOTHER#&sp=#SPOUSE#&ff=#FFNAME#&fl=#FLNAME#&ml=#MLNAME#&sf=#SFNAME#";
    const std::string regions =
        "https://t.example/r?a=#J1ABBR#&b=#J2ABBR#&c=#J3ABBR#&i=#J1INDX#&j=#J2INDX#&t=#J1FALL#&u=#J2FALL#"
        "&v=#J3FIGI#&w=#REGIDX#&x=#REGTXT#";
    const std::vector<AddressCase> cases = {
        {"Mary Ann O'Neil, every criterion ticked", person, nullptr,
         "https://t.example/s?g=Mary+Ann&s=O%27Neil&y=1850&r=5&p=Salem+Marion+Ohio"},
        {"FamilySearch: the first given name and the surname before a hyphen", person,
         [](SearchValues& v) { v.site = "FamilySearch"; v.last = "Smith-Jones"; },
         "https://t.example/s?g=Mary&s=Smith&y=1850&r=5&p=Salem+Marion+Ohio"},
        {"another site keeps the whole hyphenated surname", person,
         [](SearchValues& v) { v.last = "Smith-Jones"; },
         "https://t.example/s?g=Mary+Ann&s=Smith-Jones&y=1850&r=5&p=Salem+Marion+Ohio"},
        {"MyTrees: every value cut to its first word", person,
         [](SearchValues& v) { v.site = "MyTrees"; v.bPlace = "Salt Lake City, Utah"; },
         "https://t.example/s?g=Mary&s=O%27Neil&y=1850&r=5&p=Salt"},
        {"clear boxes and empty boxes remove their placeholders", person,
         [](SearchValues& v) { v.chkByear = 0; v.first = " "; v.bPlace = ""; },
         "https://t.example/s?g=&s=O%27Neil&y=&r=&p="},
        {"values are percent-encoded and never substituted again", person,
         [](SearchValues& v) { v.first = "#BTDATE#&x/\xC3\xA9"; v.last = "A + B,C"; },
         "https://t.example/s?g=%23BTDATE%23%26x%2F%C3%A9&s=A+B+C&y=1850&r=5&p=Salem+Marion+Ohio"},
        {"a year that is no number counts as no year", person,
         [](SearchValues& v) { v.bYear = "18x0"; },
         "https://t.example/s?g=Mary+Ann&s=O%27Neil&y=&r=&p=Salem+Marion+Ohio"},
        {"birth and death: the death year gives the event", events, nullptr,
         "https://t.example/e?e=3&x=2&f=1900&t=&b=5&d=2&m="},
        {"MyTrees: from-year and to-year over birth and death", events,
         [](SearchValues& v) { v.site = "MyTrees"; },
         "https://t.example/e?e=3&x=2&f=1845&t=1902&b=5&d=2&m="},
        {"MyTrees: the death year replaces the to-year", events,
         [](SearchValues& v) { v.site = "MyTrees"; v.bRange = 4; v.dYear = "1852"; v.dRange = 0; },
         "https://t.example/e?e=3&x=0&f=1830&t=1852&b=20&d=0&m="},
        {"MyTrees: a marriage widens the years and gives the event", events,
         [](SearchValues& v) {
             v.site = "MyTrees"; v.bRange = 1; v.chkDyear = 0; v.chkMyear = 1; v.mYear = "1875"; v.mRange = 3;
         },
         "https://t.example/e?e=2&x=10&f=1848&t=1885&b=2&d=&m=10"},
        {"no year criterion removes the event values", events,
         [](SearchValues& v) { v.chkByear = v.chkDyear = 0; },
         "https://t.example/e?e=&x=&f=&t=&b=&d=&m="},
        {"a ticked year without a range line counts as exact", events,
         [](SearchValues& v) { v.chkDyear = 0; v.bRange = -1; },
         "https://t.example/e?e=1&x=0&f=1850&t=&b=0&d=&m="},
        {"each event's first and last year of its range", spans,
         [](SearchValues& v) { v.chkMyear = 1; v.mYear = "1875"; v.mRange = 4; },
         "https://t.example/y?bf=1845&bt=1855&df=1898&dt=1902&mf=1855&mt=1895"},
        {"an exact year spans itself; a range before year 1 starts at 1; no year, no span", spans,
         [](SearchValues& v) { v.bRange = 0; v.dYear = "15"; v.dRange = 4; v.mYear = "abt 1875"; v.chkMyear = 1; },
         "https://t.example/y?bf=1850&bt=1850&df=1&dt=35&mf=&mt="},
        {"a cleared year box spans nothing", spans, [](SearchValues& v) { v.chkByear = 0; },
         "https://t.example/y?bf=&bt=&df=1898&dt=1902&mf=&mt="},
        {"name pairs and names of the relatives", family, nullptr,
         "https://t.example/f?fa=John+O%27Neil&mo=Ann+Smith-Jones&sp=Patrick+Joseph+Murphy&ff=John&fl=O%27Neil"
         "&ml=Smith-Jones&sf=Patrick+Joseph"},
        {"a relative with both names empty", family,
         [](SearchValues& v) { v.fFirst = v.fLast = ""; v.chkMName = 0; },
         "https://t.example/f?fa=&mo=&sp=Patrick+Joseph+Murphy&ff=&fl=&ml=&sf=Patrick+Joseph"},
        {"first given name and middle initial, also with the name box clear",
         "https://t.example/i?f=#IFIRST#&m=#IMIDDL#",
         [](SearchValues& v) { v.first = "John  Paul \xC3\x89mile"; v.chkIName = 0; },
         "https://t.example/i?f=John&m=%C3%89"},
        {"one given name has no middle initial", "https://t.example/i?f=#IFIRST#&m=#IMIDDL#",
         [](SearchValues& v) { v.first = "Mary"; }, "https://t.example/i?f=Mary&m="},
        {"AFN only when its box is ticked", "https://t.example/a?afn=#LDSAFN#&n=#ILNAME#",
         [](SearchValues& v) { v.chkAFN = 1; v.chkIName = 0; }, "https://t.example/a?afn=1ABC-23&n="},
        {"three region levels", regions,
         [](SearchValues& v) {
             v.chkRegion = 1;
             v.region1 = Region("USA", "United States", 12);
             v.region2 = Region("US-OH", "Ohio", 36);
             v.region3 = Region("I-LAN", "Lancashire", 19);
         },
         "https://t.example/r?a=USA&b=US-OH&c=I-LAN&i=12&j=36&t=United+States&u=Ohio&v=Lancashire&w=12"
         "&x=United+States"},
        {"level 1 only: the level-2 index reads 0", regions,
         [](SearchValues& v) { v.chkRegion = 1; v.region1 = Region("CAN", "Canada", 5); },
         "https://t.example/r?a=CAN&b=&c=&i=5&j=0&t=Canada&u=&v=&w=5&x=Canada"},
        {"regions unticked", regions,
         [](SearchValues& v) { v.region1 = Region("CAN", "Canada", 5); },
         "https://t.example/r?a=&b=&c=&i=&j=&t=&u=&v=&w=&x="},
        {"repeated, unknown and cut placeholders", "  https://t.example/#ILNAME#/#ILNAME#?#NOTTAG#&#IFNAME&z=#  ",
         nullptr, "https://t.example/O%27Neil/O%27Neil?#NOTTAG#&#IFNAME&z=#"},
        {"a template without placeholders is opened as it is", " https://www.familysearch.org/ ", nullptr,
         "https://www.familysearch.org/"},
        {"an empty template gives no address", "   ", nullptr, ""},
    };
    for (const auto& c : cases) {
        SearchValues v = MaryAnn();
        v.urlTemplate = c.urlTemplate;
        if (c.change) c.change(v);
        EXPECT_EQ(BuildSearchAddress(v), c.expected) << c.what;
    }
}

TEST(SearchAddress, MyTreesNeedsABirthOrDeathYear) {
    SearchValues v = MaryAnn();
    EXPECT_EQ(CheckMyTreesYears(v), MyTreesYear::Ready);  // not MyTrees
    v.site = "MyTrees";
    EXPECT_EQ(CheckMyTreesYears(v), MyTreesYear::Ready);
    v.chkByear = v.chkDyear = 0;
    EXPECT_EQ(CheckMyTreesYears(v), MyTreesYear::TickBirth);
    v.bYear = "";
    EXPECT_EQ(CheckMyTreesYears(v), MyTreesYear::TickDeath);
    v.dYear = "abt";
    v.chkMyear = 1;
    v.mYear = "1875";  // a marriage year does not do
    EXPECT_EQ(CheckMyTreesYears(v), MyTreesYear::Refuse);
    v.chkByear = 1;  // ticked, but no year in the box
    EXPECT_EQ(CheckMyTreesYears(v), MyTreesYear::Refuse);
}

TEST(SearchAddress, YearsRangesAndValues) {
    EXPECT_EQ(YearValue(" 1850 "), 1850);
    for (const char* notYear : {"", "0", "18x0", "-5", "12345", "1850s", "+1850"}) EXPECT_EQ(YearValue(notYear), -1) << notYear;
    const char* ranges[] = {"0", "2", "5", "10", "20"};
    for (int line = 0; line < 5; ++line) EXPECT_EQ(RangeText(line), ranges[line]);
    EXPECT_EQ(RangeText(-1), "0");
    EXPECT_EQ(RangeText(5), "0");
    EXPECT_EQ(PrepareUrlValue("  Smith, John  ", false), "Smith+John");
    EXPECT_EQ(PrepareUrlValue("A+ +B", false), "A+B");
    EXPECT_EQ(PrepareUrlValue("+", false), "");
    EXPECT_EQ(PrepareUrlValue("A+B C", true), "A%2BB");
    EXPECT_EQ(PrepareUrlValue("line\nbreak\ttab", false), "line+break+tab");
}

// The shipped pages built into whole addresses.
TEST_F(ShippedSitesTest, ShippedTemplatesGiveWholeAddresses) {
    auto page = [](const char* siteNo, const char* name) {
        for (const auto& p : SitePages(siteNo, true))
            if (p.ipName.trimmed() == name) return p.ipUrl.trimmed();
        ADD_FAILURE() << name;
        return std::string();
    };
    SearchValues v = MaryAnn();
    v.site = "FamilySearch";
    v.chkDyear = v.chkDplace = v.chkFName = v.chkMName = v.chkSName = v.chkMplace = 0;
    v.urlTemplate = page("1", "Historical Records");
    EXPECT_EQ(BuildSearchAddress(v),
              "https://www.familysearch.org/search/record/results?q.givenName=Mary&q.surname=O%27Neil"
              "&q.birthLikeDate.from=1845&q.birthLikeDate.to=1855&q.birthLikePlace=Salem+Marion+Ohio"
              "&q.deathLikeDate.from=&q.deathLikeDate.to=&q.deathLikePlace=&q.marriageLikeDate.from="
              "&q.marriageLikeDate.to=&q.marriageLikePlace=&q.spouseGivenName=&q.spouseSurname="
              "&q.fatherGivenName=&q.fatherSurname=&q.motherGivenName=&q.motherSurname=&q.anyPlace=+");
    // Every FamilySearch search page takes the chosen range of the year
    // that is ticked (one at a time there) as its from-to pair.
    const char* years[][4] = {
        {"Historical Records", "birth", "1845", "1855"},
        {"Ancestral File", "death", "1898", "1902"},
        {"Pedigree Resource File", "birth", "1845", "1855"},
        {"International Genealogical Index", "marriage", "1855", "1895"},
    };
    for (const auto& [name, event, from, to] : years) {
        SearchValues one = v;
        one.urlTemplate = page("1", name);
        one.chkByear = std::string(event) == "birth";
        one.chkDyear = std::string(event) == "death";
        one.chkMyear = std::string(event) == "marriage";
        one.mYear = "1875";
        one.mRange = 4;
        const std::string address = BuildSearchAddress(one);
        EXPECT_NE(address.find(std::string("&q.") + event + "LikeDate.from=" + from + "&q." + event +
                               "LikeDate.to=" + to + "&"),
                  std::string::npos)
            << address;
        // The other events' pairs stay empty.
        for (const std::string other : {"birth", "death", "marriage"}) {
            if (other == event || address.find("&q." + other + "LikeDate") == std::string::npos) continue;
            EXPECT_NE(address.find("&q." + other + "LikeDate.from=&q." + other + "LikeDate.to=&"), std::string::npos)
                << address;
        }
    }
    v.chkAFN = 1;
    v.urlTemplate = page("1", "Ancestral File Number (AFN)");
    EXPECT_EQ(BuildSearchAddress(v), "https://www.familysearch.org/search/genealogies/results?q.afnId=1ABC-23");
    v = MaryAnn();
    v.site = "MyTrees";
    v.chkFName = v.chkMName = 0;
    v.urlTemplate = page("5", "Family trees");
    EXPECT_EQ(BuildSearchAddress(v),
              "https://www.mytrees.com/search?firstname=Mary&lastname=O%27Neil&event=3&fromyear=1845&toyear=1902"
              "&spousefirstname=Patrick&spouselastname=Murphy&fatherfirstname=&fatherlastname=&motherfirstname="
              "&motherlastname=");
}

}  // namespace
}  // namespace lintora
