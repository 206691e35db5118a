#include "platform/in_place_write.h"

#include <algorithm>
#include <cerrno>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include "platform/save_steps.h"

namespace lintora {

namespace fs = std::filesystem;

namespace {

// A descriptor closed with its scope.
struct OpenFile {
    int fd;
    ~OpenFile() {
        if (fd >= 0) ::close(fd);
    }
};

bool MemberOf(gid_t gid) {
    if (gid == ::getegid()) return true;
    std::vector<gid_t> groups(static_cast<std::size_t>(std::max(::getgroups(0, nullptr), 0)));
    groups.resize(static_cast<std::size_t>(std::max(::getgroups(static_cast<int>(groups.size()), groups.data()), 0)));
    return std::find(groups.begin(), groups.end(), gid) != groups.end();
}

fs::path FolderOf(const fs::path& file) { return file.parent_path().empty() ? fs::path(".") : file.parent_path(); }

bool ReadAll(int fd, std::string& contents) {
    char buffer[65536];
    for (off_t at = 0;;) {
        const ssize_t n = ::pread(fd, buffer, sizeof buffer, at);
        if (n == 0) return true;
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        contents.append(buffer, static_cast<std::size_t>(n));
        at += n;
    }
}

// Puts contents into the open file and on disk: room for them first, then
// the bytes, then the length. 0, or the error number.
int Overwrite(int fd, const fs::path& file, const std::string& contents) {
    if (!contents.empty()) {
        const int err = ::posix_fallocate(fd, 0, static_cast<off_t>(contents.size()));
        // Some file systems cannot reserve room; the write then finds out.
        if (err != 0 && err != EOPNOTSUPP && err != EINVAL && err != ENOSYS) return err;
    }
    if (!WriteAll(fd, contents) || ::ftruncate(fd, static_cast<off_t>(contents.size())) != 0) return errno;
    return SyncFile(fd, file.string());
}

// Makes the copy of old contents in dir, on disk before anything else is
// written; 0, or the error number that kept it from being made.
int MakeCopy(const fs::path& dir, const fs::path& file, const std::string& before, fs::path& copy) {
    const int fd = CreateUniqueFile(dir, file.filename().string(), ".bak", S_IRUSR | S_IWUSR, copy);
    if (fd < 0) return errno;
    int err = WriteAll(fd, before) ? SyncFile(fd, copy.string()) : errno;
    if (::close(fd) != 0 && err == 0) err = errno;
    if (err != 0) {
        ::unlink(copy.c_str());
        return err;
    }
    // Its name is on disk too; a folder that will not say so is no reason to stop.
    (void)SyncFolder(dir);
    return 0;
}

// The copy beside the file, or in the user's cache folder where the
// file's folder takes no new files; "" or why there is none.
std::string KeepCopy(const fs::path& file, const std::string& before, fs::path& copy) {
    const int err = MakeCopy(FolderOf(file), file, before, copy);
    if (err != EACCES && err != EPERM) return err == 0 ? std::string() : WhyNotSaved(err);
    const fs::path cache = UserCacheFolder();
    std::error_code ec;
    fs::create_directories(cache.parent_path(), ec);
    // The user's alone; one that is there stays as it is.
    const int cacheErr =
        ::mkdir(cache.c_str(), S_IRWXU) == 0 || errno == EEXIST ? MakeCopy(cache, file, before, copy) : errno;
    if (cacheErr == 0) return {};
    return WhyNotSaved(err) + ", and its old contents could not be kept in " + cache.string() + " either (" +
           WhyNotSaved(cacheErr) + ")";
}

}  // namespace

bool MustWriteInPlace(const fs::path& file, const struct stat& old) {
    if (old.st_nlink > 1) return true;
    // Root may give a file any owner and group, and replace any file; a
    // user may give it only a group of his own.
    const bool root = ::geteuid() == 0;
    if (!root && !MemberOf(old.st_gid)) return true;
    const fs::path dir = FolderOf(file);
    if (::faccessat(AT_FDCWD, dir.c_str(), W_OK | X_OK, AT_EACCESS) != 0 && (errno == EACCES || errno == EPERM))
        return true;
    // In a sticky folder only the owners of a file or of the folder may replace it.
    struct stat folder {};
    return !root && ::stat(dir.c_str(), &folder) == 0 && (folder.st_mode & S_ISVTX) != 0 &&
           folder.st_uid != ::geteuid() && old.st_uid != ::geteuid();
}

std::string WriteInPlace(const fs::path& file, const std::string& target, const std::string& contents,
                         const struct stat& old) {
    const OpenFile opened{::open(file.c_str(), O_RDWR | O_CLOEXEC)};
    if (opened.fd < 0) return NotSavedText(target, WhyNotSaved(errno), true);
    struct stat now {};
    if (::fstat(opened.fd, &now) != 0 || now.st_dev != old.st_dev || now.st_ino != old.st_ino)
        return NotSavedText(target, "another file took its place while it was being saved", true);
    std::string before;
    if (!ReadAll(opened.fd, before)) return NotSavedText(target, WhyNotSaved(errno), true);
    fs::path copy;
    if (const std::string whyNot = KeepCopy(file, before, copy); !whyNot.empty())
        return NotSavedText(target, whyNot, true);
    const int err = Overwrite(opened.fd, file, contents);
    if (err != 0 && Overwrite(opened.fd, file, before) != 0)
        return NotSavedText(target,
                            WhyNotSaved(err) + ", and putting its old contents back failed too: they are kept in " +
                                copy.string(),
                            false);
    ::unlink(copy.c_str());
    return err == 0 ? std::string() : NotSavedText(target, WhyNotSaved(err), true);
}

}  // namespace lintora
