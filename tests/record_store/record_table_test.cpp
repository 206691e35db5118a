#include "record_store/record_table.h"

#include <stdexcept>
#include <string>
#include <vector>

#include "record_store/program_state.h"
#include "record_store/tables.h"
#include "record_store/undo.h"
#include "tests/support/scripted_platform.h"

namespace lintora {
namespace {

using testing::CleanState;

class RecordTableTest : public CleanState {};

TEST_F(RecordTableTest, TablesHoldWhatIsAddedAndKeepRecordsInPlace) {
    // The empty work holds record 0 alone in each table, and room for a few more.
    EXPECT_EQ(g.Indiv.size(), 1u);
    EXPECT_EQ(g.Famil.size(), 1u);
    EXPECT_EQ(g.Notes.size(), 1u);
    EXPECT_LT(g.Notes.capacity(), 100u);

    const int32_t first = AddIndiv();
    IndivRec& held = g.Indiv[first];
    held.iSurn = "Held";
    for (int i = 0; i < 3000; ++i) AddIndiv();
    // A reference taken before the table grew still names the record.
    EXPECT_EQ(&held, &g.Indiv[first]);
    EXPECT_EQ(held.iSurn.trimmed(), "Held");
    EXPECT_EQ(g.Indiv.size(), static_cast<std::size_t>(g.IndivCount) + 1);
    EXPECT_LT(g.Indiv.capacity(), g.Indiv.size() + 100);
    EXPECT_EQ(g.Indiv[g.IndivCount].iRIN, 3001);

    // Emptied, the work holds record 0 alone again, blank.
    g.Indiv[0].iSurn = "scratch";
    g.Empty();
    EXPECT_EQ(g.Indiv.size(), 1u);
    EXPECT_EQ(g.Indiv[0], IndivRec{});
}

TEST_F(RecordTableTest, NumbersPastTheEndReadBlankAndPastTheSlotsThrow) {
    AddFamil();
    const ProgramState& state = g;
    // Read through a const table, a record past the end is blank and the table stays.
    EXPECT_EQ(state.Famil[kMaxFamil], FamilRec{});
    EXPECT_EQ(g.Famil.size(), 2u);
    // Written, the table grows to it with blank records between.
    g.Famil[7].fHusb = 3;
    EXPECT_EQ(g.Famil.size(), 8u);
    EXPECT_EQ(g.Famil[5], FamilRec{});
    EXPECT_EQ(g.FamilCount, 1);
    // Past the limit no record is read or written.
    EXPECT_THROW(g.Famil[kMaxFamil + 1], std::out_of_range);
    EXPECT_THROW(state.Notes[kMaxNotes + 1], std::out_of_range);
    EXPECT_THROW(g.Indiv[static_cast<std::size_t>(-1)], std::out_of_range);
    EXPECT_EQ(g.Famil.size(), 8u);
}

TEST_F(RecordTableTest, SwapWithAVectorTradesTheRecords) {
    IndivTable table;
    table[2].iSurn = "Old";
    std::vector<IndivRec> built(2);
    built[1].iSurn = "New";
    table.swap(built);
    ASSERT_EQ(table.size(), 2u);
    EXPECT_EQ(table[1].iSurn.trimmed(), "New");
    ASSERT_EQ(built.size(), 3u);
    EXPECT_EQ(built[2].iSurn.trimmed(), "Old");

    // A table emptied by a move copies as nothing, never past its end.
    IndivTable moved(std::move(table));
    table.CopyFirst(moved, 1);
    EXPECT_EQ(table.size(), 2u);
    moved.CopyFirst(table, 1);  // table still holds two records
    EXPECT_EQ(moved.size(), 2u);
    IndivTable gone(std::move(moved));
    table.CopyFirst(moved, 5);
    EXPECT_TRUE(table.empty());
}

TEST_F(RecordTableTest, UndoSnapshotOfAGrownTableHoldsOnlyWhatIsInUse) {
    for (int i = 0; i < 1500; ++i) g.Indiv[AddIndiv()].iGivn = "Given" + std::to_string(i);
    for (int i = 0; i < 40; ++i) AddNotes();
    g.Indiv[1499].iSurn = "Past the count";
    g.IndivCount = 1400;
    InitUndo("UnDo previous paste");
    ASSERT_TRUE(g.UndoReady);
    EXPECT_EQ(g.UndoTables->Indiv.size(), 1401u);
    EXPECT_EQ(g.UndoTables->Notes.size(), 41u);
    EXPECT_EQ(g.UndoTables->Indiv[1400].iGivn.trimmed(), "Given1399");

    for (int i = 0; i < 200; ++i) AddIndiv();
    RestoreUndo();
    EXPECT_EQ(g.IndivCount, 1400);
    EXPECT_EQ(g.Indiv.size(), 1401u);
    EXPECT_EQ(g.Indiv[1400].iGivn.trimmed(), "Given1399");
    // What lay past the count when the snapshot was taken is not brought back.
    EXPECT_EQ(g.Indiv[1499], IndivRec{});
}

}  // namespace
}  // namespace lintora
