// The save and readers' locks on a file (file_locks.h): taking them, and telling who holds them.
#include "platform/disk/file_locks.h"

#include <cerrno>
#include <chrono>

#include <fcntl.h>

namespace lintora {

bool KeepsNoLocks(int error) { return error == ENOLCK || error == EOPNOTSUPP || error == EINVAL; }

RangeHold HoldRange(SystemCalls& sys, int fd, short type, off_t start) {
    // A save in place of a slow disk is waited for; a read, far shorter.
    constexpr auto kWaitAtMost = std::chrono::seconds(5);
    const auto until = sys.Now() + kWaitAtMost;
    RangeHold hold;
    while (sys.LockRange(fd, type, start, kLockRangeLength) != 0) {
        if (KeepsNoLocks(errno)) return hold.noLocks = true, hold;
        if (errno != EAGAIN && errno != EACCES) return hold.error = errno, hold;
        if (sys.Now() >= until) {
            struct flock lock {};
            const int held = sys.LockInTheWay(fd, type, start, kLockRangeLength, &lock);
            return {EAGAIN, false, held < 0 ? short{F_WRLCK} : lock.l_type, held >= 0 && lock.l_start < start};
        }
        sys.Sleep(std::chrono::milliseconds(20));
    }
    return hold;
}

SaveHold SaveInPlaceHolds(SystemCalls& sys, int fd, pid_t* holder, off_t range) {
    // Only a save in place holds the range for writing; a shared lock is what every other save takes, and no reason to
    // wait. A lock that starts before it reaches the contents too: another program's.
    struct flock lock {};
    const int held = sys.LockInTheWay(fd, F_RDLCK, range, kLockRangeLength, &lock);
    if (holder) *holder = lock.l_pid > 0 ? lock.l_pid : 0;
    if (held != F_WRLCK) return held < 0 ? SaveHold::Unknown : SaveHold::None;
    return lock.l_start < range ? SaveHold::Locked : SaveHold::InPlace;
}

}  // namespace lintora
