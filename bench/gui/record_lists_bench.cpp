// The individuals list at full tables: filling it from 10,000 people and
// sorting it by name, by birth date and by tree. Runs offscreen (main.cpp
// makes the application).
#include <benchmark/benchmark.h>

#include <string>

#include "main_window/record_lists.h"
#include "record_store/program_state.h"
#include "record_store/tables.h"

namespace lintora {
namespace {

void FillPeople() {
    ResetProgramState();
    static const char* const surnames[] = {"Smith", "Jones", "Whitlock", "Brown", "Zeller", "Adams", "Kershaw"};
    static const char* const months[] = {"Jan", "Mar", "Jun", "Sep", "Dec"};
    for (int i = 0; g.IndivCount < kMaxIndiv; ++i) {
        const int32_t r = AddIndiv();
        IndivRec& I = g.Indiv[r];
        I.iRIN = r;
        I.iGivn = "Person " + std::to_string(i % 997);
        I.iSurn = surnames[i % 7];
        I.iSex = i % 2 ? "F" : "M";
        I.ibDate = std::to_string(1 + i % 28) + " " + months[i % 5] + " " + std::to_string(1700 + i % 250);
        I.ibPlace = "Salem, Essex, Massachusetts, USA";
        I.idDate = "ABT " + std::to_string(1760 + i % 250);
        I.iTree = static_cast<int16_t>(1 + i % 40);
        I.iGen = static_cast<int16_t>(i % 12);
    }
}

void BM_IndividualListFillAndSort(benchmark::State& state) {
    FillPeople();
    ListFrame lists;
    for (auto _ : state) {
        lists.ClearIndivList();
        lists.LoadIndivList();
        lists.ListView1ColumnClick("Birth Date");
        lists.ListView1ColumnClick("Tree");
        lists.ListView1ColumnClick("Name");
        benchmark::DoNotOptimize(lists.IndivModel().rowCount());
    }
    state.SetItemsProcessed(state.iterations() * g.IndivCount);
}
BENCHMARK(BM_IndividualListFillAndSort)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lintora
