// Place normalisation and date reading over many varied inputs, and
// replacing every occurrence in one long line.
#include <benchmark/benchmark.h>

#include <array>
#include <string>
#include <vector>

#include "record_store/dates_places.h"
#include "record_store/place_names.h"
#include "record_store/text_routines.h"

namespace {

constexpr std::size_t kInputs = 10000;

std::vector<std::string> MakePlaces() {
    const std::array<const char*, 12> towns = {"Boston",   "St Louis", "East Haven", "Oak Hill",
                                               "New York", "Salem",    "Québec",     "Los Angeles",
                                               "Dorchester", "North St Paul", "Zürich", "Isle of Man"};
    const std::array<const char*, 8> middles = {"Suffolk County", "Essex", "Allen Co.", "Oak Cemetery",
                                                "Ramsey", "Twp", "City", "ÉVREUX"};
    const std::array<const char*, 6> ends = {"Massachusetts", "Missouri", "OHIO", "Canada",
                                             "Schweiz 8001", "New York"};
    std::vector<std::string> places;
    places.reserve(kInputs);
    for (std::size_t i = 0; i < kInputs; ++i) {
        std::string t = towns[i % towns.size()];
        std::string m = middles[(i / 3) % middles.size()];
        std::string e = ends[(i / 7) % ends.size()];
        switch (i % 4) {
            case 0: places.push_back(t + " " + m + " " + e); break;
            case 1: places.push_back(t + ", " + m + ", " + e + " " + std::to_string(10000 + i)); break;
            case 2: places.push_back("Near <" + t + " " + e + "> " + std::to_string(i)); break;
            default: places.push_back(t + ". " + e + ";  " + m); break;
        }
    }
    return places;
}

std::vector<std::string> MakeDates() {
    const std::array<const char*, 8> months = {"Jan", "FEB", "March", "Sept", "dec", "JUNE", "Aug", "Nov"};
    const std::array<const char*, 6> qualifiers = {"", "ABT ", "Bef. ", "AFTER ", "about ", "Deceased "};
    std::vector<std::string> dates;
    dates.reserve(kInputs);
    for (std::size_t i = 0; i < kInputs; ++i) {
        std::string day = std::to_string(1 + i % 31);
        std::string year = std::to_string(1600 + i % 400);
        std::string q = qualifiers[(i / 5) % qualifiers.size()];
        std::string m = months[i % months.size()];
        switch (i % 5) {
            case 0: dates.push_back(q + day + " " + m + " " + year); break;
            case 1: dates.push_back(q + m + " " + year); break;
            case 2: dates.push_back(q + year + "/" + std::to_string(i % 100)); break;
            case 3: dates.push_back("BET " + year + " AND " + std::to_string(1610 + i % 400)); break;
            default: dates.push_back(day + "/" + std::to_string(1 + i % 12) + "/" + year); break;
        }
    }
    return dates;
}

void BM_NormalizePlace(benchmark::State& state) {
    const auto places = MakePlaces();
    for (auto _ : state) {
        for (const auto& p : places) benchmark::DoNotOptimize(lintora::NormalizePlace(p));
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * places.size()));
}
BENCHMARK(BM_NormalizePlace)->Unit(benchmark::kMillisecond);

void BM_ParseDateParts(benchmark::State& state) {
    const auto dates = MakeDates();
    std::string result;
    int16_t year = 0, month = 0, day = 0;
    for (auto _ : state) {
        for (const auto& d : dates) {
            lintora::ParseDateParts(d, result, year, month, day);
            benchmark::DoNotOptimize(result);
        }
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * dates.size()));
}
BENCHMARK(BM_ParseDateParts)->Unit(benchmark::kMillisecond);

// A pasted line of nothing but the searched text: "*" removed from a run
// of asterisks, "  " collapsed in a run of blanks between two words.
void BM_ReplaceAllRun(benchmark::State& state) {
    const std::size_t n = static_cast<std::size_t>(state.range(0));
    const std::string stars(n, '*');
    const std::string blanks = "a" + std::string(n, ' ') + "b";
    for (auto _ : state) {
        benchmark::DoNotOptimize(lintora::ReplaceAll(stars, "*", ""));
        benchmark::DoNotOptimize(lintora::ReplaceAll(blanks, "  ", " "));
    }
    state.SetComplexityN(state.range(0));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 2 * state.range(0));
}
BENCHMARK(BM_ReplaceAllRun)->RangeMultiplier(4)->Range(25000, 400000)->Complexity()->Unit(benchmark::kMillisecond);

}  // namespace
