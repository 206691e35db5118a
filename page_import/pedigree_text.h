#pragma once
// Ancestry and RootsWeb pedigree chart copied in its text form: each
// ancestor on a line of his own behind a branch mark ("/" father above his
// child, "\" mother below), indented further for each generation; the
// chosen person at the left margin.
#include <string>

namespace lintora {

// "John Smith b: 12 Mar 1850 d: 3 Jan 1920" -> name, birth, christening
// ("c:") and death dates, each up to the next mark in any order;
// asterisks and "WFT Est." removed.
void ParsePtxPersonText(const std::string& text, std::string& name, std::string& bDate, std::string& cDate,
                        std::string& dDate);

// Rebuilds father, mother and child links from the indentation of the raw
// page lines and files every entry through the page scratch record. Two
// entries are married only when they share a child on the chart.
void ProcessPtxANC();

}  // namespace lintora
