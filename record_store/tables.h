#pragma once
// Constructors of the record tables and the surname-initial index.
// Every add returns the new record number, or 0 when nothing was added
// (table full, or a couple that cannot be a family); the caller then
// writes nothing.
#include <cstdint>

namespace lintora {

// What the user is told when a table takes its last record.
inline constexpr const char* kIndivTableFull = "Individual table is full - additional Individuals will be skipped";
inline constexpr const char* kFamilTableFull = "Family table is full - additional family records will be skipped";
inline constexpr const char* kNotesTableFull = "Notes table is full - any additional notes will be skipped";

int32_t AddIndiv();
int32_t AddFamil();
int32_t FindOrAddFamil(int32_t husband, int32_t wife);
int32_t AddNotes();
int32_t AddSource();
int32_t AddGedSource();
int32_t AddRepository();
int32_t AddGedRepository();

// Surname-initial index.
void BuildNameIndex();
void EnterNameIndex(int32_t indiv);
// Bucket (0..4) a surname initial goes to; a blank goes to all five.
int NameIndexBucket(char initial);

}  // namespace lintora
