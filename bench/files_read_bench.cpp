// Reading back a full work area (10,000 individuals, 5,000 families, 40,000
// note lines) as written to a GEDCOM file and a work file, and loading the
// largest shared GEDCOM test file.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/bench_files.h"
#include "files/file_loading.h"
#include "files/gedcom_writer.h"
#include "record_store/program_state.h"

namespace lintora {
namespace {

namespace fs = std::filesystem;

fs::path BenchDir() { return bench::ScratchDir(); }
void Load(const fs::path& p) { bench::LoadFrom(p); }

// The full work area as GEDCOM text: couples 2f-1 and 2f, children after
// the first ten, four note lines and a citation per person.
std::string LargeGedcom() {
    std::string t = "0 HEAD\r\n1 CHAR UTF-8\r\n";
    for (int i = 1; i <= 10000; ++i) {
        const std::string n = std::to_string(i);
        t += "0 @I" + n + "@ INDI\r\n1 NAME Jöhann Peter " + n + " /" + (i % 2 ? "Müller" : "Smith") + "/\r\n";
        t += std::string("1 SEX ") + (i % 2 ? "M" : "F") + "\r\n";
        t += "1 BIRT\r\n2 DATE 12 MAR 1850\r\n2 PLAC Köln, Rheinland, Preußen\r\n";
        t += "1 DEAT\r\n2 DATE 1 JAN 1910\r\n2 PLAC Boston, Suffolk, Massachusetts\r\n1 AFN 1A2B-3C4\r\n";
        t += "1 FAMS @F" + std::to_string((i + 1) / 2) + "@\r\n";
        if (i > 10) t += "1 FAMC @F" + std::to_string(i % 5000 + 1) + "@\r\n";
        for (int k = 0; k < 4; ++k)
            t += std::string(k ? "2 CONT" : "1 NOTE") +
                 " A note line of ordinary length, about a christening in the old church, number " +
                 std::to_string(4 * i + k) + "\r\n";
        t += "1 SOUR @S1@\r\n";
    }
    for (int f = 1; f <= 5000; ++f)
        t += "0 @F" + std::to_string(f) + "@ FAM\r\n1 HUSB @I" + std::to_string(2 * f - 1) + "@\r\n1 WIFE @I" +
             std::to_string(2 * f) + "@\r\n1 MARR\r\n2 DATE 1 JUN 1875\r\n2 PLAC Köln\r\n1 SOUR @S1@\r\n";
    return t + "0 @S1@ SOUR\r\n1 TITL Ancestral File\r\n0 TRLR\r\n";
}

// The two files as the writer writes them, made once.
const fs::path& WrittenFile(FileKind kind) {
    static const std::pair<fs::path, fs::path> files = [] {
        fs::path source = BenchDir() / "source.ged";
        std::ofstream(source, std::ios::binary) << LargeGedcom();
        ResetProgramState();
        Load(source);
        fs::path ged = BenchDir() / "large.ged", lnt = BenchDir() / "large.lnt";
        std::ofstream(ged, std::ios::binary)
            << FileContents(FileKind::Gedcom, BuildFileLines(FileKind::Gedcom, ged.string()));
        std::ofstream(lnt, std::ios::binary)
            << FileContents(FileKind::Work, BuildFileLines(FileKind::Work, lnt.string()));
        return std::pair{ged, lnt};
    }();
    return kind == FileKind::Gedcom ? files.first : files.second;
}

void ReadBack(benchmark::State& state, const fs::path& p, int32_t individuals = 0) {
    ResetProgramState();
    for (auto _ : state) Load(p);
    if (individuals && g.IndivCount != individuals) state.SkipWithError("the file did not load whole");
    state.counters["individuals"] = g.IndivCount;
    state.counters["families"] = g.FamilCount;
    state.counters["notes"] = g.NotesCount;
    state.counters["bytes"] = static_cast<double>(fs::file_size(p));
}

void BM_ReadGedcom(benchmark::State& state) { ReadBack(state, WrittenFile(FileKind::Gedcom), 10000); }
void BM_ReadWorkFile(benchmark::State& state) { ReadBack(state, WrittenFile(FileKind::Work), 10000); }

void BM_ReadLargestSharedGedcom(benchmark::State& state) {
    fs::path largest;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(LINTORA_TESTDATA_DIR "/gedcom", ec))
        if (e.is_regular_file() && (largest.empty() || e.file_size() > fs::file_size(largest))) largest = e.path();
    if (largest.empty()) {
        state.SkipWithError("no shared test files");
        return;
    }
    state.SetLabel(largest.filename().string());
    ReadBack(state, largest);
}

BENCHMARK(BM_ReadGedcom)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadWorkFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadLargestSharedGedcom)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lintora
