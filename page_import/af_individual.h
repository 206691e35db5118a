#pragma once
// FamilySearch Ancestral File individual record page.

namespace lintora {

// Reads PageLines into the page scratch record: the page person (name, AFN,
// sex, birth, christening, death, burial), the parent sets, and the spouses
// with their marriages. Files nothing itself; the paste entry files the
// scratch record afterwards. Never throws.
void ParseAFIndividual();

}  // namespace lintora
