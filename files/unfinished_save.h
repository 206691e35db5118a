#pragma once
// The user's saves of a file that did not finish, found by their records
// as the file is opened: one that another copy of the program runs now, or
// one that stopped half-way (a crash, a power cut, a full disk) and left
// the file's earlier contents in a copy.
#include <functional>
#include <string>
#include <vector>

#include "platform/disk/unfinished_saves.h"

namespace lintora {

class UnfinishedSave {
public:
    // Looks for the records of the file at path. A save that finished, or
    // that never cut the file, has its copy removed without a word.
    // fileFree: the file keeps locks and no save in place holds it now.
    explicit UnfinishedSave(const std::string& path, bool fileFree = false);
    // Another copy of the program is saving the file now: what the file
    // holds is not to be read.
    bool Running() const;
    void TellRunning() const;
    // A save counted as running on another computer: waits a moment for
    // it, then asks whether to open the file all the same. False where
    // the file is not to be opened.
    bool OpenWhileSavedElsewhere();
    // Before the file is read: where it holds only a beginning of the new
    // work, asks whether to put its earlier contents back, and does so as
    // any save does. Otherwise the copy stays, the user's own file.
    void OfferEarlierContents();
    // Once the file is read: tells of a save that did not finish and of
    // the copy it left, and, where the file is not whole and anything of
    // that was told, that it may be incomplete. True where it told.
    bool TellStopped(bool whole);
    // Once the file is read and holds no text: a file a save left empty
    // or cleared to zeros is told as such, with what the user can do;
    // any other as "File is empty!".
    void TellBlank(bool zeros);

private:
    enum class Read { Whole, Part, Empty, Zeros };
    bool Tell(Read read);

    std::string path_, name_;
    std::vector<RecordedSave> saves_;
    std::vector<SaveRecord> partOnly_;  // saves whose copies are kept over the part of the new work
    std::vector<std::string> notes_;    // for the status line once the file is read
};

// Tells that another copy of the program is saving the file named name.
void TellSaveRunning(const std::string& name);

// At start-up: tells the user of every other save of his that did not
// finish, whatever its file, apart from the file at opened (which its open
// has told of).
void TellUnfinishedSaves(const std::string& opened);

// How the saves are found and judged (UnfinishedSaves); a test may stand
// in for it, an empty one puts it back.
using UnfinishedSavesFinder =
    std::function<std::vector<RecordedSave>(SystemCalls&, const std::string&, std::vector<DamagedRecord>*)>;
void FindUnfinishedSavesBy(UnfinishedSavesFinder finder);

}  // namespace lintora
