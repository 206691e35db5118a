// A whole paste of an Ancestral File individual record into full-sized work.
#include <benchmark/benchmark.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "page_import/paste.h"
#include "platform/platform.h"
#include "record_store/matching.h"
#include "record_store/program_state.h"
#include "record_store/tables.h"
#include "record_store/trees.h"

namespace lintora {
namespace {

std::string SamplePage() {
    std::filesystem::path p = std::filesystem::path(__FILE__).parent_path().parent_path() / "tests" /
                              "page_import" / "pages" / "af_individual.txt";
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// 9,000 individuals spread over every surname initial, a third of them in
// couples and many with parents, numbered into trees.
void FillWork(int32_t people) {
    static const std::array<const char*, 26> surnames = {
        "Adams", "Baker", "Clark", "Dunn", "Evans", "Foster", "Green", "Hill", "Irwin",
        "Jones", "King", "Lewis", "Moore", "Nash", "Owens", "Price", "Quinn", "Reed",
        "Smith", "Turner", "Upton", "Vance", "Whitlock", "Young", "Zane", "Marsh"};
    static const std::array<const char*, 12> given = {"John", "Mary", "William", "Sarah", "James", "Ann",
                                                      "Thomas", "Eliza", "George", "Ruth", "Henry", "Jane"};
    ResetProgramState();
    for (int32_t i = 0; i < people; ++i) {
        std::string name = std::string(given[i % given.size()]) + " " + given[(i / 12) % given.size()] + " " +
                           surnames[(i / 7) % surnames.size()];
        int32_t r = CreateIndivFromPage(name, "", "", 0, 0, "");
        g.Indiv[r].iSex = (i % 2 == 0) ? "M" : "F";
        g.Indiv[r].ibDate = std::to_string(1700 + i % 200);
    }
    for (int32_t h = 1; h + 1 <= people; h += 6) {
        int32_t f = FindOrAddFamil(h, h + 1);
        for (int32_t c = h + 2; c <= h + 4 && c <= people; ++c) g.Indiv[c].iFamc = f;
    }
    for (int32_t i = 1; i <= g.IndivCount; ++i) g.Indiv[i].iTouched = 0;
    for (int32_t f = 1; f <= g.FamilCount; ++f) g.Famil[f].fTouched = 0;
    LoadGenTree();
}

void BM_PasteAFIndividualInto9000(benchmark::State& state) {
    const std::string page = SamplePage();
    if (page.empty()) {
        state.SkipWithError("sample page not found");
        return;
    }
    InstallPlatform(nullptr);  // headless: no close match is taken
    FillWork(9000);
    const ProgramState base = g;
    for (auto _ : state) {
        state.PauseTiming();
        g = base;
        state.ResumeTiming();
        ProcessClipboard(page);
        benchmark::DoNotOptimize(g.IndivCount);
    }
    state.counters["added"] = g.IndivCount - base.IndivCount;
}
BENCHMARK(BM_PasteAFIndividualInto9000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lintora
