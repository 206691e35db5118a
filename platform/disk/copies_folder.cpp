#include "platform/disk/copies_folder.h"

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
    // Opened first: made only when it is not there, not at every save.
    constexpr int kFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW;
    Descriptor opened(sys, sys.OpenAt(AT_FDCWD, folder, kFlags));
    if (!opened.open() && errno == ENOENT && make) {
        if ((error = MakeFolders(sys, folder)) != 0) return {};
        opened = Descriptor(sys, sys.OpenAt(AT_FDCWD, folder, kFlags));
    }
    struct stat status {};
    if (!opened.open() || sys.Status(opened.get(), status) != 0) {
        error = errno;
        return {};
    }
    // Another user's folder would let him take away the copies it keeps.
    if (status.st_uid != sys.User()) {
        error = kNotYourFolder;
        return {};
    }
    if ((status.st_mode & 07777) != S_IRWXU && sys.ChangeMode(opened.get(), S_IRWXU) != 0) {
        error = errno;
        return {};
    }
    error = 0;
    return opened;
}

}  // namespace lintora
