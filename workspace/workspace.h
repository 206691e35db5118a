#pragma once
// The user's commands on the work, as the windows call them: clear, paste,
// open, save, undo, the parent-set pick and its cancel. The windows call
// these, never the tables' routines directly; each command asks its
// questions through the platform port and shows its results through the
// window ports.
#include <cstdint>
#include <string>

namespace lintora {

// ---- Clear ----

// Empties the work area: the tables and the work state, the main window
// back to its empty look with the data commands disabled, the sources and
// repositories reloaded from the site data file and the user file. Window
// elements that fail are passed over.
void ClearAllData();

// File menu "Clear workarea": asks "Remove all data and start from
// scratch?"; on Yes clears (ClearAllData), forgets the file the work came
// from and captions the window "Lintora". No keeps the work and its
// caption. True when the work was cleared.
bool ClearWorkArea();

// ---- Paste ----

// The paste button with the clipboard text: the page is recognised, filed
// and reported (a parent-set pick list may follow).
void PasteText(const std::string& text);

// ---- Open ----

// Loads the work file or GEDCOM file at path into fresh tables; the work
// is replaced only when the file held individuals. True when it was.
bool OpenFile(const std::string& path);

// Start-up: opens the file named on the command line (taken whole, as one
// path), else the work file remembered from the last run; only a name
// ending ".lnt" or ".LNT" is opened. A file that cannot be opened says why;
// a remembered one that is gone is then forgotten, so that it is told once.
void OpenWorkFileAtStart(const std::string& commandLine);
// Start-up, once the main window shows: one box names the user's other
// saves that did not finish (TellUnfinishedSaves).
void TellLeftSavesAtStart();

// File menu "Open Workfile": offers to save changed work (a dismissed
// question, or a save answered Yes that does not complete, stops the open),
// asks for the file and opens it. True when a file was loaded.
bool OpenWorkFile();

// ---- Save ----

// There is work to save while the work holds people that no prune
// removed, changed since the last save or not. Empty work has nothing to
// save, whatever changed (an undo back to empty after a save): the data
// commands are then off.
bool WorkToSave();

// WorkToSave for a file of kind ("LNT" work file, "GED"); else says "No
// work data to save!" or "No file data to save!" and false. File menu
// "Save As GED" shows the Preferences window only when it is true.
bool HaveWorkToSave(const std::string& kind);

// File menu "Save As Workfile": asks for the name and writes the work file,
// then the user file; nothing without work to save. True when the work file
// was written.
bool SaveWorkFile();

// The GEDCOM save (the Preferences window's Continue): checks again that
// there is work to save, asks for the name and writes the GEDCOM file. True
// when it was written.
bool SaveGedcomFile();

// ---- Edit ----

// Edit menu "Last Names Upper case" (upper) or "Last Names Proper case":
// takes the undo snapshot, named in the Undo tip, then recases every
// surname; Proper case keeps a surname written with small letters and
// recases the given names too. Later pages' surnames follow the new case.
void RecaseLastNames(bool upper);

// ---- Undo ----

// Tool bar Undo: the last snapshot comes back, the page scratch record is
// blanked and the last paste forgotten, so the same text may be pasted again
// without the question; back to empty work the data commands are off.
// Nothing happens without a snapshot: each is put back once, and clearing
// and loading forget it.
void UndoLastChange();

// ---- Parent-set pick ----

// A click on parent set s (1..the page's count) in the pick list: links the
// page person to those parents, hides the list, renumbers the trees, and
// reports and clears the paste's touched marks. A set the page does not
// hold links nothing.
void PickParentSet(int16_t set);

// "Cancel" of the pick list: hides it, renumbers the trees, and reports and
// clears the paste's touched marks; no parents are linked.
void CancelParentPick();

// ---- Prune ----

// "Delete this Individual" (pedigree pop-up, editor): prepares the prune of
// indiv. Refuses the root of a one-tree work ("Sorry! Unable to prune root
// individual in file."), offers a backup of unsaved work, hides the editor
// and shows the prune panel with "only" selected. True when the panel is
// shown.
bool PruneSetup(int32_t indiv);

// The prune panel's OK with its option (0 all ancestors, 1 all descendants,
// 2 the person only, 3 all ancestors and descendants). Asks "Are you
// sure?"; only then takes the undo snapshot, prunes, compacts the tables,
// re-roots the pedigree and writes the result line. A person who is no
// longer in the work (an undo or a load came between) or an option outside
// 0..3 ends the prune without change.
void RunPrune(int option);

// The prune panel's Cancel.
void CancelPrune();

}  // namespace lintora
