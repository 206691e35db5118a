#include "page_import/page_recognition.h"

#include <string>
#include <vector>

#include "record_store/program_state.h"
#include "record_store/tables.h"
#include "tests/support/case_names.h"
#include "tests/support/scripted_platform.h"

namespace lintora {
namespace {

using testing::CleanState;

class RecognitionTest : public CleanState {
protected:
    void Recognise(std::vector<std::string> lines) {
        g.PageLines = std::move(lines);
        IdentifyPage();
    }
};

struct PageCase {
    const char* name;
    std::vector<std::string> lines;  // line 0 as copied, then cleaned lines
    const char* site;
    const char* type;
};

void PrintTo(const PageCase& c, std::ostream* os) { *os << c.name; }

class RecognitionCases : public RecognitionTest, public ::testing::WithParamInterface<PageCase> {};

TEST_P(RecognitionCases, SiteAndPageType) {
    const PageCase& c = GetParam();
    Recognise(c.lines);
    EXPECT_EQ(g.PageSite, c.site);
    EXPECT_EQ(g.PageType, c.type);
}

const std::string kFS = "FamilySearch(TM) Internet Genealogy Service\r";

INSTANTIATE_TEST_SUITE_P(
    FamilySearch, RecognitionCases,
    ::testing::Values(
        PageCase{"AfIndividual", {kFS, "Ancestral File Individual Record", "Name: John"}, "LDS", "IndANC"},
        PageCase{"AfFamilyInLine0", {"FamilySearch Ancestral File Family Group Record\r", "x"}, "LDS", "FamANC"},
        PageCase{"AfPedigree", {kFS, "Pedigree Chart - Ancestral File"}, "LDS", "PedANC"},
        PageCase{"AfIndividualOutranksFamily",
                 {kFS, "Ancestral File Family Group Record / Individual Record"}, "LDS", "IndANC"},
        PageCase{"AfPedigreeOutranksIndividual",
                 {"Ancestral File Individual Record\r", "FamilySearch Pedigree Chart"}, "LDS", "PedANC"},
        PageCase{"IgiIndividual", {kFS, "International Genealogical Index Individual Record"}, "LDS", "IndIGI"},
        PageCase{"IgiFamilyOutranksIndividual",
                 {kFS, "International Genealogical Index Individual Record Family Group Record"}, "LDS",
                 "FamIGI"},
        PageCase{"IgiPedigree", {kFS, "International Genealogical Index Pedigree Chart"}, "LDS", "PedIGI"},
        PageCase{"IgiOutranksAncestralFile",
                 {kFS, "Ancestral File and International Genealogical Index Individual Record"}, "LDS",
                 "IndIGI"},
        PageCase{"PrfIndividual", {kFS, "Pedigree Resource File Individual Record"}, "LDS", "IndPRF"},
        PageCase{"PrfOutranksIgi",
                 {kFS, "International Genealogical Index / Pedigree Resource File Individual Record"}, "LDS",
                 "IndPRF"},
        PageCase{"KnownSiteUnknownType", {kFS, "Search results"}, "LDS", ""},
        PageCase{"HeadingBeyondLineOneNotRead", {kFS, "Welcome", "Ancestral File Individual Record"}, "LDS", ""},
        PageCase{"SingleLine", {"FamilySearch Ancestral File Pedigree Chart"}, "LDS", "PedANC"},
        PageCase{"NameOnlyInThirdLineScansOthers", {"x\r", "y", "FamilySearch", "RootsWeb WorldConnect"}, "RW",
                 ""},
        PageCase{"NameOnlyInThirdLine", {"x\r", "y", "FamilySearch Ancestral File Individual Record"}, "", ""},
        PageCase{"MarkerCaseMatters", {"FAMILYSEARCH\r", "Ancestral File Individual Record"}, "", ""}),
    testing::NamedBy(&PageCase::name));

INSTANTIATE_TEST_SUITE_P(
    Sites, RecognitionCases,
    ::testing::Values(
        PageCase{"EmptyPage", {}, "", ""},
        PageCase{"OnlyEmptyLines", {"\r", "\r", ""}, "", ""},
        PageCase{"AncestryFooterInLine0Alone", {"Copyright 1998-2006 Ancestry.com\r"}, "", ""},
        PageCase{"AncestryFooter", {"\r", "Name: John", "x", "Sex: M", "(c) 1997-2006 Ancestry.com"}, "ANC",
                 "Ind"},
        PageCase{"RootsWeb", {"\r", "RootsWeb's WorldConnect Project", "Name: John", "Sex: M"}, "RW", "Ind"},
        PageCase{"LowerCaseRootsWeb", {"\r", "rootsweb", "Name: John", "Sex: M"}, "", ""},
        PageCase{"FirstMarkerLineDecides", {"\r", "RootsWeb", "Ancestry.com"}, "RW", ""},
        PageCase{"AncestryBeforeRootsWebOnOneLine", {"\r", "RootsWeb is supported by Ancestry.com"}, "ANC", ""},
        PageCase{"GenCircles", {"\r", "GenCircles", "Spouses & Children"}, "GC", "Ind"},
        PageCase{"MyTrees", {"\r", "Copyright Fficiency Software, Inc", "Individual Record"}, "MYT", "Ind"}),
    testing::NamedBy(&PageCase::name));

const std::string kRW = "RootsWeb WorldConnect";

INSTANTIATE_TEST_SUITE_P(
    AncestryTypes, RecognitionCases,
    ::testing::Values(
        PageCase{"Register", {"\r", kRW, "Descendant Register, Generation No. 1"}, "RW", "Reg"},
        PageCase{"DescendantsPlus", {"\r", kRW, "1 John Smith", "+ Mary Jones"}, "RW", "Des"},
        PageCase{"DescendantsAfterIndex", {"\r", kRW, "Index", "x", "1 John Smith", "2 Ann Smith"}, "RW", "Des"},
        PageCase{"DescendantsTwoWithoutIndex", {"\r", kRW, "Home", "x", "1 John Smith", "2 Ann Smith"}, "RW", ""},
        PageCase{"OneOnLastLineAlone", {"\r", kRW, "1 John Smith"}, "RW", ""},
        PageCase{"Ahnentafel", {"\r", kRW, "Ahnentafel, Generation No. 1"}, "RW", "Ahn"},
        PageCase{"OffersTableShowsText", {"\r", kRW, "  Display pedigree in table format "}, "RW", "Ptx"},
        PageCase{"OffersTextShowsTable", {"\r", kRW, "Display pedigree in text format"}, "RW", "Ptb"},
        PageCase{"EqualsIsWholeLine", {"\r", kRW, "Display pedigree in text format now"}, "RW", ""},
        PageCase{"GivenThenSurname", {"\r", kRW, "Given Name: John", "Surname: Smith"}, "RW", "Ind"},
        PageCase{"GivenThenSexThirdLine", {"\r", kRW, "Given Name: John", "a", "b", "Sex: M"}, "RW", "Ind"},
        PageCase{"GivenThenSexTooFar", {"\r", kRW, "Given Name: John", "a", "b", "c", "Sex: M"}, "RW", ""},
        PageCase{"SurnameThenGiven", {"\r", kRW, "Surname: Smith", "Given Name: John"}, "RW", "Ind"},
        PageCase{"GivenOnLastLineAlone", {"\r", kRW, "Given Name: John"}, "RW", ""},
        PageCase{"NameThenSex", {"\r", kRW, "Name: John Smith", "Sex: M"}, "RW", "Ind"},
        PageCase{"NameThenSexTooFar", {"\r", kRW, "Name: John", "a", "b", "c", "Sex: M"}, "RW", ""},
        PageCase{"FirstHitLineWins", {"\r", kRW, "Ahnentafel, Generation No. 1", "Descendant Register, Generation"},
                 "RW", "Ahn"},
        PageCase{"RegisterOutranksDesOnSameLine", {"\r", kRW, "1 Descendant Register, Generation", "+ x"}, "RW",
                 "Reg"},
        PageCase{"AncestryUsesSameTests", {"\r", "Ancestry.com", "Ahnentafel, Generation No. 1"}, "ANC",
                 "Ahn"}),
    testing::NamedBy(&PageCase::name));

const std::string kMYT = "Fficiency Software, Inc";
const std::string kGC = "GenCircles";

INSTANTIATE_TEST_SUITE_P(
    MyTreesAndGenCircles, RecognitionCases,
    ::testing::Values(
        PageCase{"MytSubmitted", {"\r", kMYT, "Smith - Submitted Pedigree"}, "MYT", "Ped"},
        PageCase{"MytHusbandsLine", {"\r", kMYT, "Husband's Line"}, "MYT", "Ped"},
        PageCase{"MytFamily", {"\r", kMYT, " Family Record "}, "MYT", "Fam"},
        PageCase{"MytIndividual", {"\r", kMYT, "Individual Record"}, "MYT", "Ind"},
        PageCase{"MytLineEndCrIsNoCharacter", {"\r", kMYT, "Family Record\r"}, "MYT", "Fam"},
        PageCase{"MytIndividualMustBeWholeLine", {"\r", kMYT, "Individual Record of John"}, "MYT", ""},
        PageCase{"MytFirstHitWins", {"\r", kMYT, "Family Record", "Husband's Line"}, "MYT", "Fam"},
        PageCase{"GcPedigree", {"\r", kGC, "Click the icon to move the pedigree chart to that person."}, "GC",
                 "Ped"},
        PageCase{"GcIndividual", {"\r", kGC, "Spouses & Children"}, "GC", "Ind"},
        PageCase{"GcNone", {"\r", kGC, "Spouses and Children"}, "GC", ""}),
    testing::NamedBy(&PageCase::name));

TEST_F(RecognitionTest, FirstPasteFixesFirstSiteAndType) {
    g.PasteSource = 5;
    Recognise({"\r", kRW, "Ahnentafel, Generation No. 1"});
    EXPECT_EQ(g.PasteSource, 0);
    EXPECT_EQ(g.FirstSite, "RW");
    EXPECT_EQ(g.FirstType, "Ahn");

    Recognise({kFS, "Ancestral File Individual Record"});
    EXPECT_EQ(g.PageSite, "LDS");
    EXPECT_EQ(g.FirstSite, "RW");
    EXPECT_EQ(g.FirstType, "Ahn");
}

TEST_F(RecognitionTest, SiteWithoutTypeFixesOnlyFirstSite) {
    Recognise({kFS, "Search results"});
    EXPECT_EQ(g.FirstSite, "LDS");
    EXPECT_EQ(g.FirstType, "");

    Recognise({"nothing\r", "here"});
    EXPECT_EQ(g.PageSite, "");
    EXPECT_EQ(g.FirstSite, "LDS");
    EXPECT_EQ(g.FirstType, "");

    Recognise({kFS, "International Genealogical Index Individual Record"});
    EXPECT_EQ(g.FirstSite, "LDS");
    EXPECT_EQ(g.FirstType, "IndIGI");
}

TEST_F(RecognitionTest, UnrecognisedPageLeavesFirstCodesAndClearsPageCodes) {
    Recognise({kFS, "Ancestral File Individual Record"});
    Recognise({"x\r", "y"});
    EXPECT_EQ(g.PageSite, "");
    EXPECT_EQ(g.PageType, "");
    EXPECT_EQ(g.FirstSite, "LDS");
    EXPECT_EQ(g.FirstType, "IndANC");
}

TEST(SiteDomains, EverySiteHasItsDomain) {
    EXPECT_EQ(SiteDomain("ANC"), "ancestry.com");
    EXPECT_EQ(SiteDomain("RW"), "rootsweb.ancestry.com");
    EXPECT_EQ(SiteDomain("GC"), "gencircles.com");
    EXPECT_EQ(SiteDomain("MYT"), "mytrees.com");
    EXPECT_EQ(SiteDomain("LDS"), "familysearch.org");
    EXPECT_EQ(SiteDomain("XYZ"), "");
}

struct MixedCase {
    const char* firstSite;
    const char* firstType;
    const char* site;
    const char* type;
    const char* before;
    const char* after;
};

class MixedSourcesCases : public CleanState, public ::testing::WithParamInterface<MixedCase> {};

TEST_P(MixedSourcesCases, RaisedOnlyForAnotherSiteOrRecordSet) {
    const MixedCase& c = GetParam();
    g.FirstSite = c.firstSite;
    g.FirstType = c.firstType;
    g.PageSite = c.site;
    g.PageType = c.type;
    g.MixedSources = c.before;
    UpdateMixedSources();
    EXPECT_EQ(g.MixedSources, c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Pastes, MixedSourcesCases,
    ::testing::Values(MixedCase{"LDS", "IndANC", "MYT", "Ind", "N", "Y"},
                      MixedCase{"LDS", "FamIGI", "LDS", "IndIGI", "N", "N"},
                      MixedCase{"LDS", "IndANC", "LDS", "IndIGI", "N", "Y"},
                      MixedCase{"RW", "Reg", "RW", "Ind", "N", "Y"},
                      MixedCase{"RW", "Reg", "RW", "Reg", "N", "N"},
                      MixedCase{"RW", "Reg", "RW", "Reg", "Y", "Y"},
                      MixedCase{" LDS ", "FamIGI  ", "LDS", "IndIGI", "N", "N"},
                      MixedCase{"LDS", "IndANC", "MYT", "", "N", "N"},
                      MixedCase{"LDS", "IndANC", "", "", "N", "N"}),
    testing::NamedBy([](const MixedCase& c) {
        return std::string(c.firstSite) + " " + c.firstType + " then " + c.site + " " + c.type + " was " + c.before;
    }));

class PasteSourceTest : public CleanState {
protected:
    void SetUp() override {
        CleanState::SetUp();
        AddRow("LDS", "ANC");  // 1
        AddRow("ANC", "");     // 2
        AddRow("LDS", "IGI");  // 3
        AddRow("RW", "");      // 4
        AddRow("ANC", "");     // 5
    }
    void AddRow(const char* site, const char* kind) {
        int32_t n = AddSource();
        ASSERT_GT(n, 0);
        g.Source[n].sSite = site;
        g.Source[n].sKind = kind;
    }
    int16_t Choose(const char* site, const char* type) {
        g.PageSite = site;
        g.PageType = type;
        return ChoosePasteSource();
    }
};

TEST_F(PasteSourceTest, FirstRowOfTheSiteAndForFamilySearchOfTheRecordSet) {
    EXPECT_EQ(Choose("LDS", "IndIGI"), 3);
    EXPECT_EQ(g.PasteSource, 3);
    EXPECT_EQ(Choose("LDS", "PedANC"), 1);
    EXPECT_EQ(Choose("ANC", "Ind"), 2);
    EXPECT_EQ(Choose("RW", "Reg"), 4);
    EXPECT_EQ(Choose("LDS", "IndPRF"), 0);
    EXPECT_EQ(g.PasteSource, 0);
    EXPECT_EQ(Choose("GC", "Ind"), 0);
}

TEST_F(PasteSourceTest, CountBeyondTheTableIsNotFollowed) {
    g.Source.resize(3);  // rows 1 and 2 only
    EXPECT_EQ(Choose("RW", "Reg"), 0);
    EXPECT_EQ(Choose("ANC", "Ind"), 2);
}

}  // namespace
}  // namespace lintora
