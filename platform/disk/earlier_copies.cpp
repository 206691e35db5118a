#include "platform/disk/earlier_copies.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <utility>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/disk/owners_and_access.h"
#include "platform/disk/scratch_file.h"
#include "platform/settings_store.h"

namespace lintora {

namespace fs = std::filesystem;

namespace {

constexpr char kEarlier[] = " (earlier contents";
constexpr int kMostCopies = 9999;

// What the copies of one file are called: a label, then the words, a number
// where needed, then the file's extension (so that a copy opens as the file
// did).
struct CopyNaming {
    std::string label, extension;
};

CopyNaming NamingFor(const std::string& name) {
    constexpr std::size_t kLongest = 16;  // beyond this it is no extension but part of the name
    const fs::path file(name);
    const std::string extension = file.extension().string();
    if (extension.size() > kLongest) return {name, ""};
    return {file.stem().string(), extension};
}

// The text of a path in a file name: "/" as "∕", and signs a file name may
// not hold in the program (or that would read as those) as "%" codes, so
// that no two paths read alike.
std::string Escaped(const std::string& text) {
    static const std::string kSlash = "\u2215";
    std::string out;
    for (std::size_t at = 0; at < text.size(); ++at) {
        const char c = text[at];
        if (text.compare(at, kSlash.size(), kSlash) == 0) {
            out += "%E2%88%95";
            at += kSlash.size() - 1;
        } else if (c == '/') {
            out += kSlash;
        } else if (c == '%' || c == ';' || c == '<' || c == '=' || c == '>' || c == '?' || c == '[' || c == ']' ||
                   c == '*') {
            char code[4];
            std::snprintf(code, sizeof code, "%%%02X", static_cast<unsigned char>(c));
            out += code;
        } else {
            out += c;
        }
    }
    return out;
}

// In the user's folder a copy's name says whose it is, folder and all.
CopyNaming NamingInCopiesFolder(const std::string& folderPath, const std::string& name) {
    CopyNaming naming = NamingFor(name);
    naming.label = Escaped(naming.label) + " from " + Escaped(folderPath);
    return naming;
}

// The label as it fits the folder's name limit: cut at a character, with a
// short hash of the whole where it is cut.
std::string FittedLabel(const CopyNaming& naming, std::size_t limit) {
    const std::size_t tail = std::string(kEarlier).size() + std::string(" 9999)").size() + naming.extension.size();
    if (naming.label.size() + tail <= limit) return naming.label;
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (const char c : naming.label) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    char mark[16];
    std::snprintf(mark, sizeof mark, " %08x", static_cast<unsigned>(hash & 0xffffffffu));
    const std::size_t room = limit > tail + std::string(mark).size() ? limit - tail - std::string(mark).size() : 0;
    return CutAtCharacter(naming.label, room) + mark;
}

std::string CopyName(const CopyNaming& naming, int number, std::size_t limit) {
    return FittedLabel(naming, limit) + kEarlier + (number > 1 ? " " + std::to_string(number) : "") + ")" +
           naming.extension;
}

bool IsCopyName(const CopyNaming& naming, const std::string& name, std::size_t limit) {
    const std::string before = FittedLabel(naming, limit) + kEarlier, after = ")" + naming.extension;
    if (name.size() < before.size() + after.size() || !name.starts_with(before) || !name.ends_with(after))
        return false;
    const std::string number = name.substr(before.size(), name.size() - before.size() - after.size());
    return number.empty() ||
           (number.size() > 1 && number[0] == ' ' && number.find_first_not_of("0123456789", 1) == std::string::npos);
}

// The user's folder for copies, made where it is not there yet.
Descriptor OpenCopiesFolder(SystemCalls& sys, int& error) {
    const fs::path folder = CopiesFolder();
    std::error_code ec;
    fs::create_directories(folder.parent_path(), ec);
    // His alone; one that is there stays as it is.
    if (sys.MakeFolder(AT_FDCWD, folder.string(), S_IRWXU) != 0 && errno != EEXIST) {
        error = errno;
        return {};
    }
    Descriptor opened(sys, sys.OpenAt(AT_FDCWD, folder.string(), O_PATH | O_DIRECTORY));
    error = opened.open() ? 0 : errno;
    return opened;
}

// Gives the copy open at fd (at scratch, or nameless where scratch is "")
// its name; 0, or the error.
int NameCopy(SystemCalls& sys, int folder, int fd, const std::string& scratch, const CopyNaming& naming,
             std::string& name) {
    const std::size_t limit = NameLimit(sys, folder);
    for (int number = 1; number <= kMostCopies; ++number) {
        name = CopyName(naming, number, limit);
        if ((scratch.empty() ? sys.LinkAt(fd, folder, name) : sys.RenameNoReplace(folder, scratch, name)) == 0)
            return 0;
        if (errno != EEXIST) return errno;
    }
    return EEXIST;
}

// Makes the copy in folder; 0, or the error that kept it from being made.
int MakeCopyIn(SystemCalls& sys, Descriptor folder, const std::string& folderPath, const CopyNaming& naming,
               const OldFile& old, const std::string& before, EarlierCopy& copy) {
    std::string scratch, name;
    Descriptor file(sys, MakeScratchFile(sys, folder.get(), naming.label + naming.extension, ".tmp",
                                         S_IRUSR | S_IWUSR, scratch));
    if (!file.open()) return errno;
    int err = WriteWhole(sys, file.get(), before);
    if (err == 0 && sys.Sync(file.get()) != 0) err = errno;
    if (err == 0) {
        GiveCopyAccess(sys, file.get(), old.fd.get(), old.status);
        // Before it has its name, so that no one ever sees it unlocked while
        // its save runs; where the system keeps no locks it goes without.
        (void)sys.Lock(file.get(), LOCK_EX);
        err = NameCopy(sys, folder.get(), file.get(), scratch, naming, name);
    }
    if (err != 0) {
        (void)file.Close();
        if (!scratch.empty()) (void)sys.Unlink(folder.get(), scratch);
        return err;
    }
    // Its name on disk too; a folder that will not say so is no reason to stop.
    (void)SyncFolder(sys, folder.get());
    const std::string path = (fs::path(folderPath) / name).string();
    copy = EarlierCopy(sys, std::move(folder), std::move(file), path, name);
    return 0;
}

// Opens a copy to look at its lock, without waiting on it (copy stays
// closed where the user may not open it); false for no ordinary file.
bool OpenCopy(SystemCalls& sys, int folder, const std::string& name, Descriptor& copy) {
    const Descriptor at(sys, sys.OpenAt(folder, name, O_PATH | O_NOFOLLOW));
    struct stat status {};
    if (!at.open() || sys.Status(at.get(), status) != 0 || !S_ISREG(status.st_mode)) return false;
    const int flags = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY;
    copy = Descriptor(sys, sys.OpenAt(folder, name, O_RDONLY | flags));
    if (!copy.open()) copy = Descriptor(sys, sys.OpenAt(folder, name, O_WRONLY | flags));
    return true;
}

// The copies named for naming in folder.
void LookIn(SystemCalls& sys, int folder, const std::string& folderPath, const CopyNaming& naming,
            std::vector<FoundCopy>& copies) {
    Descriptor entries(sys, sys.OpenAt(folder, ".", O_RDONLY | O_DIRECTORY));
    DIR* listing = entries.open() ? ::fdopendir(entries.get()) : nullptr;
    if (!listing) return;
    entries.Release();  // the listing closes it
    const std::size_t limit = NameLimit(sys, folder);
    while (const dirent* entry = ::readdir(listing)) {
        const std::string name = entry->d_name;
        Descriptor copy;
        if (!IsCopyName(naming, name, limit) || !OpenCopy(sys, folder, name, copy)) continue;
        const bool locked = copy.open() && sys.Lock(copy.get(), LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
        copies.push_back({(fs::path(folderPath) / name).string(), locked});
    }
    ::closedir(listing);
}

}  // namespace

std::string CopiesFolder() { return (fs::path(UserBaseFolder("XDG_STATE_HOME", ".local/state")) / "Lintora").string(); }

EarlierCopy::EarlierCopy(SystemCalls& sys, Descriptor folder, Descriptor file, std::string path, std::string name)
    : sys_(&sys), folder_(std::move(folder)), file_(std::move(file)), path_(std::move(path)), name_(std::move(name)) {}

void EarlierCopy::Remove() {
    if (!sys_) return;
    (void)sys_->Unlink(folder_.get(), name_);
    (void)SyncFolder(*sys_, folder_.get());
    // Its lock goes last: until then no one takes it for a stopped save's.
    (void)file_.Close();
}

SaveResult KeepEarlierContents(SystemCalls& sys, const FoundFile& found, const OldFile& old,
                               const std::string& before, EarlierCopy& copy) {
    Descriptor beside(sys, sys.OpenAt(found.folder.get(), ".", O_PATH | O_DIRECTORY));
    const int err = beside.open() ? MakeCopyIn(sys, std::move(beside), found.folderPath, NamingFor(found.name), old,
                                               before, copy)
                                  : errno;
    if (err == 0) return {};
    SaveResult result = Stopped(SaveStop::MakeCopy, err, true);
    if (err != EACCES && err != EPERM) return result;
    // Where its folder takes no new files, the user's own folder keeps it.
    result.copyFolder = CopiesFolder();
    Descriptor folder = OpenCopiesFolder(sys, result.copyFolderError);
    if (folder.open())
        result.copyFolderError = MakeCopyIn(sys, std::move(folder), result.copyFolder,
                                            NamingInCopiesFolder(found.folderPath, found.name), old, before, copy);
    return result.copyFolderError == 0 ? SaveResult{} : result;
}

std::vector<FoundCopy> FindEarlierCopies(const std::string& path) {
    SystemCalls& sys = RealSystem();
    std::vector<FoundCopy> copies;
    FoundFile found;
    if (!FindFile(sys, path, found).saved()) return copies;
    LookIn(sys, found.folder.get(), found.folderPath, NamingFor(found.name), copies);
    const Descriptor folder(sys, sys.OpenAt(AT_FDCWD, CopiesFolder(), O_PATH | O_DIRECTORY));
    if (folder.open())
        LookIn(sys, folder.get(), CopiesFolder(), NamingInCopiesFolder(found.folderPath, found.name), copies);
    return copies;
}

void RemoveEarlierCopy(const std::string& path) {
    SystemCalls& sys = RealSystem();
    const fs::path copyPath(path);
    const Descriptor folder(sys, sys.OpenAt(AT_FDCWD, copyPath.parent_path().string(), O_PATH | O_DIRECTORY));
    Descriptor copy;
    // Only one whose save is not running, and that the user may open to tell.
    if (folder.open() && OpenCopy(sys, folder.get(), copyPath.filename().string(), copy) && copy.open() &&
        sys.Lock(copy.get(), LOCK_EX | LOCK_NB) == 0)
        (void)sys.Unlink(folder.get(), copyPath.filename().string());
}

}  // namespace lintora
