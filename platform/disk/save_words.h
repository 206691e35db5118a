#pragma once
// What a save that did not write the file says to the user, for every
// file the program saves: the user's own, its settings, its data files.
#include <string>

#include "platform/disk/save_result.h"

namespace lintora {

// The line that tells the user why his file at path was not saved, from
// what the save found ("family.ged was not saved: the disk is full. The
// file is as it was."); "" when it was saved.
std::string NotSavedText(const std::string& path, const SaveResult& result);

}  // namespace lintora
