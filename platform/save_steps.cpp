#include "platform/save_steps.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <iomanip>
#include <random>
#include <sstream>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/settings_store.h"

namespace lintora {

namespace fs = std::filesystem;

namespace {

std::function<int(const std::string&)>& SyncWatch() {
    static std::function<int(const std::string&)> watch;
    return watch;
}

// The longest name a file of dir may have.
std::size_t NameLimit(const fs::path& dir) {
    constexpr long kUsual = 255;
    const long limit = ::pathconf(dir.empty() ? "." : dir.c_str(), _PC_NAME_MAX);
    return static_cast<std::size_t>(limit > 0 ? limit : kUsual);
}

// The first bytes of name, at most size of them, ending on a character
// boundary.
std::string CutAtCharacter(const std::string& name, std::size_t size) {
    if (size >= name.size()) return name;
    while (size > 0 && (static_cast<unsigned char>(name[size]) & 0xC0) == 0x80) --size;
    return name.substr(0, size);
}

int Synced(int fd, const std::string& path) {
    if (SyncWatch())
        if (const int injected = SyncWatch()(path)) return injected;
    return ::fsync(fd) == 0 ? 0 : errno;
}

}  // namespace

int CreateUniqueFile(const fs::path& dir, const std::string& forName, const std::string& suffix, mode_t mode,
                     fs::path& made) {
    static std::mt19937_64 rng{std::random_device{}()};
    constexpr std::size_t kRandomDigits = 16;
    const std::size_t fixed = 2 + kRandomDigits + suffix.size();  // the two dots, the digits, the suffix
    std::size_t limit = NameLimit(dir);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::ostringstream name;
        name << '.' << CutAtCharacter(forName, limit > fixed ? limit - fixed : 0) << '.' << std::hex
             << std::setw(kRandomDigits) << std::setfill('0') << rng() << suffix;
        made = dir / name.str();
        // O_EXCL: fail rather than open a file that is already there.
        const int fd = ::open(made.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0) return fd;
        const int err = errno;
        const std::size_t kept = name.str().size() - fixed;  // what is left of forName
        if (err == ENAMETOOLONG && kept > 0) {
            // The folder's limit is shorter than it says: keep half as much.
            limit = fixed + kept / 2;
            continue;
        }
        if (err != EEXIST) {
            errno = err;
            return -1;
        }
    }
    errno = EEXIST;
    return -1;
}

bool FolderTakesNewFiles(const fs::path& dir) {
    fs::path probe;
    const int fd = CreateUniqueFile(dir, "lintora-write-test", ".tmp", S_IRUSR | S_IWUSR, probe);
    if (fd < 0) return false;
    ::close(fd);
    ::unlink(probe.c_str());
    return true;
}

bool WriteAll(int fd, const std::string& contents) {
    std::size_t done = 0;
    while (done < contents.size()) {
        const ssize_t n = ::pwrite(fd, contents.data() + done, contents.size() - done, static_cast<off_t>(done));
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

int SyncFile(int fd, const std::string& path) { return Synced(fd, path); }

int SyncFolder(const fs::path& dir) {
    const fs::path folder = dir.empty() ? fs::path(".") : dir;
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return errno;
    const int err = Synced(fd, folder.string());
    ::close(fd);
    return err;
}

void WatchSyncs(std::function<int(const std::string& path)> watch) { SyncWatch() = std::move(watch); }

std::string WhyNotSaved(int err) {
    switch (err) {
        case ENOSPC: return "the disk is full";
#ifdef EDQUOT
        case EDQUOT: return "your disk quota is used up";
#endif
        case EIO: return "the disk reported an error";
        case EROFS: return "the disk is read-only";
        case EFBIG: return "the file would be larger than the disk allows";
        case EACCES:
        case EPERM: return "the folder does not let you create files";
        case ENOENT:
        case ENOTDIR: return "its folder does not exist";
        case ENAMETOOLONG: return "its name is too long for the folder";
        case EEXIST: return "no free name for a new file was found in its folder";
        case EMFILE:
        case ENFILE: return "too many files are open";
        default: {
            std::string text = std::strerror(err);
            if (!text.empty()) text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
            return text;
        }
    }
}

std::string NotSavedText(const std::string& target, const std::string& why, bool wasThere) {
    return fs::path(target).filename().string() + " was not saved: " + why + "." +
           (wasThere ? " The file is as it was." : "");
}

fs::path UserCacheFolder() { return fs::path(UserBaseFolder("XDG_CACHE_HOME", ".cache")) / "Lintora"; }

}  // namespace lintora
