// The system calls themselves, behind SystemCalls: the one place platform/disk meets the system.
#include "platform/disk/system_calls.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <linux/falloc.h>
#include <pwd.h>
#include <signal.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace lintora {

int SystemCalls::OpenAt(int dir, const std::string& name, int flags, mode_t mode) {
    return ::openat(dir, name.c_str(), flags | O_CLOEXEC, mode);
}

int SystemCalls::OpenNameless(int dir, int flags, mode_t mode) {
    // A file is named by its descriptor through /proc: without it a nameless file could never be given a name.
    static const bool nameable = ::access("/proc/self/fd", X_OK) == 0;
    if (!nameable) {
        errno = EOPNOTSUPP;
        return -1;
    }
    return ::openat(dir, ".", flags | O_TMPFILE | O_CLOEXEC, mode);
}

int SystemCalls::LinkAt(int fd, int dir, const std::string& name) {
    const std::string open = "/proc/self/fd/" + std::to_string(fd);
    return ::linkat(AT_FDCWD, open.c_str(), dir, name.c_str(), AT_SYMLINK_FOLLOW);
}

int SystemCalls::Close(int fd) { return ::close(fd); }

int SystemCalls::Status(int fd, struct stat& st) { return ::fstat(fd, &st); }

int SystemCalls::StatusAt(int dir, const std::string& name, struct stat& st) {
    return ::fstatat(dir, name.c_str(), &st, AT_SYMLINK_NOFOLLOW);
}

int SystemCalls::Access(int dir, const std::string& name, int mode) {
    return ::faccessat(dir, name.c_str(), mode, AT_EACCESS);
}

int SystemCalls::CurrentFolder(std::string& path) {
    std::vector<char> buffer(256);
    while (!::getcwd(buffer.data(), buffer.size())) {
        if (errno != ERANGE) return -1;
        buffer.resize(buffer.size() * 2);
    }
    path = buffer.data();
    return 0;
}

int SystemCalls::ReadLink(int fd, std::string& target) {
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t n = ::readlinkat(fd, "", buffer.data(), buffer.size());
        if (n < 0) return -1;
        if (static_cast<std::size_t>(n) < buffer.size()) {
            target.assign(buffer.data(), static_cast<std::size_t>(n));
            return 0;
        }
        buffer.resize(buffer.size() * 2);  // it may have been cut
    }
}

ssize_t SystemCalls::ReadAt(int fd, char* into, std::size_t size, off_t at) { return ::pread(fd, into, size, at); }

ssize_t SystemCalls::WriteAt(int fd, const char* from, std::size_t size, off_t at) {
    return ::pwrite(fd, from, size, at);
}

int SystemCalls::Clear(int fd, off_t size, off_t length) {
    if (size > 0 && ::fallocate(fd, FALLOC_FL_ZERO_RANGE | FALLOC_FL_KEEP_SIZE, 0, size) == 0)
        return size > length ? ::ftruncate(fd, length) : 0;
    return ::ftruncate(fd, 0);
}

int SystemCalls::Sync(int fd) { return ::fsync(fd); }

int SystemCalls::Rename(int dir, const std::string& from, const std::string& to) {
    return ::renameat(dir, from.c_str(), dir, to.c_str());
}

