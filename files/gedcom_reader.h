#pragma once
// The GEDCOM line reader: one line at a time into the record tables. The
// loader (file_loading.h) starts a load with BeginGedRead, hands every line
// to ParseGedRec and completes the load with what single lines cannot do.
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "files/gedcom_names.h"

namespace lintora {

// The working state of one read, owned by the load that runs it.
struct GedReader {
    // GEDCOM reader: tag code of each level of the current line (0 = record
    // type; see gedcom_reader.cpp), the text of those tags that have no code
    // of their own, the path as one number, the value trimmed and as written.
    std::vector<std::string> GedTagStack;
    std::vector<uint8_t> GedTagCodes;
    uint64_t GedPath = 0;
    std::string GedValue;
    // After the tag's blank, untrimmed (note text keeps its blanks): a view
    // into the line being read, good while that line is acted on.
    std::string_view GedRawValue;
    bool GedValueIsPointer = false;  // the value stood between "@" marks
    std::string GedNoteXref;       // pointer of the NOTE record being read
    struct XrefRec {
        std::string xXref;   // INDI pointer without its "@" marks
        int32_t xIndiv = 0;  // the individual filed for it
    };
    std::vector<XrefRec> XrefMap = std::vector<XrefRec>(1);  // entries 1..XrefCount
    int32_t XrefCount = 0;
    // Counts, pending links and note records of the read.
    struct GedNoteLine {
        std::string tag;   // "1 NOTE", "2 CONT" or "2 CONC"
        std::string text;  // as written
    };
    struct GedPending {
        int32_t record = 0;  // individual or family number
        std::string xref;
    };
    struct GedReadState {
        int32_t lineNo = 0;
        int32_t curIndiv = 0;   // record the current INDI lines go to (0 = skipped)
        int32_t curFamil = 0;
        int16_t curSource = 0;  // GedSource record of the current SOUR record
        int16_t curRepos = 0;
        bool skipRecord = false;  // table full: the rest of this record is dropped
        int32_t skippedIndivs = 0;
        int32_t skippedFamils = 0;
        int32_t skippedNotes = 0;
        int32_t badLines = 0;
        std::vector<int32_t> badLineNos;  // the first few
        std::string firstBadLine;
        std::unordered_map<std::string, int32_t> xrefIndex;  // INDI pointer -> XrefMap entry
        std::unordered_map<std::string, std::vector<GedNoteLine>> noteRecords;
        std::vector<GedPending> indivNotePtrs;  // "1 NOTE @N1@" of individuals
        std::vector<GedPending> familNotePtrs;
        std::vector<GedPending> children;       // CHIL lines of families
        std::string charSet;                    // HEAD CHAR, upper case
        std::string sourceText;                 // the current source field as written, for its CONC/CONT lines
        GedName name;  // the current NAME and its part lines
        bool noteOpening = false;  // a blank NOTE line waits for its first continuation
    } GedRead;

};

// Starts a read whose state is reader (emptied here); the reader calls
// below work on it until EndGedRead. The caller keeps it alive till then.
void BeginGedRead(GedReader& reader);
// The read is over: the reader calls work on a spare state again.
void EndGedRead();

// One line of a GEDCOM or (decoded) work file; lineNo is its number in the
// file, used when bad lines are reported.
void ParseGedRec(std::string_view line, int32_t lineNo = 0);

// Sets GedValue from the line: the pointer of a level-0 line, otherwise
// everything after the tag, with enclosing "@" marks removed.
void GetGedValue(std::string_view line);

// Dispatches the current line on its record type.
void LoadTables();
void ProcessINDI();
void ProcessFAM();
void ProcessNOTE();
void ProcessSOUR();
void ProcessREPO();
// Stores an event date or place of the current individual ("I") or family ("F").
void ProcessEvent(const std::string& ownerKind);

// The lines of the current record are all read: what waits for them all
// (the name shown) is made. A level-0 line and ResolveGedLinks call it.
void EndGedLines();

// After the last line: links spouses and children named before their own
// records, brings the text of pointed-to note records to their owners.
void ResolveGedLinks();

// Whether the file's first line with text is a GEDCOM header ("0 HEAD"),
// as no work file's is (its lines are all codes): no line of such a file is
// read as a work file's, whatever its digits.
bool HeadedAsGedcom(const std::vector<std::string_view>& lines);

// The individual number filed for an INDI pointer (without "@"), 0 if none.
int32_t FindXrefIndiv(const std::string& xref);

}  // namespace lintora
