#pragma once
// The program's own record of a scratch name it gives a file beside the
// user's (save_record.h), kept from just before the name is given until it
// is gone: a crash in between leaves a scratch file that the file's next
// save or open knows as the program's own, and removes.
#include <cstdint>
#include <string>

#include "platform/disk/save_record.h"
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
    void Remove() { kept_.Remove(); }

private:
    SystemCalls& sys_;
    int folder_;
    std::string folderPath_;
    KeptRecord kept_;
};

// Removes the scratch files of folder (at folderPath, links resolved) that
// a record names, whose save is over and whose name still names the
// recorded file, and their records. A file the program has no record of
// stays, whatever its name; so does one of a save on another host.
void RemoveLeftScratchFiles(SystemCalls& sys, int folder, const std::string& folderPath);
// The same, the folder's path asked of the system.
void RemoveLeftScratchFiles(SystemCalls& sys, int folder);

}  // namespace lintora
