#pragma once
// Files a save makes for itself beside the file it saves: hidden, under a
// name no other file has, open to what their maker allows from the start.
#include <cstddef>
#include <string>

#include <sys/types.h>

#include "platform/disk/system_calls.h"

namespace lintora {

// Makes a new file in folder for the file named forName: "." + forName +
// "." + 16 random hex digits + suffix, forName cut at a character boundary
// where the whole would not fit the folder's name limit. It is opened for
// writing with no more permissions than mode, and never one that is there
// already. Its descriptor, or -1 with errno set; made gets its name.
int MakeScratchFile(SystemCalls& sys, int folder, const std::string& forName, const std::string& suffix, mode_t mode,
                    std::string& made);

// The longest name a file of folder may have.
std::size_t NameLimit(int folder);

// The first bytes of text, at most size of them, ending on a character
// boundary.
std::string CutAtCharacter(const std::string& text, std::size_t size);

// True when a new file can be made in dir: one of its own is made and
// removed again.
bool FolderTakesNewFiles(const std::string& dir);

}  // namespace lintora
