#pragma once
// FamilySearch International Genealogical Index pedigree chart page.

namespace lintora {

// Collects the chart's persons 1 to 31 and the spouse of person 1, then
// files each person with his parents and spouse. Never throws.
void ProcessPedIGI();

}  // namespace lintora
