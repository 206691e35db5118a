#pragma once
// The user's saves of a file that did not finish, found by their records
// as the file is opened: one that another copy of the program runs now, or
// one that stopped half-way (a crash, a power cut, a full disk) and left
// the file's earlier contents in a copy. Each stopped save whose copy can
// be read is asked about once at each open until the user answers.
//
// The calling order, at each open:
//   1. the constructor, then Running: true ends the open (TellRunning);
//   2. OpenWhileSavedElsewhere: false ends the open;
//   3. Settle, then AskAboutStoppedSaves, before the file is read;
//   4. the file is read. Loaded: NoteKeptCopies, then TellStopped. Holding
//      no text: TellBlank. Else nothing is loaded: the open's own word
//      (after TellStopped where the file was read), then TellNotLoaded.
#include <string>
#include <vector>

#include "platform/disk/reaching_the_file.h"
#include "platform/disk/unfinished_saves.h"

namespace lintora {

class UnfinishedSave {
public:
    // Finds and judges the records of the file found; removes nothing.
    // fileFree: the file keeps locks and no save in place holds it now.
    // atStart: the start-up's own open, which leaves records that cannot be
    // read to the start-up's one box (TellUnfinishedSaves); any other open
    // names each once while the program runs.
    UnfinishedSave(SystemCalls& sys, const FoundFile& found, bool fileFree, bool atStart);
    // Removes what finished saves left and the records of copies that are
    // gone. open: the file open in the program, which neither this nor a
    // put-back ever removes.
    void Settle(const std::string& open);
    // Another copy of the program is saving the file now: what the file
    // holds is not to be read.
    bool Running() const;
    void TellRunning() const;
    // A save counted as running on another computer: waits a moment for
    // it, then asks once whether to open the file all the same. Yes deletes
    // nothing of it (it may still run): its record ends, and its copy is the
    // user's, named as after No. False where the file is not to be opened.
    bool OpenWhileSavedElsewhere();
    // Before the file is read: one question per stopped save, in words that
    // say what the file holds. Yes puts the earlier contents back, No keeps
    // the copy as the user's own and ends its record. A copy open in the
    // program stays after a put-back, the user's too.
    void AskAboutStoppedSaves();
    // Once the file is read: tells of a copy gone or out of reach, and,
    // where the file is not whole and anything was told, that it may be
    // incomplete. True where it told.
    bool TellStopped(bool whole);
    // Once the file is the work: what was put back, in the status line, and
    // the copies kept as the user's, named in a line that stays while the
    // file is open (none: the line goes).
    void NoteKeptCopies() const;
    // Once the file is read and holds no text: a file a save left empty
    // or cleared to zeros is told as such, with its copies and what the
    // user can do; any other as "File is empty!". Sets no line.
    void TellBlank(bool zeros);
    // Once nothing of the file was loaded, after the open's own word: what
    // the answers did (put back, copies kept), told in a box, since the
    // line under the buttons belongs to the work shown.
    void TellNotLoaded() const;

private:
    SystemCalls& sys_;
    const FoundFile& found_;
    std::string name_;
    std::vector<RecordedSave> saves_;  // not yet answered
    std::vector<std::string> kept_;    // copies the user kept as his own
    std::vector<std::string> putBack_;  // for the status line once the file is read
    std::string open_;                 // the file open in the program
};

// Tells that another copy of the program is saving the file named name.
void TellSaveRunning(const std::string& name);

// At start-up, once the main window shows: one box names every other save
// of the user's that did not finish, whatever its file (not those of the
// file open in the program, open, which its open has asked about), and
// every record that cannot be read; those an open asks about first, with
// that promise. It offers to forget those that cannot be reached or whose
// file is gone (a box closed unanswered forgets none). Ten at most are
// named in the box, every one in its details.
void TellUnfinishedSaves(SystemCalls& sys, const std::string& open);

}  // namespace lintora
