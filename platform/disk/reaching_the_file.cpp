// Reaching and opening the file a save writes or a load reads (reaching_the_file.h), on descriptors.
#include "platform/disk/reaching_the_file.h"

#include <cerrno>
#include <deque>
#include <filesystem>

#include <fcntl.h>
#include <unistd.h>

#include "platform/disk/file_locks.h"

namespace lintora {

namespace fs = std::filesystem;

namespace {

constexpr int kMostLinks = 40;  // as many as the system itself follows

// The parts of path to walk, in order; "." and empty parts say nothing.
void PushParts(const std::string& path, std::deque<std::string>& ahead) {
    std::deque<std::string> parts;
    for (const fs::path& part : fs::path(path).relative_path())
        if (!part.empty() && part != ".") parts.push_back(part.string());
    ahead.insert(ahead.begin(), parts.begin(), parts.end());
}

// Makes at the folder opened as fd; 0, or the error of its open (read
// before the folder at held is closed, which may change errno).
int MoveTo(SystemCalls& sys, Descriptor& at, int fd) {
    const int err = fd < 0 ? errno : 0;
    at = Descriptor(sys, fd);
    return err;
}

// Starts the walk at the root, for an absolute path or link; 0, or the error.
int StartAtRoot(SystemCalls& sys, Descriptor& at, fs::path& atPath) {
    atPath = "/";
    return MoveTo(sys, at, sys.OpenAt(AT_FDCWD, "/", O_PATH | O_DIRECTORY));
}

// A link in a folder that is sticky and writable by all may have been put there by anyone to lead a save elsewhere; the
// system's own rule for such folders, whether it is switched on or not.
bool Untrusted(SystemCalls& sys, int folder, const struct stat& link) {
    struct stat shared {};
    if (sys.Status(folder, shared) != 0) return true;
    if (!(shared.st_mode & S_ISVTX) || !(shared.st_mode & S_IWOTH)) return false;
    return link.st_uid != sys.User() && link.st_uid != shared.st_uid;
}

}  // namespace

SaveResult FindFile(SystemCalls& sys, const std::string& path, FoundFile& found) {
    found.linkedTo.clear();
    if (path.empty()) return Stopped(SaveStop::Unreachable, ENOENT);
    Descriptor at;
    fs::path atPath;
    if (fs::path(path).is_absolute()) {
        if (const int err = StartAtRoot(sys, at, atPath)) return Stopped(SaveStop::Unreachable, err);
    } else {
        std::string current;
        if (sys.CurrentFolder(current) != 0) return Stopped(SaveStop::Unreachable, errno);
        atPath = current;
        if (const int err = MoveTo(sys, at, sys.OpenAt(AT_FDCWD, ".", O_PATH | O_DIRECTORY)))
            return Stopped(SaveStop::Unreachable, err);
    }
    std::deque<std::string> ahead;
    PushParts(path, ahead);
    int links = 0;
    while (!ahead.empty()) {
        const std::string part = ahead.front();
        ahead.pop_front();
        const bool last = ahead.empty();
        if (part == "..") {
            if (last) break;  // a folder
            if (const int err = MoveTo(sys, at, sys.OpenAt(at.get(), "..", O_PATH | O_DIRECTORY)))
                return Stopped(SaveStop::Unreachable, err);
            atPath = atPath.parent_path();
            continue;
        }
        Descriptor entry(sys, sys.OpenAt(at.get(), part, O_PATH | O_NOFOLLOW));
        struct stat status {};
        if (!entry.open() || sys.Status(entry.get(), status) != 0) {
            // What is not there yet is the new file; a folder must be there.
            if (errno != ENOENT || !last) {
                SaveResult unreachable = Stopped(SaveStop::Unreachable, errno);
                unreachable.link = atPath.string();
                return unreachable;
            }
            status.st_mode = S_IFREG;
        }
        if (S_ISLNK(status.st_mode)) {
            if (++links > kMostLinks) return Stopped(SaveStop::Unreachable, ELOOP);
            if (Untrusted(sys, at.get(), status)) {
                SaveResult refused = Stopped(SaveStop::LinkRefused);
                refused.link = (atPath / part).string();
                refused.linkOwner = status.st_uid;
                return refused;
            }
            std::string named;
            if (sys.ReadLink(entry.get(), named) != 0) return Stopped(SaveStop::Unreachable, errno);
            if (last && found.linkedTo.empty()) found.linkedTo = named;
            // A relative link names its file from the link's own folder.
            if (fs::path(named).is_absolute())
                if (const int err = StartAtRoot(sys, at, atPath)) return Stopped(SaveStop::Unreachable, err);
            PushParts(named, ahead);
            continue;
        }
        if (last) {
            found.folder = std::move(at);
            found.folderPath = atPath.string();
            found.name = part;
            return {};
        }
        if (!S_ISDIR(status.st_mode)) return Stopped(SaveStop::Unreachable, ENOTDIR);
        at = std::move(entry);
        atPath /= part;
    }
    return Stopped(SaveStop::Folder);  // the path ends in a folder ("/", "..", a link to ".")
}

SaveResult OpenFoundFile(SystemCalls& sys, const FoundFile& found, OldFile& old) {
    const int folder = found.folder.get();
    const Descriptor at(sys, sys.OpenAt(folder, found.name, O_PATH | O_NOFOLLOW));
    if (!at.open()) return errno == ENOENT ? SaveResult{} : Stopped(SaveStop::Unreachable, errno);
    struct stat seen {};
    if (sys.Status(at.get(), seen) != 0) return Stopped(SaveStop::Unreachable, errno, true);
    if (S_ISDIR(seen.st_mode)) return Stopped(SaveStop::Folder);
    // A link here was put in after the walk; a pipe or a device could wait for ever.
    if (S_ISLNK(seen.st_mode)) return Stopped(SaveStop::Replaced);
    if (!S_ISREG(seen.st_mode)) return Stopped(SaveStop::NotOrdinary);
    // The widest access the user has: in place, a file is read and written.
    auto open = [&](int access) {
        return Descriptor(sys, sys.OpenAt(folder, found.name, access | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY));
    };
    old.fd = open(O_RDWR);
    if (!old.fd.open()) {
        const int err = errno;
        if (err == ELOOP) return Stopped(SaveStop::Replaced);
        if (err == EACCES) {
            old.fd = open(O_WRONLY);
            if (old.fd.open()) old.readError = EACCES;
        }
        if (!old.fd.open()) {
            old.writeError = err;
            old.fd = open(O_RDONLY);
            if (!old.fd.open()) return Stopped(errno == EACCES ? SaveStop::ReadOnly : SaveStop::OpenFile, errno, true);
        }
    }
    if (sys.Status(old.fd.get(), old.status) != 0) return Stopped(SaveStop::OpenFile, errno, true);
    if (old.status.st_dev != seen.st_dev || old.status.st_ino != seen.st_ino) return Stopped(SaveStop::Replaced);
    // The owner's write mark counts for root too, who could write anyway.
    if (old.writeError == EACCES || !(old.status.st_mode & S_IWUSR)) return Stopped(SaveStop::ReadOnly);
    return {};
}

int OpenOrdinary(SystemCalls& sys, int dir, const std::string& name, Descriptor& fd, struct stat& status) {
    const int opened = sys.OpenAt(dir, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
    const int error = errno;  // before fd lets go of what it held, whose close may set it
    fd = Descriptor(sys, opened);
    if (!fd.open()) return error;
    if (sys.Status(fd.get(), status) != 0) return errno;
    return S_ISREG(status.st_mode) ? 0 : EINVAL;
}

SaveResult HoldOldFile(SystemCalls& sys, const FoundFile& found, OldFile& old, bool inPlace) {
    // A shared lock needs the file open for reading; one the user may only write is held for writing.
    const short type = inPlace || old.readError ? F_WRLCK : F_RDLCK;
    const RangeHold hold = HoldRange(sys, old.fd.get(), type, kSaveRange);
    // Only saves of the program lock the save range alone (its reads lock
    // the readers'); another program locks the whole file.
    if (hold.error != 0 && hold.error != EAGAIN) return Stopped(SaveStop::OpenFile, hold.error, true);
    if (hold.error == EAGAIN)
        return Stopped(!hold.overContents        ? SaveStop::OtherSave
                       : hold.inTheWay == F_RDLCK ? SaveStop::BeingRead
                                                  : SaveStop::HeldOpen,
                       EAGAIN, true);
    old.noLocks = hold.noLocks;
    return StillNamed(sys, found, old.status) ? SaveResult{} : Stopped(SaveStop::Replaced, 0, true);
}

bool StillNamed(SystemCalls& sys, const FoundFile& found, const struct stat& status) {
    struct stat now {};
    return sys.StatusAt(found.folder.get(), found.name, now) == 0 && now.st_dev == status.st_dev &&
           now.st_ino == status.st_ino;
}

int SyncFolder(SystemCalls& sys, int folder) {
    Descriptor entries(sys, sys.OpenAt(folder, ".", O_RDONLY | O_DIRECTORY));
    if (!entries.open()) return errno;
    return sys.Sync(entries.get()) == 0 ? 0 : errno;
}

}  // namespace lintora
