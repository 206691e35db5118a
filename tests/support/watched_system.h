#pragma once
// The system as a save meets it, each call told with the name of the file
// it is about ("sync fam.ged", "rename .fam.ged.*.tmp over fam.ged"): a test
// looks at the order of the calls, makes one of them fail, or ends the
// process at one of them as a crash would.
#include <cerrno>
#include <functional>
#include <map>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/disk/save_contents.h"
#include "platform/disk/system_calls.h"

namespace lintora::testing {

class WatchedSystem : public SystemCalls {
public:
    // Each call as it is made, scratch names masked (".fam.ged.*.tmp", ".save.*.record", ".records-*").
    std::vector<std::string> calls;
    // Asked before each call; an error number other than 0 fails the call
    // with it, and the system is not asked.
    std::function<int(const std::string& call)> before;

    // The calls whose text starts with one of prefixes.
    std::vector<std::string> Calls(const std::vector<std::string>& prefixes) const {
        std::vector<std::string> picked;
        for (const std::string& call : calls)
            for (const std::string& prefix : prefixes)
                if (call.rfind(prefix, 0) == 0) {
                    picked.push_back(call);
                    break;
                }
        return picked;
    }

    int OpenAt(int dir, const std::string& name, int flags, mode_t mode) override {
        const std::string what = (flags & O_PATH) ? "find " : (flags & O_CREAT) ? "create " : "open ";
        const std::string named = name == "." ? NameOf(dir) : Masked(name.substr(name.rfind('/') + 1));
        if (Fails(what + named)) return -1;
        const int fd = SystemCalls::OpenAt(dir, name, flags, mode);
        if (fd >= 0) names_[fd] = named;
        return fd;
    }
    // A file with no name yet is "nameless file" until it is linked.
    int OpenNameless(int dir, int flags, mode_t mode) override {
        if (Fails("create nameless file")) return -1;
        const int fd = SystemCalls::OpenNameless(dir, flags, mode);
        if (fd >= 0) names_[fd] = "nameless file";
        return fd;
    }
    int LinkAt(int fd, int dir, const std::string& name) override {
        if (Fails("link " + NameOf(fd) + " to " + Masked(name)) || SystemCalls::LinkAt(fd, dir, name) != 0) return -1;
        names_[fd] = Masked(name);
        return 0;
    }
    int Close(int fd) override {
        if (Fails("close " + NameOf(fd))) return -1;
        names_.erase(fd);
        return SystemCalls::Close(fd);
    }
    ssize_t WriteAt(int fd, const char* from, std::size_t size, off_t at) override {
        return Fails("write " + NameOf(fd)) ? -1 : SystemCalls::WriteAt(fd, from, size, at);
    }
    // As a file system that cannot keep a file's blocks would, when set.
    bool clearsToNothing = false;
    int Clear(int fd, off_t size, off_t length) override {
        if (Fails("cut " + NameOf(fd))) return -1;
        return clearsToNothing ? ::ftruncate(fd, 0) : SystemCalls::Clear(fd, size, length);
    }
    int Sync(int fd) override { return Fails("sync " + NameOf(fd)) ? -1 : SystemCalls::Sync(fd); }
    int Rename(int dir, const std::string& from, const std::string& to) override {
        if (Fails("rename " + Masked(from) + " over " + to) || SystemCalls::Rename(dir, from, to) != 0) return -1;
        return Renamed(from, to);
    }
    int RenameNoReplace(int dir, const std::string& from, const std::string& to) override {
        if (Fails("rename " + Masked(from) + " to " + Masked(to)) || SystemCalls::RenameNoReplace(dir, from, to) != 0)
            return -1;
        return Renamed(from, to);
    }
    int Unlink(int dir, const std::string& name) override {
        return Fails("remove " + Masked(name)) ? -1 : SystemCalls::Unlink(dir, name);
    }
    int ChangeOwner(int fd, uid_t uid, gid_t gid) override {
        return Fails("chown " + NameOf(fd)) ? -1 : SystemCalls::ChangeOwner(fd, uid, gid);
    }
    int ChangeMode(int fd, mode_t mode) override {
        return Fails("chmod " + NameOf(fd)) ? -1 : SystemCalls::ChangeMode(fd, mode);
    }
    int SetAttribute(int fd, const std::string& name, const std::string& value) override {
        return Fails("set " + name + " " + NameOf(fd)) ? -1 : SystemCalls::SetAttribute(fd, name, value);
    }
    // "lock fam.ged for saving", "unlock fam.ged for readers", ...
    int LockRange(int fd, short type, off_t start, off_t length) override {
        const std::string range = start == off_t{1} << 30 ? " for saving" : start == off_t{2} << 30 ? " for readers" : "";
        return Fails((type == F_UNLCK ? "unlock " : "lock ") + NameOf(fd) + range)
                   ? -1
                   : SystemCalls::LockRange(fd, type, start, length);
    }
    bool passesTime = false;  // where set, a wait passes at once, moving the clock on: a test of a wait waits nothing
    std::chrono::milliseconds passed{0};
    std::chrono::system_clock::time_point Now() override { return SystemCalls::Now() + passed; }
    void Sleep(std::chrono::milliseconds ms) override { passesTime ? void(passed += ms) : SystemCalls::Sleep(ms); }

