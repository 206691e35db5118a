#pragma once
// What a save or a read that did not do its work says to the user, for
// every file the program saves and reads: the user's own, its settings, its
// data files. platform/disk returns the facts; these are their words.
#include <string>

#include "platform/disk/load_contents.h"
#include "platform/disk/save_result.h"
#include "platform/settings_store.h"

namespace lintora {

// The line that tells the user why his file at path was not saved, from
// what the save found ("family.ged was not saved: the disk is full. The
// file is as it was."); "" when it was saved.
std::string NotSavedText(const std::string& path, const SaveResult& result);

// Why a load or a look at a file read nothing ("it is a folder", "its
// folder /media/usb is not there"); "" for one that read.
std::string WhyNotRead(const LoadResult& result);

// The name of a user, else "user " and his number.
std::string UserName(uid_t uid, SystemCalls& sys = RealSystem());

// What kept the settings from being read or saved; "" for nothing.
std::string SettingsProblemText(const SettingsProblem& problem);

}  // namespace lintora
