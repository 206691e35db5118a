#pragma once
// Place-name correction across all individuals: the distinct event places
// (birth, christening, death, burial) with their counts, and one place text
// replaced everywhere. Marriage places are neither listed nor changed.
#include <cstdint>
#include <string>
#include <vector>

namespace lintora {

struct PlaceUse {
    std::string place;  // trimmed
    int32_t count = 0;
};

// Distinct trimmed event places of the live individuals, in the order first
// met (individual 1 up; birth, christening, death, burial). Letter case counts.
std::vector<PlaceUse> CollectPlaces();

// Replaces every event place equal (trimmed) to oldPlace by newPlace, cut to
// the field's width. Returns the number of fields whose value really
// changed; raises DataChanged when that is above 0. Blank texts change nothing.
int32_t ReplacePlace(const std::string& oldPlace, const std::string& newPlace);

// The report line of a change: "4 occurrences of Salem\n changed to Salem, Oregon".
std::string PlaceChangeReport(int32_t count, const std::string& oldPlace, const std::string& newPlace);

// Row (1-based) to select after the list is rebuilt: the first row for
// short lists, otherwise the remembered position plus 2, at most the last row.
int32_t PlaceRowToSelect(int32_t placeCount, int32_t placeListPos);

}  // namespace lintora
