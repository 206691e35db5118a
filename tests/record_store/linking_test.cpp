#include "record_store/linking.h"

#include <stdexcept>

#include "record_store/matching.h"
#include "record_store/program_state.h"
#include "record_store/tables.h"
#include "platform/window_ports.h"
#include "tests/support/scripted_platform.h"
#include "tests/support/table_checks.h"

namespace lintora {
namespace {

struct FakeWindows : MainWindowPort {
    int pickLists = 0;
    void LoadParentPickList() override { ++pickLists; }
};

// A person filed by an earlier paste.
int32_t Person(const std::string& name, const std::string& sex = "", const std::string& afn = "") {
    int32_t i = CreateIndivFromPage(name, "", afn, 0, 0, "");
    EXPECT_GT(i, 0);
    g.Indiv[i].iSex = sex;
    g.Indiv[i].iTouched = 0;
    return i;
}

int32_t Couple(int32_t husband, int32_t wife) { return FindOrAddFamil(husband, wife); }

PageScratchRec& Page(const std::string& name, const std::string& sex = "", const std::string& afn = "") {
    InitPrep();
    PageScratchRec& ps = g.PageScratch;
    ps.pgName = name;
    ps.pgSex = sex;
    ps.pgAFN = afn;
    return ps;
}

PageSpouse& AddSpouse(const std::string& name, const std::string& afn = "") {
    PageScratchRec& ps = g.PageScratch;
    int16_t k = ps.AddSpouse();
    EXPECT_GT(k, 0);
    ps.PageSpouses[k].spName = name;
    ps.PageSpouses[k].spAFN = afn;
    return ps.PageSpouses[k];
}

PageChild& AddChild(const std::string& name, const std::string& sex = "") {
    PageScratchRec& ps = g.PageScratch;
    int16_t k = ps.AddChild();
    EXPECT_GT(k, 0);
    ps.PageChildren[k].chName = name;
    ps.PageChildren[k].chSex = sex;
    return ps.PageChildren[k];
}

PageParentSet& AddParents(const std::string& father, const std::string& mother, const std::string& fAfn = "",
                          const std::string& mAfn = "") {
    PageScratchRec& ps = g.PageScratch;
    int16_t k = ps.AddParentSet();
    EXPECT_GT(k, 0);
    PageParentSet& s = ps.PageParentSets[k];
    s.psFatherName = father;
    s.psMotherName = mother;
    s.psFatherAFN = fAfn;
    s.psMotherAFN = mAfn;
    return s;
}

void ClearTouched() {
    for (int32_t i = 1; i <= g.IndivCount; ++i) g.Indiv[i].iTouched = 0;
}

class LinkingTest : public testing::CleanState {
protected:
    FakeWindows windows;
    void SetUp() override {
        CleanState::SetUp();
        InstallWindowFakes(&windows);
    }
    void TearDown() override {
        RemoveWindowFakes();
        CleanState::TearDown();
    }
};

TEST_F(LinkingTest, PagePersonFieldsReplaceOnlyWithValues) {
    const int32_t p = Person("John Smith", "M", "AF1");
    IndivRec& r = g.Indiv[p];
    r.iCDno = 5;
    r.iPIDno = 9;
    r.idDate = "1900";

    PageScratchRec& ps = Page("Johnny Smith", "", "AF1");
    ps.pgGivn = "Johnny";
    ps.pgbDate = "2 Feb 1850";
    AddParents("Unknown", "");
    EXPECT_EQ(ApplyPagePerson(), p);
    EXPECT_EQ(ps.pgRIN, p);
    EXPECT_EQ(r.iCDno, 5);
    EXPECT_EQ(r.iPIDno, 9);
    EXPECT_EQ(r.idDate.value(), "1900");
    EXPECT_EQ(r.iSex.value(), "M");
    EXPECT_EQ(r.iName.value(), "John Smith");
    EXPECT_EQ(r.iGivn.value(), "Johnny");
    EXPECT_EQ(r.ibDate.value(), "2 Feb 1850");
    EXPECT_EQ(ps.PageParentSets[1].psFatherName.value(), "<unknown>");
    EXPECT_EQ(ps.PageParentSets[1].psMotherName.value(), "");

    PageScratchRec& again = Page("John Smith", "U", "AF1");
    again.pgCDno = 7;
    again.pgdDate = "1901";
    EXPECT_EQ(ApplyPagePerson(), p);
    EXPECT_EQ(r.iCDno, 7);
    EXPECT_EQ(r.iPIDno, 9);
    EXPECT_EQ(r.idDate.value(), "1901");
    EXPECT_EQ(r.iSex.value(), "U");
    EXPECT_EQ(r.ibDate.value(), "2 Feb 1850");
}

// One text field of the page person and the record field it fills.
struct PagePersonField {
    const char* what;
    std::string PageScratchRec::*page;
    std::string (*stored)(const IndivRec&);
};

TEST_F(LinkingTest, EveryPagePersonFieldIsCopiedOnlyWhenItHoldsAValue) {
    // clang-format off
    const std::vector<PagePersonField> fields = {
        {"AFN", &PageScratchRec::pgAFN, [](const IndivRec& r) { return r.iAFN.value(); }},
        {"given", &PageScratchRec::pgGivn, [](const IndivRec& r) { return r.iGivn.value(); }},
        {"surname", &PageScratchRec::pgSurn, [](const IndivRec& r) { return r.iSurn.value(); }},
        {"suffix", &PageScratchRec::pgSuffix, [](const IndivRec& r) { return r.iSuffix.value(); }},
        {"prefix", &PageScratchRec::pgPrefix, [](const IndivRec& r) { return r.iPrefix.value(); }},
        {"title", &PageScratchRec::pgTitle, [](const IndivRec& r) { return r.iTitle.value(); }},
        {"nickname", &PageScratchRec::pgNick, [](const IndivRec& r) { return r.iNick.value(); }},
        {"name key", &PageScratchRec::pgNameKey, [](const IndivRec& r) { return r.iNameKey.value(); }},
        {"sex", &PageScratchRec::pgSex, [](const IndivRec& r) { return r.iSex.value(); }},
        {"birth date", &PageScratchRec::pgbDate, [](const IndivRec& r) { return r.ibDate.value(); }},
        {"birth place", &PageScratchRec::pgbPlace, [](const IndivRec& r) { return r.ibPlace.value(); }},
        {"christening date", &PageScratchRec::pgcDate, [](const IndivRec& r) { return r.icDate.value(); }},
        {"christening place", &PageScratchRec::pgcPlace, [](const IndivRec& r) { return r.icPlace.value(); }},
        {"death date", &PageScratchRec::pgdDate, [](const IndivRec& r) { return r.idDate.value(); }},
        {"death place", &PageScratchRec::pgdPlace, [](const IndivRec& r) { return r.idPlace.value(); }},
        {"burial date", &PageScratchRec::pgblDate, [](const IndivRec& r) { return r.iblDate.value(); }},
        {"burial place", &PageScratchRec::pgblPlace, [](const IndivRec& r) { return r.iblPlace.value(); }},
        {"submitter", &PageScratchRec::pgSubmNo, [](const IndivRec& r) { return r.iSubmNo.value(); }},
        {"film", &PageScratchRec::pgFilmNo, [](const IndivRec& r) { return r.iFilmNo.value(); }},
        {"page", &PageScratchRec::pgPageNo, [](const IndivRec& r) { return r.iPageNo.value(); }},
        {"reference", &PageScratchRec::pgRefNo, [](const IndivRec& r) { return r.iRefNo.value(); }},
    };
    // clang-format on
    const int32_t p = Person("Kit Vale", "", "K1");
    for (const auto& f : fields) {
        SCOPED_TRACE(f.what);
        const bool isAfn = f.page == &PageScratchRec::pgAFN;
        const std::string value = isAfn ? "K1" : (f.page == &PageScratchRec::pgSex ? "F" : " Seen ");
        ClearTouched();
        PageScratchRec& ps = Page("Kit Vale", "", "K1");
        ps.*f.page = value;
        EXPECT_EQ(ApplyPagePerson(), p);
        EXPECT_EQ(f.stored(g.Indiv[p]), TrimBlanks(value));
        // A page without it keeps what is stored.
        ClearTouched();
        PageScratchRec& blank = Page("Kit Vale", "", "K1");
        if (!isAfn) blank.*f.page = "   ";
        EXPECT_EQ(ApplyPagePerson(), p);
        EXPECT_EQ(f.stored(g.Indiv[p]), TrimBlanks(value));
    }
    EXPECT_EQ(g.Indiv[p].iName.value(), "Kit Vale");
}

TEST_F(LinkingTest, SpouseChildAndParentDataReachTheirRecords) {
    // Already filed: the page's data goes into the records found.
    Person("Ann Vale", "", "A1");
    Person("Paul Hill", "", "PH");
    Person("Pia Moss", "", "PM");
    Page("Tom Hill", "M", "T1");
    PageSpouse& sp = AddSpouse("Ann Vale", "A1");
    sp.spPIDno = 55;
    sp.spbDate = "1 Jan 1850";
    sp.spbPlace = "York";
    sp.spcDate = "2 Jan 1850";
    sp.spcPlace = "Hull";
    sp.spdDate = "3 Jan 1900";
    sp.spdPlace = "Leeds";
    sp.spblDate = "4 Jan 1900";
    sp.spblPlace = "Ripon";
    PageChild& ch = AddChild("Kit Hill", "F");
    ch.chAFN = "C1";
    ch.chbDate = "5 May 1875";
    ch.chbPlace = "Selby";
    ch.chcDate = "6 May 1875";
    ch.chcPlace = "Goole";
    ch.chdDate = "7 May 1950";
    ch.chdPlace = "Thirsk";
    ch.chblDate = "8 May 1950";
    ch.chblPlace = "Malton";
    PageParentSet& set = AddParents("Paul Hill", "Pia Moss", "PH", "PM");
    set.psFatherPIDno = 66;
    set.psMotherCDno = 2;
    set.psFatherbDate = "1820";
    set.psFatherbPlace = "Wakefield";
    set.psMotherbDate = "1825";
    set.psMotherbPlace = "Otley";
    LinkPageFamily();

    const auto& ps = g.PageScratch;
    const IndivRec& ann = g.Indiv[ps.PageSpouses[1].spRIN];
    EXPECT_EQ(ann.iAFN.value(), "A1");
    EXPECT_EQ(ann.iPIDno, 55);
    EXPECT_EQ(ann.ibDate.value() + ann.ibPlace.value(), "1 Jan 1850York");
    EXPECT_EQ(ann.icDate.value() + ann.icPlace.value(), "2 Jan 1850Hull");
    EXPECT_EQ(ann.idDate.value() + ann.idPlace.value(), "3 Jan 1900Leeds");
    EXPECT_EQ(ann.iblDate.value() + ann.iblPlace.value(), "4 Jan 1900Ripon");
    EXPECT_EQ(ann.iGivn.value() + "|" + ann.iSurn.value(), "Ann|Vale");

    const IndivRec& kit = g.Indiv[ps.PageChildren[1].chRIN];
    EXPECT_EQ(kit.iAFN.value(), "C1");
    EXPECT_EQ(kit.iSex.value(), "F");
    EXPECT_EQ(kit.ibDate.value() + kit.ibPlace.value(), "5 May 1875Selby");
    EXPECT_EQ(kit.icDate.value() + kit.icPlace.value(), "6 May 1875Goole");
    EXPECT_EQ(kit.idDate.value() + kit.idPlace.value(), "7 May 1950Thirsk");
    EXPECT_EQ(kit.iblDate.value() + kit.iblPlace.value(), "8 May 1950Malton");
    EXPECT_EQ(kit.iGivn.value() + "|" + kit.iSurn.value(), "Kit|Hill");

    const IndivRec& paul = g.Indiv[ps.PageParentSets[1].psFatherRIN];
    const IndivRec& pia = g.Indiv[ps.PageParentSets[1].psMotherRIN];
    EXPECT_EQ(paul.iSex.value() + paul.iAFN.value() + paul.ibDate.value() + paul.ibPlace.value(),
              "MPH1820Wakefield");
    EXPECT_EQ(paul.iPIDno, 66);
    EXPECT_EQ(pia.iSex.value() + pia.iAFN.value() + pia.ibDate.value() + pia.ibPlace.value(), "FPM1825Otley");
    EXPECT_EQ(pia.iCDno, 2);
    EXPECT_EQ(pia.iGivn.value() + "|" + pia.iSurn.value(), "Pia|Moss");
}

TEST_F(LinkingTest, MatchedPersonWithANewSurnameInitialIsReindexed) {
    const int32_t p = Person("John Smith", "M", "AF1");
    ASSERT_EQ(g.NameIdxCount[4], 1);
    PageScratchRec& ps = Page("John Brown", "M", "AF1");
    ps.pgSurn = "Brown";
    EXPECT_EQ(ApplyPagePerson(), p);
    EXPECT_EQ(g.NameIdxCount[4], 0);
    ASSERT_EQ(g.NameIdxCount[0], 1);
    EXPECT_EQ(g.NameIdx[0][1], p);
}

TEST_F(LinkingTest, UnfiledPagePersonLeavesEverythingAlone) {
    const int32_t old = Person("Old Timer", "M");
    const IndivRec before = g.Indiv[old];
    for (bool fullTable : {false, true}) {
        SCOPED_TRACE(fullTable ? "full table" : "blank name");
        g.LastIndiv = old;
        Page(fullTable ? "Zed Zulu" : "   ", "M");
        g.PageScratch.pgNotes = "A note";
        g.PageScratch.pgbDate = "1900";
        AddSpouse("Amy Zulu").spmDate = "1920";
        AddChild("Bob Zulu");
        AddParents("Carl Zulu", "Dora Zulu");
        if (fullTable) g.IndivCount = kMaxIndiv;
        const int32_t indivs = g.IndivCount;
        EXPECT_EQ(LinkPageFamily(), 0);
        EXPECT_EQ(g.PageMainIndiv, 0);
        EXPECT_EQ(g.IndivCount, indivs);
        EXPECT_EQ(g.FamilCount, 0);
        EXPECT_EQ(g.NotesCount, 0);
        EXPECT_EQ(g.Indiv[old], before);
        EXPECT_EQ(windows.pickLists, 0);
    }
}

TEST_F(LinkingTest, SpousePlacesFollowThePagePersonsSex) {
    struct Case {
        const char* what;
        std::string storedSex, pageSex, spouseStoredSex;
        bool pageIsWife;
        std::string spouseSexAfter;
    };
    const std::vector<Case> cases = {
        {"recorded F, page blank: wife", "F", "", "", true, "M"},
        {"page U: husband", "", "U", "", false, "F"},
        {"page M", "", "M", "", false, "F"},
        {"spouse of the same sex keeps it", "", "M", "M", false, "M"},
        {"page Female: wife", "", "Female", "", true, "M"},
        {"page Male: husband", "", "Male", "", false, "F"},
        {"page Unknown: husband", "", "Unknown", "", false, "F"},
        {"an odd sex still takes a place", "", "X", "", false, "F"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ResetProgramState();
        const int32_t p = Person("Pat Smith", c.storedSex, "P1");
        const int32_t s = Person("Lee Jones", c.spouseStoredSex, "S1");
        Page("Pat Smith", c.pageSex, "P1");
        AddSpouse("Lee Jones", "S1");
        EXPECT_EQ(LinkPageFamily(), p);
        ASSERT_EQ(g.FamilCount, 1);
        EXPECT_EQ(g.Famil[1].fHusb, c.pageIsWife ? s : p);
        EXPECT_EQ(g.Famil[1].fWife, c.pageIsWife ? p : s);
        EXPECT_EQ(g.Indiv[s].iSex.value(), c.spouseSexAfter);
        EXPECT_EQ(g.PageScratch.PageSpouses[1].spRIN, s);
    }
}

TEST_F(LinkingTest, CoupleIsReusedAndAPageWithoutMarriageKeepsIt) {
    Page("Tom Hill", "M", "T1");
    PageSpouse& sp = AddSpouse("Ann Vale", "A1");
    sp.spmDate = "3 Jun 1875";
    sp.spmPlace = "Leeds";
    sp.spCDno = 4;
    LinkPageFamily();
    ASSERT_EQ(g.FamilCount, 1);
    const int32_t ann = g.PageScratch.PageSpouses[1].spRIN;
    EXPECT_EQ(g.Indiv[ann].iCDno, 4);

    ClearTouched();
    Page("Ann Vale", "F", "A1");
    AddSpouse("Tom Hill", "T1");
    LinkPageFamily();
    EXPECT_EQ(g.FamilCount, 1);
    EXPECT_EQ(g.Famil[1].fmDate.value(), "3 Jun 1875");
    EXPECT_EQ(g.Famil[1].fmPlace.value(), "Leeds");

    ClearTouched();
    Page("Tom Hill", "M", "T1");
    AddSpouse("Ann Vale", "A1").spmDate = "4 Jun 1875";
    LinkPageFamily();
    EXPECT_EQ(g.Famil[1].fmDate.value(), "4 Jun 1875");
    EXPECT_EQ(g.Famil[1].fmPlace.value(), "Leeds");
    EXPECT_EQ(g.Indiv[ann].iCDno, 4);
}

TEST_F(LinkingTest, SeveralSpousesAndTheirChildren) {
    Page("Tom Hill", "M");
    AddSpouse("Ann Vale");
    AddSpouse("Eve Ross");
    AddChild("Kit Hill", "M");
    AddChild("Max Hill", "F");
    LinkPageFamily();
    ASSERT_EQ(g.FamilCount, 2);
    EXPECT_EQ(g.Famil[1].fChilCount, 2);
    EXPECT_EQ(g.Famil[2].fChilCount, 2);
    for (int16_t k = 1; k <= 2; ++k) {
        const int32_t c = g.PageScratch.PageChildren[k].chRIN;
        ASSERT_GT(c, 0);
        EXPECT_EQ(g.Indiv[c].iFamc, 1);
    }
}

TEST_F(LinkingTest, SpouseThatIsThePagePersonIsNotMarriedToHimself) {
    const int32_t p = Person("Tom Hill", "M", "T1");
    g.Indiv[p].ibDate = "1850";
    Page("Tom Hill", "M", "T1");
    PageSpouse& sp = AddSpouse("Thomas Hill", "T1");
    sp.spbDate = "1999";
    int32_t fam = -1;
    g.PageScratch.pgRIN = ApplyPagePerson();
    EXPECT_EQ(LinkPageSpouse(1, fam, ""), 0);
    EXPECT_EQ(fam, 0);
    EXPECT_EQ(g.FamilCount, 0);
    EXPECT_EQ(g.Indiv[p].ibDate.value(), "1850");
    EXPECT_EQ(g.Indiv[p].iSex.value(), "M");
}

TEST_F(LinkingTest, SpouseParentsAndTheSwitchQuestion) {
    const int32_t s = Person("Ann Vale", "F", "A1");
    const int32_t oldDad = Person("Otto Vale", "M");
    const int32_t oldMum = Person("Olga Vale", "F");
    const int32_t oldFam = Couple(oldDad, oldMum);
    g.Indiv[s].iFamc = oldFam;
    g.Famil[oldFam].fChilCount = 1;

    for (MsgResult answer : {MsgResult::No, MsgResult::Yes}) {
        SCOPED_TRACE(answer == MsgResult::Yes ? "Yes" : "No");
        ClearTouched();
        Page("Tom Hill", "M", "T1");
        AddSpouse("Ann Vale", "A1");
        g.PageScratch.SpouseFather.Name = "Paul Vale";
        g.PageScratch.SpouseFather.AFN = "PV";
        g.PageScratch.SpouseMother.Name = "Pia Moss";
        g.PageScratch.SpouseMother.AFN = "PM";
        ui.Answer(answer);
        LinkPageFamily();
        ASSERT_EQ(ui.boxes.size(), 1u);
        EXPECT_EQ(ui.boxes[0].title, "Unable to link to more than one set of parents...");
        EXPECT_EQ(ui.boxes[0].buttons, MsgButtons::YesNo);
        EXPECT_EQ(ui.boxes[0].text,
                  "Ann Vale is the child of another set of parents:\nOtto Vale and Olga Vale\n"
                  "Would you like to switch the child over to these parents?\nPaul Vale and Pia Moss");
        const int32_t newFam = g.LastFamil;
        ASSERT_NE(newFam, oldFam);
        EXPECT_EQ(g.Famil[newFam].fChilCount, 1);
        EXPECT_EQ(g.Indiv[g.PageScratch.SpouseFather.RIN].iSex.value(), "M");
        EXPECT_EQ(g.Indiv[g.PageScratch.SpouseMother.RIN].iAFN.value(), "PM");
        if (answer == MsgResult::No) {
            EXPECT_EQ(g.Indiv[s].iFamc, oldFam);
            EXPECT_EQ(g.Famil[oldFam].fChilCount, 1);
        } else {
            EXPECT_EQ(g.Indiv[s].iFamc, newFam);
            EXPECT_EQ(g.Famil[oldFam].fChilCount, 0);
        }
        ui.boxes.clear();
    }
}

TEST_F(LinkingTest, SpouseParentWithoutANameIsSkipped) {
    Page("Tom Hill", "M");
    AddSpouse("Ann Vale");
    g.PageScratch.SpouseMother.Name = "Pia Moss";
    LinkPageFamily();
    const int32_t ann = g.PageScratch.PageSpouses[1].spRIN;
    const int32_t mum = g.PageScratch.SpouseMother.RIN;
    ASSERT_GT(mum, 0);
    ASSERT_EQ(g.FamilCount, 2);
    EXPECT_EQ(g.Famil[2].fHusb, 0);
    EXPECT_EQ(g.Famil[2].fWife, mum);
    EXPECT_EQ(g.Indiv[ann].iFamc, 2);
    EXPECT_EQ(g.PageScratch.SpouseFather.RIN, 0);

    // The page again, her parents called only unknown: nobody to file.
    Page("Tom Hill", "M");
    AddSpouse("Ann Vale");
    g.PageScratch.SpouseFather.Name = " unk ";
    g.PageScratch.SpouseMother.Name = "UNKNOWN unknown";
    LinkPageFamily();
    EXPECT_EQ(g.IndivCount, 3);
    EXPECT_EQ(g.FamilCount, 2);
    EXPECT_EQ(g.Indiv[ann].iFamc, 2);
}

TEST_F(LinkingTest, LivingChildrenGetAnIdOfTheirParentsAndPlace) {
    const int32_t tom = Person("Tom Smith", "M"), sue = Person("Sue Jones", "F");
    const int32_t fam = Couple(tom, sue);
    Page("Tom Smith", "M");
    for (const char* name : {"Living", "Livingston Smith", "LIVING SMITH", "Ann Smith"}) AddChild(name);
    g.PageScratch.PageChildren[4].chName = "Living";
    g.PageScratch.PageChildren[4].chGenID = "OWN-ID";
    g.PageScratch.pgRIN = tom;
    for (int16_t k = 1; k <= 4; ++k) EXPECT_GT(LinkPageChild(k, fam), 0);
    const auto& ch = g.PageScratch.PageChildren;
    EXPECT_EQ(ch[1].chGenID.value(), "S530000000J5200000001");
    EXPECT_EQ(ch[2].chGenID.value(), "S530000000J5200000002");
    EXPECT_EQ(ch[3].chGenID.value(), "S530000000J5200000003");
    EXPECT_EQ(ch[4].chGenID.value(), "OWN-ID");
    EXPECT_EQ(g.Indiv[ch[1].chRIN].iGenID.value(), "S530000000J5200000001");
    EXPECT_EQ(g.Indiv[ch[1].chRIN].iFamc, fam);
    const int32_t first = ch[1].chRIN;

    // The same page again finds the same child by that id.
    ClearTouched();
    Page("Tom Smith", "M");
    AddChild("Living");
    g.PageScratch.pgRIN = tom;
    const int32_t count = g.IndivCount;
    EXPECT_EQ(LinkPageChild(1, fam), first);
    EXPECT_EQ(g.IndivCount, count);
    EXPECT_TRUE(ui.matchRequests.empty());
}

TEST_F(LinkingTest, ChildWithoutAFamilyKeepsHisParentsUnasked) {
    const int32_t dad = Person("Otto Vale", "M"), mum = Person("Olga Vale", "F");
    const int32_t fam = Couple(dad, mum);
    const int32_t kid = Person("Kit Vale", "M", "K1");
    g.Indiv[kid].iFamc = fam;
    Page("Tom Hill", "M");
    AddChild("Living Vale");
    AddChild("Kit Vale").chAFN = "K1";
    EXPECT_GT(LinkPageChild(1, 0), 0);
    EXPECT_TRUE(g.PageScratch.PageChildren[1].chGenID.blank());
    EXPECT_EQ(g.Indiv[g.PageScratch.PageChildren[1].chRIN].iFamc, 0);
    EXPECT_EQ(LinkPageChild(2, 0), kid);
    EXPECT_EQ(g.Indiv[kid].iFamc, fam);
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(LinkingTest, ChildOfOtherParentsIsAskedAbout) {
    const int32_t dad = Person("Otto Vale", "M"), mum = Person("Olga Vale", "F");
    const int32_t oldFam = Couple(dad, mum);
    const int32_t tom = Person("Tom Hill", "M"), ann = Person("Ann Hill", "F");
    const int32_t newFam = Couple(tom, ann);
    const int32_t kid = Person("Kit Vale", "F", "K1");
    g.Indiv[kid].iFamc = oldFam;
    for (MsgResult answer : {MsgResult::No, MsgResult::Yes}) {
        Page("Tom Hill", "M");
        AddChild("Kit Vale").chAFN = "K1";
        ui.Answer(answer);
        EXPECT_EQ(LinkPageChild(1, newFam), kid);
        EXPECT_EQ(ui.boxes.back().title, "Unable to link child to more than one set of parents...");
        EXPECT_EQ(g.Indiv[kid].iFamc, answer == MsgResult::Yes ? newFam : oldFam);
        EXPECT_EQ(g.Indiv[kid].iSex.value(), "F");
    }
    // A stale count never goes below nothing.
    EXPECT_EQ(g.Famil[oldFam].fChilCount, 0);
}

TEST_F(LinkingTest, ChildWhoIsAPartnerOfTheFamilyIsNotLinked) {
    const int32_t tom = Person("Tom Hill", "M", "T1"), ann = Person("Ann Hill", "F");
    const int32_t fam = Couple(tom, ann);
    Page("Ann Hill", "F");
    AddChild("Tom Hill", "M").chAFN = "T1";
    g.PageScratch.PageChildren[1].chbDate = "2000";
    EXPECT_EQ(LinkPageChild(1, fam), 0);
    EXPECT_EQ(g.Indiv[tom].iFamc, 0);
    EXPECT_TRUE(g.Indiv[tom].ibDate.blank());
}

TEST_F(LinkingTest, ChildrenOfAPageWithoutSpouseGetAOneParentFamily) {
    for (const char* sex : {"M", "F"}) {
        SCOPED_TRACE(sex);
        ResetProgramState();
        Page("Pat Hill", sex);
        AddChild("Kit Hill");
        AddChild("Max Hill");
        const int32_t p = LinkPageFamily();
        ASSERT_EQ(g.FamilCount, 1);
        EXPECT_EQ(g.Famil[1].fHusb, sex == std::string("M") ? p : 0);
        EXPECT_EQ(g.Famil[1].fWife, sex == std::string("F") ? p : 0);
        EXPECT_EQ(g.Indiv[g.PageScratch.PageChildren[1].chRIN].iFamc, 1);
        EXPECT_EQ(g.Indiv[g.PageScratch.PageChildren[2].chRIN].iFamc, 1);
    }
    // No child filed: no family is left behind.
    ResetProgramState();
    Page("Pat Hill", "M");
    AddChild("   ");
    LinkPageFamily();
    EXPECT_EQ(g.FamilCount, 0);
    EXPECT_EQ(g.Indiv[1].iFamsCount, 0);
}

TEST_F(LinkingTest, ParentsAreLinkedAndSwitchedOnlyWhenAsked) {
    // First filing: silently linked.
    PageScratchRec& ps = Page("Kit Vale", "M", "K1");
    AddParents("Paul Vale", "Pia Moss", "PV", "PM").psFatherCDno = 3;
    EXPECT_EQ(LinkPageFamily(), 1);
    const int32_t fam = g.Indiv[1].iFamc;
    ASSERT_GT(fam, 0);
    const int32_t dad = ps.PageParentSets[1].psFatherRIN, mum = ps.PageParentSets[1].psMotherRIN;
    EXPECT_EQ(g.Famil[fam].fHusb, dad);
    EXPECT_EQ(g.Famil[fam].fWife, mum);
    EXPECT_EQ(g.Indiv[dad].iCDno, 3);

    // Again: same people, same family, nothing asked; disc 0 keeps 3; the
    // father is a man whatever was recorded.
    ClearTouched();
    g.Indiv[dad].iSex = "F";
    g.Indiv[mum].iSex = "M";
    Page("Kit Vale", "M", "K1");
    AddParents("Paul Vale", "Pia Moss", "PV", "PM");
    const int32_t count = g.IndivCount;
    LinkPageFamily();
    EXPECT_EQ(g.IndivCount, count);
    EXPECT_EQ(g.Indiv[1].iFamc, fam);
    EXPECT_EQ(g.Indiv[dad].iCDno, 3);
    EXPECT_EQ(g.Indiv[dad].iSex.value(), "M");
    EXPECT_EQ(g.Indiv[mum].iSex.value(), "F");
    EXPECT_TRUE(ui.boxes.empty());

    // Other parents: asked once; No keeps the old ones and the new family stays.
    ClearTouched();
    Page("Kit Vale", "M", "K1");
    AddParents("Carl Berg", "Lena Berg", "CB", "LB");
    ui.Answer(MsgResult::No);
    LinkPageFamily();
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text,
              "Kit Vale is the child of another set of parents:\nPaul Vale and Pia Moss\n"
              "Would you like to switch the child over to these parents?\nCarl Berg and Lena Berg");
    EXPECT_EQ(g.Indiv[1].iFamc, fam);
    EXPECT_EQ(g.FamilCount, 2);
}

TEST_F(LinkingTest, ParentsThatCannotBeFiled) {
    struct Case {
        const char* what;
        std::string father, mother, fatherAfn;
        int32_t families;
        bool motherOnly;
    };
    const std::vector<Case> cases = {
        {"both unknown", "<unknown>", "Unknown", "", 0, false},
        {"blank father", "", "Pia Moss", "", 1, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ResetProgramState();
        Page("Kit Vale", "M", "K1");
        g.PageScratch.pgbDate = "1900";
        AddParents(c.father, c.mother, c.fatherAfn);
        const int32_t p = LinkPageFamily();
        EXPECT_EQ(g.FamilCount, c.families);
        EXPECT_EQ(g.Indiv[p].ibDate.value(), "1900");
        EXPECT_EQ(g.Indiv[p].iSex.value(), "M");
        if (c.motherOnly) {
            EXPECT_EQ(g.Famil[1].fHusb, 0);
            EXPECT_EQ(g.Indiv[g.Famil[1].fWife].iName.value(), "Pia Moss");
            EXPECT_EQ(g.Indiv[p].iFamc, 1);
        }
    }
}

TEST_F(LinkingTest, ParentsAreNeverThePagePersonOrHisWife) {
    // John Smith Jr, son of John Smith and Mary Smith, married a Mary Smith.
    // Father and son share a name, and so do mother and wife: the matcher
    // would take the father for the son (a husband of Mary Smith) and the
    // mother for the wife (a wife of John Smith).
    const int32_t john = Person("John Smith", "M", "J1");
    const int32_t mary = Person("Mary Smith", "F", "M1");
    const int32_t marriage = Couple(john, mary);
    ClearTouched();
    Page("John Smith", "M", "J1");
    AddSpouse("Mary Smith", "M1");
    AddParents("John Smith", "Mary Smith");
    EXPECT_EQ(LinkPageFamily(), john);

    const auto& set = g.PageScratch.PageParentSets[1];
    EXPECT_EQ(g.IndivCount, 4);
    for (int32_t parent : {set.psFatherRIN, set.psMotherRIN}) {
        EXPECT_GT(parent, mary);
        EXPECT_EQ(g.Indiv[parent].iName.value(), parent == set.psFatherRIN ? "John Smith" : "Mary Smith");
    }
    const int32_t parents = g.Indiv[john].iFamc;
    ASSERT_GT(parents, marriage);
    EXPECT_EQ(g.Famil[parents].fHusb, set.psFatherRIN);
    EXPECT_EQ(g.Famil[parents].fWife, set.psMotherRIN);
    EXPECT_EQ(g.Indiv[mary].iFamc, 0);
    testing::ExpectTablesConsistent();

    // The spouse's parents likewise: Mary's father is not John himself.
    ResetProgramState();
    Page("John Smith", "M", "J1");
    AddSpouse("Mary Smith", "M1");
    g.PageScratch.SpouseFather.Name = "John Smith";
    g.PageScratch.SpouseMother.Name = "Mary Smith";
    LinkPageFamily();
    const int32_t wife = g.PageScratch.PageSpouses[1].spRIN;
    ASSERT_GT(wife, 0);
    const int32_t herParents = g.Indiv[wife].iFamc;
    ASSERT_GT(herParents, 0);
    for (int32_t parent : {g.Famil[herParents].fHusb, g.Famil[herParents].fWife}) {
        EXPECT_GT(parent, 0);
        EXPECT_NE(parent, g.PageScratch.pgRIN);
        EXPECT_NE(parent, wife);
    }
    EXPECT_EQ(g.Indiv[g.PageScratch.pgRIN].iFamc, 0);
    testing::ExpectTablesConsistent();

    // And the other way: John's wife is not his mother, the wife of a man
    // of his own name.
    ResetProgramState();
    const int32_t son = Person("John Smith", "M", "J1");
    const int32_t mother = Person("Mary Smith", "F");
    g.Indiv[son].iFamc = Couple(Person("John Smith", "M"), mother);
    ClearTouched();
    Page("John Smith", "M", "J1");
    AddSpouse("Mary Smith");
    EXPECT_EQ(LinkPageFamily(), son);
    EXPECT_GT(g.PageScratch.PageSpouses[1].spRIN, mother);
    EXPECT_EQ(g.Indiv[mother].iFamsCount, 1);
    testing::ExpectTablesConsistent();
}

TEST_F(LinkingTest, SecondHusbandWithAnotherAfnIsAnotherMan) {
    // Mary's two husbands bear one name; the second one's AFN must not
    // overwrite the first one's, nor his marriage the first marriage.
    Page("Mary Hill", "F", "M1");
    AddSpouse("John Smith", "H-1").spmDate = "1 Jun 1870";
    AddSpouse("John Smith", "H-2").spmDate = "2 Jul 1880";
    LinkPageFamily();
    const auto& sp = g.PageScratch.PageSpouses;
    ASSERT_GT(sp[1].spRIN, 0);
    ASSERT_GT(sp[2].spRIN, 0);
    EXPECT_NE(sp[1].spRIN, sp[2].spRIN);
    EXPECT_EQ(g.Indiv[sp[1].spRIN].iAFN.value(), "H-1");
    EXPECT_EQ(g.Indiv[sp[2].spRIN].iAFN.value(), "H-2");
    ASSERT_EQ(g.FamilCount, 2);
    EXPECT_EQ(g.Famil[1].fmDate.value(), "1 Jun 1870");
    EXPECT_EQ(g.Famil[2].fmDate.value(), "2 Jul 1880");
}

TEST_F(LinkingTest, ParentSetChoice) {
    enum Known { None, ByAfn, ByNumbers, FatherOnly };
    struct Case {
        const char* what;
        Known knownSet2;
        bool unknownSet2;
        int pickLists;
    };
    const std::vector<Case> cases = {
        {"second set known by AFN: linked", ByAfn, false, 0},
        {"second set known by disc and pin numbers: linked", ByNumbers, false, 0},
        {"no set known: pick list", None, false, 1},
        {"only the father known: pick list", FatherOnly, false, 1},
        {"known parents named unknown: linked", ByAfn, true, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ResetProgramState();
        windows.pickLists = 0;
        // Many stored people without identifiers must not count as found.
        for (int i = 0; i < 5; ++i) Person("Nobody Known");
        const int32_t dad = Person("Paul Vale", "M", "PV"), mum = Person("Pia Moss", "F", "PM");
        g.Indiv[dad].iCDno = 2;
        g.Indiv[dad].iPIDno = 71;
        g.Indiv[mum].iCDno = 2;
        g.Indiv[mum].iPIDno = 72;
        Page("Kit Vale", "M");
        AddParents("Carl Berg", "Lena Berg");
        if (c.unknownSet2) {
            AddParents("<unknown>", "<unknown>", "PV", "PM");
        } else if (c.knownSet2 == ByNumbers) {
            PageParentSet& set = AddParents("Paul Vale", "Pia Moss");
            set.psFatherCDno = set.psMotherCDno = 2;
            set.psFatherPIDno = 71;
            set.psMotherPIDno = 72;
        } else {
            AddParents("Paul Vale", "Pia Moss", c.knownSet2 == None ? "" : "PV", c.knownSet2 == ByAfn ? "PM" : "");
        }
        const int32_t p = LinkPageFamily();
        EXPECT_EQ(windows.pickLists, c.pickLists);
        if (c.pickLists == 0) {
            EXPECT_EQ(g.ParentSetChoice, 2);
            ASSERT_GT(g.Indiv[p].iFamc, 0);
            EXPECT_EQ(g.Famil[g.Indiv[p].iFamc].fHusb, dad);
            EXPECT_EQ(g.Famil[g.Indiv[p].iFamc].fWife, mum);
            // A page that knows them only as unknown leaves their names alone.
            EXPECT_EQ(g.Indiv[dad].iName.value(), "Paul Vale");
            EXPECT_EQ(g.Indiv[dad].iGivn.value(), "Paul");
            EXPECT_EQ(g.Indiv[mum].iSurn.value(), "Moss");
        } else {
            EXPECT_EQ(g.ParentSetChoice, 0);
            EXPECT_EQ(g.Indiv[p].iFamc, 0);
            EXPECT_EQ(g.FamilCount, 0);
        }
    }
}

TEST_F(LinkingTest, PickedParentSetIsCheckedBeforeUse) {
    Page("Kit Vale", "M");
    AddParents("Paul Vale", "Pia Moss");
    g.PageScratch.pgRIN = Person("Kit Vale", "M");
    for (int16_t s : {0, 2, 11, -1}) EXPECT_EQ(LinkChildToParents(s), 0) << s;
    EXPECT_EQ(g.FamilCount, 0);
    EXPECT_GT(LinkChildToParents(1), 0);
}

// A platform whose Yes/No questions break down instead of answering.
class FailingQuestions : public testing::ScriptedPlatform {
public:
    MsgResult MsgBox(const std::string& text, MsgButtons buttons, MsgIcon icon, const std::string& title,
                     const std::string&) override {
        if (buttons == MsgButtons::YesNo) {
            boxes.push_back({text, buttons, icon, title});
            throw std::runtime_error("no answer");
        }
        return ScriptedPlatform::MsgBox(text, buttons, icon, title);
    }
};

TEST_F(LinkingTest, FailuresAreReportedByTheirOwnMessages) {
    const int32_t oldDad = Person("Otto Vale", "M", "OV"), oldMum = Person("Olga Vale", "F");
    const int32_t oldFam = Couple(oldDad, oldMum);
    const int32_t kit = Person("Kit Vale", "M", "K1");
    g.Indiv[kit].iFamc = oldFam;
    FailingQuestions failing;
    InstallPlatform(&failing);

    // The parents' own handler: what was filed before the failure stays.
    Page("Kit Vale", "M", "K1");
    AddParents("Carl Berg", "Lena Berg");
    failing.Answer(MsgResult::Ok);
    EXPECT_EQ(LinkPageFamily(), kit);
    ASSERT_EQ(failing.boxes.size(), 2u);
    EXPECT_EQ(failing.boxes[1].text, "Problem processing parents...\nno answer");
    EXPECT_EQ(failing.boxes[1].icon, MsgIcon::Exclamation);
    EXPECT_EQ(failing.boxes[1].title, "");
    EXPECT_EQ(g.Indiv[kit].iFamc, oldFam);
    EXPECT_EQ(g.FamilCount, 2);

    // A child's question fails inside the page filing: its handler reports.
    failing.boxes.clear();
    ClearTouched();
    Page("Otto Vale", "M", "OV");
    AddSpouse("Ann Hill");
    AddChild("Kit Vale").chAFN = "K1";
    failing.Answer(MsgResult::Ok);
    const int32_t otto = LinkPageFamily();
    InstallPlatform(&ui);
    EXPECT_EQ(otto, oldDad);
    EXPECT_EQ(g.PageMainIndiv, oldDad);
    ASSERT_EQ(failing.boxes.size(), 2u);
    EXPECT_EQ(failing.boxes[0].title, "Unable to link child to more than one set of parents...");
    EXPECT_EQ(failing.boxes[1].text, "Problem processing Input...\nno answer");
    EXPECT_EQ(failing.boxes[1].icon, MsgIcon::Exclamation);
    EXPECT_EQ(g.Indiv[kit].iFamc, oldFam);
}

TEST_F(LinkingTest, NotesOfAPageFiledTwiceAreStoredOnce) {
    for (int round = 0; round < 2; ++round) {
        ClearTouched();
        Page("Kit Vale", "M", "K1");
        g.PageScratch.pgNotes = "Born in a storm.\r\nLived long.\r\n";
        LinkPageFamily();
    }
    EXPECT_EQ(g.NotesCount, 2);
    EXPECT_EQ(g.Indiv[1].iNoteFlg.value(), "Y");
}

}  // namespace
}  // namespace lintora
