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
        std::error_code ec;
        fs::create_directories(folder.parent_path(), ec);
        // His alone; one that is there stays as it is.
        if (sys.MakeFolder(AT_FDCWD, folder.string(), S_IRWXU) != 0 && errno != EEXIST) {
            error = errno;
            return {};
        }
    }
    Descriptor opened(sys, sys.OpenAt(AT_FDCWD, folder.string(), O_PATH | O_DIRECTORY));
    error = opened.open() ? 0 : errno;
    return opened;
}

}  // namespace lintora
