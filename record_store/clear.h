#pragma once
// Emptying the work area.

namespace lintora {

// The parts of clearing the work area (the whole command, with the reload of
// the data files, is ClearAllData in workspace/workspace.h).

// The table part of clearing: the work tables emptied and
// ClearWorkState; no window and no data file is touched.
void ClearWorkTables();

// What names or follows the work but is not part of the tables:
// selections, trees, the paste state; the undo snapshot is forgotten.
void ClearWorkState();

// Work left empty (an undo or a prune of everyone) has no first page: the
// next one names the work again, and nothing counts as mixed.
void ForgetFirstPageOfEmptyWork();

// The window part of clearing: lists, pedigree, panels and the
// data commands back to their empty look.
void ClearWorkWindows();

// The commands that need work to act on (save, list, clear, undo, prune,
// the place and surname commands) off, as at a fresh start.
void DisableDataCommands();

}  // namespace lintora
