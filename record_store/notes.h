#pragma once
// Notes of individuals and families, held as note lines in g.Notes in the
// shape the GEDCOM writer puts them out ("1 NOTE", "2 CONT", "2 CONC").
#include <cstdint>
#include <string>

namespace lintora {

// Stores g.IndivNoteText (kind "I") or g.FamilNoteText (kind "F") as note
// lines of owner recNo. Mode "Y" replaces the owner's lines: a text that
// keeps the same lines stores nothing, and one that the table cannot take
// whole leaves the old lines (with the table-full message, result -1); an
// empty text detaches them and sets the owner's notes flag to "N". Any other
// mode appends after them (with a "   " / "---" separator when the last line
// has more than one character); a text whose lines already stand, in order,
// among the owner's notes is not stored again. Returns the number of note
// lines added. An owner outside its table stores nothing.
int32_t StoreNotes(const std::string& kind, int32_t recNo, const std::string& mode);

// Fills g.IndivNoteText and g.FamilNoteText from the lines of g.CurIndiv and
// g.CurFamil (each text starts with one blank; each stored line, its CONC
// pieces joined, on a line of its own), remembers the family in
// g.FamilNoteOwner, shows them in the editor and sets both changed flags to "N".
void LoadEditNotes();

// The family part of LoadEditNotes alone: g.FamilNoteText from the lines of
// g.CurFamil, g.FamilNoteOwner, and its changed flag "N".
void LoadFamilyNotes();

// Length of the next piece of a line of 94 or more characters: pos is the
// 1-based start of the piece, len on entry the previous piece's length (the
// whole line's before the first). Cuts fall between two non-blank characters.
void ConcSplitLen(const std::string& line, int pos, int& len);

}  // namespace lintora
