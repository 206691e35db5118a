#pragma once
// The locks by which saves and reads of one file keep out of each other's way, held by open file descriptions on bytes
// far past any contents (as databases keep their lock bytes apart from their data), so that they never touch what the
// file holds.
// - The save range: a save in place holds it for writing from before it reads the file until it has written it; a save
//   by rename holds it shared, as two renames cannot mix contents.
// - The readers' range: a read holds it shared while it reads; a save in place holds it for writing only while it
//   clears and writes the file, so that a read holds up nothing else, and no save by rename at all.
#include <fcntl.h>
#include <sys/types.h>

#include "platform/disk/system_calls.h"

namespace lintora {

constexpr off_t kLockRangeLength = off_t{1} << 30;
constexpr off_t kSaveRange = off_t{1} << 30;
constexpr off_t kReadersRange = off_t{2} << 30;

// True for the errors of a file system that keeps no locks.
bool KeepsNoLocks(int error);

// What became of a wish to hold a range.
struct RangeHold {
    // 0: held, or no lock to be had (noLocks); else the error: EAGAIN
    // where another held it too long, with the kind of its lock in inTheWay.
    int error = 0;
    bool noLocks = false;  // the file system keeps none: nothing keeps another save out
    short inTheWay = F_UNLCK;
    // The lock in the way reaches the contents too: another program's (a
    // lock on the whole file), not a save's or a read's of this program.
    bool overContents = false;
};

// Takes the range from start for type, waiting a while for other descriptions to let it go.
RangeHold HoldRange(SystemCalls& sys, int fd, short type, off_t start);

// Who holds range of the file open at fd for writing: a save in place, or another program (Locked; holder: its pid).
enum class SaveHold { None, InPlace, Locked, Unknown /* the file system keeps no locks */ };
SaveHold SaveInPlaceHolds(SystemCalls& sys, int fd, pid_t* holder = nullptr, off_t range = kSaveRange);

}  // namespace lintora
