// Pastes of the Ancestry and RootsWeb pages, each about 2,000 lines,
// and a register of 1,000 entries, into empty work.
#include <benchmark/benchmark.h>

#include <string>

#include "page_import/paste.h"
#include "platform/platform.h"
#include "record_store/program_state.h"

namespace lintora {
namespace {

// A different, pronounceable given name for every number.
std::string Given(int n) {
    static const char* syllables[] = {"ba", "ce", "di", "fo", "gu", "ha", "je", "ki", "lo", "mu"};
    std::string s;
    do {
        s += syllables[n % 10];
        n /= 10;
    } while (n > 0);
    s[0] = static_cast<char>(s[0] - 'a' + 'A');
    return s;
}

std::string Surname(int n) {
    static const char* names[] = {"SMITH", "BROWN", "GRAY", "HALE", "PRICE", "WOOD", "KING", "LUND"};
    return names[n % 8];
}

// Main entries 1..n/3, each with a wife and three children.
std::string Register(int entries) {
    std::string page = "Register\nRootsWeb\nDescendant Register, Generation No. 1\n\n";
    int next = 2;
    for (int k = 1; next <= entries; ++k) {
        page += std::to_string(k) + ". " + Given(k) + " SMITH was born " + std::to_string(1700 + k % 200) +
                " in Boston, Suffolk, Massachusetts. He married " + Given(k + 5000) + " " + Surname(k) + " " +
                std::to_string(1720 + k % 200) + " in Salem, Essex, Massachusetts, daughter of " + Given(k + 7000) +
                " " + Surname(k) + " and " + Given(k + 8000) + " " + Surname(k + 1) + ". She was born " +
                std::to_string(1702 + k % 200) + ".\n\n";
        page += "Children of " + Given(k) + " SMITH and " + Given(k + 5000) + " " + Surname(k) + " are:\n";
        for (int c = 0; c < 3 && next <= entries; ++c, ++next)
            page += "+ " + std::to_string(next) + " i. " + Given(next) + " SMITH was born " +
                    std::to_string(1730 + next % 200) + ".\n";
        page += "\n";
    }
    return page;
}

std::string Ahnentafel(int entries) {
    std::string page = "Ahnentafel\nAncestry.com\nAhnentafel, Generation No. 1\n\n";
    for (int n = 1; n <= entries; ++n) {
        page += std::to_string(n) + ". " + Given(n) + " " + Surname(n) + " was born " + std::to_string(1900 - n % 300) +
                " in Dover, Kent, England. " + (n % 2 ? "She was the daughter of " : "He was the son of ") +
                std::to_string(2 * n) + ". " + Given(2 * n) + " " + Surname(2 * n) + " and " +
                std::to_string(2 * n + 1) + ". " + Given(2 * n + 1) + " " + Surname(2 * n + 1) + ".\n\n";
    }
    return page;
}

std::string Descendants(int lines) {
    std::string page = "Descendants\nAncestry.com\nIndex\nGeneration No. 1\n1 Abel SMITH b: 1700\n  + Ann LEE b: 1702\n";
    int n = 2;
    while (n < lines) {
        for (int level = 2; level <= 6 && n < lines; ++level, n += 2) {
            page += std::string(4 * (level - 1), ' ') + std::to_string(level) + " " + Given(n) + " SMITH b: " +
                    std::to_string(1700 + 25 * level + n % 20) + "\n";
            page += std::string(4 * level - 2, ' ') + "+ " + Given(n + 9000) + " " + Surname(n) + " b: " +
                    std::to_string(1702 + 25 * level + n % 20) + "\n";
        }
    }
    return page;
}

std::string Individual(int lines) {
    std::string page = "Individual Record\nAncestry.com\nGiven Name: Abel\nSurname: SMITH\nSex: M\n"
                       "Birth: 12 Mar 1820 in Boston, Suffolk, Massachusetts\nNote:\n";
    for (int k = 0; k < lines - 20; ++k)
        page += "He kept the account book of the mill for many years (note " + std::to_string(k) + ").\n";
    page += "\nFather: Carl SMITH b: 1790\nMother: Ruth KING b: 1792\n\nMarriage 1 Ann LEE b: 1822\n"
            "Married: 1845 in Boston\nChildren\nHas No Children Ida SMITH b: 1846\n\nSources:\nIndex\n";
    return page;
}

// A full chart drawn as the text form draws it: each father above and each
// mother below his child, four columns further in per generation.
void ChartBranch(std::string& page, int number, int depth, int generations) {
    if (depth >= generations) return;
    ChartBranch(page, 2 * number, depth + 1, generations);
    const std::string name = Given(number) + " " + (number % 2 ? Surname(number) : std::string("SMITH"));
    const std::string dates = " b: " + std::to_string(1950 - 25 * depth) + " d: " + std::to_string(2000 - 25 * depth);
    if (depth == 0)
        page += name + dates + "\n";
    else
        page += std::string(static_cast<std::size_t>(4 * depth - 1), ' ') + (number % 2 ? "\\" : "/") + name +
                dates + "\n";
    ChartBranch(page, 2 * number + 1, depth + 1, generations);
}

std::string PedigreeText(int generations) {
    std::string page = "Pedigree\nAncestry.com\nDisplay pedigree in table format\n";
    ChartBranch(page, 1, 0, generations);
    return page;
}

// The fifteen boxes of a chart followed by the rest of a long page.
std::string PedigreeTable(int lines) {
    std::string page = "Pedigree\nAncestry.com\nDisplay pedigree in text format\n";
    for (int b : {8, 4, 9, 2, 10, 5, 11, 1, 12, 6, 13, 3, 14, 7, 15})
        page += std::to_string(b) + " " + Given(b) + " " + Surname(b) + "\nB: " + std::to_string(1900 - 20 * b) +
                "\nP: Dover, Kent, England\nM: " + std::to_string(1925 - 20 * b) + "\n";
    page += "--------\n";
    for (int k = 0; k < lines - 60; ++k) page += "Search more records of the family, row " + std::to_string(k) + "\n";
    return page;
}

void Paste(benchmark::State& state, const std::string& page) {
    InstallPlatform(nullptr);  // headless: no close match is taken
    for (auto _ : state) {
        state.PauseTiming();
        ResetProgramState();
        state.ResumeTiming();
        ProcessClipboard(page);
        benchmark::DoNotOptimize(g.IndivCount);
    }
    state.counters["individuals"] = g.IndivCount;
    state.counters["lines"] = static_cast<double>(g.PageLines.size());
}

void BM_Register1000Entries(benchmark::State& state) { Paste(state, Register(1000)); }
BENCHMARK(BM_Register1000Entries)->Unit(benchmark::kMillisecond);

void BM_RegisterPage2000Lines(benchmark::State& state) { Paste(state, Register(1200)); }
BENCHMARK(BM_RegisterPage2000Lines)->Unit(benchmark::kMillisecond);

void BM_AhnentafelPage2000Lines(benchmark::State& state) { Paste(state, Ahnentafel(1000)); }
BENCHMARK(BM_AhnentafelPage2000Lines)->Unit(benchmark::kMillisecond);

void BM_DescendantsPage2000Lines(benchmark::State& state) { Paste(state, Descendants(2000)); }
BENCHMARK(BM_DescendantsPage2000Lines)->Unit(benchmark::kMillisecond);

void BM_IndividualPage2000Lines(benchmark::State& state) { Paste(state, Individual(2000)); }
BENCHMARK(BM_IndividualPage2000Lines)->Unit(benchmark::kMillisecond);

// Eleven generations: 2,047 entries.
void BM_PedigreeTextPage2000Lines(benchmark::State& state) { Paste(state, PedigreeText(11)); }
BENCHMARK(BM_PedigreeTextPage2000Lines)->Unit(benchmark::kMillisecond);

void BM_PedigreeTablePage2000Lines(benchmark::State& state) { Paste(state, PedigreeTable(2000)); }
BENCHMARK(BM_PedigreeTablePage2000Lines)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lintora
