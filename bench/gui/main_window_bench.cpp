// The main window at full tables (10,000 individuals, 5,000 families): the
// pedigree redraw, the status bar, a box click with its panel, and start-up
// to a shown window with a full work file, in this process and as the real
// program. Runs offscreen.
#include <benchmark/benchmark.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include <spawn.h>
#include <sys/wait.h>

#include <QApplication>
#include <QTimer>

#include "files/gedcom_writer.h"
#include "lintora_version.h"
#include "main_window/about_window.h"
#include "main_window/main_window.h"
#include "main_window/program_start.h"
#include "platform/platform.h"
#include "platform/settings_store.h"
#include "record_store/program_state.h"
#include "record_store/tables.h"
#include "record_store/trees.h"

extern char** environ;

namespace lintora {
namespace {

namespace fs = std::filesystem;

fs::path BenchDir() {
    static const fs::path dir = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        fs::path d = fs::temp_directory_path() / "lintora_gui_bench";
        fs::create_directories(d / "app");
        fs::create_directories(d / "work");
        setenv("XDG_CONFIG_HOME", (d / "config").c_str(), 1);
        setenv("XDG_DATA_HOME", (d / "data").c_str(), 1);
        fs::copy_file(fs::path(LINTORA_SOURCE_DIR) / "files" / "Lintora11.dat", d / "app" / "Lintora11.dat",
                      fs::copy_options::overwrite_existing);
        return d;
    }();
    return dir;
}

// Person k has the parents 2k and 2k+1 (family k), so the root's pedigree
// is full and every fifth-generation box has generations behind it; every
// person has notes and life dates.
void FullTables(int32_t individuals = kMaxIndiv, int32_t families = kMaxFamil) {
    ResetProgramState();
    g.AppPath = (BenchDir() / "app").string();
    for (int32_t i = 1; i <= individuals; ++i) {
        const int32_t n = AddIndiv();
        IndivRec& I = g.Indiv[n];
        I.iGivn = "Johann Peter " + std::to_string(i);
        I.iSurn = i % 2 ? "Müller" : "Smith";
        I.iName = I.iGivn.value() + " " + I.iSurn.value();
        I.iSex = i % 2 ? "F" : "M";
        I.ibDate = "12 MAR " + std::to_string(1900 - 25 * (31 - __builtin_clz(i)));
        I.idDate = "1 JAN 1950";
        I.iNoteFlg = "Y";
    }
    for (int32_t f = 1; f <= families; ++f) {
        const int32_t n = AddFamil();
        if (2 * f + 1 <= individuals) {
            g.Famil[n].fHusb = 2 * f;
            g.Famil[n].fWife = 2 * f + 1;
            g.Indiv[f].iFamc = n;
        }
    }
    LoadGenTree();
    g.TreeSlot[0] = 1;
    g.LastIndiv = 1;
}

Lintora& Window() {
    BenchDir();
    static Lintora* w = [] {
        auto* window = new Lintora;
        InstallMainWindow(window);
        return window;
    }();
    return *w;
}

void BM_RedrawPedigree(benchmark::State& state) {
    Lintora& w = Window();
    FullTables();
    for (auto _ : state) {
        w.RedrawTree();
        w.UpdateStatusBar();
    }
    state.counters["more_buttons"] = 16;
}

void BM_UpdateStatusBar(benchmark::State& state) {
    Lintora& w = Window();
    FullTables();
    for (auto _ : state) w.UpdateStatusBar();
}

void BM_ClickBoxAndPanel(benchmark::State& state) {
    Lintora& w = Window();
    FullTables();
    w.RedrawTree();
    for (auto _ : state) {
        w.lblTree_MouseUp(3, 1);  // selects and fills the panel
        w.lblTree_MouseUp(3, 1);  // deselects
    }
}

// One record short of each table: the last record would bring the
// table-full message, which waits for the user.
const fs::path& FullWorkFile() {
    static const fs::path file = [] {
        FullTables(kMaxIndiv - 1, kMaxFamil - 1);
        fs::path p = BenchDir() / "work" / "full.lnt";
        std::ofstream(p, std::ios::binary) << FileContents(FileKind::Work, BuildFileLines(FileKind::Work, p.string()));
        return p;
    }();
    return file;
}

// The whole start-up in this process, through the program's start-up
// routine: splash, settings, data files, the windows built, the full work
// file, the window shown and drawn.
void BM_StartUpInProcess(benchmark::State& state) {
    const fs::path& file = FullWorkFile();
    for (auto _ : state) {
        ResetProgramState();
        bool ok = false;
        {
            Program program;
            ok = program.Start({(BenchDir() / "app").string(), file.string(), false, nullptr});
            QApplication::processEvents();
            program.Window().About().Timer1->stop();
        }
        InstallMainWindow(&Window());
        if (!ok || g.IndivCount != kMaxIndiv - 1) state.SkipWithError("the work file did not open");
    }
}

// The real program started with the full work file, until the load has
// stored the root it shows (the window is shown right after); then ended.
void BM_StartUpProgram(benchmark::State& state) {
    const fs::path& file = FullWorkFile();
    const fs::path settings = SettingsFilePath("Lintora");
    // Without it the program stops at its "data file is missing" message.
    std::error_code missing;
    const std::string program = LINTORA_PROGRAM;
    const std::string siteData =
        "Lintora" + std::to_string(kVersionMajor) + std::to_string(kVersionMinor) + ".dat";
    if (!fs::is_regular_file(fs::path(program).parent_path() / siteData, missing)) {
        state.SkipWithError("the site data file is not beside the program");
        return;
    }
    for (auto _ : state) {
        std::error_code ec;
        fs::remove(settings, ec);
        const std::string arg = file.string();
        char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>(arg.c_str()), nullptr};
        const auto start = std::chrono::steady_clock::now();
        pid_t pid = 0;
        if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ) != 0) {
            state.SkipWithError("the program did not start");
            return;
        }
        bool loaded = false, ended = false;
        int status = 0;
        while (!loaded && !ended && std::chrono::steady_clock::now() - start < std::chrono::seconds(30)) {
            ended = waitpid(pid, &status, WNOHANG) == pid;
            std::ifstream in(settings);
            std::stringstream s;
            s << in.rdbuf();
            loaded = s.str().find("datPos=1") != std::string::npos;
            if (!loaded) std::this_thread::sleep_for(std::chrono::microseconds(500));
        }
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (!ended) {
            kill(pid, SIGTERM);
            waitpid(pid, &status, 0);
        }
        if (!loaded) {
            state.SkipWithError("the work file was not opened");
            return;
        }
        state.SetIterationTime(seconds);
    }
}

BENCHMARK(BM_RedrawPedigree)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UpdateStatusBar)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ClickBoxAndPanel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartUpInProcess)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_StartUpProgram)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

}  // namespace
}  // namespace lintora
