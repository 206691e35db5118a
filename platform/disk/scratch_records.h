#pragma once
// The program's own record of a scratch name it gives a file beside the
// user's, kept in the user's own folder for copies from just before the
// name is given until it is gone: which folder, which name, which file
// (its inode), and which process. A crash in between leaves a scratch file
// that the file's next save or open knows as the program's own, and removes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/disk/system_calls.h"

namespace lintora {

// The record of the scratch names given in one folder by one save; written
// without a sync, and left where it cannot be written (the save goes on).
class ScratchRecord {
public:
    ScratchRecord(SystemCalls& sys, int folder, std::string folderPath);
    // Records that name is about to be given to the file of inode (0 where
    // it has none yet), in place of what was recorded before.
    void Note(const std::string& name, std::uint64_t inode);
    // Once the name is gone.
    void Remove();

private:
    SystemCalls& sys_;
    int folder_;
    std::string folderPath_;
    Descriptor state_, file_;
    std::string recordName_;
    std::size_t written_ = 0;
};

// Removes the scratch files of folder that a record names, whose process
// no longer runs and whose name still names the recorded file, and their
// records. A file the program has no record of stays, whatever its name.
void RemoveLeftScratchFiles(SystemCalls& sys, int folder);

}  // namespace lintora
