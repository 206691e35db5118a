#include "platform/disk/file_locks.h"

#include <cerrno>
#include <chrono>
#include <thread>

#include <fcntl.h>

namespace lintora {

bool KeepsNoLocks(int error) { return error == ENOLCK || error == EOPNOTSUPP || error == EINVAL; }

int HoldRange(SystemCalls& sys, int fd, short type, off_t start, short& inTheWay) {
    // A save in place of a slow disk is waited for; a read, far shorter.
    constexpr auto kWaitAtMost = std::chrono::seconds(5);
    const auto until = std::chrono::steady_clock::now() + kWaitAtMost;
    inTheWay = F_UNLCK;
    while (sys.LockRange(fd, type, start, kLockRangeLength) != 0) {
        if (KeepsNoLocks(errno)) return 0;
        if (errno != EAGAIN && errno != EACCES) return errno;
        if (std::chrono::steady_clock::now() >= until) {
            const int held = sys.LockInTheWay(fd, type, start, kLockRangeLength);
            inTheWay = held < 0 ? F_WRLCK : static_cast<short>(held);
            return EAGAIN;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return 0;
}

SaveHold SaveInPlaceHolds(SystemCalls& sys, int fd) {
    // Only a save in place holds the range for writing; a shared lock is
    // what every other save takes, and no reason to wait.
    const int held = sys.LockInTheWay(fd, F_RDLCK, kSaveRange, kLockRangeLength);
    if (held < 0) return SaveHold::Unknown;
    return held == F_WRLCK ? SaveHold::InPlace : SaveHold::None;
}

}  // namespace lintora
