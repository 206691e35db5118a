#include "platform/atomic_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>
#include <sstream>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/file_access.h"
#include "platform/file_reading.h"
#include "platform/platform.h"

namespace lintora {

namespace fs = std::filesystem;

namespace {

std::function<void(const std::string&)>& TemporaryFileWatch() {
    static std::function<void(const std::string&)> watch;
    return watch;
}

std::string ErrnoText(const std::string& what, int err) {
    return what + ": " + std::strerror(err);
}

// Creates a new file beside target under a name no other file has, with
// no more permissions than mode from the start.
int CreateUniqueBeside(const fs::path& target, mode_t mode, fs::path& tempPath, std::string& error) {
    static std::mt19937_64 rng{std::random_device{}()};
    const fs::path dir = target.parent_path();
    std::string base(1, '.');
    base += target.filename().string();
    base += '.';
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::ostringstream name;
        name << base << std::hex << rng() << ".tmp";
        tempPath = dir / name.str();
        // O_EXCL: fail rather than open a file that is already there.
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0) return fd;
        if (errno != EEXIST) {
            error = ErrnoText("cannot create a file in " + (dir.empty() ? "." : dir.string()), errno);
            return -1;
        }
    }
    error = "cannot find a free temporary name in " + dir.string();
    return -1;
}

// Gives the new file the old one's owner and group where the user may (a
// user may give a file only to a group of his own, not to another user).
// Says what changes when the group cannot be kept (the new group gets no
// rights), else "".
std::string KeepOwners(int fd, const struct stat& old, const std::string& target) {
    if (::fchown(fd, old.st_uid, old.st_gid) != 0) (void)::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
    struct stat now {};
    if (::fstat(fd, &now) != 0) return ErrnoText("cannot tell who owns the new " + target, errno);
    if (now.st_gid == old.st_gid) return {};
    const bool mine = now.st_uid == ::geteuid();
    return target + " belongs to " + UserName(old.st_uid) + " and the group " + GroupName(old.st_gid) +
           ". Saved, it would belong to " + (mine ? "you" : UserName(now.st_uid)) +
           (mine && now.st_gid == ::getegid() ? " and your group " : " and the group ") + GroupName(now.st_gid) +
           ", and the group " + GroupName(old.st_gid) + " might no longer open it. The group " + GroupName(now.st_gid) +
           " would get no rights to it.";
}

bool WriteAll(int fd, const std::string& contents) {
    const char* next = contents.data();
    std::size_t left = contents.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, next, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        next += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

std::string WriteFileAtomically(const std::string& target, const std::string& contents,
                                const ReplaceAnyway& replaceAnyway) {
    if (fs::path(target).filename().empty()) return "no file name given";
    std::string error;
    // A link stays a link: the file it names is the one written.
    const fs::path file = FileBehindLinks(target, error);
    if (!error.empty()) return error;
    struct stat old {};
    const bool replacing = ::stat(file.c_str(), &old) == 0;
    if (replacing && S_ISDIR(old.st_mode)) return target + " is a folder";
    if (replacing && !S_ISREG(old.st_mode)) return target + " is not an ordinary file";
    if (replacing && IsReadOnly(file.string())) return target + " is read-only";
    // A replacing file is open to its owner alone until it has the old one's
    // owners and access; a new one gets what the user's umask (or the
    // folder's default access list) leaves of read and write.
    fs::path tempPath;
    const int fd = CreateUniqueBeside(file, replacing ? S_IRUSR | S_IWUSR : 0666, tempPath, error);
    if (fd < 0) return error;
    if (TemporaryFileWatch()) TemporaryFileWatch()(tempPath.string());
    auto fail = [&tempPath, fd](std::string why) {
        ::close(fd);
        ::unlink(tempPath.c_str());
        return why;
    };
    if (replacing) {
        auto declined = [&replaceAnyway](const std::string& change) {
            return !change.empty() && !(replaceAnyway && replaceAnyway(change));
        };
        const std::string change = KeepOwners(fd, old, target);
        if (declined(change)) return fail(change + "\nIt is left as it is.");
        std::string lost;
        if (std::string why = KeepAccess(fd, file.string(), target, old, change.empty(), lost); !why.empty())
            return fail(why);
        if (declined(lost)) return fail(lost + "\nIt is left as it is.");
    }
    if (!WriteAll(fd, contents)) return fail(ErrnoText("cannot write " + tempPath.string(), errno));
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(tempPath.c_str());
        return ErrnoText("cannot write " + tempPath.string(), err);
    }
    std::error_code ec;
    fs::rename(tempPath, file, ec);
    if (ec) {
        ::unlink(tempPath.c_str());
        return "cannot replace " + target + ": " + ec.message();
    }
    return {};
}

bool AskBeforeReplacing::operator()(const std::string& change) {
    declined = !AskYesNo(change + "\nSave anyway?");
    return !declined;
}

void WatchNewTemporaryFiles(std::function<void(const std::string& path)> watch) {
    TemporaryFileWatch() = std::move(watch);
}

}  // namespace lintora
