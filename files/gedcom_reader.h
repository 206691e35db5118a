#pragma once
// The GEDCOM line reader: one line at a time into the record tables. The
// loader (file_loading.h) starts a load with BeginGedRead, hands every line
// to ParseGedRec and completes the load with what single lines cannot do.
#include <cstdint>
#include <string>

namespace lintora {

// Empties the reader state (tag stack, pointer map, note records, skip and
// bad-line counts) for a new load.
void BeginGedRead();

// One line of a GEDCOM or (decoded) work file; lineNo is its number in the
// file, used when bad lines are reported.
void ParseGedRec(const std::string& line, int32_t lineNo = 0);

// Sets GedValue from the line: the pointer of a level-0 line, otherwise
// everything after the tag, with enclosing "@" marks removed.
void GetGedValue(const std::string& line);

// Dispatches the current line on its record type.
void LoadTables();
void ProcessINDI();
void ProcessFAM();
void ProcessNOTE();
void ProcessSOUR();
void ProcessREPO();
// Stores an event date or place of the current individual ("I") or family ("F").
void ProcessEvent(const std::string& ownerKind);

// After the last line: links spouses and children named before their own
// records, brings the text of pointed-to note records to their owners.
void ResolveGedLinks();

// The individual number filed for an INDI pointer (without "@"), 0 if none.
int32_t FindXrefIndiv(const std::string& xref);

}  // namespace lintora
