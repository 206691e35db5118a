#pragma once
// All program-wide state in one place. Every subsystem reads and writes it
// through `g`; ResetProgramState() puts everything back to start-up values,
// which is what each test begins with.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "record_store/page_scratch.h"
#include "record_store/records.h"
#include "record_store/trees.h"
#include "record_store/work_tables.h"

namespace lintora {

// Month names, January at 0; entry 12 stays empty.
extern const std::array<std::string, 13> Months;
extern const std::array<std::string, 13> MonthsUC;

// A file a load found cut short, known by where it lies and by the version
// found there: a file that takes its inode after a delete is another file.
struct CutShortFile {
    uint64_t device = 0, inode = 0;
    uint64_t size = 0;
    int64_t modified = 0;  // nanoseconds since the epoch
    bool operator==(const CutShortFile&) const = default;
};

struct ProgramState : WorkTables {

    // ---- Selection and results ----
    int32_t CurIndiv = 0;
    int32_t LastIndiv = 0;
    int32_t CurFamil = 0;
    int32_t LastFamil = 0;

    // ---- Page import ----
    PageScratchRec PageScratch;
    int16_t ParentSetChoice = 0;  // kept across InitPrep
    std::vector<std::string> PageLines;
    std::vector<std::string> PageRawLines;
    std::vector<std::string> LineFields;
    std::string LineLabel;
    std::vector<std::string> NameWords;
    std::string LastPaste;
    std::string PageSite;
    std::string PageType;
    std::string FirstSite;
    std::string FirstType;
    std::string MixedSources = "N";
    int16_t PasteSource = 0;
    int32_t PageMainIndiv = 0;
    int16_t IndivAdded = 0;
    int16_t IndivUpdated = 0;
    int16_t FamilAdded = 0;
    int16_t FamilUpdated = 0;
    std::string SurnameCase = " ";
    // "X" once the MyTrees pedigree caution has been shown in this run.
    std::string PedCautionShown;

    // ---- Trees and pedigree ----
    std::array<int32_t, 32> TreeSlot{};
    int32_t TreeCount = 0;
    int32_t PrevTreeCount = 0;
    std::vector<TreeRec> Trees = std::vector<TreeRec>(1);  // 0..TreeCount
    int32_t PruneIndiv = 0;
    std::string PrunePending = "N";
    // Results of the last renumbering: records dropped, and for each new
    // number (1..count) the old number of the record that now holds it.
    int16_t PrunedIndivs = 0;
    int16_t PrunedFamils = 0;
    std::vector<int32_t> IndivNewNo;
    std::vector<int32_t> FamilNewNo;
    // Counts the renumberings: an undo tells by it whether the numbers it
    // finds are the snapshot's or those of the renumbering after it.
    uint64_t Renumberings = 0;

    // ---- Work state ----
    std::string DataChanged = "N";
    // Counts the times the work was put in step with a file (saved, opened)
    // or emptied: with DataChanged "N", the work is what the file of this
    // count holds.
    uint64_t SavedGeneration = 0;
    std::string StatusMsg;           // what the editor leaves for the main window
    std::string NewIndivFlag = "N";  // "Y" while a new person waits in the editor

    // ---- Matching and linking ----

    // ---- Undo snapshot ----
    // The work tables in use when it was taken; UndoReady while it may be
    // restored. Shared, never changed: a copy of the state shares it.
    std::shared_ptr<WorkTables> UndoTables;
    int16_t UndoTreeCount = 0;
    int32_t SavedRoot = 0;
    std::string UndoStatusText;
    std::string UndoChanged = "N";
    uint64_t UndoSavedGeneration = 0;
    std::string UndoSurnameCase = " ";
    int32_t UndoPageMainIndiv = 0;
    uint64_t UndoRenumberings = 0;
    bool UndoReady = false;
    // Notes texts of the current individual and family (lines joined by CR LF),
    // read by StoreNotes and filled by LoadEditNotes.
    std::string IndivNoteText;
    std::string FamilNoteText;
    std::string IndivNoteChanged = "N";
    std::string FamilNoteChanged = "N";
    // The family whose notes FamilNoteText holds (0 = none): a save stores
    // them there even when another marriage is shown by then.
    int32_t FamilNoteOwner = 0;

    // ---- Paste ----
    // Table sizes when the current paste began, and whether its result was
    // already reported (a paste is reported once).
    int32_t PasteStartIndivCount = 0;
    int32_t PasteStartFamilCount = 0;
    bool PasteReported = true;

    // ---- File saving, data files and settings ----
    std::string AppPath;       // the program's folder
    std::string FilePath;      // file the work was loaded from or saved to
    std::string FileName;      // name part of FilePath
    std::string FileDir;       // folder part of FilePath
    std::string InitDirGED;    // remembered folders of the file dialogs
    std::string InitDirWRK;
    std::string LastWorkFile;  // last work file saved or opened; empty after a GEDCOM save
    std::string CurDir;
    std::string datFilename = " ";  // " " = no work file remembered
    int32_t datPos = 0;             // pedigree root to show after reopening
    // The files a load found cut short, as they were then: a save over one asks first.
    std::vector<CutShortFile> CutShortFiles;
    // Problems of the settings file the user was told of in this run.
    std::vector<std::string> SettingsProblemsTold;
    // Preparer details and citation mode, kept in the settings.
    std::string prefName = " ", prefAddr1 = " ", prefAddr2 = " ", prefAddr3 = " ",
                prefAddr4 = " ", prefAddr5 = " ", prefCountry = " ", prefPhone = " ",
                prefAFN = " ", prefEmail = " ", prefNotes = " ";
    int16_t prefSourceSW = 0;  // 0 one citation per record, 1 one per data item
    // The Preferences window's inputs as the writer reads them at a save:
    // its check boxes, the selected citation option (0 or 1) and its text
    // boxes Text1..Text11 at index 1..11.
    bool PrepCheck = true;
    bool SourceCheck = true;
    bool NoteCheck = false;
    int16_t Option1 = 0;
    std::array<std::string, 12> PrefText{};
    // Search pages and regions of the site data file, rows 1..count.
    std::vector<LinkRec> Links = std::vector<LinkRec>(kMaxLinks + 1);
    int16_t LinkCount = 0;
    std::vector<RegionRec> Regions = std::vector<RegionRec>(kMaxRegions + 1);
    int16_t RegionCount = 0;

    // ---- Internet search ----
    // Remembered positions (from 0) of the search window's site and page
    // lists; PageSelectPos 1 when a page is chosen asks for an AFN search.
    int16_t SiteSelectPos = 0;
    int16_t PageSelectPos = 0;
    // The spouse (1..SpouseCount) shown in the search window; 0 before the first.
    int16_t SpouseSelectPos = 0;
    // Criterion boxes kept while an AFN search is on (entries 1..11).
    std::array<int16_t, 12> SavedCriteria{};
};

extern ProgramState g;

void ResetProgramState();

// The work is now what a file holds (just saved or opened) or empty: it
// counts as unchanged until it changes or an undo takes it elsewhere.
void MarkWorkSaved();

}  // namespace lintora
