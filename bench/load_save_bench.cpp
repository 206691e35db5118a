// Loading and saving at the sizes real users have: an ANSEL file of about
// 3,000 people as public family files come, and full tables (10,000
// individuals, 5,000 families, 80,000 note lines) loaded and saved.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <fcntl.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "bench/bench_files.h"
#include "files/file_loading.h"
#include "files/gedcom_writer.h"
#include "platform/disk/save_contents.h"
#include "record_store/program_state.h"
#include "workspace/workspace.h"

extern char** environ;

namespace lintora {
namespace {

namespace fs = std::filesystem;

fs::path Dir() { return bench::ScratchDir(); }
void Load(const fs::path& p) { bench::LoadFrom(p); }

using bench::RoyalSizedAnsel;

// Full tables: 10,000 people, 5,000 families and 80,000 note lines (eight
// per person), UTF-8.
std::string FullTables() {
    std::string t = "0 HEAD\r\n1 CHAR UTF-8\r\n";
    for (int i = 1; i <= 10000; ++i) {
        const std::string n = std::to_string(i);
        t += "0 @I" + n + "@ INDI\r\n1 NAME Jöhann Peter " + n + " /" + (i % 2 ? "Müller" : "Smith") + "/\r\n";
        t += std::string("1 SEX ") + (i % 2 ? "M" : "F") + "\r\n";
        t += "1 BIRT\r\n2 DATE 12 MAR 1850\r\n2 PLAC Köln, Rheinland, Preußen\r\n";
        t += "1 DEAT\r\n2 DATE 1 JAN 1910\r\n2 PLAC Boston, Suffolk, Massachusetts\r\n1 AFN 1A2B-3C4\r\n";
        t += "1 FAMS @F" + std::to_string((i + 1) / 2) + "@\r\n";
        if (i > 10) t += "1 FAMC @F" + std::to_string(i % 5000 + 1) + "@\r\n";
        for (int k = 0; k < 8; ++k)
            t += std::string(k ? "2 CONT" : "1 NOTE") + " A note line of ordinary length, about a christening, " +
                 std::to_string(8 * i + k) + "\r\n";
    }
    for (int f = 1; f <= 5000; ++f)
        t += "0 @F" + std::to_string(f) + "@ FAM\r\n1 HUSB @I" + std::to_string(2 * f - 1) + "@\r\n1 WIFE @I" +
             std::to_string(2 * f) + "@\r\n1 MARR\r\n2 DATE 1 JUN 1875\r\n2 PLAC Köln\r\n";
    return t + "0 TRLR\r\n";
}

const fs::path& File(const char* name, std::string (*make)()) {
    static std::map<std::string, fs::path> made;
    auto it = made.find(name);
    if (it == made.end()) {
        fs::path p = Dir() / name;
        std::ofstream(p, std::ios::binary) << make();
        it = made.emplace(name, p).first;
    }
    return it->second;
}

void Counters(benchmark::State& state, const fs::path& p) {
    state.counters["individuals"] = g.IndivCount;
    state.counters["families"] = g.FamilCount;
    state.counters["notes"] = g.NotesCount;
    state.counters["bytes"] = static_cast<double>(fs::file_size(p));
}

void BM_LoadAnselFileOf3010People(benchmark::State& state) {
    const fs::path& p = File("royal.ged", [] { return RoyalSizedAnsel(3010); });
    ResetProgramState();
    for (auto _ : state) Load(p);
    if (g.IndivCount != 3010) state.SkipWithError("the file did not load whole");
    Counters(state, p);
}

void BM_LoadFullTables(benchmark::State& state) {
    const fs::path& p = File("full.ged", FullTables);
    ResetProgramState();
    for (auto _ : state) Load(p);
    if (g.IndivCount != 10000 || g.FamilCount != 5000 || g.NotesCount != 80000)
        state.SkipWithError("the file did not load whole");
    Counters(state, p);
}

void SaveFullTables(benchmark::State& state, FileKind kind) {
    ResetProgramState();
    Load(File("full.ged", FullTables));
    const std::string path = (Dir() / (kind == FileKind::Gedcom ? "saved.ged" : "saved.lnt")).string();
    for (auto _ : state)
        if (!SaveContents(path, FileContents(kind, BuildFileLines(kind, path))).saved())
            state.SkipWithError("write failed");
    Counters(state, path);
}

void BM_SaveFullTablesAsGedcom(benchmark::State& state) { SaveFullTables(state, FileKind::Gedcom); }
void BM_SaveFullTablesAsWorkFile(benchmark::State& state) { SaveFullTables(state, FileKind::Work); }

// Bytes of the record slots the three tables hold (their strings' own
// storage aside).
template <typename Table>
double SlotBytes(const Table& t) {
    return static_cast<double>(t.capacity() * sizeof(typename Table::value_type));
}

void TableCounters(benchmark::State& state) {
    state.counters["table_bytes"] = SlotBytes(g.Indiv) + SlotBytes(g.Famil) + SlotBytes(g.Notes);
    state.counters["indiv_bytes"] = SlotBytes(g.Indiv);
}

// The work as the program starts it, then as the 3,010-person file left it.
void BM_TableMemoryEmptyWork(benchmark::State& state) {
    for (auto _ : state) {
        ResetProgramState();
        g.AppPath = (Dir() / "app").string();
        ClearAllData();
    }
    TableCounters(state);
}

void BM_TableMemoryAnselFileOf3010People(benchmark::State& state) {
    const fs::path& p = File("royal.ged", [] { return RoyalSizedAnsel(3010); });
    ResetProgramState();
    for (auto _ : state) Load(p);
    TableCounters(state);
}

// The core driver run as a whole process: start, load input, save it as
// GEDCOM, end; the peak resident memory it reports as a counter.
void RunDriver(benchmark::State& state, const std::string& input) {
    Dir();  // the scratch settings folders, in the environment the driver inherits
    const std::string out = (Dir() / "driver_out.ged").string();
    const std::string app = (Dir() / "app").string();
    std::string driver = LINTORA_CORE_DRIVER;
    char* argv[] = {driver.data(), const_cast<char*>(app.c_str()), const_cast<char*>(input.c_str()),
                    const_cast<char*>(out.c_str()), nullptr};
    long peakKb = 0;
    for (auto _ : state) {
        int fds[2];
        if (pipe(fds) != 0) {
            state.SkipWithError("no pipe");
            break;
        }
        const auto start = std::chrono::steady_clock::now();
        pid_t pid = 0;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        const int rc = posix_spawn(&pid, driver.c_str(), &actions, nullptr, argv, environ);
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        std::string said;
        char buf[64];
        for (ssize_t n; (n = read(fds[0], buf, sizeof buf)) > 0;) said.append(buf, static_cast<std::size_t>(n));
        close(fds[0]);
        int status = 0;
        if (rc != 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the driver failed");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        peakKb = std::max(peakKb, std::atol(said.c_str()));
    }
    state.counters["peak_rss_kb"] = static_cast<double>(peakKb);
}

void BM_ProcessStartAndEnd(benchmark::State& state) { RunDriver(state, "-"); }

void BM_ProcessLoadSaveAnselOf23People(benchmark::State& state) {
    RunDriver(state, File("small.ged", [] { return RoyalSizedAnsel(23); }).string());
}

void BM_ProcessLoadSaveAnselOf3010People(benchmark::State& state) {
    RunDriver(state, File("royal.ged", [] { return RoyalSizedAnsel(3010); }).string());
}

// Two people around a run of 300 MB of zero bytes (a file a disk tool
// padded or damaged): the process holds the file's bytes once, so its peak
// stands near the file's size (file_kb), not twice it.
std::string PeopleAroundAZeroRun() {
    return "0 HEAD\r\n1 CHAR ASCII\r\n0 @I1@ INDI\r\n1 NAME Ann /Berg/\r\n" + std::string(300'000'000, '\0') +
           "\r\n0 @I2@ INDI\r\n1 NAME Bo /Berg/\r\n0 TRLR\r\n";
}

void BM_ProcessLoadSaveAroundAZeroRunOf300MB(benchmark::State& state) {
    const fs::path& p = File("zero-run.ged", PeopleAroundAZeroRun);
    RunDriver(state, p.string());
    state.counters["file_kb"] = static_cast<double>(fs::file_size(p) / 1024);
}

BENCHMARK(BM_LoadAnselFileOf3010People)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadFullTables)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveFullTablesAsGedcom)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveFullTablesAsWorkFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TableMemoryEmptyWork)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TableMemoryAnselFileOf3010People)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ProcessStartAndEnd)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ProcessLoadSaveAnselOf23People)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ProcessLoadSaveAnselOf3010People)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ProcessLoadSaveAroundAZeroRunOf300MB)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lintora
