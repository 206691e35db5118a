#pragma once
// One level of undo for the record tables.
namespace lintora {

// Takes the snapshot of the individuals, families and note lines (and the
// pedigree root, tree count, changed flag and status text), then enables the
// undo commands. A snapshot that cannot be taken completely leaves undo off.
void InitUndo();

// Puts the snapshot back: whole tables are swapped in, the surname index and
// trees rebuilt, current-record numbers brought back in range, the pedigree
// redrawn and the undo commands disabled. Does nothing without a snapshot.
void RestoreUndo();

}  // namespace lintora
