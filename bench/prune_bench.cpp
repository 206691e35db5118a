// Pruning and table renumbering at full tables: 10,000 individuals, 5,000
// families and 80,000 note lines.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/platform.h"
#include "record_store/program_state.h"
#include "record_store/prune.h"
#include "record_store/renumber.h"
#include "record_store/trees.h"

namespace lintora {
namespace {

// Couples (2k - 1, 2k) for k = 1..5,000, each the parents of two
// individuals of a later couple, so the work is a few large trees; eight
// note lines per individual.
void FillFullWork() {
    ResetProgramState();
    for (int32_t i = 1; i <= kMaxIndiv; ++i) {
        IndivRec& r = g.Indiv[i];
        r.iRIN = i;
        r.iXref = std::to_string(i);
        r.iName = "Person " + std::to_string(i);
        r.iSex = (i % 2 == 1) ? "M" : "F";
    }
    g.IndivCount = kMaxIndiv;
    for (int32_t f = 1; f <= kMaxFamil; ++f) {
        FamilRec& F = g.Famil[f];
        F.fRIN = f;
        F.fHusb = 2 * f - 1;
        F.fWife = 2 * f;
        for (int32_t c : {4 * f - 1, 4 * f})
            if (c <= kMaxIndiv) g.Indiv[c].iFamc = f;
    }
    g.FamilCount = kMaxFamil;
    for (int32_t n = 1; n <= kMaxNotes; ++n) {
        NoteRec& N = g.Notes[n];
        N.nKind = "I";
        N.nOwner = (n - 1) / 8 + 1;
        N.nTag = n % 8 == 1 ? "1 NOTE" : "2 CONT";
        N.nText = "A line of notes";
        N.nLen = 15;
    }
    g.NotesCount = g.LastNote = kMaxNotes;
    LoadGenTree();
}

void BM_RenumberFullTables(benchmark::State& state) {
    InstallPlatform(nullptr);
    FillFullWork();
    // Every tenth individual and family marked removed, as a prune leaves them.
    for (int32_t i = 10; i <= kMaxIndiv; i += 10) g.Indiv[i].iTree = kRemovedTree;
    for (int32_t f = 10; f <= kMaxFamil; f += 10) g.Famil[f].fTree = kRemovedTree;
    const ProgramState base = g;
    for (auto _ : state) {
        state.PauseTiming();
        g = base;
        state.ResumeTiming();
        RenumberTables();
        benchmark::DoNotOptimize(g.IndivCount);
    }
    state.counters["kept"] = g.IndivCount;
}
BENCHMARK(BM_RenumberFullTables)->Unit(benchmark::kMillisecond);

void BM_PruneAndRenumberFullTables(benchmark::State& state) {
    InstallPlatform(nullptr);
    FillFullWork();
    const ProgramState base = g;
    for (auto _ : state) {
        state.PauseTiming();
        g = base;
        g.PruneIndiv = 2001;
        state.ResumeTiming();
        PruneTree(PruneOption::All);
        RenumberTables();
        benchmark::DoNotOptimize(g.IndivCount);
    }
    state.counters["kept"] = g.IndivCount;
}
BENCHMARK(BM_PruneAndRenumberFullTables)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lintora
