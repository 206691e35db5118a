#pragma once
// The site data file (standard sources, repositories, search pages and
// regions, shipped beside the program), the user data file LINTORA.USR
// (the user's own sources and repositories) and the program's settings.
#include <string>
#include <utility>
#include <vector>

namespace lintora {

// Settings section of every key below, under the application "Lintora".
inline constexpr const char* kSettingsApp = "Lintora";
inline constexpr const char* kSettingsSection = "Startup";

// Settings of the "Startup" section.
std::string GetStartupSetting(const std::string& key, const std::string& defaultValue);
// Returns "" on success, else why it failed; the user is told of each
// problem once a run.
std::string SaveStartupSetting(const std::string& key, const std::string& value);
// Several values with one write of the settings store.
std::string SaveStartupSettings(const std::vector<std::pair<std::string, std::string>>& values);
// The settings file is there but cannot be read: the program runs without
// it, and it is no first run.
bool StartupSettingsUnreadable();

// The site data file: AppPath + "/Lintora" + major + minor + ".dat".
std::string SiteDataFilePath();
// The user data file: LINTORA.USR beside the program when that folder is
// writable, else in the per-user data folder ($XDG_DATA_HOME/Lintora).
std::string UserDataFilePath();

// Reads the site data file and then the user data file into Source and
// Repository; mode "All" also reads Links and Regions.
void LoadDatFile(const std::string& mode);

// Saves the preparer settings and rewrites the user data file.
void SaveUserFile();

// Start-up reading of the settings into g, with their defaults; writes
// "CurDir". A settings file that cannot be read is told of here. AppPath must be set first. The file dialogs start in the
// folders last used, else in the home folder, never in the program folder.
void ReadStartupSettings();

}  // namespace lintora
