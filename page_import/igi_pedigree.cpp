#include "page_import/igi_pedigree.h"

#include "page_import/pedigree_chart.h"

namespace lintora {

namespace {

// "Birth: 12 MAR 1832": the date after the label and one blank.
constexpr ChartEventLabel kLabels[] = {
    {"Birth:", 7, 8, ChartEvent::Birth},
    {"Christening:", 13, 14, ChartEvent::Christening},
    {"Death:", 7, 8, ChartEvent::Death},
    {"Marriage:", 10, 11, ChartEvent::Marriage},
};

}  // namespace

void ProcessPedIGI() { ParsePedigreeChart(kLabels, std::size(kLabels), true); }

}  // namespace lintora
