#include "platform/atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <sstream>
#include <utility>

#include <sys/stat.h>
#include <unistd.h>

namespace lintora {

namespace fs = std::filesystem;

namespace {

std::string ErrnoText(const std::string& what, int err) {
    return what + ": " + std::strerror(err);
}

// Creates a new file beside target under a name no other file has.
std::FILE* CreateUniqueBeside(const fs::path& target, fs::path& tempPath, std::string& error) {
    static std::mt19937_64 rng{std::random_device{}()};
    fs::path dir = target.parent_path();
    std::string base(1, '.');
    base += target.filename().string();
    base += '.';
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::ostringstream name;
        name << base << std::hex << rng() << ".tmp";
        tempPath = dir / name.str();
        // "x": fail rather than open a file that is already there.
        if (std::FILE* f = std::fopen(tempPath.c_str(), "wbx")) return f;
        if (errno != EEXIST) {
            error = ErrnoText("cannot create a file in " + (dir.empty() ? "." : dir.string()), errno);
            return nullptr;
        }
    }
    error = "cannot find a free temporary name in " + dir.string();
    return nullptr;
}

}  // namespace

bool IsReadOnly(const std::string& path) {
    std::error_code ec;
    const fs::perms perms = fs::status(path, ec).permissions();
    if (ec) return false;
    // The owner's write mark counts for root too, who could write anyway.
    return (perms & fs::perms::owner_write) == fs::perms::none || ::access(path.c_str(), W_OK) != 0;
}

std::string WriteFileAtomically(const std::string& target, const std::string& contents) {
    if (fs::path(target).filename().empty()) return "no file name given";
    std::error_code ec;
    if (fs::is_directory(target, ec)) return target + " is a folder";
    // A link stays a link: the file it leads to is the one replaced.
    fs::path targetPath(target);
    if (fs::is_symlink(fs::symlink_status(target, ec))) {
        targetPath = fs::weakly_canonical(target, ec);
        if (ec) return "cannot follow " + target + ": " + ec.message();
    }
    const fs::file_status old = fs::status(targetPath, ec);
    const bool replacing = fs::is_regular_file(old);
    if (replacing && IsReadOnly(targetPath.string())) return target + " is read-only";
    fs::path tempPath;
    std::string error;
    std::FILE* f = CreateUniqueBeside(targetPath, tempPath, error);
    if (!f) return error;
    bool ok = std::fwrite(contents.data(), 1, contents.size(), f) == contents.size();
    int err = errno;
    ok = ok && std::fflush(f) == 0;
    if (!ok) err = errno;
    if (std::fclose(f) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        fs::remove(tempPath, ec);
        return ErrnoText("cannot write " + tempPath.string(), err);
    }
    // The new file keeps the old one's permissions (a private file stays private).
    if (replacing) fs::permissions(tempPath, old.permissions(), ec);
    fs::rename(tempPath, targetPath, ec);
    if (ec) {
        std::error_code ignore;
        fs::remove(tempPath, ignore);
        return "cannot replace " + target + ": " + ec.message();
    }
    return {};
}

bool ReadWholeFile(const std::string& path, std::string& contents) {
    return ReadWholeFileOrWhy(path, contents).empty();
}

std::string ReadWholeFileOrWhy(const std::string& path, std::string& contents) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (status.type() == fs::file_type::not_found) {
        const fs::path target = fs::read_symlink(path, ec);
        return ec ? std::strerror(ENOENT) : "it is a link to " + target.string() + ", which is not there";
    }
    if (ec) return ec.message();
    if (status.type() == fs::file_type::directory) return "it is a folder";
    // Opening a pipe or a device could wait for ever.
    if (status.type() != fs::file_type::regular) return "it is not an ordinary file";
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return std::strerror(errno);
    std::string read;
    char buffer[65536];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) read.append(buffer, n);
    const bool failed = std::ferror(f) != 0;
    const int err = errno;
    std::fclose(f);
    if (failed) return std::strerror(err);
    contents = std::move(read);
    return {};
}

Found ReadFileIfThere(const std::string& path, std::string& contents, std::string& why) {
    std::error_code ec;
    const fs::file_status entry = fs::symlink_status(path, ec);
    if (entry.type() == fs::file_type::not_found) return Found::None;
    // A folder on the way that cannot be searched hides whether it is there.
    why = ec ? ec.message() : ReadWholeFileOrWhy(path, contents);
    return why.empty() ? Found::Read : Found::Unreadable;
}

FileStamp StampOfFile(const std::string& path) {
    FileStamp stamp;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return stamp;
    auto ns = [](const timespec& t) { return std::int64_t{t.tv_sec} * 1'000'000'000 + t.tv_nsec; };
    stamp.exists = true;
    stamp.size = static_cast<std::uintmax_t>(st.st_size);
    stamp.modified = ns(st.st_mtim);
    stamp.changed = ns(st.st_ctim);
    stamp.device = st.st_dev;
    stamp.inode = st.st_ino;
    return stamp;
}

}  // namespace lintora
