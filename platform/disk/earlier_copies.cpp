// Copies of earlier contents (earlier_copies.h): written, recorded, then named; removed or kept once the save ends.
#include "platform/disk/earlier_copies.h"

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/disk/owners_and_access.h"
#include "platform/disk/scratch_file.h"

namespace lintora {

namespace fs = std::filesystem;

namespace {

constexpr char kEarlier[] = " (earlier contents";
constexpr int kMostCopies = 9999;

// What the copies of one file are called: a label, then the words, a number where needed, then the file's extension (so
// that a copy opens as the file did).
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

// The text of a path in a file name: "/" as "∕", and signs a file name may not hold in the program (or that would read
// as those) as "%" codes, so that no two paths read alike.
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

// The label as it fits the folder's name limit: cut at a character, with a short hash of the whole where it is cut.
std::string FittedLabel(const CopyNaming& naming, std::size_t limit) {
    const std::size_t tail = std::string(kEarlier).size() + std::string(" 9999)").size() + naming.extension.size();
    if (naming.label.size() + tail <= limit) return naming.label;
    const std::uint64_t hash = PathHash(naming.label);
    char mark[16];
    std::snprintf(mark, sizeof mark, " %08x", static_cast<unsigned>(hash & 0xffffffffu));
    const std::size_t room = limit > tail + std::string(mark).size() ? limit - tail - std::string(mark).size() : 0;
    return CutAtCharacter(naming.label, room) + mark;
}

std::string CopyName(const CopyNaming& naming, int number, std::size_t limit) {
    return FittedLabel(naming, limit) + kEarlier + (number > 1 ? " " + std::to_string(number) : "") + ")" +
           naming.extension;
}

// Makes the copy in folder, recorded through kept in records before it has its name; 0, the error that kept it from
// being made, or that of the record made negative.
int MakeCopyIn(SystemCalls& sys, Descriptor folder, const std::string& folderPath, const CopyNaming& naming,
               const OldFile& old, const std::string& before, const Descriptor& records, int recordsError,
               SaveRecord& record, KeptRecord& kept, EarlierCopy& copy) {
    std::string scratch, name;
    // Where the file system makes no nameless files, the scratch name is recorded before it is given, as every other: a
    // crash while the copy is written leaves nothing the next save or open cannot remove.
    ScratchRecord scratchRecord(sys, folderPath, records.get());
    Descriptor file(sys, MakeScratchFile(sys, folder.get(), naming.label + naming.extension, ".tmp",
                                         S_IRUSR | S_IWUSR, scratch,
                                         [&](const std::string& candidate) { scratchRecord.Note(candidate); }));
    if (!file.open()) {
        const int err = errno;
        scratchRecord.Remove();
        return err;
    }
    struct stat status {};
    int err = WriteWhole(sys, file.get(), before);
    if (err == 0 && sys.Sync(file.get()) != 0) err = errno;
    if (err == 0) {
        GiveCopyAccess(sys, file.get(), old.fd.get(), old.status);
        if (sys.Status(file.get(), status) != 0) err = errno;
    }
    record.copyId = IdOf(status);
    const std::size_t limit = NameLimit(sys, folder.get());
    // The first free name, recorded before the copy takes it: a copy with a
    // name is always one the program knows as its own.
    for (int number = 1; err == 0; ++number) {
        if (number > kMostCopies) {
            err = EEXIST;
            break;
        }
        name = CopyName(naming, number, limit);
        const Descriptor there(sys, sys.OpenAt(folder.get(), name, O_PATH | O_NOFOLLOW));
        if (there.open()) continue;
        if (errno != ENOENT) {
            err = errno;
            break;
        }
        record.copy = (fs::path(folderPath) / name).string();
        err = kept.made()       ? kept.Rewrite(record)
              : records.open() ? kept.Make(sys, records.get(), record)
                               : recordsError;
        if (err != 0) {
            err = -err;
            break;
        }
        // A nameless copy (scratch "") is linked in; a named one renamed.
        if ((scratch.empty() ? sys.LinkAt(file.get(), folder.get(), name)
                             : sys.RenameNoReplace(folder.get(), scratch, name)) == 0) {
            scratchRecord.Remove();
            break;
        }
        if (errno != EEXIST) err = errno;
    }
    if (err != 0) {
        (void)file.Close();
        if (scratch.empty() || sys.Unlink(folder.get(), scratch) == 0) scratchRecord.Remove();
        kept.Remove();
        return err;
    }
    // Its name on disk too; a folder that will not say so is no reason to
    // stop. Its record's folder was synced when the record was named.
    (void)SyncFolder(sys, folder.get());
    const std::string path = record.copy;
    copy = EarlierCopy(sys, std::move(folder), path, name, std::move(record), std::move(kept));
    return 0;
}

}  // namespace

EarlierCopy::EarlierCopy(SystemCalls& sys, Descriptor folder, std::string path, std::string name, SaveRecord record,
                         KeptRecord kept)
    : sys_(&sys),
      folder_(std::move(folder)),
      path_(std::move(path)),
      name_(std::move(name)),
      record_(std::move(record)),
      kept_(std::move(kept)) {}

void EarlierCopy::FileCleared(const struct stat& status) {
    record_.cutSeconds = status.st_mtim.tv_sec;
    record_.cutNanos = status.st_mtim.tv_nsec;
    if (kept_.made()) (void)kept_.SetCut(record_.cutSeconds, record_.cutNanos);
}

void EarlierCopy::Keep(bool overtaken) {
    record_.told = true;
    record_.overtaken = overtaken;
    if (kept_.made() && kept_.Rewrite(record_) != 0) kept_.Remove();
}

void EarlierCopy::Remove() {
    if (!sys_) return;
    (void)sys_->Unlink(folder_.get(), name_);
    // The record last: a copy without it would be no one's.
    kept_.Remove();
}

SaveResult KeepEarlierContents(SystemCalls& sys, const FoundFile& found, const OldFile& old,
                               const std::string& before, const std::string& contents, EarlierCopy& copy) {
    SaveRecord record;
    record.file = (fs::path(found.folderPath) / found.name).string();
    record.fileId = IdOf(old.status);
    record.linked = old.status.st_nlink > 1;
    record.copyLength = before.size();
    record.copyHash = CopyHash(before);
    record.newLength = contents.size();
    record.blocks = BlockHashes(contents);
    record.began = std::chrono::system_clock::to_time_t(sys.Now());
    auto unrecorded = [](int err) {
        SaveResult result = Stopped(SaveStop::Record, err, true);
        result.copyFolder = CopiesFolder();
        return result;
    };
    // Where the user's folder cannot be had, a copy that cannot be made beside the file says so first.
    int recordsError = 0;
    const Descriptor records = OpenCopiesFolder(sys, true, recordsError);
    KeptRecord kept;
    Descriptor beside(sys, sys.OpenAt(found.folder.get(), ".", O_PATH | O_DIRECTORY));
    const int err = beside.open() ? MakeCopyIn(sys, std::move(beside), found.folderPath, NamingFor(found.name), old,
                                               before, records, recordsError, record, kept, copy)
                                  : errno;
    if (err == 0) return {};
    if (err < 0) return unrecorded(-err);
    SaveResult result = Stopped(SaveStop::MakeCopy, err, true);
    if (err != EACCES && err != EPERM) return result;
    // Where its folder takes no new files, the user's own folder keeps it.
    result.copyFolder = CopiesFolder();
    // What a save stopped while it wrote a copy here left.
    if (records.open()) RemoveLeftScratchFiles(sys, records.get(), result.copyFolder, records.get());
    Descriptor folder(sys, records.open() ? sys.OpenAt(records.get(), ".", O_PATH | O_DIRECTORY) : -1);
    result.copyFolderError = !records.open() ? recordsError
                             : folder.open() ? MakeCopyIn(sys, std::move(folder), result.copyFolder,
                                                          NamingInCopiesFolder(found.folderPath, found.name), old,
                                                          before, records, recordsError, record, kept, copy)
                                             : errno;
    if (result.copyFolderError < 0) return unrecorded(-result.copyFolderError);
    return result.copyFolderError == 0 ? SaveResult{} : result;
}

}  // namespace lintora