int SystemCalls::RenameNoReplace(int dir, const std::string& from, const std::string& to) {
    if (::renameat2(dir, from.c_str(), dir, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return -1;
    return RenameByLink(*this, dir, from, to);
}

int SystemCalls::Unlink(int dir, const std::string& name) { return ::unlinkat(dir, name.c_str(), 0); }

int SystemCalls::Link(int dir, const std::string& from, const std::string& to) {
    return ::linkat(dir, from.c_str(), dir, to.c_str(), 0);
}

long SystemCalls::NameMax(int dir) { return ::fpathconf(dir, _PC_NAME_MAX); }

int SystemCalls::MakeFolder(int dir, const std::string& name, mode_t mode) {
    return ::mkdirat(dir, name.c_str(), mode);
}

int SystemCalls::ChangeOwner(int fd, uid_t uid, gid_t gid) { return ::fchown(fd, uid, gid); }

int SystemCalls::ChangeMode(int fd, mode_t mode) { return ::fchmod(fd, mode); }

ssize_t SystemCalls::ListAttributes(int fd, char* into, std::size_t size) { return ::flistxattr(fd, into, size); }

ssize_t SystemCalls::GetAttribute(int fd, const std::string& name, char* into, std::size_t size) {
    return ::fgetxattr(fd, name.c_str(), into, size);
}

int SystemCalls::SetAttribute(int fd, const std::string& name, const std::string& value) {
    return ::fsetxattr(fd, name.c_str(), value.data(), value.size(), 0);
}

int SystemCalls::RemoveAttribute(int fd, const std::string& name) { return ::fremovexattr(fd, name.c_str()); }

int SystemCalls::LockRange(int fd, short type, off_t start, off_t length) {
    struct flock range = {.l_type = type, .l_whence = SEEK_SET, .l_start = start, .l_len = length, .l_pid = 0};
    int result;
    while ((result = ::fcntl(fd, F_OFD_SETLK, &range)) != 0 && errno == EINTR) {
    }
    return result;
}

int SystemCalls::LockInTheWay(int fd, short type, off_t start, off_t length, struct flock* lock) {
    struct flock range = {.l_type = type, .l_whence = SEEK_SET, .l_start = start, .l_len = length, .l_pid = 0};
    struct flock& asked = lock ? (*lock = range) : range;
    return ::fcntl(fd, F_OFD_GETLK, &asked) == 0 ? asked.l_type : -1;
}

int SystemCalls::FileSystem(int fd, std::uint64_t& type, std::string& options) {
    struct statfs fs {};
    struct stat status {};
    if (::fstatfs(fd, &fs) != 0) return -1;
    type = static_cast<std::uint64_t>(fs.f_type) & 0xFFFFFFFFu;
    options.clear();
    constexpr std::uint64_t kNetwork[] = {0x6969, 0xFF534D42, 0xFE534D42, 0x517B};  // nfs, cifs, smb2, smb
    if (std::find(std::begin(kNetwork), std::end(kNetwork), type) == std::end(kNetwork) || ::fstat(fd, &status) != 0)
        return 0;
    // Its mount's line: "id parent major:minor root point options [tags] - type source super-options".
    const std::string device = std::to_string(major(status.st_dev)) + ':' + std::to_string(minor(status.st_dev));
    std::ifstream mounts("/proc/self/mountinfo");
    for (std::string line; std::getline(mounts, line);) {
        std::istringstream words(line);
        std::string numbers, mountOptions, word, super;
        words >> word >> word >> numbers >> word >> word >> mountOptions;
        if (numbers != device) continue;
        while (words >> word && word != "-") {
        }
        words >> word >> word >> super;
        options = mountOptions + ',' + super;
        break;
    }
    return 0;
}

uid_t SystemCalls::User() { return ::geteuid(); }

gid_t SystemCalls::Group() { return ::getegid(); }

std::vector<gid_t> SystemCalls::OtherGroups() {
    for (;;) {
        const int count = ::getgroups(0, nullptr);
        if (count <= 0) return {};
        std::vector<gid_t> groups(static_cast<std::size_t>(count));
        const int got = ::getgroups(count, groups.data());
        if (got >= 0) {
            groups.resize(static_cast<std::size_t>(got));
            return groups;
        }
        if (errno != EINVAL) return {};  // EINVAL: the groups grew meanwhile
    }
}

int SystemCalls::ListNames(int folder, std::vector<std::string>& names) {
    const int fd = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* listing = fd >= 0 ? ::fdopendir(fd) : nullptr;
    if (!listing) {
        const int err = errno;
        if (fd >= 0) ::close(fd);
        return err;
    }
    errno = 0;
    while (const dirent* entry = ::readdir(listing)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    const int err = errno;
    ::closedir(listing);
    return err;
}

pid_t SystemCalls::ProcessId() { return ::getpid(); }

std::string SystemCalls::BootId() {
    // Read once: a process lives within one boot.
    static const std::string boot = [] {
        std::string id;
        std::ifstream("/proc/sys/kernel/random/boot_id") >> id;
        return id;
    }();
    return boot;
}

std::string SystemCalls::UserNameOf(uid_t uid) {
    const passwd* user = ::getpwuid(uid);
    return user ? user->pw_name : "";
}

std::string SystemCalls::HostName() {
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0) return {};
    return name;
}

bool SystemCalls::ProcessRuns(pid_t pid) { return pid > 0 && (::kill(pid, 0) == 0 || errno == EPERM); }

std::uint64_t SystemCalls::ProcessStart(pid_t pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    const std::string stat{std::istreambuf_iterator<char>(file), {}};
    // After the name in brackets (which may hold anything, brackets too),
    // the state is the 3rd field; the start the 22nd.
    const std::size_t name = stat.rfind(')');
    if (name == std::string::npos) return 0;
    std::size_t at = name + 1;
    for (int field = 3; field < 22 && at != std::string::npos; ++field) at = stat.find(' ', at + 1);
    return at == std::string::npos ? 0 : std::strtoull(stat.c_str() + at + 1, nullptr, 10);
}

int SystemCalls::RemoveFolder(int dir, const std::string& name) { return ::unlinkat(dir, name.c_str(), AT_REMOVEDIR); }

std::chrono::system_clock::time_point SystemCalls::Now() { return std::chrono::system_clock::now(); }

void SystemCalls::Sleep(std::chrono::milliseconds length) { std::this_thread::sleep_for(length); }

SystemCalls& RealSystem() {
    static SystemCalls system;
    return system;
}

int RenameByLink(SystemCalls& sys, int dir, const std::string& from, const std::string& to) {
    if (sys.Link(dir, from, to) != 0) return -1;
    if (sys.Unlink(dir, from) == 0) return 0;
    // Not renamed after all: one file under two names would be taken for two.
    const int err = errno;
    (void)sys.Unlink(dir, to);
    errno = err;
    return -1;
}

int WriteWhole(SystemCalls& sys, int fd, const std::string& contents, struct stat* last) {
    std::size_t done = 0;
    const auto stamp = [](const struct stat& s) { return std::tie(s.st_size, s.st_ctim.tv_sec, s.st_ctim.tv_nsec); };
    for (struct stat now {}; done < contents.size();) {
        if (last && (sys.Status(fd, now) != 0 || stamp(now) != stamp(*last))) return kWrittenMeanwhile;
        const ssize_t n = sys.WriteAt(fd, contents.data() + done, contents.size() - done, static_cast<off_t>(done));
        if (last && n > 0 && sys.Status(fd, *last) != 0) return errno;
        if (n < 0 && errno != EINTR) return errno;
        if (n == 0) return EIO;  // never taken for progress
        if (n > 0) done += static_cast<std::size_t>(n);
    }
    return 0;
}

int ReadWhole(SystemCalls& sys, int fd, std::string& contents) {
    char buffer[65536];
    for (off_t at = 0;;) {
        const ssize_t n = sys.ReadAt(fd, buffer, sizeof buffer, at);
        if (n == 0) return 0;
        if (n < 0 && errno != EINTR) return errno;
        if (n > 0) {
            contents.append(buffer, static_cast<std::size_t>(n));
            at += n;
        }
    }
}

Descriptor& Descriptor::operator=(Descriptor&& other) noexcept {
    if (this != &other) {
        (void)Close();
        sys_ = other.sys_;
        fd_ = other.Release();
    }
    return *this;
}

int Descriptor::Close() {
    if (fd_ < 0) return 0;
    const int fd = std::exchange(fd_, -1);
    return sys_->Close(fd) == 0 ? 0 : errno;
}

int Descriptor::Release() { return std::exchange(fd_, -1); }

}  // namespace lintora
