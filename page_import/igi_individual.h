#pragma once
// FamilySearch International Genealogical Index individual record page.

namespace lintora {

// Reads PageLines into the page scratch record: the page person with name,
// sex, four events and source numbers, the parent sets, the spouses with
// their marriages. Files nothing itself; the paste entry files the scratch
// record afterwards. Never throws.
void ProcessIndIGI();

}  // namespace lintora
