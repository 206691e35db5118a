#pragma once
// GenCircles pedigree page, and the person-line splitter that the
// GenCircles pages share.
#include <string>

namespace lintora {

// Files the chart's persons 1 to 7, each with his parents (persons 2k and
// 2k + 1) and, from person 2 on, his chart partner, through the page
// scratch record and LinkPageFamily. g.PageMainIndiv ends on the first
// person filed. Never throws.
void ProcessPedGNC();

// "3. Smith, John, Jr (Husband) b. 12 Mar 1820 in Boston" -> name "John Jr
// Smith", date "12 Mar 1820", place "Boston". A leading list number with
// its period, a leading "Descendants" and "(Wife)"/"(Husband)" are
// dropped; "surname, given names" is turned round; a generation suffix
// (Jr, Sr, II, III, IV) stands before the surname. Reports nothing.
void ParsePersonLineGNC(const std::string& text, std::string& name, std::string& date, std::string& place);

}  // namespace lintora
