// Scratch files of a save (scratch_file.h): made nameless or under a name no other file has, and named once whole.
#include "platform/disk/scratch_file.h"

#include <cerrno>
#include <functional>
#include <iomanip>
#include <random>
#include <sstream>

#include <fcntl.h>
#include <unistd.h>

namespace lintora {

namespace {

// Tries scratch names in folder until make (0, or the error) takes one that no file has.
int TryScratchNames(SystemCalls& sys, int folder, const std::string& forName, const std::string& suffix,
                    std::string& made, const std::function<int(const std::string&)>& make) {
    static std::mt19937_64 rng{std::random_device{}()};
    constexpr std::size_t kRandomDigits = 16;
    const std::size_t fixed = 2 + kRandomDigits + suffix.size();  // the two dots, the digits, the suffix
    std::size_t limit = NameLimit(sys, folder);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::ostringstream name;
        name << '.' << CutAtCharacter(forName, limit > fixed ? limit - fixed : 0) << '.' << std::hex
             << std::setw(kRandomDigits) << std::setfill('0') << rng() << suffix;
        made = name.str();
        const int err = make(made);
        if (err == 0) return 0;
        const std::size_t kept = made.size() - fixed;  // what is left of forName
        if (err == ENAMETOOLONG && kept > 0) {
            // The folder's limit is shorter than it says: keep half as much.
            limit = fixed + kept / 2;
            continue;
        }
        if (err != EEXIST) return err;
    }
    return EEXIST;
}

// The errors by which a file system says that it makes no nameless files.
bool NoNamelessFiles(int err) { return err == EOPNOTSUPP || err == EISDIR || err == EINVAL || err == ENOSYS; }

}  // namespace

std::size_t NameLimit(SystemCalls& sys, int folder) {
    constexpr long kUsual = 255;
    const long limit = sys.NameMax(folder);
    return static_cast<std::size_t>(limit > 0 ? limit : kUsual);
}

std::string CutAtCharacter(const std::string& text, std::size_t size) {
    if (size >= text.size()) return text;
    while (size > 0 && (static_cast<unsigned char>(text[size]) & 0xC0) == 0x80) --size;
    return text.substr(0, size);
}

bool IsScratchName(const std::string& name, const std::string& suffix) {
    constexpr std::size_t kDigits = 16;
    if (name.size() < 3 + kDigits + suffix.size() || name[0] != '.' || !name.ends_with(suffix)) return false;
    const std::size_t digits = name.size() - suffix.size() - kDigits;
    return name[digits - 1] == '.' &&
           name.find_first_not_of("0123456789abcdef", digits) == name.size() - suffix.size();
}

int MakeScratchFile(SystemCalls& sys, int folder, const std::string& forName, const std::string& suffix, mode_t mode,
                    std::string& made, const BeforeNaming& before) {
    made.clear();
    // Without O_EXCL, so that it can be given a name once it is whole.
    const int nameless = sys.OpenNameless(folder, O_WRONLY, mode);
    if (nameless >= 0 || !NoNamelessFiles(errno)) return nameless;
    return MakeNamedScratchFile(sys, folder, forName, suffix, mode, made, before);
}

int MakeNamedScratchFile(SystemCalls& sys, int folder, const std::string& forName, const std::string& suffix,
                         mode_t mode, std::string& made, const BeforeNaming& before) {
    int fd = -1;
    const int err = TryScratchNames(sys, folder, forName, suffix, made, [&](const std::string& name) {
        if (before) before(name);
        fd = sys.OpenAt(folder, name, O_WRONLY | O_CREAT | O_EXCL, mode);
        return fd >= 0 ? 0 : errno;
    });
    errno = err;
    return err == 0 ? fd : -1;
}

int NameScratchFile(SystemCalls& sys, int folder, int fd, const std::string& forName, const std::string& suffix,
                    std::string& made, const BeforeNaming& before) {
    return TryScratchNames(sys, folder, forName, suffix, made, [&](const std::string& name) {
        if (before) before(name);
        return sys.LinkAt(fd, folder, name) == 0 ? 0 : errno;
    });
}

int RenameToScratchName(SystemCalls& sys, int folder, const std::string& from, const std::string& forName,
                        const std::string& suffix, std::string& made) {
    return TryScratchNames(sys, folder, forName, suffix, made, [&](const std::string& name) {
        return sys.RenameNoReplace(folder, from, name) == 0 ? 0 : errno;
    });
}

bool FolderTakesNewFiles(SystemCalls& sys, const std::string& dir) {
    const Descriptor folder(sys, sys.OpenAt(AT_FDCWD, dir, O_PATH | O_DIRECTORY));
    std::string probe;
    Descriptor made(sys, folder.open() ? MakeScratchFile(sys, folder.get(), "lintora-write-test", ".tmp", 0600, probe)
                                       : -1);
    if (!made.open()) return false;
    made.Close();
    if (!probe.empty()) sys.Unlink(folder.get(), probe);
    return true;
}

}  // namespace lintora
