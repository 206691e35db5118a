#pragma once
// Reaching the file a save writes, on descriptors: each folder is opened from the one before without following a link,
// a link is read where it was found and judged by the folder in hand, and the file is opened in its folder without
// following a link. What is checked is what is written: a link planted meanwhile leads nowhere.
#include <string>

#include <sys/stat.h>

#include "platform/disk/save_result.h"
#include "platform/disk/system_calls.h"

namespace lintora {

// The folder that holds the file (or would hold a new one) and its name.
struct FoundFile {
    Descriptor folder;       // opened with O_PATH
    std::string folderPath;  // its path, every link on the way resolved
    std::string name;
    std::string linkedTo;  // where the path itself is a link: what it names (set too where the way then fails)
};

// Follows path to its file, every link on the way included (a chain of links, a file not there yet), as the system
// follows them; in a folder that is sticky and writable by all, where anyone may have put it, a link is followed only
// when it is the user's own or the folder owner's. Where the way fails, the result's link is the folder the walk was
// in.
SaveResult FindFile(SystemCalls& sys, const std::string& path, FoundFile& found);

// The file found, as it is now.
struct OldFile {
    Descriptor fd;  // open for reading and writing, or for what the user may
    struct stat status {};
    int readError = 0;   // why it cannot be read, 0 when it can
    int writeError = 0;  // why it cannot be written, 0 when it can
    bool noLocks = false;  // its save range could not be locked: nothing keeps another save out
};

// Opens the file found, when one is there (else leaves old.fd closed), without following a link and without waiting on
// it; only an ordinary file is opened. Refuses a file the user may not write, or whose owner's write mark is off.
SaveResult OpenFoundFile(SystemCalls& sys, const FoundFile& found, OldFile& old);

// Opens name in dir for reading, without following a link or waiting on a pipe or a device; 0 for an ordinary file,
// else the error (EINVAL: something else stands there, fd left open).
int OpenOrdinary(SystemCalls& sys, int dir, const std::string& name, Descriptor& fd, struct stat& status);

// Takes old's save range, for writing (a save in place) or shared (a save by rename), waiting as a save waits for
// another, then checks that the name still names that file. Saved: held, or no lock to be had (noLocks); Replaced:
// another file stands there now, to be saved again from the start; OtherSave: another save held it too long; else why
// not.
SaveResult HoldOldFile(SystemCalls& sys, const FoundFile& found, OldFile& old, bool inPlace);

// True while the name found names the file of status.
bool StillNamed(SystemCalls& sys, const FoundFile& found, const struct stat& status);

// Puts a folder's entries on disk; 0, or the error.
int SyncFolder(SystemCalls& sys, int folder);

}  // namespace lintora
