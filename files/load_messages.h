#pragma once
// What a load shows the user: its progress, and its sentences.
#include <cstdint>
#include <exception>
#include <string>

namespace lintora {

struct GedReader;

// The progress window, for a long file (shown) only.
void ShowProgress(bool shown, int value);
void ProgressStage(bool shown, std::uint64_t maximum, const std::string& label);
// The display goes back to its resting look (the version under the bar).
void ResetProgress();

void TellCannotOpen(const std::string& name, const std::string& why);
void TellRefusedName();
void TellUnreadable(const std::string& path, bool opening);
void TellEmptyFile();
void TellNoRecords();
void TellUnknownCharSet(const std::string& set);
void TellCutShort(const std::string& name);
void TellRecordsAfter(const std::string& name);
void TellSkipsAndBadLines(const GedReader& reader);
// A load that failed on the way: a damaged work-file line is named.
void TellNotRecognizable(const std::string& path, const std::exception& e);

}  // namespace lintora
