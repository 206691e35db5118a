#pragma once
// MyTrees pedigree page: seven couples over three generations, the
// husband's line and the wife's line.
#include <string>

namespace lintora {

// Files the 14 persons of the page and their 7 couples itself, links the
// persons of the two younger generations to their parents' families and
// leaves the central husband in g.PageMainIndiv (0 when he has no name).
// Shows a caution about the layout once per run. Never throws.
void ProcessPedKK();

// "Smith Family (m 12 Jun 1875 Boston) DDC" -> surname "Smith", marriage
// "12 Jun 1875 Boston".
void ParseFamilyLineKK(const std::string& line, std::string& surname, std::string& marriage);

// "John Henry - 1850-1920 & Mary Ann - 1852-1930" -> the husband's and the
// wife's names and dates; no "&", no wife.
void ParseCoupleLineKK(const std::string& line, std::string& husband, std::string& wife, std::string& husbandDates,
                       std::string& wifeDates);

}  // namespace lintora
