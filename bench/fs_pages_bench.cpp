// The FamilySearch page parsers on pages of 2,000 lines: each sample page's
// body repeated until the page is that long.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "page_import/af_family.h"
#include "page_import/af_pedigree.h"
#include "page_import/igi_family.h"
#include "page_import/igi_individual.h"
#include "page_import/igi_pedigree.h"
#include "page_import/paste.h"
#include "page_import/prf_individual.h"
#include "platform/platform.h"
#include "record_store/page_scratch.h"
#include "record_store/program_state.h"

namespace lintora {
namespace {

constexpr int kPageLines = 2000;

std::string LongPage(const char* name) {
    std::filesystem::path p = std::filesystem::path(__FILE__).parent_path().parent_path() / "tests" /
                              "page_import" / "pages" / name;
    std::ifstream in(p, std::ios::binary);
    std::vector<std::string> lines;
    // A chart's closing lines would end its walk: only the last copy keeps them.
    for (std::string line; std::getline(in, line);)
        if (!line.starts_with("The Church of") && !line.starts_with("\xC2\xA9")) lines.push_back(line);
    if (lines.size() < 3) return {};
    std::string page = lines[0] + "\n" + lines[1] + "\n";
    for (int n = 2; n < kPageLines;)
        for (std::size_t i = 2; i < lines.size() && n < kPageLines; ++i, ++n) page += lines[i] + "\n";
    return page;
}

void RunParser(benchmark::State& state, const char* pageName, void (*parser)(), bool files) {
    const std::string page = LongPage(pageName);
    if (page.empty()) {
        state.SkipWithError("sample page not found");
        return;
    }
    InstallPlatform(nullptr);
    ResetProgramState();
    SplitPageText(page);
    for (auto _ : state) {
        if (files) {
            // A chart files its persons: each run starts from empty tables.
            state.PauseTiming();
            ResetProgramState();
            SplitPageText(page);
            state.ResumeTiming();
        }
        InitPrep();
        parser();
        benchmark::DoNotOptimize(g.PageScratch.PageChildCount);
    }
    state.counters["lines"] = static_cast<double>(g.PageLines.size());
}

void BM_IGIIndividual(benchmark::State& s) { RunParser(s, "igi_individual.txt", &ProcessIndIGI, false); }
void BM_IGIFamily(benchmark::State& s) { RunParser(s, "igi_family.txt", &ProcessFamIGI, false); }
void BM_AFFamily(benchmark::State& s) { RunParser(s, "af_family.txt", &ParseAFFamilyGroup, false); }
void BM_PRFIndividual(benchmark::State& s) { RunParser(s, "prf_individual.txt", &ProcessIndPRF, false); }
void BM_AFPedigree(benchmark::State& s) { RunParser(s, "af_pedigree.txt", &ParseAFPedigree, true); }
void BM_IGIPedigree(benchmark::State& s) { RunParser(s, "igi_pedigree.txt", &ProcessPedIGI, true); }
BENCHMARK(BM_IGIIndividual)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_IGIFamily)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AFFamily)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PRFIndividual)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AFPedigree)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_IGIPedigree)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace lintora
