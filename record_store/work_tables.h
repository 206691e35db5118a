#pragma once
// The work as one value: the record tables with their counts and the
// surname-initial index. Undo keeps a copy of it and a load builds a fresh
// one; both go in with a swap, so a field added here is never forgotten.
#include <array>
#include <cstdint>
#include <vector>

#include "record_store/record_table.h"
#include "record_store/records.h"

namespace lintora {

// Everything of the work but the three record tables:
// counts, sources, repositories (sized to their counts) and the index.
// A plain copy of it is cheap.
struct WorkTableCounts {
    int32_t IndivCount = 0;
    int32_t FamilCount = 0;
    int32_t NotesCount = 0;
    int32_t LastNote = 0;
    std::vector<SourceRec> Source = std::vector<SourceRec>(1);        // 0..SourceCount
    int32_t SourceCount = 0;
    int16_t SourceUB = 0;
    std::vector<SourceRec> GedSource = std::vector<SourceRec>(1);     // 0..GedSourceCount
    int16_t GedSourceCount = 0;
    std::vector<ReposRec> Repository = std::vector<ReposRec>(1);      // 0..RepositoryCount
    int32_t RepositoryCount = 0;
    int16_t RepositoryUB = 0;
    std::vector<ReposRec> GedRepository = std::vector<ReposRec>(1);   // 0..GedRepositoryCount
    int16_t GedRepositoryCount = 0;
    // Surname-initial index: five buckets, entries 1..count.
    std::array<std::vector<int32_t>, 5> NameIdx = {std::vector<int32_t>(1), std::vector<int32_t>(1),
                                                   std::vector<int32_t>(1), std::vector<int32_t>(1),
                                                   std::vector<int32_t>(1)};
    std::array<int32_t, 5> NameIdxCount{};
};

// The record tables grow with the records added, up to kMaxIndiv,
// kMaxFamil and kMaxNotes records (index 0 is never a record).
using IndivTable = RecordTable<IndivRec, kMaxIndiv + 1>;
using FamilTable = RecordTable<FamilRec, kMaxFamil + 1>;
using NotesTable = RecordTable<NoteRec, kMaxNotes + 1>;

struct WorkTables : WorkTableCounts {
    IndivTable Indiv;
    FamilTable Famil;
    NotesTable Notes;

    // Makes this value a copy of from, copying only from's records in use
    // (0..count) into this value's storage; nothing past them is kept.
    // Should it fail part way, this value is unusable; from is untouched.
    void CopyInUse(const WorkTables& from);

    // Every count names records the tables hold.
    bool CountsFit() const;

    // Empty work: counts, sources, repositories and index back to start,
    // the record tables down to their blank record 0.
    void Empty();

    // A record that leaves the work takes its citation from its source and
    // that source's repository; numbers outside the tables change nothing.
    void DropCitation(int32_t source);
};

}  // namespace lintora
