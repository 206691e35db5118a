// Tree numbering and undo at full tables.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "record_store/program_state.h"
#include "record_store/trees.h"
#include "record_store/undo.h"

namespace {

using namespace lintora;

// 10,000 individuals in 5,000 families: each family's spouses are earlier
// individuals (or founders), the rest are children spread over families.
void FillFamilyGraph() {
    ResetProgramState();
    std::mt19937 rng(42);
    g.IndivCount = kMaxIndiv;
    for (int32_t i = 1; i <= kMaxIndiv; ++i) {
        IndivRec& r = g.Indiv[i];
        r.iRIN = i;
        r.iName = "Given" + std::to_string(i) + " Surname" + std::to_string(i % 97);
        r.iSurn = "Surname" + std::to_string(i % 97);
        r.ibDate = "12 Jan 1850";
        r.ibPlace = "Springfield, Sangamon, Illinois";
        r.iNoteFlg = "N";
    }
    g.FamilCount = kMaxFamil;
    for (int32_t f = 1; f <= kMaxFamil; ++f) {
        FamilRec& F = g.Famil[f];
        F.fRIN = f;
        F.fHusb = 2 * f - 1;
        F.fWife = 2 * f;
        F.fmDate = "1 Jun 1875";
    }
    // Children: everyone but the first generation belongs to an earlier family.
    for (int32_t i = 201; i <= kMaxIndiv; ++i) {
        int32_t maxFamily = (i - 1) / 2;  // a family of earlier people only
        std::uniform_int_distribution<int32_t> pick(1, std::max(1, maxFamily));
        g.Indiv[i].iFamc = pick(rng);
    }
}

void FillNotes() {
    g.NotesCount = kMaxNotes;
    g.LastNote = kMaxNotes;
    for (int32_t k = 1; k <= kMaxNotes; ++k) {
        NoteRec& n = g.Notes[k];
        n.nKind = "I";
        n.nOwner = 1 + k % kMaxIndiv;
        n.nTag = k % 3 == 0 ? "1 NOTE" : "2 CONT";
        n.nText = "A line of notes copied from a page, long enough to be typical.";
        n.nLen = 62;
    }
}

void BM_LoadGenTree(benchmark::State& state) {
    FillFamilyGraph();
    for (auto _ : state) {
        LoadGenTree();
        benchmark::DoNotOptimize(g.TreeCount);
    }
}
BENCHMARK(BM_LoadGenTree)->Unit(benchmark::kMillisecond);

void BM_UndoSnapshotAndRestore(benchmark::State& state) {
    FillFamilyGraph();
    FillNotes();
    LoadGenTree();
    for (auto _ : state) {
        InitUndo("UnDo previous paste");
        RestoreUndo();
        benchmark::DoNotOptimize(g.IndivCount);
    }
}
BENCHMARK(BM_UndoSnapshotAndRestore)->Unit(benchmark::kMillisecond);

// The snapshot every paste takes, at full tables.
void BM_UndoSnapshotFullTables(benchmark::State& state) {
    FillFamilyGraph();
    FillNotes();
    for (auto _ : state) {
        InitUndo("UnDo previous paste");
        benchmark::DoNotOptimize(g.UndoTables.get());
    }
}
BENCHMARK(BM_UndoSnapshotFullTables)->Unit(benchmark::kMillisecond);

// The snapshot of an ordinary paste: a few hundred people gathered so far.
void BM_UndoSnapshotOrdinaryWork(benchmark::State& state) {
    FillFamilyGraph();
    FillNotes();
    g.IndivCount = 300;
    g.FamilCount = 150;
    g.NotesCount = g.LastNote = 2000;
    for (auto _ : state) {
        InitUndo("UnDo previous paste");
        benchmark::DoNotOptimize(g.UndoTables.get());
    }
}
BENCHMARK(BM_UndoSnapshotOrdinaryWork)->Unit(benchmark::kMicrosecond);

}  // namespace
