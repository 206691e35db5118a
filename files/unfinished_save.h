#pragma once
// The user's saves of a file that did not finish, found by their records
// as the file is opened: one that another copy of the program runs now, or
// one that stopped half-way (a crash, a power cut) and left the file's
// earlier contents in a copy.
#include <string>
#include <vector>

#include "platform/disk/unfinished_saves.h"

namespace lintora {

class UnfinishedSave {
public:
    // Looks for the records of the file at path. A save that finished, or
    // that never cut the file, has its copy removed without a word.
    explicit UnfinishedSave(const std::string& path);
    // Another copy of the program is saving the file now: what the file
    // holds is not to be read.
    bool Running() const;
    void TellRunning() const;
    // Before the file is read: where it holds only a beginning of the new
    // work, asks whether to put its earlier contents back, and does so as
    // any save does. Otherwise the copy stays, the user's own file.
    void OfferEarlierContents();
    // Once the file is read: tells of a save that stopped and of the copy
    // it left. True where that stands for what the load would say of the
    // file's end.
    bool TellStopped(bool whole) const;

private:
    std::string path_, name_;
    std::vector<RecordedSave> saves_;
    std::vector<SaveRecord> partOnly_;  // saves whose copies the user kept over the part of the new work
};

// Tells that another copy of the program is saving the file named name.
void TellSaveRunning(const std::string& name);

// At start-up: tells the user of every other save of his that did not
// finish, whatever its file, apart from the file at opened (which its open
// has told of).
void TellUnfinishedSaves(const std::string& opened);

}  // namespace lintora