    // Gives the file open as name (as the calls name it) a second name at
    // path, for a test to look at it while the save runs; false when no
    // file is open so. A file with no name that is given one can be given
    // no other after its names are gone, so path must stay until the save
    // has named it.
    bool ShowAt(const std::string& name, const std::string& path) const {
        for (const auto& [fd, named] : names_)
            if (named == name)
                return ::linkat(AT_FDCWD, ("/proc/self/fd/" + std::to_string(fd)).c_str(), AT_FDCWD, path.c_str(),
                                AT_SYMLINK_FOLLOW) == 0;
        return false;
    }

    std::string NameOf(int fd) const {
        const auto it = names_.find(fd);
        return it == names_.end() ? "?" : it->second;
    }
    static std::string Masked(const std::string& name) {
        return std::regex_replace(name, std::regex("([.-])[0-9a-f]{16}(\\.[0-9a-f]{16})*(?=\\.|$)"), "$1*");
    }

private:
    std::map<int, std::string> names_;
    // A file open under its old name is known by its new one.
    int Renamed(const std::string& from, const std::string& to) {
        for (auto& [fd, name] : names_)
            if (name == Masked(from)) name = Masked(to);
        return 0;
    }
    bool Fails(const std::string& call) {
        calls.push_back(call);
        const int error = before ? before(call) : 0;
        errno = error;
        return error != 0;
    }
};

// The system of a save that ends, as a crash would, at one call: its
// count-th time, or half-way through writing the file when half.
class StoppingSystem : public WatchedSystem {
public:
    StoppingSystem(std::string at, int count, bool half) : at_(std::move(at)), count_(count), half_(half) {
        before = [this](const std::string& call) {
            if (call == at_ && --count_ == 0 && !half_) ::_exit(0);
            return 0;
        };
    }
    ssize_t WriteAt(int fd, const char* from, std::size_t size, off_t at) override {
        if (half_ && "write " + NameOf(fd) == at_) {
            // As a kill leaves a write: in whole pages.
            (void)SystemCalls::WriteAt(fd, from, size / 2 / 4096 * 4096, at);
            ::_exit(0);
        }
        return WatchedSystem::WriteAt(fd, from, size, at);
    }

private:
    std::string at_;
    int count_;
    bool half_;
};

// True when the file system of the folder dir makes files with no name.
inline bool MakesNamelessFiles(const std::string& dir) {
    const int fd = ::open(dir.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

// Saves contents as path in a child process that system stops; true when
// it stopped there.
inline bool SaveStopped(const std::string& path, const std::string& contents, SystemCalls& system) {
    const pid_t child = ::fork();
    if (child == 0) {
        (void)SaveContents(path, contents, system);
        ::_exit(1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A descriptor holding a write lock on all of path, as a running saver holds its record; -1 where none.
inline int HoldLock(const std::string& path) {
    struct flock lock {.l_type = F_WRLCK, .l_whence = SEEK_SET, .l_start = 0, .l_len = 0, .l_pid = 0};
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    return ::fcntl(fd, F_OFD_SETLK, &lock) == 0 ? fd : (::close(fd), -1);
}

}  // namespace lintora::testing
