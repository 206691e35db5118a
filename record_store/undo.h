#pragma once
// One level of undo for the record tables.
namespace lintora {

// Takes the snapshot: a copy of the work tables in use (records, sources,
// repositories, index) with the pedigree root, tree count, changed flag and
// status text, then enables the undo commands. A snapshot that cannot be
// taken completely leaves undo off.
void InitUndo();

// Puts the snapshot back (it stays, so the same undo may be repeated): a
// copy of it goes in whole, the surname index and
// trees rebuilt, current-record numbers brought back in range, the pedigree
// redrawn and the undo commands disabled. Does nothing without a snapshot.
void RestoreUndo();

}  // namespace lintora
