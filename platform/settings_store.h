#pragma once
// The per-user settings store: one INI file per application at
// $XDG_CONFIG_HOME/<app>/<app>.ini (default ~/.config), sections of
// key=value lines. Values come back exactly as saved, blanks included.
#include <string>
#include <utility>
#include <vector>

#include "platform/disk/load_contents.h"
#include "platform/disk/save_result.h"

namespace lintora {

// What kept the settings file at path from being read or saved (facts;
// files/ words them): a file there that cannot be read (read, left as it
// is), its folder that could not be made (folder and folderError), or the
// save's stop (saved, a link the save refuses included).
struct SettingsProblem {
    std::string path;
    LoadResult read;
    std::string folder;
    int folderError = 0;
    SaveResult saved;
    bool none() const { return read.read() && folderError == 0 && saved.saved(); }
};

// A per-user base folder: $variable when it holds an absolute path, else
// $HOME/underHome ("~/.config" for XDG_CONFIG_HOME).
std::string UserBaseFolder(const char* variable, const char* underHome);

// Where the settings of app are kept.
std::string SettingsFilePath(const std::string& app);

// Why the settings file of app, which is there, cannot be read; none() when
// it can be, or when there is none yet.
SettingsProblem SettingsReadProblem(const std::string& app);

// The saved value, or defaultValue when the key (or the file) is absent or
// the file cannot be read.
std::string GetSetting(const std::string& app, const std::string& section,
                       const std::string& key, const std::string& defaultValue);

// Saves one value (the file is replaced atomically); what kept it from
// being saved. A file that cannot be read, or that is read-only, is
// left as it is; a value it already holds counts as saved.
SettingsProblem SaveSetting(const std::string& app, const std::string& section,
                        const std::string& key, const std::string& value);

// Saves several values of one section with a single write, as if each had
// been saved in turn; the file is left untouched when it already holds
// them all.
SettingsProblem SaveSettings(const std::string& app, const std::string& section,
                         const std::vector<std::pair<std::string, std::string>>& values);

}  // namespace lintora
