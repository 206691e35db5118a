// Building a search address from the longest shipped template, and loading
// the whole shipped site data file.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

#include "files/data_files.h"
#include "internet_search/search_address.h"
#include "internet_search/search_pages.h"
#include "record_store/program_state.h"

namespace lintora {
namespace {

namespace fs = std::filesystem;

// A scratch program folder holding a copy of the shipped site data file.
void UseShippedSiteFile() {
    static const fs::path dir = [] {
        fs::path d = fs::temp_directory_path() / "lintora_search_bench";
        fs::create_directories(d / "app");
        setenv("XDG_CONFIG_HOME", (d / "config").c_str(), 1);
        setenv("XDG_DATA_HOME", (d / "data").c_str(), 1);
        fs::path shipped = fs::path(__FILE__).parent_path().parent_path() / "files" / "Lintora11.dat";
        fs::copy_file(shipped, d / "app" / "Lintora11.dat", fs::copy_options::overwrite_existing);
        return d;
    }();
    g.AppPath = (dir / "app").string();
}

void BM_BuildSearchAddress(benchmark::State& state) {
    UseShippedSiteFile();
    LoadDatFile("All");
    SearchValues v;
    v.site = "FamilySearch";
    v.urlTemplate = SitePages("1", true).front().ipUrl.trimmed();
    v.first = "Mary Ann";
    v.last = "O'Neil-Smith";
    v.bYear = "1850";
    v.bRange = 2;
    v.bPlace = " Marion,  Ohio";
    v.dYear = "1900";
    v.dPlace = "Salem, Oregon";
    v.fFirst = "John Patrick";
    v.fLast = "O'Neil";
    v.mFirst = "Ann";
    v.mLast = "Murphy";
    v.sFirst = "Thomas";
    v.sLast = "Brown";
    v.chkIName = v.chkByear = v.chkBplace = v.chkDplace = v.chkFName = v.chkMName = v.chkSName = 1;
    v.chkRegion = 1;
    v.region1 = RegionItemRec{};
    v.region1->rgText = "United States";
    v.region2 = RegionItemRec{};
    v.region2->rgText = "Ohio";
    for (auto _ : state) benchmark::DoNotOptimize(BuildSearchAddress(v));
}
BENCHMARK(BM_BuildSearchAddress);

void BM_LoadSiteDataFile(benchmark::State& state) {
    UseShippedSiteFile();
    for (auto _ : state) {
        LoadDatFile("All");
        benchmark::DoNotOptimize(g.RegionCount);
    }
    state.counters["regions"] = g.RegionCount;
    state.counters["pages"] = g.LinkCount;
}
BENCHMARK(BM_LoadSiteDataFile)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lintora
