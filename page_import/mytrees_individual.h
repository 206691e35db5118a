#pragma once
// MyTrees individual page.

namespace lintora {

// Reads g.PageLines into the page scratch record: the person's name (with
// its parts and key), sex, birth, christening, death and burial, the
// spouses of the "Spouses:" list with their births, and the notes. Files
// nothing itself; the paste entry files the scratch record. Never throws.
void ProcessIndKK();

}  // namespace lintora
