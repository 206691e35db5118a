#pragma once
// What became of a save: saved, or where it stopped and with which error of
// the system. The words for the user are the caller's.
#include <string>

#include <sys/types.h>

namespace lintora {

enum class SaveStop {
    None,  // saved
    // Refused before anything was written:
    LinkRefused,  // another user's link in a folder that is sticky and writable by all
    Unreachable,  // the way to the file failed (error: a folder missing, too many links, ...)
    Folder,       // a folder stands at the path
    NotOrdinary,  // a pipe, a device or another thing that is no ordinary file
    ReadOnly,     // the user may not write the file, or its owner's write mark is off
    Replaced,     // another file took its place while it was being saved
    OtherSave,    // another save held the file's save range for as long as a save waits
    BeingRead,    // a read held the file (a shared lock) for as long as a save in place waits
    HeldOpen,     // another program held the whole file (a lock for writing) for as long as a save waits
    // Written in place, but another save replaced the file meanwhile: the work is in no file the name reaches.
    Overtaken,
    // Written in place where no lock could be had, but another save wrote the file meanwhile (seen before a write, or
    // in the bytes read back), and it may hold that save's work. The earlier contents stay in copy.
    Mixed,
    Record,       // recording the save in the user's own folder (copyFolder)
    // A step that failed with error:
    OpenFile,     // opening the file to write it in place
    ReadFile,     // reading its earlier contents
    MakeCopy,     // keeping them in a copy
    MakeNewFile,  // making the new file that replaces it
    Cut,          // clearing the file to zeros (to nothing where the file system cannot) before it is written in place
    Write,
    Sync,
    Close,
    Rename,
};

struct SaveResult {
    SaveStop stop = SaveStop::None;
    int error = 0;          // the system's error where a step failed
    bool wasThere = false;  // a file stood at the path
    bool asItWas = true;    // and it is as it was before the save
    std::string copy{};     // where its earlier contents are kept when it is not (or Mixed)
    // LinkRefused: the link, and whose it is.
    std::string link{};
    uid_t linkOwner = 0;
    // MakeCopy: the user's own folder, tried after the file's, and its error.
    std::string copyFolder{};
    int copyFolderError = 0;
    uid_t user = 0;  // who saved: the one to give a folder of another user back to

    bool saved() const { return stop == SaveStop::None; }
};

// A save that stopped at stop, with the system's error there.
inline SaveResult Stopped(SaveStop stop, int error = 0, bool wasThere = false) {
    return {.stop = stop, .error = error, .wasThere = wasThere};
}

}  // namespace lintora
