// A save in place (a file with a second name: its earlier contents kept in
// a copy, and the save recorded, until it is written), and an open of a
// file in an empty folder and in one of 20,000 other files, which it must
// not look through.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/bench_files.h"
#include "record_store/program_state.h"

#include "platform/disk/save_contents.h"

namespace lintora {
namespace {

namespace fs = std::filesystem;

bool Save(const std::string& path, const std::string& contents) { return SaveContents(path, contents).saved(); }

// A family of people, some 1.8 MB of GEDCOM.
std::string People(int count) {
    std::string t = "0 HEAD\r\n1 CHAR ANSEL\r\n";
    for (int i = 1; i <= count; ++i) {
        const std::string n = std::to_string(i);
        t += "0 @I" + n + "@ INDI\r\n1 NAME Anna Maria " + n + " /Lindqvist/\r\n1 SEX F\r\n";
        t += "1 BIRT\r\n2 DATE 12 MAR 1850\r\n2 PLAC Uppsala, Uppland, Sweden\r\n";
        t += "1 NOTE A note line of ordinary length, about a christening in the old church, number " + n +
             "\r\n2 CONT and another of the same length, about the parish, its priest and its records.\r\n";
        t += "1 DEAT\r\n2 DATE 1 JAN 1910\r\n2 PLAC Boston, Suffolk, Massachusetts\r\n";
        t += "1 RESI\r\n2 DATE 1900\r\n2 PLAC Minneapolis, Hennepin, Minnesota\r\n";
    }
    return t + "0 TRLR\r\n";
}

fs::path Folder(const std::string& name) {
    const fs::path dir = bench::ScratchDir() / name;
    fs::create_directories(dir);
    setenv("XDG_STATE_HOME", (bench::ScratchDir() / "state").c_str(), 1);
    return dir;
}

void BM_SaveInPlaceOf8000People(benchmark::State& state) {
    const fs::path dir = Folder("in-place"), file = dir / "family.ged";
    const std::string contents = People(8000);
    std::ofstream(file, std::ios::binary) << contents;
    if (!fs::exists(dir / "for-aunt.ged")) fs::create_hard_link(file, dir / "for-aunt.ged");
    for (auto _ : state)
        if (!Save(file.string(), contents)) state.SkipWithError("the save failed");
    state.counters["bytes"] = static_cast<double>(contents.size());
}

void Open(benchmark::State& state, const std::string& folder, int others) {
    const fs::path dir = Folder(folder), file = dir / "family.ged";
    std::ofstream(file, std::ios::binary) << People(3000);
    for (int k = 0; k < others; ++k) {
        const fs::path other = dir / ("family " + std::to_string(k) + ".txt");
        if (!fs::exists(other)) std::ofstream(other) << k;
    }
    ResetProgramState();
    for (auto _ : state) bench::LoadFrom(file);
    if (g.IndivCount != 3000) state.SkipWithError("the file did not load whole");
}

void BM_OpenInAnEmptyFolder(benchmark::State& state) { Open(state, "alone", 0); }
void BM_OpenAmong20000Files(benchmark::State& state) { Open(state, "crowded", 20000); }

BENCHMARK(BM_SaveInPlaceOf8000People)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenInAnEmptyFolder)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenAmong20000Files)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lintora
