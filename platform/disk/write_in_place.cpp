// A save in place (write_in_place.h): the earlier contents kept in a copy, then the file cleared and written.
#include "platform/disk/write_in_place.h"

#include <algorithm>
#include <cerrno>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/disk/earlier_copies.h"
#include "platform/disk/file_locks.h"

namespace lintora {

namespace {

bool MemberOf(SystemCalls& sys, gid_t gid) {
    if (gid == sys.Group()) return true;
    const std::vector<gid_t> groups = sys.OtherGroups();
    return std::find(groups.begin(), groups.end(), gid) != groups.end();
}

// True when the file open at fd holds exactly contents.
bool Holds(SystemCalls& sys, int fd, const std::string& contents) {
    std::string now;
    return ReadWhole(sys, fd, now) == 0 && now == contents;
}

// True when the file the name found names now reads back as contents, read through an open of its own: on a network
// file system the save's descriptor would show the save's own pages, not what another wrote.
bool ReadsBack(SystemCalls& sys, const FoundFile& found, const std::string& contents) {
    Descriptor fd;
    struct stat status {};
    return OpenOrdinary(sys, found.folder.get(), found.name, fd, status) == 0 && Holds(sys, fd.get(), contents);
}

// Makes the file hold contents and puts it on disk: cleared first (zeros, which a reader takes for no text, or
// nothing), so that a write stopped half-way leaves a beginning of the contents, never the rest of the old, and the
// record of the save tells it from a whole file. No read sees the file between the clear and the end of the write.
// SaveStop::None, Mixed (watched: another save wrote the file, and no more is written), or the failed step's error.
SaveStop Overwrite(SystemCalls& sys, int fd, const std::string& contents, int& error, EarlierCopy* copy, bool watched) {
    const RangeHold hold = HoldRange(sys, fd, F_WRLCK, kReadersRange);
    if ((error = hold.error) != 0) return error == EAGAIN ? SaveStop::BeingRead : SaveStop::Cut;
    struct ReadersLet {
        SystemCalls& sys;
        int fd;
        ~ReadersLet() { (void)sys.LockRange(fd, F_UNLCK, kReadersRange, kLockRangeLength); }
    };
    {
        const ReadersLet let{sys, fd};
        struct stat status {};
        if (sys.Status(fd, status) != 0 || sys.Clear(fd, status.st_size, static_cast<off_t>(contents.size())) != 0) {
            error = errno;
            return SaveStop::Cut;
        }
        if (copy && sys.Status(fd, status) == 0) copy->FileCleared(status);
        if ((error = WriteWhole(sys, fd, contents, watched ? &status : nullptr)) != 0)
            return error == kWrittenMeanwhile ? (error = 0, SaveStop::Mixed) : SaveStop::Write;
    }
    if (sys.Sync(fd) != 0) {
        error = errno;
        return SaveStop::Sync;
    }
    return SaveStop::None;
}

}  // namespace

bool MustWriteInPlace(SystemCalls& sys, const OldFile& old) {
    if (old.status.st_nlink > 1) return true;
    // Root may give a new file any owner and group; a user may give it neither another user nor a group not his own.
    const uid_t user = sys.User();
    return user != 0 && (old.status.st_uid != user || !MemberOf(sys, old.status.st_gid));
}

SaveResult WriteInPlace(SystemCalls& sys, const FoundFile& found, const OldFile& old, const std::string& contents) {
    if (old.writeError) return Stopped(SaveStop::OpenFile, old.writeError, true);
    if (old.readError) return Stopped(SaveStop::ReadFile, old.readError, true);
    std::string before;
    before.reserve(static_cast<std::size_t>(old.status.st_size) + 1);  // read without growing
    if (const int err = ReadWhole(sys, old.fd.get(), before)) return Stopped(SaveStop::ReadFile, err, true);
    EarlierCopy copy;
    if (SaveResult kept = KeepEarlierContents(sys, found, old, before, contents, copy); !kept.saved()) return kept;
    int err = 0;
    SaveStop stop = Overwrite(sys, old.fd.get(), contents, err, &copy, old.noLocks);
    // A save that took no lock (another program's, or one on a file system that keeps none) may have put a new file in
    // its place, or, where this one had no lock either, written this file (Mixed: seen before a write or in what it
    // reads back): the copy stays until the file is known to hold the work; nothing goes back over another's bytes.
    if (stop == SaveStop::None && !StillNamed(sys, found, old.status)) {
        copy.Remove();
        return Stopped(SaveStop::Overtaken, 0, true);
    }
    if (stop == SaveStop::None && old.noLocks && !ReadsBack(sys, found, contents)) stop = SaveStop::Mixed;
    if (stop == SaveStop::None) {
        copy.Remove();
        return {};
    }
    SaveResult result = Stopped(stop, err, true);
    // A cut that failed may have left the file as it was. Where the file system cannot put a file on disk on demand,
    // the earlier contents written back are all the disk ever confirmed of the file.
    int backError = 0;
    const SaveStop back = stop == SaveStop::Mixed            ? stop
                          : Holds(sys, old.fd.get(), before) ? SaveStop::None
                          : Overwrite(sys, old.fd.get(), before, backError, nullptr, false);
    if (back == SaveStop::None || (back == SaveStop::Sync && backError == EINVAL && Holds(sys, old.fd.get(), before))) {
        copy.Remove();
    } else {
        copy.Keep(stop == SaveStop::Mixed);
        result.asItWas = false;
        result.copy = copy.path();
    }
    return result;
}

}  // namespace lintora
