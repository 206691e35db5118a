#include "record_store/matching.h"

#include <stdexcept>

#include "record_store/program_state.h"
#include "record_store/tables.h"
#include "tests/support/scripted_platform.h"

namespace lintora {
namespace {

using testing::CleanState;

// A person filed by an earlier paste (no longer touched).
int32_t Person(const std::string& name, const std::string& bDate = "", const std::string& sex = "") {
    int32_t i = CreateIndivFromPage(name, "", "", 0, 0, "");
    EXPECT_GT(i, 0);
    g.Indiv[i].ibDate = bDate;
    g.Indiv[i].iSex = sex;
    g.Indiv[i].iTouched = 0;
    return i;
}

int32_t Couple(int32_t husband, int32_t wife) {
    int32_t f = FindOrAddFamil(husband, wife);
    g.Famil[f].fTouched = 0;
    return f;
}

MatchQuery Query(const std::string& name) {
    MatchQuery q;
    q.name = name;
    return q;
}

class MatchingTest : public CleanState {
public:
    int32_t john = 0, william = 0, mary = 0, ann = 0, henry = 0, eliza = 0;
    int32_t unknownWife = 0, peter = 0, living = 0, rose = 0;
    int32_t hart = 0, walter = 0, unknownOld = 0, livingBrown = 0;

