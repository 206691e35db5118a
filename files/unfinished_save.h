#pragma once
// A save of a file that has not finished, found as the file is opened: one
// that another copy of the program runs now, or one that stopped half-way
// (a crash, a power cut) and left the file's earlier contents in a copy.
#include <string>
#include <vector>

#include "platform/disk/earlier_copies.h"

namespace lintora {

class UnfinishedSave {
public:
    // Looks for the copies of the file at path.
    explicit UnfinishedSave(const std::string& path);
    // Another copy of the program is saving the file now: what the file
    // holds is not to be read.
    bool Running() const;
    void TellRunning() const;
    // Once the file is read: the copies beside a whole file are those of a
    // save that finished, and go without a word. For a file that is not
    // whole it tells that its last save did not finish and where the
    // earlier contents are, and returns true: that stands for what the load
    // would say of the file's end.
    bool TellStopped(bool whole) const;

private:
    std::string name_;
    std::vector<FoundCopy> copies_;
};

}  // namespace lintora
