#include "platform/disk/file_reading.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/disk/load_contents.h"

namespace lintora {

namespace fs = std::filesystem;

bool ReadWholeFile(const std::string& path, std::string& contents) {
    return ReadWholeFileOrWhy(path, contents).empty();
}

namespace {

constexpr const char* kNotOrdinary = "it is not an ordinary file";

fs::path FolderOf(const std::string& path) {
    const fs::path folder = fs::path(path).parent_path();
    return folder.empty() ? fs::path(".") : folder;
}

// The first folder on the way to path that the user may not open; its own
// folder when none is found so.
fs::path ClosedFolder(const std::string& path) {
    const fs::path folder = FolderOf(path);
    fs::path walked;
    for (const fs::path& part : folder) {
        walked /= part;
        if (::faccessat(AT_FDCWD, walked.c_str(), X_OK, AT_EACCESS) != 0 && errno == EACCES) return walked;
    }
    return folder;
}

bool FolderThere(const std::string& path) {
    std::error_code ec;
    return fs::is_directory(FolderOf(path), ec);
}

}  // namespace

std::string WhyNoOrdinaryFile(const std::string& path) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (status.type() == fs::file_type::not_found) {
        const fs::path target = fs::read_symlink(path, ec);
        if (!ec) return "it is a link to " + target.string() + ", which is not there";
        return FolderThere(path) ? "there is no such file" : "its folder " + FolderOf(path).string() + " is not there";
    }
    // Only a folder on the way that may not be searched hides the file.
    if (ec == std::errc::permission_denied) return "you may not open its folder " + ClosedFolder(path).string();
    if (ec) return ec.message();
    if (status.type() == fs::file_type::directory) return "it is a folder";
    // Opening a pipe or a device could wait for ever.
    if (status.type() != fs::file_type::regular) return kNotOrdinary;
    return {};
}

std::string ReadWholeFileOrWhy(const std::string& path, std::string& contents) {
    if (std::string why = WhyNoOrdinaryFile(path); !why.empty()) return why;
    // Nor is one put there meanwhile: the open does not wait, and what was
    // opened is looked at once more.
    LoadResult loaded = LoadContents(path);
    if (loaded.read()) contents = std::move(loaded.contents);
    return WhyNotRead(loaded);
}

bool MissingFromItsFolder(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) != 0 && errno == ENOENT && FolderThere(path);
}

Found ReadFileIfThere(const std::string& path, std::string& contents, std::string& why) {
    std::error_code ec;
    const fs::file_status entry = fs::symlink_status(path, ec);
    if (entry.type() == fs::file_type::not_found) return Found::None;
    // A folder on the way that cannot be searched hides whether it is there.
    why = ec ? ec.message() : ReadWholeFileOrWhy(path, contents);
    return why.empty() ? Found::Read : Found::Unreadable;
}

FileStamp StampOf(const struct stat& st) {
    FileStamp stamp;
    auto ns = [](const timespec& t) { return std::int64_t{t.tv_sec} * 1'000'000'000 + t.tv_nsec; };
    stamp.exists = true;
    stamp.mode = st.st_mode;
    stamp.size = static_cast<std::uintmax_t>(st.st_size);
    stamp.modified = ns(st.st_mtim);
    stamp.changed = ns(st.st_ctim);
    stamp.device = st.st_dev;
    stamp.inode = st.st_ino;
    return stamp;
}

FileStamp StampOfFile(const std::string& path) {
    struct stat st {};
    // A link to nothing stamps as the link itself.
    if (::stat(path.c_str(), &st) != 0 && ::lstat(path.c_str(), &st) != 0) return {};
    return StampOf(st);
}

}  // namespace lintora