    // John Smith (b 1850, c 1850, d 1900), son of William Smith and Mary
    // Jones, husband of Ann Brown; Henry Smith (b 1855), husband of Eliza
    // Green; "<unknown>", wife of Peter Grey; Living Smith, husband of Rose White.
    void World() {
        john = Person("John Smith", "12 Jan 1850", "M");
        g.Indiv[john].icDate = "20 Jan 1850";
        g.Indiv[john].idDate = "3 Mar 1900";
        william = Person("William Smith", "1820", "M");
        mary = Person("Mary Jones", "1825", "F");
        g.Indiv[john].iFamc = Couple(william, mary);
        ann = Person("Ann Brown", "1852", "F");
        Couple(john, ann);
        henry = Person("Henry Smith", "1 May 1855", "M");
        eliza = Person("Eliza Green", "", "F");
        Couple(henry, eliza);
        peter = Person("Peter Grey", "", "M");
        unknownWife = Person("<unknown>");
        Couple(peter, unknownWife);
        living = Person("Living Smith", "5 Jun 1950", "M");
        rose = Person("Rose White", "", "F");
        Couple(living, rose);
        // People on whom a single decision row holds: Bill Hart, whose
        // given names a later page made William (d 9 Sep 1909); Walter,
        // without surname (b 7 Jul 1877), husband of Greta; "<unknown>" (b 1800), wife of
        // Tobias; Living Brown (b 1 Apr 1960), husband of Daisy.
        hart = Person("Bill Hart", "", "M");
        g.Indiv[hart].iGivn = "William";
        g.Indiv[hart].idDate = "9 Sep 1909";
        walter = Person("Walter", "7 Jul 1877", "M");
        Couple(walter, Person("Greta", "", "F"));
        unknownOld = Person("<unknown>", "1800", "F");
        Couple(Person("Tobias", "", "M"), unknownOld);
        livingBrown = Person("Living Brown", "1 Apr 1960", "M");
        Couple(livingBrown, Person("Daisy", "", "F"));
    }
};

enum class Outcome { Automatic, Offered, New };

// One page person: name, birth, christening and death dates, spouse,
// father and mother; then what the matcher must do with him.
struct DecisionCase {
    const char* what;
    const char *name, *bDate, *cDate, *dDate, *spouse, *father, *mother;
    Outcome outcome;
    int32_t MatchingTest::*expected;  // the automatic match
};

TEST_F(MatchingTest, DecisionRowsAndNearMisses) {
    using M = MatchingTest;
    const auto A = Outcome::Automatic, O = Outcome::Offered, N = Outcome::New;
    const char* js = "John Smith";
    const char *ws = "William Smith", *mj = "Mary Jones";
    const std::vector<DecisionCase> cases = {
        {"row 1: birth agrees", js, "12 Jan 1850", "", "", "", "", "", A, &M::john},
        {"row 1: no birth, christening agrees", js, "", "20 Jan 1850", "", "", "", "", A, &M::john},
        {"row 2: no birth, death agrees", js, "", "", "3 Mar 1900", "", "", "", A, &M::john},
        {"row 3: parents agree", js, "", "", "", "", ws, mj, A, &M::john},
        {"row 3: parents agree crosswise", js, "", "", "", "", mj, ws, A, &M::john},
        {"row 4: spouse agrees", js, "", "", "", "Ann Brown", "", "", A, &M::john},
        {"row 5: given name only, parents", "John", "", "", "", "", ws, mj, A, &M::john},
        {"row 6: given name only, spouse", "John", "", "", "", "Ann Brown", "", "", A, &M::john},
        {"row 7: given name only, birth", "John", "12 Jan 1850", "", "", "", "", "", A, &M::john},
        {"row 8: given name only, birth year, parents", "John", "1850", "", "", "", ws, mj, A, &M::john},
        {"row 9: key and birth year", js, "Abt 1850", "", "", "", "", "", A, &M::john},
        {"row 10: name held in the other, birth", "John Henry Smith", "1 May 1855", "", "", "", "", "", A,
         &M::henry},
        {"row 11: name held in the other, spouse", "John Henry Smith", "", "", "", "Eliza Green", "", "", A,
         &M::henry},
        // Row 12 needs the partner's record or identifiers (below): a
        // placeholder is not taken by his partner's name alone.
        {"row 12 by a name alone: <unknown> beside Peter Grey", "<unknown>", "", "", "", "Peter Grey", "", "", N,
         nullptr},
        {"row 13: LIVING with the same spouse", "Living Smith", "", "", "", "Rose White", "", "", A, &M::living},
        // Each of these is decided by its row alone.
        {"row 1 alone: key and birth", "Jon Smyth", "12 Jan 1850", "", "", "", "", "", A, &M::john},
        {"row 2 alone: parts agree, death agrees", "William Hart", "", "", "9 Sep 1909", "", "", "", A, &M::hart},
        {"row 3 alone: parents agree, birth differs", js, "1851", "", "", "", ws, mj, A, &M::john},
        {"row 4 alone: spouse agrees, birth differs", js, "1851", "", "", "Ann Brown", "", "", A, &M::john},
        {"row 5 alone: key and parents", "Jon Smyth", "", "", "", "", ws, mj, A, &M::john},
        {"row 6 alone: key and spouse", "Jon Smyth", "", "", "", "Ann Brown", "", "", A, &M::john},
        {"row 7 alone: given name only, birth", "Walter Brown", "7 Jul 1877", "", "", "", "", "", A, &M::walter},
        {"row 13 alone: LIVING, spouse without surname", "Living Brown", "1980", "", "", "Daisy", "", "", A,
         &M::livingBrown},
        {"key only", js, "", "", "", "", "", "", O, nullptr},
        {"spouse without surname is no row 4", "Walter", "1880", "", "", "Greta", "", "", O, nullptr},
        {"spouse agrees but parents differ", js, "1851", "", "", "Ann Brown", "Peter Green", "Lucy Black", N,
         nullptr},
        {"key and parents, birth differs", "Jon Smyth", "1851", "", "", "", ws, mj, O, nullptr},
        // An unknown spouse agrees with nobody: John is married to Ann Brown.
        {"key and parents, spouse unknown", "Jon Smyth", "", "", "", "<unknown>", ws, mj, O, nullptr},
        {"given name only and parents, spouse unknown", "John", "", "", "", "Unknown", ws, mj, O, nullptr},
        {"parts and parents, spouse unknown", js, "", "", "", "unk", ws, mj, A, &M::john},
        {"key and spouse, birth differs", "Jon Smyth", "1851", "", "", "Ann Brown", "", "", O, nullptr},
        {"name held in the other and spouse, birth differs", "John Henry Smith", "1856", "", "", "Eliza Green", "",
         "", O, nullptr},
        {"name held in the other, birth agrees, spouse differs", "John Henry Smith", "1 May 1855", "", "",
         "Ann Brown", "", "", O, nullptr},
        {"birth 10 years off", js, "1860", "", "", "", "", "", O, nullptr},
        {"birth 15 years off", js, "1865", "", "", "", "", "", O, nullptr},
        {"birth 16 years off", js, "1866", "", "", "", "", "", N, nullptr},
        {"both parents differ", js, "", "", "", "", "Peter Green", "Lucy Black", N, nullptr},
        {"one parent differs", js, "", "", "", "", "Peter Green", mj, O, nullptr},
        {"given name only, a parent differs", "John", "", "", "", "", "Peter Green", mj, N, nullptr},
        {"spouse is the candidate's parent", js, "", "", "", mj, "", "", N, nullptr},
        {"birth year, but a parent differs", js, "1850", "", "", "", "Peter Green", mj, O, nullptr},
        {"LIVING without spouse or id is not taken", "Living Smith", "5 Jun 1950", "", "", "", "", "", O, nullptr},
        {"a spouse with the person's own key is no agreement", js, "", "", "", "Joan Smith", "", "", O, nullptr},
        {"a date without a year agrees with nothing", js, "Deceased", "", "", "", "", "", O, nullptr},
        {"a page date without a year agrees with nothing", "Rose White", "Living", "", "", "", "", "", O, nullptr},
        {"a stored date without a year disagrees with nothing", "Rose White", "1890", "2 Feb 1890", "", "", "", "",
         A, &M::rose},
        {"a year inside a longer number is no agreement", js, "185", "", "", "", "", "", N, nullptr},
        {"Mrs before the given names", "Ann (Mrs) Brown", "1852", "", "", "", "", "", A, &M::ann},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ResetProgramState();
        ui.matchRequests.clear();
        World();
        g.Indiv[rose].ibDate = "Living";
        g.Indiv[rose].icDate = "2 Feb 1890";
        const int32_t before = g.IndivCount;
        MatchQuery q = Query(c.name);
        q.bDate = c.bDate;
        q.cDate = c.cDate;
        q.dDate = c.dDate;
        q.spouseName = c.spouse;
        q.fatherName = c.father;
        q.motherName = c.mother;
        if (c.outcome == Outcome::Offered) ui.matchAnswers.push_back(0);
        const int32_t r = FindIndivMatches(q);
        EXPECT_EQ(r, g.LastIndiv);
        switch (c.outcome) {
            case Outcome::Automatic:
                EXPECT_EQ(r, this->*c.expected);
                EXPECT_EQ(g.Indiv[r].iTouched, 1);
                EXPECT_EQ(g.IndivCount, before);
                EXPECT_TRUE(ui.matchRequests.empty());
                break;
            case Outcome::Offered:
                EXPECT_EQ(ui.matchRequests.size(), 1u);
                EXPECT_EQ(r, before + 1);
                break;
            case Outcome::New:
                EXPECT_TRUE(ui.matchRequests.empty());
                EXPECT_EQ(r, before + 1);
                break;
        }
    }
}

TEST_F(MatchingTest, IdentifiersMatchWhateverTheNames) {
    World();
    g.Indiv[ann].iAFN = "1234-AB";
    g.Indiv[henry].iGenID = "G77";
    g.Indiv[eliza].iCDno = 7;
    g.Indiv[eliza].iPIDno = 900;

    MatchQuery a = Query("Zacharias Quill");
    a.afn = "1234-AB";
    EXPECT_EQ(FindIndivMatches(a), ann);
    MatchQuery b = Query("Abel Ames");
    b.genId = "G77";
    EXPECT_EQ(FindIndivMatches(b), henry);
    MatchQuery c = Query("Yolanda Yates");
    c.cdNo = 7;
    c.pidNo = 900;
    EXPECT_EQ(FindIndivMatches(c), eliza);
    // An identifier longer than its field still finds the record it made.
    const int32_t longAfn = CreateIndivFromPage("Otto Long", "", "123456789012345678", 0, 0, "");
    g.Indiv[longAfn].iTouched = 0;
    MatchQuery e = Query("Someone Else");
    e.afn = "123456789012345678";
    EXPECT_EQ(FindIndivMatches(e), longAfn);
    // A disc number alone identifies nobody.
    MatchQuery d = Query("Yolanda Yates");
    d.cdNo = 7;
    const int32_t before = g.IndivCount;
    EXPECT_EQ(FindIndivMatches(d), before + 1);
}

TEST_F(MatchingTest, CandidatesWithOtherIdentifiersAreNotOffered) {
    struct Case {
        const char* what;
        std::string storedAfn, pageAfn;
        int16_t storedCd, pageCd;
        int32_t storedPid, pagePid;
        bool offered;
    };
    const std::vector<Case> cases = {
        {"another AFN", "AF-1", "AF-2", 0, 0, 0, 0, false},
        {"an AFN on one side only", "AF-1", "", 0, 0, 0, 0, true},
        {"another disc number", "", "", 3, 4, 0, 0, false},
        {"another pin number", "", "", 0, 0, 30, 40, false},
        {"a pin number on one side only", "", "", 0, 0, 30, 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ResetProgramState();
        ui.matchRequests.clear();
        World();
        g.Indiv[john].iAFN = c.storedAfn;
        g.Indiv[john].iCDno = c.storedCd;
        g.Indiv[john].iPIDno = c.storedPid;
        MatchQuery q = Query("John Smith");
        q.afn = c.pageAfn;
        q.cdNo = c.pageCd;
        q.pidNo = c.pagePid;
        if (c.offered) ui.matchAnswers.push_back(0);
        EXPECT_EQ(FindIndivMatches(q), g.IndivCount);
        EXPECT_EQ(ui.matchRequests.size(), c.offered ? 1u : 0u);
    }
}

TEST_F(MatchingTest, DifferentIdentifiersAreNeverMatchedAutomatically) {
    // Each page person would be taken by row 1 (names and birth agree) but
    // for an identifier of the same kind that differs from the stored one.
    struct Case {
        const char* what;
        std::string storedAfn, pageAfn, storedGenId, pageGenId;
        int16_t storedCd, pageCd;
        int32_t storedPid, pagePid;
        bool matched;
        void Store(IndivRec& r) const {
            r.iAFN = storedAfn;
            r.iGenID = storedGenId;
            r.iCDno = storedCd;
            r.iPIDno = storedPid;
        }
    };
    const std::vector<Case> cases = {
        {"another AFN", "AF-1", "AF-2", "", "", 0, 0, 0, 0, false},
        {"another generated id", "", "", "G1", "G2", 0, 0, 0, 0, false},
        {"another disc and pin", "", "", "", "", 3, 3, 30, 31, false},
        {"an AFN on one side only", "AF-1", "", "", "", 0, 0, 0, 0, true},
        {"a generated id on one side only", "", "", "", "G2", 0, 0, 0, 0, true},
        {"disc and pin on one side only", "", "", "", "", 3, 0, 30, 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ResetProgramState();
        World();
        IndivRec& J = g.Indiv[john];
        c.Store(J);
        const int32_t before = g.IndivCount;
        MatchQuery q = Query("John Smith");
        q.bDate = "12 Jan 1850";
        q.afn = c.pageAfn;
        q.genId = c.pageGenId;
        q.cdNo = c.pageCd;
        q.pidNo = c.pagePid;
        const int32_t r = FindIndivMatches(q);
        EXPECT_EQ(r, c.matched ? john : before + 1);
        EXPECT_TRUE(ui.matchRequests.empty());
        EXPECT_EQ(J.iAFN.value(), c.storedAfn);
    }
    // The same identifiers on the spouse: the page's "Ann Brown" would make
    // John's wife agree (row 4) but for an identifier that differs from hers.
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("spouse with ") + c.what);
        ResetProgramState();
        ui.matchRequests.clear();
        World();
        c.Store(g.Indiv[ann]);
        const int32_t before = g.IndivCount;
        MatchQuery q = Query("John Smith");
        q.spouseName = "Ann Brown";
        q.spouseIds = {c.pageAfn, c.pageCd, c.pagePid, c.pageGenId};
        if (!c.matched) ui.matchAnswers.push_back(0);
        EXPECT_EQ(FindIndivMatches(q), c.matched ? john : before + 1);
        EXPECT_EQ(ui.matchRequests.size(), c.matched ? 0u : 1u);
    }
    // An equal one agrees whatever the name: she married again.
    ResetProgramState();
    World();
    g.Indiv[ann].iAFN = "AF-1";
    MatchQuery byAfn = Query("John Smith");
    byAfn.spouseName = "Ann Hart";
    byAfn.spouseIds.afn = "AF-1";
    EXPECT_EQ(FindIndivMatches(byAfn), john);

    // A stand-in id, meant only for a record the query may create, vetoes nothing.
    ResetProgramState();
    World();
    g.Indiv[john].iGenID = "G1";
    MatchQuery q = Query("John Smith");
    q.bDate = "12 Jan 1850";
    q.genId = "G2";
    q.pageLocalId = true;
    EXPECT_EQ(FindIndivMatches(q), john);
}

TEST_F(MatchingTest, PlaceholderIsFoundByHisPartnersRecordOrIdentifiers) {
    World();  // the same records for every case
    int32_t tobias = 0;
    for (int32_t i = 1; i <= g.IndivCount; ++i)
        if (g.Indiv[i].iName.trimmed() == "Tobias") tobias = i;
    ASSERT_GT(tobias, 0);
    struct Case {
        const char* what;
        const char* spouse;
        int32_t spouseRec;
        const char* spouseAfn;
        const char* bDate;
        int32_t expected;  // 0: a new placeholder
    };
    const Case cases[] = {
        {"row 12: Peter Grey's record", "Peter Grey", peter, "", "", unknownWife},
        {"row 12 alone: Tobias's record, spouse without surname", "Tobias", tobias, "", "1900", unknownOld},
        {"Peter Grey's identifier", "Peter Grey", 0, "P-1", "", unknownWife},
        {"another man's record", "Peter Grey", john, "", "", 0},
        {"another man named Peter Grey", "Peter Grey", 0, "P-2", "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ResetProgramState();
        World();
        g.Indiv[peter].iAFN = "P-1";
        const int32_t before = g.IndivCount;
        MatchQuery q = Query("<unknown>");
        q.bDate = c.bDate;
        q.spouseName = c.spouse;
        q.spouseIndiv = c.spouseRec;
        q.spouseIds.afn = c.spouseAfn;
        EXPECT_EQ(FindIndivMatches(q), c.expected > 0 ? c.expected : before + 1);
        EXPECT_TRUE(ui.matchRequests.empty());
    }
}

TEST_F(MatchingTest, UnnamedParentsAgreeOnlyWithinTheirOwnFamily) {
    // Otto Miller (b 1860) is the son of Paul Miller and an unnamed mother;
    // Eva Roth (b 1870) of two unnamed parents.
    const int32_t otto = Person("Otto Miller", "1860", "M");
    const int32_t ottos = Couple(Person("Paul Miller", "", "M"), Person("<unknown>", "", "F"));
    g.Indiv[otto].iFamc = ottos;
    const int32_t eva = Person("Eva Roth", "1870", "F");
    g.Indiv[eva].iFamc = Couple(Person("<unknown>", "", "M"), Person("<unknown>", "", "F"));
    struct Case {
        const char* what;
        const char* name;
        const char* bDate;
        const char* father;
        const char* mother;
        int32_t family;    // the family the page files him into as a child
        int32_t expected;  // 0: offered, and a new person on "not a match"
    };
    const Case cases[] = {
        {"another unnamed mother is no agreement", "Otto Miller", "", "Paul Miller", "<unknown>", 0, 0},
        {"both parents unnamed", "Eva Roth", "", "Unknown", "<unknown>", 0, 0},
        {"the unnamed mother of his own family", "Otto Miller", "", "Paul Miller", "<unknown>", ottos, otto},
        // The unnamed mother leaves the parents undecided, not different:
        // the father and the year still take him (row 9)...
        {"father agrees, year agrees", "Otto Miller", "Abt 1860", "Paul Miller", "<unknown>", 0, otto},
        // ...while a named father who differs rules that out.
        {"father differs, year agrees", "Otto Miller", "Abt 1860", "Hans Bauer", "<unknown>", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (int32_t i = 1; i <= g.IndivCount; ++i) g.Indiv[i].iTouched = 0;
        ui.matchRequests.clear();
        const int32_t before = g.IndivCount;
        MatchQuery q = Query(c.name);
        q.bDate = c.bDate;
        q.fatherName = c.father;
        q.motherName = c.mother;
        q.childOfFamily = c.family;
        if (c.expected == 0) ui.matchAnswers.push_back(0);
        EXPECT_EQ(FindIndivMatches(q), c.expected > 0 ? c.expected : before + 1);
        EXPECT_EQ(ui.matchRequests.size(), c.expected > 0 ? 0u : 1u);
    }
}

TEST_F(MatchingTest, AnUnknownPartnerIsNoAgreement) {
    // Ann Brown (no dates) is married to "<unknown>"; another Ann Brown
    // with an unknown husband is not therefore the same woman.
    const int32_t ann = Person("Ann Brown", "", "F");
    Couple(Person("<unknown>", "", "M"), ann);
    for (const char* spouse : {"<unknown>", "Unknown", "__?"}) {
        SCOPED_TRACE(spouse);
        ui.matchRequests.clear();
        g.Indiv[ann].iTouched = 0;
        ui.matchAnswers.push_back(0);
        MatchQuery q = Query("Ann Brown");
        q.spouseName = spouse;
        EXPECT_NE(FindIndivMatches(q), ann);
        EXPECT_EQ(ui.matchRequests.size(), 1u);
    }
    // A named husband on the page against the stored unknown one: offered too.
    g.Indiv[ann].iTouched = 0;
    ui.matchAnswers.push_back(ann);
    MatchQuery q = Query("Ann Brown");
    q.spouseName = "Tom Brown";
    EXPECT_EQ(FindIndivMatches(q), ann);
}

TEST_F(MatchingTest, CandidateMarriedToHisOwnParentIsNotOffered) {
    struct Case {
        const char* what;
        std::string mother;
        bool offered;
    };
    // Carl's first marriage is to someone named like his mother.
    for (const Case& c : {Case{"a muddle of the records", "Ida Dane", false},
                         Case{"both <unknown>: no muddle", "<unknown>", true}}) {
        SCOPED_TRACE(c.what);
        ResetProgramState();
        ui.matchRequests.clear();
        const int32_t carl = Person("Carl Dane", "", "M");
        g.Indiv[carl].iFamc = Couple(Person("Olaf Dane", "", "M"), Person(c.mother, "", "F"));
        Couple(carl, Person(c.mother, "", "F"));
        if (c.offered) ui.matchAnswers.push_back(carl);
        MatchQuery q = Query("Carl Dane");
        const int32_t r = FindIndivMatches(q);
        EXPECT_EQ(ui.matchRequests.size(), c.offered ? 1u : 0u);
        EXPECT_EQ(r, c.offered ? carl : g.IndivCount);
    }
}

TEST_F(MatchingTest, RelativesNamesAreCleaned) {
    struct Case {
        std::string spouse, father, wantSpouse, wantFather;
    };
    const std::vector<Case> cases = {
        {"__??", "", "<unknown>", ""},
        {"", "_?", "", ""},
        {"Unknown", "UNKNOWN UNKNOWN", "<unknown>", "<unknown>"},
        {"unk", "Ja?mes_ Hall", "<unknown>", "James Hall"},
        {"<UNKNOWN>", "", "<UNKNOWN>", ""},  // the mark itself stays as written
    };
    for (const auto& c : cases) {
        MatchQuery q = Query("Oscar Wilde");
        q.spouseName = c.spouse;
        q.fatherName = c.father;
        EXPECT_GT(FindIndivMatches(q), 0);
        EXPECT_EQ(q.spouseName, c.wantSpouse);
        EXPECT_EQ(q.fatherName, c.wantFather);
    }
    MatchQuery u = Query(" unknown ");
    FindIndivMatches(u);
    EXPECT_EQ(u.name, "<unknown>");
}

TEST_F(MatchingTest, NamesWithoutLettersDoNotAgreeByTheirEmptyKeys) {
    Person("1234", "1900");
    MatchQuery q = Query("5678");
    q.bDate = "1900";
    EXPECT_EQ(FindIndivMatches(q), 2);
    EXPECT_TRUE(ui.matchRequests.empty());
}

TEST_F(MatchingTest, BlankNameFilesNobody) {
    World();
    g.LastIndiv = john;
    const int32_t before = g.IndivCount;
    MatchQuery q = Query("   ");
    q.afn = "X";
    EXPECT_EQ(FindIndivMatches(q), 0);
    EXPECT_EQ(g.LastIndiv, john);
    EXPECT_EQ(g.IndivCount, before);
}

TEST_F(MatchingTest, XUnknownAlwaysCreatesWhateverItsCase) {
    int32_t old = Person("<xUNKNOWN>", "1900");
    for (const char* name : {"<xUNKNOWN>", "<XUNKNOWN>", "<xunknown>"}) {
        MatchQuery q = Query(name);
        q.bDate = "1900";
        const int32_t r = FindIndivMatches(q);
        EXPECT_NE(r, old) << name;
        EXPECT_EQ(r, g.IndivCount);
    }
    EXPECT_TRUE(ui.matchRequests.empty());
}

TEST_F(MatchingTest, UnknownTouchedEarlierInThePasteIsNotReused) {
    World();
    g.Indiv[unknownWife].iTouched = 1;
    MatchQuery q = Query("<unknown>");
    q.spouseName = "Peter Grey";
    EXPECT_EQ(FindIndivMatches(q), g.IndivCount);
    EXPECT_NE(g.IndivCount, unknownWife);
}

TEST_F(MatchingTest, PersonTouchedInThisPasteIsNeverOffered) {
    World();
    g.Indiv[john].iTouched = 1;
    MatchQuery q = Query("John Smith");
    EXPECT_EQ(FindIndivMatches(q), g.IndivCount);
    EXPECT_TRUE(ui.matchRequests.empty());
}

TEST_F(MatchingTest, LivingChildrenOfDifferentCouplesAreNotMerged) {
    const int32_t h1 = Person("Tom Smith", "", "M"), w1 = Person("Sue Jones", "", "F");
    const int32_t h2 = Person("Ted Smith", "", "M"), w2 = Person("Sal Jones", "", "F");
    const int32_t f1 = Couple(h1, w1), f2 = Couple(h2, w2);
    const int32_t child = Person("Living");
    g.Indiv[child].iGenID = "S530000000J520000000" "1";
    g.Indiv[child].iFamc = f1;

    MatchQuery other = Query("Living");
    other.genId = "S530000000J520000000" "1";
    other.childOfFamily = f2;
    const int32_t r = FindIndivMatches(other);
    EXPECT_NE(r, child);
    EXPECT_TRUE(ui.matchRequests.empty());

    MatchQuery same = Query("Living");
    same.genId = "S530000000J520000000" "1";
    same.childOfFamily = f1;
    EXPECT_EQ(FindIndivMatches(same), child);
}

TEST_F(MatchingTest, OtherPageSpousesAndParentSetsCountForThePagePerson) {
    World();
    g.PageScratch.PageSpouseCount = 2;
    g.PageScratch.PageSpouses[1].spName = "Kate Miller";
    g.PageScratch.PageSpouses[2].spName = "Ann Brown";
    MatchQuery q = Query("John Smith");
    q.relCode = "IN";
    q.spouseName = "Kate Miller";
    EXPECT_EQ(FindIndivMatches(q), john);

    ResetProgramState();
    World();
    g.PageScratch.PageParentSetCount = 2;
    g.PageScratch.PageParentSets[1].psFatherName = "Carl Berg";
    g.PageScratch.PageParentSets[1].psMotherName = "Lena Berg";
    g.PageScratch.PageParentSets[2].psFatherName = "William Smith";
    g.PageScratch.PageParentSets[2].psMotherName = "Mary Jones";
    MatchQuery p = Query("John Smith");
    p.relCode = "IN";
    p.fatherName = "Carl Berg";
    p.motherName = "Lena Berg";
    EXPECT_EQ(FindIndivMatches(p), john);
    // The same page without "IN" is no agreement.
    MatchQuery o = Query("John Smith");
    o.fatherName = "Carl Berg";
    o.motherName = "Lena Berg";
    g.Indiv[john].iTouched = 0;
    EXPECT_EQ(FindIndivMatches(o), g.IndivCount);
}

TEST_F(MatchingTest, CandidatesComeFromTheInitialsBucketOrTheWholeTable) {
    g.SurnameCase = "M";  // surnames as written, lower case kept
    struct Case {
        const char* name;
        bool found;
    };
    // The index is emptied after filing: only a scan of the whole table
    // can still find the person.
    for (const Case c : {Case{"John smith", true}, Case{"Ann 7Up", true}, Case{"John Smith", false}}) {
        SCOPED_TRACE(c.name);
        ResetProgramState();
        g.SurnameCase = "M";
        const int32_t stored = Person(c.name, "1900");
        for (int b = 0; b < 5; ++b) {
            g.NameIdx[b].assign(1, 0);
            g.NameIdxCount[b] = 0;
        }
        MatchQuery q = Query(c.name);
        q.bDate = "1900";
        const int32_t r = FindIndivMatches(q);
        if (c.found) EXPECT_EQ(r, stored);
        else EXPECT_EQ(r, stored + 1);
    }
}

TEST_F(MatchingTest, LivingCandidatesAreTakenOnlyWithAnAgreeingSpouse) {
    for (const char* name : {"Living Smith", "LIVING Smith", "living Smith", "Livingston Smith"}) {
        SCOPED_TRACE(name);
        ResetProgramState();
        ui.matchRequests.clear();
        const int32_t c = Person(name, "5 Jun 1950", "M");
        Couple(c, Person("Rose White", "", "F"));

        // Name and birth agree, yet the candidate is only offered.
        MatchQuery alone = Query(name);
        alone.bDate = "5 Jun 1950";
        ui.matchAnswers.push_back(0);
        EXPECT_EQ(FindIndivMatches(alone), g.IndivCount);
        EXPECT_NE(g.IndivCount, c);
        EXPECT_EQ(ui.matchRequests.size(), 1u);

        MatchQuery married = Query(name);
        married.bDate = "5 Jun 1950";
        married.spouseName = "Rose White";
        EXPECT_EQ(FindIndivMatches(married), c);
        EXPECT_EQ(ui.matchRequests.size(), 1u);
    }
}

// A dialog that breaks down instead of answering.
class FailingChoice : public testing::ScriptedPlatform {
public:
    int32_t ChooseMatch(const MatchRequest&) override { throw std::runtime_error("dialog lost"); }
};

TEST_F(MatchingTest, FailureIsReportedAndFilesNobody) {
    World();
    FailingChoice failing;
    failing.Answer(MsgResult::Ok);
    InstallPlatform(&failing);
    g.LastIndiv = henry;
    const int32_t before = g.IndivCount;
    MatchQuery q = Query("John Smith");  // a close match: the dialog is needed
    const int32_t r = FindIndivMatches(q);
    InstallPlatform(&ui);
    EXPECT_EQ(r, 0);
    EXPECT_EQ(g.LastIndiv, henry);
    EXPECT_EQ(g.IndivCount, before);
    ASSERT_EQ(failing.boxes.size(), 1u);
    EXPECT_EQ(failing.boxes[0].text, "Problem with Indiv table: \ndialog lost");
    EXPECT_EQ(failing.boxes[0].icon, MsgIcon::Exclamation);
}

TEST_F(MatchingTest, DialogShowsThePendingPersonAndPaddedRows) {
    World();
    ui.matchAnswers.push_back(john);
    MatchQuery q = Query(" John Smith ");
    q.dDate = "1901";
    q.spouseName = "Kate Miller";
    q.afn = "AF-1";
    EXPECT_EQ(FindIndivMatches(q), john);
    // A chosen person is marked as matched by this paste.
    EXPECT_EQ(g.Indiv[john].iTouched, 1);
    ASSERT_EQ(ui.matchRequests.size(), 1u);
    const MatchRequest& r = ui.matchRequests[0];
    EXPECT_EQ(r.name, "John Smith");
    EXPECT_EQ(r.birth, " ");
    EXPECT_EQ(r.death, " 1901");
    EXPECT_EQ(r.spouse, " Kate Miller");
    EXPECT_EQ(r.father, " ");
    ASSERT_EQ(r.rows.size(), 10u);
    EXPECT_EQ(r.rows[0].indiv, john);
    EXPECT_EQ(r.rows[0].name, "John Smith");
    EXPECT_EQ(r.rows[0].birth, " 1850");
    EXPECT_EQ(r.rows[0].death, " 1900");
    EXPECT_EQ(r.rows[0].spouse, "Ann Brown");
    EXPECT_EQ(r.rows[0].father, "William Smith");
    EXPECT_EQ(r.rows[0].mother, "Mary Jones");
    for (std::size_t i = 1; i < 10; ++i) {
        EXPECT_EQ(r.rows[i].indiv, 0);
        EXPECT_EQ(r.rows[i].name, "   ");
    }
}

TEST_F(MatchingTest, RowCountsAndTheChoiceIsChecked) {
    struct Case {
        int listed;
        std::size_t rows;
    };
    for (const Case c : {Case{1, 10}, Case{8, 10}, Case{9, 9}, Case{12, 12}, Case{60, 50}}) {
        ResetProgramState();
        ui.matchRequests.clear();
        for (int i = 0; i < c.listed; ++i) Person("Ada Lovelace");
        // A number that was not in the list is no choice: a new person.
        ui.matchAnswers.push_back(c.listed + 100);
        MatchQuery q = Query("Ada Lovelace");
        EXPECT_EQ(FindIndivMatches(q), c.listed + 1);
        ASSERT_EQ(ui.matchRequests.size(), 1u);
        EXPECT_EQ(ui.matchRequests[0].rows.size(), c.rows) << c.listed;
    }
}

TEST_F(MatchingTest, SpouselessPersonWithOneParentStaysOffered) {
    const int32_t dad = Person("Abe Cole", "", "M");
    const int32_t son = Person("Ben Cole", "1900", "M");
    g.Indiv[son].iFamc = Couple(dad, 0);
    ui.matchAnswers.push_back(son);
    MatchQuery q = Query("Ben Cole");
    EXPECT_EQ(FindIndivMatches(q), son);
    ASSERT_EQ(ui.matchRequests.size(), 1u);
    EXPECT_EQ(ui.matchRequests[0].rows[0].father, "Abe Cole");
    EXPECT_EQ(ui.matchRequests[0].rows[0].spouse, "");
}

// A paste files families between its matches; each match must see them as
// they stand then, on the husband's side and on the wife's.
TEST_F(MatchingTest, SpousesAreReadAsTheFamiliesStandAtEachMatch) {
    const int32_t tom = Person("Tom Ward", "", "M");
    const int32_t jane = Person("Jane Bell", "", "F");
    Couple(tom, jane);
    // Lucy is not his wife yet: Tom is only offered, shown with his first wife.
    ui.matchAnswers.push_back(tom);
    MatchQuery first = Query("Tom Ward");
    first.spouseName = "Lucy Cole";
    EXPECT_EQ(FindIndivMatches(first), tom);
    ASSERT_EQ(ui.matchRequests.size(), 1u);
    EXPECT_EQ(ui.matchRequests[0].rows[0].indiv, tom);
    EXPECT_EQ(ui.matchRequests[0].rows[0].spouse, "Jane Bell");

    // The second marriage is filed: now the spouse agrees without a question.
    const int32_t lucy = Person("Lucy Cole", "", "F");
    const int32_t second = Couple(tom, lucy);
    MatchQuery again = Query("Tom Ward");
    again.spouseName = "Lucy Cole";
    EXPECT_EQ(FindIndivMatches(again), tom);
    MatchQuery wife = Query("Lucy Cole");
    wife.spouseName = "Tom Ward";
    EXPECT_EQ(FindIndivMatches(wife), lucy);
    EXPECT_EQ(ui.matchRequests.size(), 1u);

    // The husband taken out of that family: Lucy is offered again, not taken.
    g.Famil[second].fHusb = 0;
    g.Indiv[lucy].iTouched = 0;
    ui.matchAnswers.push_back(0);
    MatchQuery later = Query("Lucy Cole");
    later.spouseName = "Tom Ward";
    EXPECT_NE(FindIndivMatches(later), lucy);
    ASSERT_EQ(ui.matchRequests.size(), 2u);
    EXPECT_EQ(ui.matchRequests[1].rows[0].indiv, lucy);
    EXPECT_EQ(ui.matchRequests[1].rows[0].spouse, "");
}

// Outside A..Z the surname initial is a whole character: Äberg and Åberg
// share their first byte, not their initial.
TEST_F(MatchingTest, InitialsBeyondAsciiAreWholeCharacters) {
    const int32_t aberg = Person("Karl \xC3\x84" "berg", "3 Mar 1900", "M");
    MatchQuery other = Query("Karl \xC3\x85" "berg");
    other.bDate = "3 Mar 1900";
    const int32_t created = FindIndivMatches(other);
    EXPECT_NE(created, aberg);
    EXPECT_GT(created, 0);
    g.Indiv[created].iTouched = 0;
    MatchQuery same = Query("Karl \xC3\x84" "berg");
    same.bDate = "3 Mar 1900";
    EXPECT_EQ(FindIndivMatches(same), aberg);
    EXPECT_TRUE(ui.matchRequests.empty());
}

TEST_F(MatchingTest, NewPersonFromPage) {
    const int32_t n = CreateIndivFromPage(" Mary Ann VAN DYKE ", " ext ", "123456789012345678901234567890", 0, 0,
                                          "ABCDEFGHIJKLMNOPQRSTUVWXYZ1234");
    ASSERT_EQ(n, 1);
    const IndivRec& r = g.Indiv[n];
    EXPECT_EQ(r.iXref.value(), "1");
    EXPECT_EQ(r.iName.value(), "Mary Ann VAN DYKE");
    EXPECT_EQ(r.iExt.value(), "ext");
    EXPECT_EQ(r.iAFN.value(), "12345678901234");
    EXPECT_EQ(r.iGenID.value(), "ABCDEFGHIJKLMNOPQRSTUVWX");
    EXPECT_EQ(r.iGivn.value(), "Mary Ann");
    EXPECT_EQ(r.iCDno, 0);
    EXPECT_EQ(r.iTouched, 1);
    EXPECT_TRUE(r.iSex.blank());
    EXPECT_EQ(r.iNameKey.padded().size(), 20u);
    EXPECT_EQ(g.NameIdxCount[4], 1);  // V goes to the last bucket

    const int32_t m = CreateIndivFromPage("Mary", "", "", 0, 0, "");
    for (int b = 0; b < 5; ++b) EXPECT_EQ(g.NameIdx[b].back(), m) << b;

    // A surname left in lower case goes to the last bucket only.
    g.SurnameCase = "M";
    const int32_t lower = CreateIndivFromPage("Jan de vries", "", "", 0, 0, "");
    EXPECT_EQ(g.Indiv[lower].iSurn.value().front(), 'v');
    EXPECT_EQ(g.NameIdx[4].back(), lower);
    for (int b = 0; b < 4; ++b) EXPECT_EQ(g.NameIdx[b].back(), m) << b;

    g.IndivCount = kMaxIndiv;
    g.Indiv[kMaxIndiv].iName = "Last";
    g.LastIndiv = 5;
    EXPECT_EQ(CreateIndivFromPage("Extra Person", "", "", 0, 0, ""), 0);
    EXPECT_EQ(g.Indiv[kMaxIndiv].iName.value(), "Last");
    EXPECT_EQ(g.LastIndiv, 5);
}

TEST_F(MatchingTest, SurnameChangeMovesThePersonInTheIndex) {
    const int32_t p = Person("John Smith");
    ASSERT_EQ(g.NameIdxCount[4], 1);
    const std::string old = g.Indiv[p].iSurn.value();
    g.Indiv[p].iSurn = "Brown";
    ReindexSurname(p, old);
    EXPECT_EQ(g.NameIdxCount[4], 0);
    ASSERT_EQ(g.NameIdxCount[0], 1);
    EXPECT_EQ(g.NameIdx[0][1], p);
    g.Indiv[p].iName = "John Brown";
    MatchQuery q = Query("John Brown");
    q.bDate = "1850";
    g.Indiv[p].ibDate = "1850";
    EXPECT_EQ(FindIndivMatches(q), p);
}

}  // namespace
}  // namespace lintora
