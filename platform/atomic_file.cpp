#include "platform/atomic_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <utility>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/file_access.h"
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

// Creates a new file beside target under a name no other file has, with
// no more permissions than mode from the start.
int CreateUniqueBeside(const fs::path& target, mode_t mode, fs::path& tempPath, std::string& error) {
    const int fd = CreateUniqueFile(target.parent_path(), target.filename().string(), ".tmp", mode, tempPath);
    if (fd < 0) error = WhyNotSaved(errno);
    return fd;
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
    // A replacing file is open to its owner alone until it has the old one's
    // owners and access; a new one gets what the user's umask (or the
    // folder's default access list) leaves of read and write.
    fs::path tempPath;
    const int fd = CreateUniqueBeside(file, replacing ? S_IRUSR | S_IWUSR : 0666, tempPath, error);
    if (fd < 0) return NotSavedText(target, error, replacing);
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
            return fail(NotSavedText(target, why, true));
        if (declined(lost)) return fail(lost + "\nIt is left as it is.");
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
