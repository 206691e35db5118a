#pragma once
// One level of undo for the record tables.
#include <cstdint>
#include <string>

namespace lintora {

// Takes the snapshot: a copy of the work tables in use (records, sources,
// repositories, index) with the pedigree root, tree count, changed flag and
// the count of saves it stands at, surname case, the page's main person and
// status text, then enables the undo commands with undoTip, which names the
// change an undo takes back ("UnDo previous paste"), as the Undo button's
// tip. A snapshot that cannot be taken completely leaves undo off and the
// tip empty.
void InitUndo(const std::string& undoTip);

// Leaves the last record, indiv, out of the snapshot just taken, with its
// citation: a person being added has his blank record appended before his
// first save takes the snapshot, and an undo must leave no trace of him.
// Does nothing unless indiv is the snapshot's last individual.
void LeaveOutOfUndo(int32_t indiv);

// Puts the snapshot back, once: it is swapped in whole and undo is off
// until the next snapshot. The work counts as unchanged only when the
// snapshot was what the file last saved or opened holds. Sources and
// repositories stay as they are (the user file holds them), with the
// snapshot's citation counts; the surname index and trees rebuilt, the
// page's main person the snapshot's, the other current-record numbers
// naming the same records as before (back through a renumbering since the
// snapshot) or 0, the pedigree and the status bar redrawn and the undo
// commands disabled. Does nothing without a snapshot; a snapshot that names
// records it does not hold leaves the work as it was.
void RestoreUndo();

}  // namespace lintora
