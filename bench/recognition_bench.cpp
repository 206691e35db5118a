// Recognition of a long page: the site and type markers stand near its end,
// so both scans walk all 2,000 lines.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "page_import/page_recognition.h"
#include "record_store/program_state.h"

namespace {

std::vector<std::string> LongPage(const std::string& siteLine, const std::vector<std::string>& tail) {
    std::vector<std::string> lines{"Search results for Smith\r"};
    const std::vector<std::string> body = {
        "1850 Smith, John b. 12 Jan 1850 Boston, Suffolk, Massachusetts",
        "Married Mary Jones about 1872 in Hartford, Connecticut",
        "\r",
        "Children: Ann, Thomas, William, Elizabeth",
        "Source: family bible records transcribed by a descendant",
    };
    const std::size_t total = 2000;
    for (std::size_t i = 1; lines.size() < total - tail.size() - 1; ++i) lines.push_back(body[i % body.size()]);
    for (const auto& t : tail) lines.push_back(t);
    lines.push_back(siteLine);
    return lines;
}

void RunIdentify(benchmark::State& state, std::vector<std::string> page, const char* expectedType) {
    lintora::ResetProgramState();
    lintora::g.PageLines = std::move(page);
    lintora::IdentifyPage();
    if (lintora::g.PageType != expectedType) state.SkipWithError("page not recognised as expected");
    for (auto _ : state) {
        lintora::IdentifyPage();
        benchmark::DoNotOptimize(lintora::g.PageType.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(lintora::g.PageLines.size()));
}

void BM_IdentifyPage_RootsWebIndividual(benchmark::State& state) {
    RunIdentify(state, LongPage("RootsWeb WorldConnect Project", {"Name: John Smith", "Sex: M"}), "Ind");
}
BENCHMARK(BM_IdentifyPage_RootsWebIndividual);

void BM_IdentifyPage_Unrecognised(benchmark::State& state) {
    RunIdentify(state, LongPage("End of page", {}), "");
}
BENCHMARK(BM_IdentifyPage_Unrecognised);

void BM_IdentifyPage_FamilySearch(benchmark::State& state) {
    auto page = LongPage("x", {});
    page[0] = "FamilySearch(TM) Internet Genealogy Service\r";
    page[1] = "International Genealogical Index Individual Record";
    RunIdentify(state, std::move(page), "IndIGI");
}
BENCHMARK(BM_IdentifyPage_FamilySearch);

}  // namespace
