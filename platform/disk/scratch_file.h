#pragma once
// Files a save makes for itself beside the file it saves: nameless where the file system can make such a file, so that
// a save that stops leaves nothing behind, else hidden under a name no other file has; open to what their maker allows
// from the start.
#include <cstddef>
#include <functional>
#include <string>

#include <sys/types.h>

#include "platform/disk/system_calls.h"

namespace lintora {

// Told each scratch name just before a file is given it.
using BeforeNaming = std::function<void(const std::string& name)>;

// Makes a new file in folder for the file named forName, opened for writing with no more permissions than mode. It has
// no name (made is "") where the file system can make one so; else its name, never that of a file there already, is "."
// + forName + "." + 16 random hex digits + suffix, forName cut at a character boundary where the whole would not fit
// the folder's name limit. Its descriptor, or -1 with errno set.
int MakeScratchFile(SystemCalls& sys, int folder, const std::string& forName, const std::string& suffix, mode_t mode,
                    std::string& made, const BeforeNaming& before = {});
// The same, under a scratch name from the start.
int MakeNamedScratchFile(SystemCalls& sys, int folder, const std::string& forName, const std::string& suffix,
                         mode_t mode, std::string& made, const BeforeNaming& before = {});

// True for a name of the form MakeScratchFile gives.
bool IsScratchName(const std::string& name, const std::string& suffix);

// Gives the nameless file open at fd a scratch name as MakeScratchFile would (in made); 0, or the error.
int NameScratchFile(SystemCalls& sys, int folder, int fd, const std::string& forName, const std::string& suffix,
                    std::string& made, const BeforeNaming& before = {});

// Renames the file from in folder to a scratch name as MakeScratchFile would give (in made), never over a file
// that is there; 0, or the error.
int RenameToScratchName(SystemCalls& sys, int folder, const std::string& from, const std::string& forName,
                        const std::string& suffix, std::string& made);

// The longest name a file of folder may have.
std::size_t NameLimit(SystemCalls& sys, int folder);

// The first bytes of text, at most size of them, ending on a character boundary.
std::string CutAtCharacter(const std::string& text, std::size_t size);

// True when a new file can be made in dir: one of its own is made and removed again.
bool FolderTakesNewFiles(SystemCalls& sys, const std::string& dir);

}  // namespace lintora
