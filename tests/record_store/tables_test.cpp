#include "record_store/tables.h"

#include <functional>
#include <vector>

#include "record_store/program_state.h"
#include "platform/window_ports.h"
#include "tests/support/scripted_platform.h"

namespace lintora {
namespace {

using testing::CleanState;

class TablesTest : public CleanState {};

// One row per fixed table: the add, its count and last-record variable,
// the table size and the message shown when the last slot is taken.
struct FixedTableRow {
    const char* table;
    int32_t (*add)();
    int32_t ProgramState::*count;
    int32_t ProgramState::*last;
    int32_t limit;
    const char* fullMessage;
    std::function<size_t()> size;
};

TEST_F(TablesTest, FixedTablesAnnounceTheirLastSlotAndThenSkip) {
    const std::vector<FixedTableRow> rows = {
        {"individuals", AddIndiv, &ProgramState::IndivCount, &ProgramState::LastIndiv, kMaxIndiv,
         "Individual table is full - additional Individuals will be skipped", [] { return g.Indiv.size(); }},
        {"families", AddFamil, &ProgramState::FamilCount, &ProgramState::LastFamil, kMaxFamil,
         "Family table is full - additional family records will be skipped", [] { return g.Famil.size(); }},
        {"note lines", AddNotes, &ProgramState::NotesCount, &ProgramState::LastNote, kMaxNotes,
         "Notes table is full - any additional notes will be skipped", [] { return g.Notes.size(); }},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.table);
        ResetProgramState();
        ui.boxes.clear();
        g.*r.count = r.limit - 2;
        // The last but one record comes quietly.
        EXPECT_EQ(r.add(), r.limit - 1);
        EXPECT_TRUE(ui.boxes.empty());
        // The last one is announced with a plain box and still added.
        ui.Answer(MsgResult::Ok);
        EXPECT_EQ(r.add(), r.limit);
        ASSERT_EQ(ui.boxes.size(), 1u);
        EXPECT_EQ(ui.boxes[0].text, r.fullMessage);
        EXPECT_EQ(ui.boxes[0].buttons, MsgButtons::Ok);
        EXPECT_EQ(ui.boxes[0].icon, MsgIcon::None);
        EXPECT_EQ(g.*r.last, r.limit);
        // Beyond it nothing is added, nothing shown, and the last record stays named.
        EXPECT_EQ(r.add(), 0);
        EXPECT_EQ(g.*r.count, r.limit);
        EXPECT_EQ(g.*r.last, r.limit);
        EXPECT_EQ(ui.boxes.size(), 1u);
        // The table grew to its limit and no further.
        EXPECT_EQ(r.size(), static_cast<size_t>(r.limit) + 1);
    }
}

TEST_F(TablesTest, FullTablesLeaveTheLastRecordAlone) {
    g.IndivCount = kMaxIndiv;
    g.LastIndiv = kMaxIndiv;
    g.Indiv[kMaxIndiv].iSurn = "Last";
    EXPECT_EQ(AddIndiv(), 0);
    EXPECT_EQ(g.Indiv[kMaxIndiv].iSurn.trimmed(), "Last");

    // A couple that is not filed yet cannot be, and no record is touched.
    g.IndivCount = 2;
    g.FamilCount = kMaxFamil;
    g.LastFamil = 17;
    g.Famil[kMaxFamil].fHusb = 9;
    EXPECT_EQ(FindOrAddFamil(1, 2), 0);
    EXPECT_EQ(g.LastFamil, 17);
    EXPECT_EQ(g.Famil[kMaxFamil].fHusb, 9);
    EXPECT_EQ(g.Famil.size(), static_cast<size_t>(kMaxFamil + 1));
    EXPECT_EQ(g.Indiv[1].iFamsCount, 0);
    EXPECT_EQ(g.Indiv[2].iFamsCount, 0);
    // A couple already filed is still found.
    g.Famil[40].fHusb = 2;
    g.Famil[40].fWife = 1;
    EXPECT_EQ(FindOrAddFamil(1, 2), 40);
}

TEST_F(TablesTest, GrowableTablesStopAtTheirNumbering) {
    struct Row {
        const char* prefix;
        int32_t (*add)();
        std::function<void()> fill;
    };
    const std::vector<Row> rows = {
        {"Problem adding Source: 32767", AddSource, [] { g.SourceCount = kMaxGrowable; }},
        {"Problem adding GED Source: 32767", AddGedSource, [] { g.GedSourceCount = kMaxGrowable; }},
        {"Problem adding Repository: 32767", AddRepository, [] { g.RepositoryCount = kMaxGrowable; }},
        {"Problem adding Repository (GED): 32767", AddGedRepository,
         [] { g.GedRepositoryCount = kMaxGrowable; }},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.prefix);
        ResetProgramState();
        ui.boxes.clear();
        r.fill();
        ui.Answer(MsgResult::Ok);
        EXPECT_EQ(r.add(), 0);
        ASSERT_EQ(ui.boxes.size(), 1u);
        EXPECT_EQ(ui.boxes[0].text.rfind(r.prefix, 0), 0u) << ui.boxes[0].text;
        EXPECT_EQ(ui.boxes[0].icon, MsgIcon::Exclamation);
        EXPECT_EQ(g.Source.size() + g.GedSource.size() + g.Repository.size() + g.GedRepository.size(), 4u);
    }
}

