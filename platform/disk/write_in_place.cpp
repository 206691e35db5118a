#include "platform/disk/write_in_place.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/disk/earlier_copies.h"

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

// Makes the file hold contents and puts it on disk: cleared first (zeros,
// which a reader takes for no text, or nothing), so that a write stopped
// half-way leaves a beginning of the contents, never the rest of the old,
// and the record of the save tells it from a whole file. SaveStop::None,
// or the step that failed with its error.
SaveStop Overwrite(SystemCalls& sys, int fd, const std::string& contents, int& error, EarlierCopy* copy = nullptr) {
    struct stat status {};
    if (sys.Status(fd, status) != 0 ||
        sys.Clear(fd, status.st_size, static_cast<off_t>(contents.size())) != 0) {
        error = errno;
        return SaveStop::Cut;
    }
    if (copy && sys.Status(fd, status) == 0) copy->FileCut(status);
    if ((error = WriteWhole(sys, fd, contents)) != 0) return SaveStop::Write;
    if (sys.Sync(fd) != 0) {
        error = errno;
        return SaveStop::Sync;
    }
    return SaveStop::None;
}

// Holds the file against other copies of the program while it is written
// over: two saves would mix their contents, and an open would read half of
// one. The lock is one that only a writer of the file can take, so that no
// one who may only read it holds a save off for longer than a read. A read
// or a save of another program is waited for a while; 0, or the error
// (EAGAIN when it went on too long).
int HoldFile(SystemCalls& sys, int fd) {
    constexpr auto kWaitAtMost = std::chrono::seconds(5);
    const auto until = std::chrono::steady_clock::now() + kWaitAtMost;
    while (sys.LockWhole(fd, F_WRLCK) != 0) {
        // A file system that keeps no locks is written all the same.
        if (errno != EAGAIN && errno != EACCES)
            return errno == ENOLCK || errno == EOPNOTSUPP || errno == EINVAL ? 0 : errno;
        if (std::chrono::steady_clock::now() >= until) return EAGAIN;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return 0;
}

}  // namespace

bool MustWriteInPlace(SystemCalls& sys, const OldFile& old) {
    if (old.status.st_nlink > 1) return true;
    // Root may give a new file any owner and group; a user may give it
    // neither another user nor a group not his own.
    const uid_t user = sys.User();
    return user != 0 && (old.status.st_uid != user || !MemberOf(sys, old.status.st_gid));
}

SaveResult WriteInPlace(SystemCalls& sys, const FoundFile& found, const OldFile& old, const std::string& contents) {
    if (old.writeError) return Stopped(SaveStop::OpenFile, old.writeError, true);
    if (old.readError) return Stopped(SaveStop::ReadFile, old.readError, true);
    if (const int err = HoldFile(sys, old.fd.get()))
        return Stopped(err == EAGAIN ? SaveStop::HeldOpen : SaveStop::OpenFile, err, true);
    std::string before;
    before.reserve(static_cast<std::size_t>(old.status.st_size) + 1);  // read without growing
    if (const int err = ReadWhole(sys, old.fd.get(), before)) return Stopped(SaveStop::ReadFile, err, true);
    EarlierCopy copy;
    if (SaveResult kept = KeepEarlierContents(sys, found, old, before, contents, copy); !kept.saved()) return kept;
    int err = 0;
    const SaveStop stop = Overwrite(sys, old.fd.get(), contents, err, &copy);
    if (stop == SaveStop::None) {
        copy.Remove();
        return {};
    }
    SaveResult result = Stopped(stop, err, true);
    // A cut that failed may have left the file as it was.
    int ignored = 0;
    if (Holds(sys, old.fd.get(), before) || Overwrite(sys, old.fd.get(), before, ignored) == SaveStop::None) {
        copy.Remove();
    } else {
        copy.Keep();
        result.asItWas = false;
        result.copy = copy.path();
    }
    return result;
}

}  // namespace lintora
