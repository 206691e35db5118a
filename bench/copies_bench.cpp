// A save in place (a file with a second name: its earlier contents kept in
// a copy, and the save recorded, until it is written), a save by rename,
// and an open of a file in an empty folder, in one of 20,000 other files,
// beside 10,000 records left by saves of other folders, and beside 10,000
// records of other files of its own folder, which it must not look through;
// and an open of a file with a second name, with no record or beside 10,000.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/bench_files.h"
#include "record_store/program_state.h"

#include "platform/disk/copies_folder.h"
#include "platform/disk/save_contents.h"
#include "platform/disk/save_record.h"

namespace lintora {
namespace {

namespace fs = std::filesystem;

bool Save(const std::string& path, const std::string& contents) { return SaveContents(path, contents).saved(); }

// A family of people, some 430 bytes of GEDCOM each.
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

void SaveInPlace(benchmark::State& state, int people) {
    const fs::path dir = Folder("in-place " + std::to_string(people)), file = dir / "family.ged";
    const std::string contents = People(people);
    std::ofstream(file, std::ios::binary) << contents;
    if (!fs::exists(dir / "for-aunt.ged")) fs::create_hard_link(file, dir / "for-aunt.ged");
    for (auto _ : state)
        if (!Save(file.string(), contents)) state.SkipWithError("the save failed");
    state.counters["bytes"] = static_cast<double>(contents.size());
}

void BM_SaveInPlaceOf8000People(benchmark::State& state) { SaveInPlace(state, 8000); }
void BM_SaveInPlaceOf23500People(benchmark::State& state) { SaveInPlace(state, 23500); }  // some 10 MB

void BM_SaveByRenameOf8000People(benchmark::State& state) {
    const fs::path dir = Folder("by-rename"), file = dir / "family.ged";
    const std::string contents = People(8000);
    std::ofstream(file, std::ios::binary) << contents;
    for (auto _ : state)
        if (!Save(file.string(), contents)) state.SkipWithError("the save failed");
}

// Records of saves of folders that are gone, half of saves in place, half
// of scratch names, each in the records of its folder; or, where in is
// given, of saves in place of other files of that folder.
void LeaveRecords(int count, const fs::path& in = {}) {
    const fs::path state = CopiesFolder();
    for (int k = 0; k < count; ++k) {
        SaveRecord record;
        record.kind = k % 2 || !in.empty() ? RecordKind::Save : RecordKind::Scratch;
        const std::string folder = in.empty() ? "/gone/trees " + std::to_string(k) : in.string();
        record.file = folder + "/family " + std::to_string(k) + ".ged";
        record.blocks = BlockHashes(std::string(record.newLength = 1800000, 'x'));
        record.copy = folder + "/family (earlier contents).ged";
        record.folder = folder;
        record.scratch = ".family.ged.0123456789abcdef.tmp";
        record.pid = 1;
        const fs::path at = state / RecordsFolderName(RecordPath(record));
        fs::create_directories(at);
        char name[64];
        std::snprintf(name, sizeof name, ".%s.%016x.record", record.kind == RecordKind::Save ? "save" : "scratch",
                      static_cast<unsigned>(k));
        std::ofstream(at / name) << RecordText(record);
    }
}

void Open(benchmark::State& state, const std::string& folder, int others, int records = 0, bool ofItsFolder = false,
          bool linked = false) {
    const fs::path dir = Folder(folder), file = dir / "family.ged";
    std::ofstream(file, std::ios::binary) << bench::RoyalSizedAnsel(3010);
    if (linked && !fs::exists(dir / "for-aunt.ged")) fs::create_hard_link(file, dir / "for-aunt.ged");
    if (records > 0 || linked) {
        setenv("XDG_STATE_HOME", (bench::ScratchDir() / (folder + "-records")).c_str(), 1);
        if (!fs::exists(CopiesFolder())) LeaveRecords(records, ofItsFolder ? dir : fs::path());
    }
    for (int k = 0; k < others; ++k) {
        const fs::path other = dir / ("family " + std::to_string(k) + ".txt");
        if (!fs::exists(other)) std::ofstream(other) << k;
    }
    ResetProgramState();
    for (auto _ : state) bench::LoadFrom(file);
    if (g.IndivCount != 3010) state.SkipWithError("the file did not load whole");
}

void BM_OpenInAnEmptyFolder(benchmark::State& state) { Open(state, "alone", 0); }
void BM_OpenAmong20000Files(benchmark::State& state) { Open(state, "crowded", 20000); }
void BM_OpenWith10000LeftRecords(benchmark::State& state) { Open(state, "left", 0, 10000); }
void BM_OpenWith10000RecordsOfItsFolder(benchmark::State& state) { Open(state, "own", 0, 10000, true); }
void BM_OpenOfALinkedFileAlone(benchmark::State& state) { Open(state, "linked alone", 0, 0, false, true); }
void BM_OpenOfALinkedFileWith10000LeftRecords(benchmark::State& state) { Open(state, "linked", 0, 10000, false, true); }

BENCHMARK(BM_SaveInPlaceOf8000People)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveInPlaceOf23500People)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveByRenameOf8000People)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenInAnEmptyFolder)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenWith10000LeftRecords)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenWith10000RecordsOfItsFolder)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenOfALinkedFileAlone)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenOfALinkedFileWith10000LeftRecords)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenAmong20000Files)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lintora
