// The user's own state folder, made and opened only where it is his alone.
#include "platform/disk/copies_folder.h"

#include <cerrno>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>

#include "platform/settings_store.h"

namespace lintora {

namespace fs = std::filesystem;

std::string CopiesFolder() { return (fs::path(UserBaseFolder("XDG_STATE_HOME", ".local/state")) / "Lintora").string(); }

namespace {

// The folders on the way as the user's usual folders; the last his alone.
// One that is there stays as it is. 0, or the error.
int MakeFolders(SystemCalls& sys, const fs::path& folder) {
    fs::path made;
    for (const fs::path& part : folder) {
        made /= part;
        const bool last = made == folder;
        if (made.has_filename() && sys.MakeFolder(AT_FDCWD, made.string(), last ? S_IRWXU : 0777) != 0 &&
            errno != EEXIST && (last || errno != EACCES))
            return errno;
    }
    return 0;
}

}  // namespace

Descriptor OpenCopiesFolder(SystemCalls& sys, bool make, int& error) {
    const std::string folder = CopiesFolder();
    auto refused = [&error](int err) {
        error = err;
        return Descriptor{};
    };
    // Looked at before it is opened, the link itself where one stands: a folder of another user (root's, made under
    // sudo) may not let the user in, and is told as his all the same; a link is told as a link.
    struct stat seen {};
    if (sys.StatusAt(AT_FDCWD, folder, seen) != 0) {
        if (errno != ENOENT || !make) return refused(errno);
        if (const int err = MakeFolders(sys, folder)) return refused(err);
    } else if (S_ISLNK(seen.st_mode)) {
        return refused(ELOOP);
    } else if (seen.st_uid != sys.User()) {
        return refused(kNotYourFolder);
    }
    Descriptor opened(sys, sys.OpenAt(AT_FDCWD, folder, O_RDONLY | O_DIRECTORY | O_NOFOLLOW));
    struct stat status {};
    if (!opened.open() || sys.Status(opened.get(), status) != 0) return refused(errno);
    // Another user's folder would let him take away the copies it keeps; the one opened may not be the one looked at.
    if (status.st_uid != sys.User()) return refused(kNotYourFolder);
    if ((status.st_mode & 07777) != S_IRWXU && sys.ChangeMode(opened.get(), S_IRWXU) != 0) return refused(errno);
    error = 0;
    return opened;
}

}  // namespace lintora