TEST_F(TablesTest, NewIndividualIsStampedAndCountsACitation) {
    int32_t s = AddSource();
    int32_t r = AddRepository();
    g.Source[s].sRepos = static_cast<int16_t>(r);
    g.PasteSource = static_cast<int16_t>(s);
    ui.clock = {2006, 1, 6, 9, 5, 30};
    int32_t i = AddIndiv();
    ASSERT_EQ(i, 1);
    EXPECT_EQ(g.Indiv[i].iChanDate.trimmed(), "6 Jan 2006");
    EXPECT_EQ(g.Indiv[i].iChanTime.trimmed(), "9:5:30");
    EXPECT_EQ(g.Indiv[i].iSource, s);
    EXPECT_EQ(g.Indiv[i].iNoteFlg.value(), "N");
    EXPECT_EQ(g.Source[s].sCitations, 1);
    EXPECT_EQ(g.Repository[r].rCitations, 1);
}

TEST_F(TablesTest, WithoutAPasteSourceNoCitationIsCounted) {
    int32_t s = AddSource();
    g.PasteSource = 0;
    ASSERT_EQ(AddIndiv(), 1);
    EXPECT_EQ(g.Indiv[1].iSource, 0);
    EXPECT_EQ(g.Source[s].sCitations, 0);
    ASSERT_EQ(AddFamil(), 1);
    EXPECT_EQ(g.Famil[1].fSource, 0);
    // A family counts no citation even with a paste source.
    g.PasteSource = static_cast<int16_t>(s);
    ASSERT_EQ(AddFamil(), 2);
    EXPECT_EQ(g.Famil[2].fSource, s);
    EXPECT_EQ(g.Famil[2].fNoteFlg.value(), "N");
    EXPECT_EQ(g.Source[s].sCitations, 0);
}

TEST_F(TablesTest, ReusedSlotCarriesNothingOver) {
    AddIndiv();
    g.Indiv[1].iSurn = "Old";
    g.Indiv[1].iFamc = 7;
    g.IndivCount = 0;
    AddIndiv();
    EXPECT_TRUE(g.Indiv[1].iSurn.blank());
    EXPECT_EQ(g.Indiv[1].iFamc, 0);
    AddSource();
    g.Source[1].sTitle = "T";
    g.SourceCount = 0;
    g.Source.resize(1);
    AddSource();
    EXPECT_TRUE(g.Source[1].sTitle.blank());
    EXPECT_EQ(g.Source[1].sFlag.value(), "P");
    EXPECT_EQ(g.SourceUB, 1);
}

