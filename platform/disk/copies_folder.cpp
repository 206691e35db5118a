#include "platform/disk/copies_folder.h"

#include <cerrno>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>

#include "platform/settings_store.h"

namespace lintora {

namespace fs = std::filesystem;

std::string CopiesFolder() { return (fs::path(UserBaseFolder("XDG_STATE_HOME", ".local/state")) / "Lintora").string(); }

Descriptor OpenCopiesFolder(SystemCalls& sys, bool make, int& error) {
    const fs::path folder = CopiesFolder();
    if (make) {
        // The folders on the way as the user's usual folders; the last his
        // alone. One that is there stays as it is.
        fs::path made;
        for (const fs::path& part : folder) {
            made /= part;
            const bool last = made == folder;
            if (made.has_filename() && sys.MakeFolder(AT_FDCWD, made.string(), last ? S_IRWXU : 0777) != 0 &&
                errno != EEXIST && (last || errno != EACCES)) {
                error = errno;
                return {};
            }
        }
    }
    Descriptor opened(sys, sys.OpenAt(AT_FDCWD, folder.string(), O_PATH | O_DIRECTORY));
    error = opened.open() ? 0 : errno;
    return opened;
}

}  // namespace lintora
