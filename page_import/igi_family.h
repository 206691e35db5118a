#pragma once
// FamilySearch International Genealogical Index family group record page.

namespace lintora {

// Reads PageLines into the page scratch record: the husband as page person
// with his parent sets, the wife as spouse 1 with her parents, the couple's
// marriage and the children. Files nothing itself. Never throws.
void ProcessFamIGI();

}  // namespace lintora