TEST_F(TablesTest, SourceAndRepositoryIdsKeepTheirWholeText) {
    const int32_t a = AddGedSource(), b = AddGedSource();
    g.GedSource[a].sXref = "S100";
    g.GedSource[b].sXref = "S10";
    g.GedSource[a].sReposXref = "R1000";
    EXPECT_NE(g.GedSource[a].sXref, g.GedSource[b].sXref);
    EXPECT_EQ(g.GedSource[a].sReposXref, "R1000");
    const int32_t r = AddGedRepository();
    g.GedRepository[r].rXref = "R1000";
    EXPECT_EQ(g.GedRepository[r].rXref, "R1000");
    EXPECT_EQ(g.GedRepository[r].rFlag.value(), "P");
    // A slot used again starts without the old id.
    g.GedSourceCount = 0;
    ASSERT_EQ(AddGedSource(), 1);
    EXPECT_TRUE(g.GedSource[1].sXref.empty());
    EXPECT_TRUE(g.GedSource[1].sReposXref.empty());
}

TEST_F(TablesTest, CoupleIsFiledOnceWhateverTheOrder) {
    for (int k = 0; k < 4; ++k) AddIndiv();
    int32_t f = FindOrAddFamil(1, 2);
    ASSERT_EQ(f, 1);
    EXPECT_EQ(FindOrAddFamil(2, 1), f);
    EXPECT_EQ(g.FamilCount, 1);
    EXPECT_EQ(g.Indiv[1].iFamsCount, 1);
    EXPECT_EQ(g.Famil[f].fXref.trimmed(), "1");
    // Single parents.
    int32_t single = FindOrAddFamil(0, 3);
    EXPECT_EQ(FindOrAddFamil(0, 3), single);
    EXPECT_EQ(FindOrAddFamil(3, 0), single);
    // Nobody marries himself; no empty couple.
    EXPECT_EQ(FindOrAddFamil(4, 4), 0);
    EXPECT_EQ(FindOrAddFamil(0, 0), 0);
    EXPECT_EQ(FindOrAddFamil(5000, 1), 0);
}

struct MarriageListWatch : MainWindowPort {
    int cleared = 0;
    void ClearMarriageList() override { ++cleared; }
};

TEST_F(TablesTest, EveryFamilyLookupEmptiesTheMarriageList) {
    MarriageListWatch w;
    InstallWindowFakes(&w);
    AddIndiv();
    AddIndiv();
    FindOrAddFamil(1, 2);
    FindOrAddFamil(1, 2);
    FindOrAddFamil(1, 1);
    RemoveWindowFakes();
    EXPECT_EQ(w.cleared, 3);
}

TEST_F(TablesTest, UnknownPartnerDoesNotSplitAFamily) {
    for (int k = 0; k < 3; ++k) AddIndiv();
    g.Indiv[1].iSurn = "<UNKNOWN>";
    g.Indiv[3].iSurn = "<unknown>";
    int32_t f = FindOrAddFamil(1, 2);
    EXPECT_EQ(FindOrAddFamil(3, 2), f);
    EXPECT_EQ(g.Famil[f].fHusb, 1);
    EXPECT_EQ(g.Indiv[3].iFamsCount, 0);
}

TEST_F(TablesTest, NameIndexBuckets) {
    const char* surnames[] = {"Adams", "smith", " Smith", "", "Jones", "", "Quinn", "Zed", "Ivy"};
    for (const char* s : surnames) {
        int32_t i = AddIndiv();
        g.Indiv[i].iSurn = s;
    }
    BuildNameIndex();
    auto bucket = [](int b) { return std::vector<int32_t>(g.NameIdx[b].begin() + 1, g.NameIdx[b].end()); };
    EXPECT_EQ(bucket(0), (std::vector<int32_t>{1, 3, 4, 6}));
    EXPECT_EQ(bucket(1), (std::vector<int32_t>{3, 4, 6, 9}));
    EXPECT_EQ(bucket(2), (std::vector<int32_t>{3, 4, 5, 6}));
    EXPECT_EQ(bucket(3), (std::vector<int32_t>{3, 4, 6, 7}));
    EXPECT_EQ(bucket(4), (std::vector<int32_t>{2, 3, 4, 6, 8}));
    EXPECT_EQ(g.NameIdxCount[4], 5);
}

