// The editor's loading and saving of one person at full tables (10,000
// individuals, 5,000 families, 80,000 note lines), without the window.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "record_store/indiv_edit.h"
#include "record_store/notes.h"
#include "record_store/pedigree_view.h"
#include "record_store/person_view.h"
#include "record_store/program_state.h"
#include "record_store/undo.h"

namespace {

using namespace lintora;

void FillFullTables() {
    ResetProgramState();
    g.IndivCount = kMaxIndiv;
    for (int32_t i = 1; i <= kMaxIndiv; ++i) {
        IndivRec& r = g.Indiv[i];
        r.iRIN = i;
        r.iGivn = "Given" + std::to_string(i);
        r.iSurn = "Surname" + std::to_string(i % 97);
        r.iName = r.iGivn.value() + " " + r.iSurn.value();
        r.iSex = i % 2 ? "M" : "F";
        r.ibDate = "12 Jan 1850";
        r.ibPlace = "Springfield, Sangamon, Illinois";
        r.iFamc = i > 200 ? (i - 1) / 2 % kMaxFamil + 1 : 0;
    }
    g.FamilCount = kMaxFamil;
    for (int32_t f = 1; f <= kMaxFamil; ++f) {
        g.Famil[f].fRIN = f;
        g.Famil[f].fHusb = 2 * f - 1;
        g.Famil[f].fWife = 2 * f;
        g.Famil[f].fmDate = "1 Jun 1875";
        g.Famil[f].fChilCount = 2;
    }
    // Two note lines for each of the first 40,000 owners.
    g.NotesCount = kMaxNotes;
    g.LastNote = kMaxNotes;
    for (int32_t k = 1; k <= kMaxNotes; ++k) {
        NoteRec& n = g.Notes[k];
        n.nKind = "I";
        n.nOwner = (k + 1) / 2 % kMaxIndiv + 1;
        n.nTag = k % 2 ? "1 NOTE" : "2 CONT";
        n.nText = "A line of notes about this person";
        n.nLen = 33;
    }
    g.CurIndiv = 5001;
}

// What the editor reads to show a person: boxes, relatives, children, notes.
void BM_EditorLoadPerson(benchmark::State& state) {
    FillFullTables();
    for (auto _ : state) {
        EditValues v = EditValuesOf(g.CurIndiv, 0);
        const int32_t famc = FamilyAsChild(g.CurIndiv);
        benchmark::DoNotOptimize(CollectChildren(famc, g.CurIndiv));
        benchmark::DoNotOptimize(LifeDatesCaption(ParentIn(famc, true)));
        PersonPanel panel = ShowIndivPanel(g.CurIndiv);
        g.CurFamil = panel.firstFamily;
        benchmark::DoNotOptimize(panel);
        benchmark::DoNotOptimize(FormatLifeDates(g.CurIndiv));
        LoadEditNotes();
        benchmark::DoNotOptimize(v);
    }
}
BENCHMARK(BM_EditorLoadPerson)->Unit(benchmark::kMillisecond);

// Writing him back with a changed date and changed notes, the note table
// nearly full (each round's new lines are taken back before the next).
void BM_EditorSavePerson(benchmark::State& state) {
    FillFullTables();
    const int32_t lines = kMaxNotes - 100;
    g.NotesCount = g.LastNote = lines;
    EditValues v = EditValuesOf(g.CurIndiv, 0);
    std::vector<std::string> kept;
    int n = 0;
    for (auto _ : state) {
        v.bDate = " " + std::to_string(1800 + n++ % 100);
        g.IndivNoteChanged = "Y";
        g.IndivNoteText = "Changed notes " + std::to_string(n) + "\r\nand a second line";
        StoreEditValues(v, g.CurIndiv, 0, false, kept);
        if (StoreNotes("I", g.CurIndiv, "Y") != 2) state.SkipWithError("notes not stored");
        g.NotesCount = g.LastNote = lines;
        kept.clear();
    }
}
BENCHMARK(BM_EditorSavePerson)->Unit(benchmark::kMillisecond);

// The undo snapshot every save takes first.
void BM_EditorSaveSnapshot(benchmark::State& state) {
    FillFullTables();
    for (auto _ : state) InitUndo("UnDo changes to Thomas Smith");
}
BENCHMARK(BM_EditorSaveSnapshot)->Unit(benchmark::kMillisecond);

}  // namespace
