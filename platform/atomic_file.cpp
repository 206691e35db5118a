#include "platform/atomic_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <utility>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/file_reading.h"
#include "platform/in_place_write.h"
#include "platform/platform.h"
#include "platform/save_steps.h"

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

// The file that a save to path writes: path itself, or the file its link
// (or chain of links) names, whether that is there yet or not.
fs::path FileBehindLinks(fs::path path, std::string& error) {
    constexpr int kMostLinks = 40;  // as many as the system itself follows
    for (int hop = 0; hop < kMostLinks; ++hop) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(path, ec))) return path;
        const fs::path named = fs::read_symlink(path, ec);
        if (ec) {
            error = "cannot follow " + path.string() + ": " + ec.message();
            return {};
        }
        // A relative link names its file from the link's own folder.
        path = named.is_absolute() ? named : path.parent_path() / named;
    }
    error = "cannot follow " + path.string() + ": " + std::strerror(ELOOP);
    return {};
}

// Creates a new file beside target under a name no other file has, with
// no more permissions than mode from the start.
int CreateUniqueBeside(const fs::path& target, mode_t mode, fs::path& tempPath, std::string& error) {
    const int fd = CreateUniqueFile(target.parent_path(), target.filename().string(), ".tmp", mode, tempPath);
    if (fd < 0) error = WhyNotSaved(errno);
    return fd;
}

std::string UserName(uid_t uid) {
    const passwd* user = ::getpwuid(uid);
    return user ? user->pw_name : "user " + std::to_string(uid);
}

std::string GroupName(gid_t gid) {
    const group* named = ::getgrgid(gid);
    return named ? named->gr_name : std::to_string(gid);
}

// Gives the new file the old one's owner and group where the user may (a
// user may give a file only to a group of his own, not to another user).
// Says what changes when the group cannot be kept, else "".
std::string KeepOwners(int fd, const struct stat& old, const std::string& target) {
    if (::fchown(fd, old.st_uid, old.st_gid) != 0) (void)::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
    struct stat now {};
    if (::fstat(fd, &now) != 0) return ErrnoText("cannot tell who owns the new " + target, errno);
    if (now.st_gid == old.st_gid) return {};
    const bool mine = now.st_uid == ::geteuid();
    return target + " belongs to " + UserName(old.st_uid) + " and the group " + GroupName(old.st_gid) +
           ". Saved, it would belong to " + (mine ? "you" : UserName(now.st_uid)) +
           (mine && now.st_gid == ::getegid() ? " and your group " : " and the group ") + GroupName(now.st_gid) +
           ", and the group " + GroupName(old.st_gid) + " might no longer open it.";
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
    // Where a new file would not stand in for the old one, the old one is written.
    if (replacing && MustWriteInPlace(file, old)) return WriteInPlace(file, target, contents, old);
    // From its creation the new file is open to nobody the old one was not
    // open to; a new one gets what the user's umask leaves of read and write.
    const mode_t permissions = replacing ? (old.st_mode & 0777) : 0666;
    fs::path tempPath;
    const int fd = CreateUniqueBeside(file, permissions, tempPath, error);
    if (fd < 0) return NotSavedText(target, error, replacing);
    if (TemporaryFileWatch()) TemporaryFileWatch()(tempPath.string());
    auto fail = [&tempPath, fd](std::string why) {
        ::close(fd);
        ::unlink(tempPath.c_str());
        return why;
    };
    if (replacing) {
        const std::string change = KeepOwners(fd, old, target);
        if (!change.empty() && !(replaceAnyway && replaceAnyway(change)))
            return fail(change + "\nIt is left as it is.");
        // The umask may have taken marks off that the old file had.
        if (::fchmod(fd, permissions) != 0)
            return fail(ErrnoText("cannot set the permissions of " + tempPath.string(), errno));
    }
    // On disk before the rename, so that the name never stands for contents still to come.
    if (const int err = WriteAll(fd, contents) ? SyncFile(fd, tempPath.string()) : errno)
        return fail(NotSavedText(target, WhyNotSaved(err), replacing));
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(tempPath.c_str());
        return NotSavedText(target, WhyNotSaved(err), replacing);
    }
    if (::rename(tempPath.c_str(), file.c_str()) != 0) {
        const int err = errno;
        ::unlink(tempPath.c_str());
        return NotSavedText(target, WhyNotSaved(err), replacing);
    }
    // The new name on disk too; the file is saved even where the folder cannot say so.
    (void)SyncFolder(file.parent_path());
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
