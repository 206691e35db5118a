#pragma once
// Pedigree chart pages of FamilySearch (Ancestral File and IGI): the chart
// is collected into numbered chart persons, then each person is filed with
// his parents and spouse. Person 1 is the chart's main person, the father
// of n is 2n and the mother 2n + 1; 32 is the spouse of person 1.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "page_import/line_cursor.h"

namespace lintora {

inline constexpr int kChartSpouse = 32;

struct ChartPerson {
    std::string name, sex;
    std::string bDate, bPlace, cDate, cPlace, dDate, dPlace, blDate, blPlace, mDate, mPlace;
};
using ChartPersons = std::array<ChartPerson, kChartSpouse + 1>;

enum class ChartEvent { Birth, Christening, Death, Burial, Marriage };

// One event label of a chart layout: a line that begins with `label` and is
// longer than `longerThan` characters has its date from character `datePos`.
struct ChartEventLabel {
    std::string_view label;
    std::size_t longerThan;
    std::size_t datePos;
    ChartEvent event;
};

// Reads the chart persons of the page; slot 0 takes whatever stands before
// the first numbered line. `line` follows the walk and is left at the line
// where it ended (the closing line, or one past the last).
void CollectChart(const PageLineCursor& page, const ChartEventLabel* labels, std::size_t labelCount,
                  ChartPersons& persons, std::ptrdiff_t& line);

// Files persons 1 to 15 (each with his parents as one set and his spouse)
// and then person 32 through the page scratch record; returns the number
// filed. countSpouse: the status label also counts person 32.
int FileChart(const ChartPersons& persons, bool countSpouse);

// A whole chart parse with the layout's event labels: collects the chart,
// then files it. A failure names the page line it stopped at ("Problem
// processing GNC:PED ..."). Never throws.
void ParsePedigreeChart(const ChartEventLabel* labels, std::size_t labelCount, bool countSpouse);

}  // namespace lintora
