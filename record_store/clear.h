#pragma once
// Emptying the work area.

namespace lintora {

// Empties every record table, resets the work and paste state, returns the
// main window to its empty look with the data commands disabled, and reloads
// the standard and user sources and repositories from the data files.
void ClearAllData();

// The table part of ClearAllData alone: the work tables emptied and
// ClearWorkState; no window and no data file is touched.
void ClearWorkTables();

// What names or follows the work but is not part of the tables:
// selections, trees, the pointer map and the paste state.
void ClearWorkState();

// The window part of ClearAllData alone: lists, pedigree, panels and the
// data commands back to their empty look.
void ClearWorkWindows();

}  // namespace lintora
