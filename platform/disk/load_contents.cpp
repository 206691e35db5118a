// Reading a file on descriptors, under the readers' lock or, without locks, judged by its stamp.
#include "platform/disk/load_contents.h"

#include <cerrno>
#include <filesystem>

#include <fcntl.h>

#include "platform/disk/file_locks.h"
#include "platform/disk/reaching_the_file.h"
#include "platform/disk/save_record.h"

namespace lintora {

namespace {

bool HeldBySave(int error) { return error == EAGAIN || error == EACCES; }

LoadStop OpenFound(SystemCalls& sys, const FoundFile& found, Descriptor& fd, struct stat& status, int& error) {
    // Never waited on: a pipe or a device put there opens at once, and is refused.
    error = OpenOrdinary(sys, found.folder.get(), found.name, fd, status);
    if (!fd.open()) return error == ELOOP ? LoadStop::Replaced : LoadStop::Open;
    if (error != EINVAL) return error != 0 ? LoadStop::Open : LoadStop::None;
    error = 0;
    return S_ISDIR(status.st_mode) ? LoadStop::Folder : LoadStop::NotOrdinary;
}

}  // namespace

FileStamp StampOf(const struct stat& st) {
    auto ns = [](const timespec& t) { return std::int64_t{t.tv_sec} * 1'000'000'000 + t.tv_nsec; };
    return {true, st.st_mode, static_cast<std::uintmax_t>(st.st_size), ns(st.st_mtim), ns(st.st_ctim), st.st_dev,
            st.st_ino};
}

SaveHold SaveInPlaceHolds(SystemCalls& sys, const FoundFile& found, pid_t* holder) {
    Descriptor fd;
    struct stat status {};
    if (OpenOrdinary(sys, found.folder.get(), found.name, fd, status) != 0) return SaveHold::None;
    return SaveInPlaceHolds(sys, fd.get(), holder);
}

LoadResult NotReached(const SaveResult& way, const FoundFile& found, const std::string& path) {
    if (way.stop == SaveStop::Folder) return {.stop = LoadStop::Folder, .error = way.error};
    // Refused as the system refuses such a link.
    if (way.stop == SaveStop::LinkRefused) return {.stop = LoadStop::Open, .error = EACCES};
    // way.link: the folder the walk was in; none where it could not start. Only a folder on the way that may not
    // be searched hides the file.
    if (way.link.empty()) return {.stop = LoadStop::Unreachable, .error = way.error};
    if (way.error == EACCES) return {.stop = LoadStop::FolderClosed, .error = way.error, .where = way.link};
    if (way.error != ENOENT && way.error != ENOTDIR) return {.stop = LoadStop::Unreachable, .error = way.error};
    // The path itself is a link into a folder that is not there.
    if (!found.linkedTo.empty()) return {.stop = LoadStop::LinkToNothing, .error = way.error, .where = found.linkedTo};
    const std::string folder = std::filesystem::path(path).parent_path().string();
    return {.stop = LoadStop::FolderMissing, .error = way.error, .where = folder.empty() ? "." : folder};
}

LoadResult LoadContents(const std::string& path, SystemCalls& sys, LoadFor purpose) {
    FoundFile found;
    if (SaveResult way = FindFile(sys, path, found); !way.saved()) return NotReached(way, found, path);
    return LoadContents(sys, found, purpose);
}

LoadResult LoadContents(SystemCalls& sys, const FoundFile& found, LoadFor purpose) {
    int error = 0;
    // What a save of it that stopped left beside it.
    if (purpose == LoadFor::Opening) RemoveLeftScratchFiles(sys, found.folder.get(), found.folderPath);
    Descriptor fd;
    struct stat before {};
    if (const LoadStop stop = OpenFound(sys, found, fd, before, error); stop != LoadStop::None) {
        if (stop != LoadStop::Open || error != ENOENT) return {.stop = stop, .error = error};
        return {.stop = found.linkedTo.empty() ? LoadStop::NoFile : LoadStop::LinkToNothing, .error = error,
                .where = found.linkedTo};
    }
    // Refused: a save in place is writing the file, or another program holds it. Else: the file system keeps no locks.
    const bool locked = sys.LockRange(fd.get(), F_RDLCK, kReadersRange, kLockRangeLength) == 0;
    if (!locked && HeldBySave(error = errno)) {
        pid_t holder = 0;
        const bool other = SaveInPlaceHolds(sys, fd.get(), &holder, kReadersRange) == SaveHold::Locked;
        return {.stop = other ? LoadStop::Locked : LoadStop::SaveRunning, .error = error, .holder = holder};
    }
    LoadResult result;
    result.stamp = StampOf(before);
    result.contents.reserve(static_cast<std::size_t>(before.st_size));
    error = ReadWhole(sys, fd.get(), result.contents);
    if (locked) (void)sys.LockRange(fd.get(), F_UNLCK, kReadersRange, kLockRangeLength);
    // A network share refuses the read of a file that a save holds.
    if (error) return {.stop = HeldBySave(error) ? LoadStop::SaveRunning : LoadStop::Read, .error = error};
    struct stat after {};
    if (!locked && (sys.Status(fd.get(), after) != 0 || StampOf(after) != result.stamp))
        return {.stop = LoadStop::SaveRunning};
    return result;
}

}  // namespace lintora
