#pragma once
// Compaction of the record tables after a prune.

namespace lintora {

// Drops every individual and family marked removed (tree 99) and the note
// lines of removed or missing owners, renumbers the rest 1..n in their old
// order and rewrites every record number that names them: spouses,
// families as child, note owners, the current and last records, the
// pedigree slots, the page's main person and the page scratch record (a
// removed person there becomes number 0, name "X"). Fills IndivNewNo,
// FamilNewNo, PrunedIndivs and PrunedFamils, and counts the renumbering.
// The new tables are built aside and swapped in at the end: a failure leaves
// the work as it was.
void RenumberTables();

}  // namespace lintora
