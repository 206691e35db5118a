// Reading by path: a file whole, or a look at what stands there that never opens a pipe or a device.
#include "platform/disk/file_reading.h"

#include <cerrno>
#include <filesystem>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lintora {

namespace fs = std::filesystem;

namespace {

std::string FolderOf(const std::string& path) {
    const fs::path folder = fs::path(path).parent_path();
    return folder.empty() ? "." : folder.string();
}

bool FolderThere(SystemCalls& sys, const std::string& folder) {
    return Descriptor(sys, sys.OpenAt(AT_FDCWD, folder, O_PATH | O_DIRECTORY)).open();
}

// The first folder on the way to path that the user may not open; its own folder when none is found so.
std::string ClosedFolder(SystemCalls& sys, const std::string& path) {
    const fs::path folder = FolderOf(path);
    fs::path walked;
    for (const fs::path& part : folder) {
        walked /= part;
        if (sys.Access(AT_FDCWD, walked.string(), X_OK) != 0 && errno == EACCES) return walked.string();
    }
    return folder.string();
}

}  // namespace

LoadResult LookAtFile(const std::string& path, SystemCalls& sys) {
    // O_PATH opens nothing: a pipe or a device is only looked at.
    const Descriptor at(sys, sys.OpenAt(AT_FDCWD, path, O_PATH));
    if (!at.open() && (errno == ENOENT || errno == ENOTDIR)) {
        const Descriptor link(sys, sys.OpenAt(AT_FDCWD, path, O_PATH | O_NOFOLLOW));
        std::string target;
        if (link.open() && sys.ReadLink(link.get(), target) == 0)
            return {.stop = LoadStop::LinkToNothing, .where = target};
        const std::string folder = FolderOf(path);
        if (FolderThere(sys, folder)) return {.stop = LoadStop::NoFile};
        return {.stop = LoadStop::FolderMissing, .where = folder};
    }
    struct stat status {};
    if (!at.open() || sys.Status(at.get(), status) != 0) {
        // Only a folder on the way that may not be searched hides the file.
        if (errno == EACCES) return {.stop = LoadStop::FolderClosed, .where = ClosedFolder(sys, path)};
        return {.stop = LoadStop::Unreachable, .error = errno};
    }
    return {.stop = S_ISDIR(status.st_mode)   ? LoadStop::Folder
                    : S_ISREG(status.st_mode) ? LoadStop::None
                                              : LoadStop::NotOrdinary};
}

LoadResult ReadOrdinaryFile(const std::string& path, SystemCalls& sys) {
    if (LoadResult looked = LookAtFile(path, sys); !looked.read()) return looked;
    // Nor is one put there meanwhile: the open does not wait, and what was opened is looked at once more.
    return LoadContents(path, sys);
}

bool ReadWholeFile(const std::string& path, std::string& contents) {
    LoadResult loaded = ReadOrdinaryFile(path);
    if (loaded.read()) contents = std::move(loaded.contents);
    return loaded.read();
}

bool MissingFromItsFolder(const std::string& path, SystemCalls& sys) {
    struct stat st {};
    return sys.StatusAt(AT_FDCWD, path, st) != 0 && errno == ENOENT && FolderThere(sys, FolderOf(path));
}

FileStamp StampOfFile(const std::string& path, SystemCalls& sys) {
    struct stat st {};
    const Descriptor at(sys, sys.OpenAt(AT_FDCWD, path, O_PATH));
    if ((at.open() && sys.Status(at.get(), st) == 0) || sys.StatusAt(AT_FDCWD, path, st) == 0) return StampOf(st);
    return {};
}

}  // namespace lintora
