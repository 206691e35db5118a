// The GenCircles and MyTrees parsers, each on a page of about 2,000 lines,
// into empty work (the parsers that file their own persons file them too).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "page_import/gencircles_individual.h"
#include "page_import/gencircles_pedigree.h"
#include "page_import/mytrees_family.h"
#include "page_import/mytrees_individual.h"
#include "page_import/mytrees_pedigree.h"
#include "page_import/paste.h"
#include "platform/platform.h"
#include "record_store/page_scratch.h"
#include "record_store/program_state.h"

namespace lintora {
namespace {

constexpr int kLines = 2000;

const char* const kGiven[] = {"John", "Mary", "William", "Sarah", "James", "Ann", "Thomas", "Eliza"};
const char* const kSurnames[] = {"Adams", "Baker", "Clark", "Dunn", "Evans", "Foster", "Green", "Hill"};

std::string Name(int i) { return std::string(kGiven[i % 8]) + " " + kGiven[(i / 8) % 8] + " " + kSurnames[(i / 3) % 8]; }
std::string Year(int i) { return std::to_string(1700 + i % 250); }

// Note lines up to the page's length.
void PadWithNotes(std::string& page, int lines) {
    for (int i = 0; lines < kLines; ++i, ++lines)
        page += "Line " + std::to_string(i) + " of the family history, as the submitter wrote it down\n";
}

std::string MyTreesIndividual() {
    std::string p = "MyTrees.com\nIndividual Record\nName: Henry PEMBERTON\nSex: Male\nBirth: 14 Feb 1838 Concord\n"
                    "Death: 9 Oct 1901 Lowell\nSpouses:\n";
    int lines = 7;
    for (int k = 1; k <= 16; ++k, ++lines)
        p += std::to_string(k) + ". " + kSurnames[k % 8] + ", " + kGiven[k % 8] + " - born: " + Year(k) + " @ Salem\n";
    p += "Notes:\n";
    PadWithNotes(p, lines + 2);
    return p + "Copyright Fficiency Software, Inc\n";
}

std::string MyTreesFamily() {
    std::string p = "MyTrees.com\nFamily Record\nFather: Samuel WHITCOMB\nBirth/Chris: 1808 Nashua\n"
                    "Mother: Abigail FARNSWORTH\nBirth/Chris: 1811 Groton\nMarried: 4 Oct 1832 Groton\nChildren:\n";
    int lines = 8;
    for (int k = 1; k <= 30; ++k, ++lines)
        p += std::to_string(k) + ". Whitcomb, " + kGiven[k % 8] + std::string(1, char('a' + k % 26)) +
             " - born: " + Year(1830 + k) + " @ Nashua\n";
    p += "Notes:\n";
    PadWithNotes(p, lines + 2);
    return p + "Copyright Fficiency Software, Inc\n";
}

std::string MyTreesPedigree() {
    const std::string chart =
        "Husband's Line\nHill Family (m 1790 Concord) DDC\nEli - 1765-1830 & Sarah Dow - 1768-1840\n"
        "Hill Family (m 1812 Concord) DDC\nJosiah - 1791-1860 & Ruth - 1793-1871\n\n"
        "Chase Family (m 1788 Hopkinton) DDC\nAmos - 1762-1825 & Hannah Eastman - 1766-1830\n"
        "Hill Family (m 1860 Lowell) DDC\nHenry - 1838-1901 & Lydia - 1841-1899\nWife's Line\n"
        "Cole Family (m 1780 Nashua) DDC\nJonas - 1758-1820 & Mary Blood - 1760-1829\n"
        "Cole Family (m 1832 Groton) DDC\nSamuel - 1808-1870 & Abigail - 1811-1880\n\n"
        "Ward Family (m 1805 Groton) DDC\nLevi - 1780-1850 & Lucy Lawrence - 1784-1860\n";
    std::string p = "MyTrees.com\nHill - Submitted Pedigree\n";
    for (int i = 0; i < kLines / 18; ++i) p += chart;
    return p + "Copyright Fficiency Software, Inc\n";
}

std::string GenCirclesIndividual() {
    std::string p = "GenCircles\nWalter Ashby 3 SmartMatches\nBirth: 14 Mar 1880 in Dover, Kent, Delaware\nSex: M\n"
                    "Father: Thomas Ashby b. 1850 in Dover\nMother: Ruth Colby b. 1853 in Smyrna\nSpouses & Children\n";
    int lines = 7, person = 0;
    for (int s = 1; s <= 16; ++s) {
        p += Name(person++) + " (Wife) b. " + Year(s + 1880) + " in Milford\nMarriage: " + Year(s + 1900) +
             " in Dover\nChildren:\n";
        lines += 3;
        for (int c = 1; c <= 30; ++c, ++lines) p += Name(person++) + " b. " + Year(1900 + c) + " in Dover\n";
    }
    p += "- - - - - - - -\nNotes\n";
    PadWithNotes(p, lines + 3);
    return p + "Sources\nSmartMatches\n";
}

std::string GenCirclesPedigree() {
    std::string p = "GenCircles\nClick the icon to move the pedigree chart to that person.\n";
    int lines = 2;
    for (int k = 1; k <= 16; ++k, lines += 4)
        p += Name(k * 7) + "\nBirth: " + Year(1900 - 25 * (k / 2)) + " in Dover, Kent, Delaware\nDeath: 1950\nSex: " +
             (k % 2 == 0 ? "M" : "F") + "\n";
    PadWithNotes(p, lines);
    return p;
}

void RunParser(benchmark::State& state, const std::string& page, void (*parser)()) {
    InstallPlatform(nullptr);  // headless: every box answered, no close match taken
    ResetProgramState();
    g.PedCautionShown = "X";
    SplitPageText(page);
    const std::vector<std::string> lines = g.PageLines;
    const ProgramState empty = g;
    for (auto _ : state) {
        state.PauseTiming();
        g = empty;
        InitPrep();
        state.ResumeTiming();
        parser();
        benchmark::DoNotOptimize(g.PageScratch.pgNotes.size());
    }
    state.counters["lines"] = static_cast<double>(lines.size());
    state.counters["filed"] = g.IndivCount;
}

void BM_MyTreesIndividual(benchmark::State& s) { RunParser(s, MyTreesIndividual(), &ProcessIndKK); }
void BM_MyTreesFamily(benchmark::State& s) { RunParser(s, MyTreesFamily(), &ProcessFamKK); }
void BM_MyTreesPedigree(benchmark::State& s) { RunParser(s, MyTreesPedigree(), &ProcessPedKK); }
void BM_GenCirclesIndividual(benchmark::State& s) { RunParser(s, GenCirclesIndividual(), &ProcessIndGNC); }
void BM_GenCirclesPedigree(benchmark::State& s) { RunParser(s, GenCirclesPedigree(), &ProcessPedGNC); }
BENCHMARK(BM_MyTreesIndividual)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MyTreesFamily)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MyTreesPedigree)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GenCirclesIndividual)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GenCirclesPedigree)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace lintora
