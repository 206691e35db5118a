#pragma once
// The user's saves in place that did not finish, found by their records, never by a look through the files' folders:
// what became of each, and what is done with its copy. A copy goes only where its record shows that the program made it
// and that the file no longer needs it.
#include <string>
#include <vector>

#include "platform/disk/reaching_the_file.h"
#include "platform/disk/save_record.h"
#include "platform/disk/system_calls.h"

namespace lintora {

enum class SaveEnd {
    Running,    // its process still runs: what the file holds is not to be read
    Done,       // the file holds all the new contents, or still its copy's
    PartOfNew,  // the file holds a beginning of the new contents, unchanged since
    // The same as far as can be checked: whole blocks of it, then a shorter part that no block hash tells.
    TornPartOfNew,
    // Cut and then nothing of the new contents: zeros, nothing, or less than one block of them.
    NothingOfNew,
    Changed,  // anything else: the file changed after the stop
    // The file is proven gone (its folder is there and it is not, or another kind of thing has its name): no open of
    // its name can ask about it.
    FileGone,
    // The copy's folder is there and the copy is not, or its name now names another file: the user is told that the
    // earlier contents are no longer there; the record then goes.
    CopyMissing,
    // The file or its copy cannot be reached now (a drive not plugged in, a share away): kept and told, never dropped.
    OutOfReach,
    // Counted as running by a saver on another host, where the file system keeps no locks: told with the host and the
    // time the save began, and offered after a wait; nothing is removed on that test alone.
    RunningElsewhere,
};

struct RecordedSave {
    std::string recordName;
    SaveRecord record;
    SaveEnd end = SaveEnd::Changed;
    bool blank = false;  // the file holds nothing, or only zeros
};

// True when record is of the file found: the path it recorded, or another name of that file now. Device and inode
// numbers that were recorded decide nothing: a drive mounted again has others.
bool SaveOfFile(SystemCalls& sys, const SaveRecord& record, const FoundFile& found);

// The saves whose records are of the file found (SaveOfFile), each judged by what its file and copy hold; nothing is
// removed here. Records that cannot be read, or that name no file and copy of their own (a copy that is the file
// itself), are passed over, named in damaged, and left as they are.
std::vector<RecordedSave> UnfinishedSaves(SystemCalls& sys, const FoundFile& found,
                                         std::vector<DamagedRecord>* damaged = nullptr);
// The same for every one of the user's saves (start-up), or for the file
// at path where it is not empty (none where the way to it fails).
std::vector<RecordedSave> UnfinishedSaves(SystemCalls& sys, const std::string& path,
                                         std::vector<DamagedRecord>* damaged = nullptr);

// What needs no question: a save that is done has its copy and record removed (RemoveCopyAndRecord), and leaves saves;
// one whose copy is missing has its record removed, and stays to be told.
void SettleSaves(SystemCalls& sys, std::vector<RecordedSave>& saves, const std::string& open);

// The copy's bytes, where the copy at its path is still the one recorded (by its contents), an ordinary file other than
// the file itself and, where it is not the user's, of a user who may write the file (a copy root made bears the file's
// owner); 0, or the error (ESTALE for another file at its path).
int ReadEarlierCopy(SystemCalls& sys, const SaveRecord& record, std::string& bytes);

// The record goes; the copy stays, the user's own file from now on.
void DropRecord(SystemCalls& sys, const RecordedSave& save);
// The copy goes where it is still the recorded one (never the file itself), the user's own (or root's, who gives his
// copies the file's owner), never told of, and not the file at open (the one open in the program); then the record.
// True where the copy went.
bool RemoveCopyAndRecord(SystemCalls& sys, const RecordedSave& save, const std::string& open);

}  // namespace lintora
