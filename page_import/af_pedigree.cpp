#include "page_import/af_pedigree.h"

#include "page_import/pedigree_chart.h"

namespace lintora {

namespace {

// "B: 12 Mar 1832": the date from the fourth character, whatever the label
// ("Bu: 7 Nov 1899" keeps the blank after its label).
constexpr ChartEventLabel kLabels[] = {
    {"B:", 3, 4, ChartEvent::Birth},       {"Bu:", 3, 4, ChartEvent::Burial},
    {"C:", 3, 4, ChartEvent::Christening}, {"Ch:", 3, 4, ChartEvent::Christening},
    {"D:", 3, 4, ChartEvent::Death},       {"M:", 3, 4, ChartEvent::Marriage},
};

}  // namespace

void ParseAFPedigree() { ParsePedigreeChart(kLabels, std::size(kLabels), false); }

}  // namespace lintora
