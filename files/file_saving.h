#pragma once
// Saving the tables as a GEDCOM file or a work file.
#include <string>

#include "platform/disk/save_words.h"

namespace lintora {

// askName "Y" asks for the file name in the save dialog, anything else
// writes to g.FilePath. kind "GED" writes the GEDCOM file, anything else the
// work file. Returns true when the file was written; a failed save leaves
// the old file, the settings and DataChanged as they were and says why.
bool SaveFile(const std::string& askName, const std::string& kind);

// Splits a path into g.FileName and g.FileDir.
void SetFileNameParts(const std::string& path);

}  // namespace lintora
