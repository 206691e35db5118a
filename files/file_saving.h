#pragma once
// Saving the tables as a GEDCOM file or a work file.
#include <string>

#include "files/save_words.h"

namespace lintora {

// Writes the work to path, or, for kAskForName, to the file the user names
// in the save dialog. kind "GED" writes the GEDCOM file, anything else the
// work file. Returns true when the file was written, which then names the
// work; a failed save leaves the old file, the settings and DataChanged as
// they were and says why.
inline constexpr char kAskForName[] = "";
bool SaveFile(const std::string& path, const std::string& kind);

// Splits a path into g.FileName and g.FileDir.
void SetFileNameParts(const std::string& path);

}  // namespace lintora