TEST_F(TablesTest, NameIndexOfEmptySurnamesAndOfNoOne) {
    BuildNameIndex();
    for (int b = 0; b < 5; ++b) EXPECT_EQ(g.NameIdxCount[b], 0) << b;

    for (int k = 1; k <= 9; ++k) {
        int32_t i = AddIndiv();
        g.Indiv[i].iSurn = (k == 2 || k == 5 || k == 9) ? "   " : "Vance";
    }
    BuildNameIndex();
    for (int b = 0; b < 4; ++b)
        EXPECT_EQ(std::vector<int32_t>(g.NameIdx[b].begin() + 1, g.NameIdx[b].end()),
                  (std::vector<int32_t>{2, 5, 9}))
            << b;
    EXPECT_EQ(g.NameIdxCount[4], 9);
    // A rebuild starts afresh.
    BuildNameIndex();
    EXPECT_EQ(g.NameIdxCount[0], 3);
}

TEST_F(TablesTest, NameIndexHoldsEveryIndividual) {
    for (int k = 0; k < 6000; ++k) {
        int32_t i = AddIndiv();
        g.Indiv[i].iSurn = "Smith";
    }
    BuildNameIndex();
    EXPECT_EQ(g.NameIdxCount[4], 6000);
}

TEST_F(TablesTest, FixedTextCutsWholeCharacters) {
    FixedText<3> t("Zoë!");
    EXPECT_EQ(t.value(), "Zoë");
    EXPECT_EQ(t.padded(), "Zoë");
    FixedText<5> u("é");
    EXPECT_EQ(u.padded(), "é    ");
    FixedText<4> v("  ab  ");
    EXPECT_EQ(v.value(), "  ab");
    EXPECT_EQ(v.trimmed(), "ab");
    EXPECT_EQ(v.first(), ' ');
    FixedText<2> w("日本語");
    EXPECT_EQ(w.value(), "日本");
    // A four-character text in a field of 3 keeps its first three characters.
    IndivRec r;
    r.iSpareCode = "ÄÖ€x";
    EXPECT_EQ(r.iSpareCode.padded(), "ÄÖ");
    FixedText<3> x("S100");
    EXPECT_EQ(x.value(), "S10");
    FixedText<3> y("ÉÈÊË");
    EXPECT_EQ(y.padded(), "ÉÈÊ");
    EXPECT_EQ(Utf8Length(y.padded()), 3u);
}

TEST_F(TablesTest, PageScratchNeverGrowsPastCapacity) {
    auto& p = g.PageScratch;
    for (int k = 0; k < 40; ++k) {
        p.AddChild();
        p.AddSpouse();
        p.AddParentSet();
    }
    EXPECT_EQ(p.PageChildCount, 30);
    EXPECT_EQ(p.PageSpouseCount, 16);
    EXPECT_EQ(p.PageParentSetCount, 10);
    EXPECT_EQ(p.AddChild(), 0);
    EXPECT_EQ(p.AddSpouse(), 0);
    EXPECT_EQ(p.AddParentSet(), 0);
    EXPECT_EQ(p.PageChildCount, 30);
    p.PageChildren[30].chName = "Last Child";
    p.PageSpouses[16].spName = "Last Spouse";
    p.PageSpouses[16].spRIN = 5;
    p.PageParentSets[10].psMotherGenID = std::string(30, 'g');
    // The mother's generated id is as wide as every other one.
    EXPECT_EQ(p.PageParentSets[10].psMotherGenID.value(), std::string(24, 'g'));
    p.SpouseFather.Name = "Father";
    p.pgTitle = "Sir";
    p.pgNameKey = "S530000000";
    p.pgNotes = "Notes";
    g.ParentSetChoice = 3;
    InitPrep();
    EXPECT_EQ(p.PageChildCount, 0);
    EXPECT_EQ(p.PageSpouseCount, 0);
    EXPECT_EQ(p.PageParentSetCount, 0);
    EXPECT_TRUE(p.PageChildren[30].chName.blank());
    EXPECT_TRUE(p.PageSpouses[16].spName.blank());
    EXPECT_EQ(p.PageSpouses[16].spRIN, 0);
    EXPECT_TRUE(p.PageParentSets[10].psMotherGenID.blank());
    EXPECT_TRUE(p.SpouseFather.Name.empty());
    EXPECT_TRUE(p.pgTitle.empty());
    EXPECT_TRUE(p.pgNameKey.empty());
    EXPECT_TRUE(p.pgNotes.empty());
    EXPECT_EQ(g.ParentSetChoice, 3);
}

}  // namespace
}  // namespace lintora
