// Writing a full work area: 10,000 individuals, 5,000 families and 40,000
// note lines, as a GEDCOM file and as a work file.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "files/gedcom_writer.h"
#include "platform/disk/save_contents.h"
#include "record_store/program_state.h"

namespace lintora {
namespace {

void FillLargeWorkArea() {
    ResetProgramState();
    g.Source.resize(2);
    g.SourceCount = 1;
    g.Source[1].sTitle = "Ancestral File";
    g.Source[1].sCitations = 10000;
    for (int32_t i = 1; i <= 10000; ++i) {
        IndivRec& r = g.Indiv[i];
        r.iRIN = i;
        r.iGivn = "Jöhann Peter " + std::to_string(i);
        r.iSurn = i % 2 ? "Müller" : "Smith";
        r.iSex = i % 2 ? "M" : "F";
        r.ibDate = "12 MAR 1850";
        r.ibPlace = "Köln, Rheinland, Preußen";
        r.idDate = "1 JAN 1910";
        r.idPlace = "Boston, Suffolk, Massachusetts";
        r.iAFN = "1A2B-3C4";
        r.iSource = 1;
        r.iNoteFlg = "Y";
        r.iFamc = i > 10 ? (i % 5000) + 1 : 0;
        r.iChanDate = "6 Jan 2006";
        r.iChanTime = "14:5:9";
    }
    g.IndivCount = 10000;
    for (int32_t f = 1; f <= 5000; ++f) {
        FamilRec& r = g.Famil[f];
        r.fRIN = f;
        r.fHusb = 2 * f - 1;
        r.fWife = 2 * f;
        r.fmDate = "1 JUN 1875";
        r.fmPlace = "Köln";
        r.fSource = 1;
    }
    g.FamilCount = 5000;
    for (int32_t n = 1; n <= 40000; ++n) {
        NoteRec& r = g.Notes[n];
        r.nKind = "I";
        r.nOwner = (n - 1) / 4 + 1;
        r.nTag = n % 4 == 1 ? "1 NOTE" : "2 CONT";
        r.nText = "A note line of ordinary length, about a christening in the old church, number " +
                  std::to_string(n);
        r.nLen = static_cast<int16_t>(Utf8Length(r.nText.value()));
    }
    g.NotesCount = 40000;
}

void WriteFile(benchmark::State& state, FileKind kind) {
    FillLargeWorkArea();
    std::string path = (std::filesystem::temp_directory_path() / "lintora_bench_write.out").string();
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::string contents = FileContents(kind, BuildFileLines(kind, path));
        bytes = contents.size();
        if (!SaveContents(path, contents).saved()) state.SkipWithError("write failed");
    }
    state.counters["bytes"] = static_cast<double>(bytes);
    std::filesystem::remove(path);
}

void BM_WriteGedcom(benchmark::State& state) { WriteFile(state, FileKind::Gedcom); }
void BM_WriteWorkFile(benchmark::State& state) { WriteFile(state, FileKind::Work); }

BENCHMARK(BM_WriteGedcom)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteWorkFile)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lintora
