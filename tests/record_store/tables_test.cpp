#include "record_store/tables.h"

#include "record_store/program_state.h"
#include "tests/support/scripted_platform.h"

namespace lintora {
namespace {

using testing::CleanState;

class TablesTest : public CleanState {};

TEST_F(TablesTest, IndividualTableFillsToItsLimitAndAnnouncesOnce) {
    g.IndivCount = kMaxIndiv - 2;
    EXPECT_EQ(AddIndiv(), kMaxIndiv - 1);
    EXPECT_TRUE(ui.boxes.empty());
    ui.Answer(MsgResult::Ok);
    EXPECT_EQ(AddIndiv(), kMaxIndiv);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "Individual table is full - additional Individuals will be skipped");
    g.Indiv[kMaxIndiv].iSurn = "Last";
    EXPECT_EQ(AddIndiv(), 0);
    EXPECT_EQ(g.IndivCount, kMaxIndiv);
    EXPECT_EQ(g.LastIndiv, kMaxIndiv);
    EXPECT_EQ(g.Indiv[kMaxIndiv].iSurn.trimmed(), "Last");
    EXPECT_EQ(g.Indiv.size(), static_cast<size_t>(kMaxIndiv + 1));
}

TEST_F(TablesTest, FamilyAndNoteTablesStopAtTheirLimits) {
    g.FamilCount = kMaxFamil - 1;
    ui.Answer(MsgResult::Ok);
    EXPECT_EQ(AddFamil(), kMaxFamil);
    EXPECT_EQ(ui.boxes.back().text, "Family table is full - additional family records will be skipped");
    EXPECT_EQ(AddFamil(), 0);
    g.IndivCount = 2;
    EXPECT_EQ(FindOrAddFamil(1, 2), 0);
    EXPECT_EQ(g.Famil.size(), static_cast<size_t>(kMaxFamil + 1));
    EXPECT_EQ(g.Indiv[1].iFamsCount, 0);

    g.NotesCount = kMaxNotes - 1;
    ui.Answer(MsgResult::Ok);
    EXPECT_EQ(AddNotes(), kMaxNotes);
    EXPECT_EQ(ui.boxes.back().text, "Notes table is full - any additional notes will be skipped");
    EXPECT_EQ(AddNotes(), 0);
    EXPECT_EQ(g.LastNote, kMaxNotes);
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
    p.pgTitle = "Sir";
    g.ParentSetChoice = 3;
    InitPrep();
    EXPECT_EQ(p.PageChildCount, 0);
    EXPECT_TRUE(p.pgTitle.empty());
    EXPECT_EQ(g.ParentSetChoice, 3);
}

}  // namespace
}  // namespace lintora
