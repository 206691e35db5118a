#include "platform/disk/scratch_file.h"

#include <cerrno>
#include <iomanip>
#include <random>
#include <sstream>

#include <fcntl.h>
#include <unistd.h>

namespace lintora {

std::size_t NameLimit(int folder) {
    constexpr long kUsual = 255;
    const long limit = ::fpathconf(folder, _PC_NAME_MAX);
    return static_cast<std::size_t>(limit > 0 ? limit : kUsual);
}

std::string CutAtCharacter(const std::string& text, std::size_t size) {
    if (size >= text.size()) return text;
    while (size > 0 && (static_cast<unsigned char>(text[size]) & 0xC0) == 0x80) --size;
    return text.substr(0, size);
}

int MakeScratchFile(SystemCalls& sys, int folder, const std::string& forName, const std::string& suffix, mode_t mode,
                    std::string& made) {
    static std::mt19937_64 rng{std::random_device{}()};
    constexpr std::size_t kRandomDigits = 16;
    const std::size_t fixed = 2 + kRandomDigits + suffix.size();  // the two dots, the digits, the suffix
    std::size_t limit = NameLimit(folder);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::ostringstream name;
        name << '.' << CutAtCharacter(forName, limit > fixed ? limit - fixed : 0) << '.' << std::hex
             << std::setw(kRandomDigits) << std::setfill('0') << rng() << suffix;
        made = name.str();
        const int fd = sys.OpenAt(folder, made, O_WRONLY | O_CREAT | O_EXCL, mode);
        if (fd >= 0) return fd;
        const int err = errno;
        const std::size_t kept = made.size() - fixed;  // what is left of forName
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

bool FolderTakesNewFiles(const std::string& dir) {
    SystemCalls& sys = RealSystem();
    const Descriptor folder(sys, sys.OpenAt(AT_FDCWD, dir, O_PATH | O_DIRECTORY));
    std::string probe;
    Descriptor made(sys, folder.open() ? MakeScratchFile(sys, folder.get(), "lintora-write-test", ".tmp", 0600, probe)
                                       : -1);
    if (!made.open()) return false;
    made.Close();
    sys.Unlink(folder.get(), probe);
    return true;
}

}  // namespace lintora
