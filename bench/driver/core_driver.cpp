// The core as a whole process, without windows: start as the program
// starts, load the file, save it as GEDCOM, end. The benchmark times it
// from outside, start-up and exit included. An INPUT of "-" only starts
// and ends (the empty program).
//   lintora_core_driver APP_DIR INPUT OUTPUT
#include <cstdio>
#include <fstream>
#include <string>

#include "files/data_files.h"
#include "files/file_saving.h"
#include "files/gedcom_writer.h"
#include "platform/disk/save_contents.h"
#include "record_store/program_state.h"
#include "workspace/workspace.h"

namespace {

// Peak resident memory of this process image in kB (from /proc: the rusage
// figure would count the image the process was spawned from).
long PeakResidentKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace lintora;
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s APP_DIR INPUT OUTPUT\n", argv[0]);
        return 2;
    }
    g.AppPath = argv[1];
    ReadStartupSettings();
    LoadDatFile("All");
    ClearAllData();
    if (std::string(argv[2]) == "-") {
        std::printf("%ld\n", PeakResidentKb());
        return 0;
    }
    if (!OpenFile(argv[2])) return 1;
    const std::string out = argv[3];
    const SaveResult saved = SaveContents(out, FileContents(FileKind::Gedcom, BuildFileLines(FileKind::Gedcom, out)));
    if (!saved.saved()) {
        std::fprintf(stderr, "%s\n", NotSavedText(out, saved).c_str());
        return 1;
    }
    std::printf("%ld\n", PeakResidentKb());
    return 0;
}
