// Notes of long pages: page notes gathered line by line well past their
// limit, and one very long note line cut into note records.
#include <benchmark/benchmark.h>

#include <string>

#include "record_store/notes.h"
#include "record_store/program_state.h"
#include "record_store/tables.h"
#include "record_store/text_routines.h"

namespace lintora {
namespace {

// Accented text, so bytes and characters differ.
const std::string kLine = "Er f\xC3\xBChrte das Kirchenbuch der Gemeinde viele Jahre lang, Seite ";

void BM_PageNotesPastTheirLimit(benchmark::State& state) {
    for (auto _ : state) {
        g.PageScratch.pgNotes.clear();
        for (int i = 0; i < 4000; ++i) AppendNoteLine(kLine + std::to_string(i), kLine);
        benchmark::DoNotOptimize(g.PageScratch.pgNotes.size());
    }
    state.counters["bytes"] = static_cast<double>(g.PageScratch.pgNotes.size());
}
BENCHMARK(BM_PageNotesPastTheirLimit)->Unit(benchmark::kMillisecond);

void BM_StoreOneLongNoteLine(benchmark::State& state) {
    std::string text;
    while (Utf8Length(text) < 60000) text += kLine + "12 ";
    for (auto _ : state) {
        state.PauseTiming();
        ResetProgramState();
        AddIndiv();
        g.IndivNoteText = text;
        state.ResumeTiming();
        benchmark::DoNotOptimize(StoreNotes("I", 1, "Y"));
    }
    state.counters["records"] = g.NotesCount;
}
BENCHMARK(BM_StoreOneLongNoteLine)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lintora
