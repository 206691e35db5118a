#pragma once
// All program-wide state in one place. Every subsystem reads and writes it
// through `g`; ResetProgramState() puts everything back to start-up values,
// which is what each test begins with.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "record_store/page_scratch.h"
#include "record_store/records.h"

namespace lintora {

// Month names, January at 0; entry 12 stays empty.
extern const std::array<std::string, 13> Months;
extern const std::array<std::string, 13> MonthsUC;

struct ProgramState {
    ProgramState();

    // ---- Record tables (index 0 is never a record) ----
    std::vector<IndivRec> Indiv;          // 0..kMaxIndiv
    int32_t IndivCount = 0;
    std::vector<FamilRec> Famil;          // 0..kMaxFamil
    int32_t FamilCount = 0;
    std::vector<NoteRec> Notes;           // 0..kMaxNotes
    int32_t NotesCount = 0;
    int32_t LastNote = 0;
    std::vector<SourceRec> Source;        // 0..SourceCount
    int32_t SourceCount = 0;
    int16_t SourceUB = 0;
    std::vector<SourceRec> GedSource;     // 0..GedSourceCount
    int16_t GedSourceCount = 0;
    std::vector<ReposRec> Repository;     // 0..RepositoryCount
    int32_t RepositoryCount = 0;
    int16_t RepositoryUB = 0;
    std::vector<ReposRec> GedRepository;  // 0..GedRepositoryCount
    int16_t GedRepositoryCount = 0;

    // ---- Selection and results ----
    int32_t CurIndiv = 0;
    int32_t LastIndiv = 0;
    int32_t CurFamil = 0;
    int32_t LastFamil = 0;

    // ---- Surname-initial index: five buckets, entries 1..count ----
    std::array<std::vector<int32_t>, 5> NameIdx;
    std::array<int32_t, 5> NameIdxCount{};

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

    // ---- Trees and pedigree ----
    std::array<int32_t, 32> TreeSlot{};
    int32_t TreeCount = 0;
    int32_t PrevTreeCount = 0;
    int32_t PruneIndiv = 0;
    std::string PrunePending = "N";

    // ---- Work state ----
    std::string DataChanged = "N";

    // ---- Matching and linking ----

    // ---- Undo snapshot ----

    // ---- Paste ----
    // Table sizes when the current paste began, and whether its result was
    // already reported (a paste is reported once).
    int32_t PasteStartIndivCount = 0;
    int32_t PasteStartFamilCount = 0;
    bool PasteReported = true;

    // ---- File saving, data files and settings ----

    // ---- File loading ----

    // ---- Internet search ----
};

extern ProgramState g;

void ResetProgramState();

}  // namespace lintora
