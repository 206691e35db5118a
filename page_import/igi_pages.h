#pragma once
// FamilySearch International Genealogical Index pages: individual record,
// family group record and pedigree chart.
#include <string>

namespace lintora {

// Splits an IGI event value ("12 MAR 1821  Rochdale, Lancashire, England")
// at its last pair of blanks into date and place; the place comes back
// normalised. A value with a colon is a label line, not a value: both empty.
void SplitIGIDatePlace(const std::string& text, std::string& date, std::string& place);

// Individual record page: the page person with name, sex, four events and
// source numbers, the parent sets, the spouses with their marriages. Fills
// the page scratch record only; the paste entry files it. Never throws.
void ProcessIndIGI();

// Family group record page: the husband as page person with his parent
// sets, the wife as spouse 1 with her parents, the children. Fills the page
// scratch record only. Never throws.
void ProcessFamIGI();

// Pedigree chart page: files every person of the chart itself. Never throws.
void ProcessPedIGI();

}  // namespace lintora
