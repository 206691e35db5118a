#include "files/file_open.h"

#include <cerrno>
#include <filesystem>
#include <map>
#include <system_error>

#include <sys/stat.h>

#include "platform/disk/load_contents.h"
#include "platform/platform.h"

namespace lintora {

namespace {

// File numbers in use, as the old file layer numbered them (1..511).
std::map<int16_t, std::FILE*>& OpenFiles() {
    static std::map<int16_t, std::FILE*> files;
    return files;
}

constexpr int16_t kMaxFileNo = 511;
constexpr int16_t kErrBadFileName = 64;
constexpr int16_t kErrTooManyFiles = 67;
constexpr int16_t kErrPathFileAccess = 75;

int16_t NextFreeFileNo() {
    const auto& files = OpenFiles();
    for (int16_t n = 1; n <= kMaxFileNo; ++n)
        if (!files.count(n)) return n;
    return 0;
}

// Opens name for reading without waiting: a pipe or device put where a file
// was looked at is refused (ordinary false), not waited on. What is read is
// what the descriptor shows, not what the name named a moment before.
// nullptr with errno set when the open fails.
std::FILE* OpenForReading(const std::string& name, bool& ordinary) {
    Descriptor fd;
    struct stat status {};
    int error = 0;
    const LoadStop stop = OpenToRead(RealSystem(), name, fd, status, error);
    ordinary = stop == LoadStop::None || stop == LoadStop::Open || stop == LoadStop::Unreachable;
    if (stop != LoadStop::None) {
        errno = error;
        return nullptr;
    }
    std::FILE* file = ::fdopen(fd.get(), "rb");
    const int err = errno;
    if (file) fd.Release();
    else fd.Close();
    errno = err;
    return file;
}

// One attempt; returns the file error number, 0 on success.
int16_t TryOpen(const std::string& name, int16_t& fileNo) {
    if (RefusedName(name)) return kErrBadFileName;
    int16_t no = NextFreeFileNo();
    if (no == 0) return kErrTooManyFiles;
    errno = 0;
    bool ordinary = true;
    std::FILE* f = OpenForReading(name, ordinary);
    if (!ordinary) return kErrPathFileAccess;
    if (!f) {
        int err = errno;
        if (err == ENOENT) {
            // A missing folder is a path that does not exist, not a missing file.
            std::error_code ec;
            auto parent = std::filesystem::path(name).parent_path();
            if (!parent.empty() && !std::filesystem::is_directory(parent, ec)) return 76;
        }
        return FileErrorNumber(err);
    }
    OpenFiles()[no] = f;
    fileNo = no;
    return 0;
}

}  // namespace

int16_t FileErrorNumber(int systemError) {
    switch (systemError) {
        case ENOENT: return 53;
        case ENOTDIR: return 76;
        case EACCES:
        case EPERM: return 70;
        case ENOSPC:
#ifdef EDQUOT
        case EDQUOT:
#endif
            return 61;
        case EIO: return 57;
        case ENXIO:
        case ENODEV: return 68;
        case EBUSY: return 71;
        case ENAMETOOLONG: return 64;
        case EINVAL: return 52;
        case EMFILE:
        case ENFILE: return kErrTooManyFiles;
        default: return kErrPathFileAccess;
    }
}

int16_t OpenFileChecked(const std::string& name, int16_t* error) {
    if (error) *error = 0;
    for (;;) {
        int16_t fileNo = 0;
        int16_t err = TryOpen(name, fileNo);
        if (err == 0) return fileNo;
        const int16_t answer = FileErrors(err);
        if (answer == kFileUnknown && error) *error = err;
        if (answer != kFileRetry) return 0;
    }
}

int16_t FileErrors(int16_t errorNumber) {
    MsgButtons buttons = MsgButtons::Ok;
    std::string text;
    switch (errorNumber) {
        case 52: text = "That filename is illegal.52"; break;
        case 54: text = "Can't open your file for that type of access."; break;
        case 55: text = "That file is already open."; break;
        case 57: text = "The disk is full."; break;
        case 62:
            text = std::string("This file has a nonstandard end-of-file marker,") +
                   "or an attempt was made to read beyond " + "the end-of-file marker.";
            break;
        case 64: text = "That filename is illegal.64"; break;
        case 68:
            text = "That device appears to be unavailable.";
            buttons = MsgButtons::RetryCancel;
            break;
        case 71: text = "The disk is not ready."; break;
        case 76: text = "That path doesn't exist."; break;
        default: return kFileUnknown;
    }
    switch (MsgBox(text, buttons, MsgIcon::Exclamation, "File Error")) {
        case MsgResult::Ok:
        case MsgResult::Cancel: return kFileGiveUp;
        case MsgResult::Retry: return kFileRetry;
        default: return kFileUnknown;
    }
}

std::FILE* OpenedFile(int16_t fileNo) {
    auto& files = OpenFiles();
    auto it = files.find(fileNo);
    return it == files.end() ? nullptr : it->second;
}

bool CloseFile(int16_t fileNo) {
    auto& files = OpenFiles();
    auto it = files.find(fileNo);
    if (it == files.end()) return false;
    bool ok = std::fclose(it->second) == 0;
    files.erase(it);
    return ok;
}

// Wildcard and reserved characters: ";" to "?" (";<=>?"), "[", "*" and "]",
// in the file's own name; its folders are the user's, taken as they are.
bool RefusedName(const std::string& name) {
    for (char c : std::filesystem::path(name).filename().string())
        if ((c >= ';' && c <= '?') || c == '[' || c == '*' || c == ']') return true;
    return false;
}

}  // namespace lintora
