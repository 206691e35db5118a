#pragma once
// Steps that every way of saving a file shares: files made for the save
// alone under names that fit their folder, writing, syncing to disk, and
// the words that tell the user why a file was not saved.
#include <filesystem>
#include <functional>
#include <string>

#include <sys/types.h>

namespace lintora {

// Makes a new file in dir for the file named forName, under a name no
// other file has: "." + forName + "." + 16 random hex digits + suffix, with
// forName cut at a character boundary where the whole would not fit the
// folder's name limit. The file is opened for writing with no more
// permissions than mode. Returns its descriptor, or -1 with errno set.
int CreateUniqueFile(const std::filesystem::path& dir, const std::string& forName, const std::string& suffix,
                     mode_t mode, std::filesystem::path& made);

// True when a new file can be made in dir: one of its own is made
// (never one that is there already) and removed again.
bool FolderTakesNewFiles(const std::filesystem::path& dir);

// Writes contents from the start of the file; false with errno set when a
// write fails.
bool WriteAll(int fd, const std::string& contents);

// Puts an open file's contents on disk; 0, or the error number.
int SyncFile(int fd, const std::string& path);
// Puts a folder's entries on disk; 0, or the error number (a folder that
// cannot be opened counts).
int SyncFolder(const std::filesystem::path& dir);

// Tests see every sync before it is made, with the path of the file or
// folder; a result other than 0 is taken as the error of that sync, which
// is then not made. nullptr stops it.
void WatchSyncs(std::function<int(const std::string& path)> watch);

// Why a step of a save failed with error err, as the user would say it
// ("the disk is full").
std::string WhyNotSaved(int err);
// The line that tells the user his file was not saved: "family.ged was
// not saved: the disk is full." and, when the file was there before,
// " The file is as it was."
std::string NotSavedText(const std::string& target, const std::string& why, bool wasThere);

// The user's own folder of files the program may lose: $XDG_CACHE_HOME
// (default ~/.cache) + "/Lintora".
std::filesystem::path UserCacheFolder();

}  // namespace lintora
