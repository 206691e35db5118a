// Reading a file on descriptors, under the readers' lock or, without locks, judged by its stamp.
#include "platform/disk/load_contents.h"

#include <cerrno>

#include <fcntl.h>

#include "platform/disk/file_locks.h"
#include "platform/disk/reaching_the_file.h"
#include "platform/disk/save_record.h"

namespace lintora {

namespace {

LoadResult Stopped(LoadStop stop, int error = 0) {
    LoadResult result;
    result.stop = stop;
    result.error = error;
    return result;
}

// What the walk to the file met, as a reason not to read it.
LoadStop WayStop(const SaveResult& way, int& error) {
    error = way.error;
    if (way.stop == SaveStop::Folder) return LoadStop::Folder;
    if (way.stop != SaveStop::LinkRefused) return LoadStop::Unreachable;
    error = EACCES;  // as the system refuses such a link
    return LoadStop::Open;
}

bool HeldBySave(int error) { return error == EAGAIN || error == EACCES; }

LoadStop OpenFound(SystemCalls& sys, const FoundFile& found, Descriptor& fd, struct stat& status, int& error) {
    // Never waited on: a pipe or a device put there opens at once, and is refused.
    const int opened = sys.OpenAt(found.folder.get(), found.name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
    error = errno;
    fd = Descriptor(sys, opened);
    if (!fd.open()) return error == ELOOP ? LoadStop::Replaced : LoadStop::Open;
    if (sys.Status(fd.get(), status) != 0) {
        error = errno;
        return LoadStop::Open;
    }
    error = 0;
    if (S_ISDIR(status.st_mode)) return LoadStop::Folder;
    return S_ISREG(status.st_mode) ? LoadStop::None : LoadStop::NotOrdinary;
}

}  // namespace

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

SaveHold SaveInPlaceHolds(const std::string& path, SystemCalls& sys) {
    FoundFile found;
    return FindFile(sys, path, found).saved() ? SaveInPlaceHolds(sys, found) : SaveHold::None;
}

SaveHold SaveInPlaceHolds(SystemCalls& sys, const FoundFile& found) {
    Descriptor fd;
    struct stat status {};
    int error = 0;
    if (OpenFound(sys, found, fd, status, error) != LoadStop::None) return SaveHold::None;
    return SaveInPlaceHolds(sys, fd.get());
}

LoadResult NotReached(const SaveResult& way) {
    int error = 0;
    const LoadStop stop = WayStop(way, error);
    return Stopped(stop, error);
}

LoadResult LoadContents(const std::string& path, SystemCalls& sys, LoadFor purpose) {
    FoundFile found;
    if (SaveResult way = FindFile(sys, path, found); !way.saved()) return NotReached(way);
    return LoadContents(sys, found, purpose);
}

LoadResult LoadContents(SystemCalls& sys, const FoundFile& found, LoadFor purpose) {
    int error = 0;
    // What a save of it that stopped left beside it.
    if (purpose == LoadFor::Opening) RemoveLeftScratchFiles(sys, found.folder.get(), found.folderPath);
    Descriptor fd;
    struct stat before {};
    if (const LoadStop stop = OpenFound(sys, found, fd, before, error); stop != LoadStop::None)
        return Stopped(stop, error);
    // Refused: a save in place is writing the file. Any other failure: the file system keeps no locks.
    const bool locked = sys.LockRange(fd.get(), F_RDLCK, kReadersRange, kLockRangeLength) == 0;
    if (!locked && HeldBySave(errno)) return Stopped(LoadStop::SaveRunning, errno);
    LoadResult result;
    result.stamp = StampOf(before);
    result.contents.reserve(static_cast<std::size_t>(before.st_size));
    error = ReadWhole(sys, fd.get(), result.contents);
    if (locked) (void)sys.LockRange(fd.get(), F_UNLCK, kReadersRange, kLockRangeLength);
    // A network share refuses the read of a file that a save holds.
    if (error) return Stopped(HeldBySave(error) ? LoadStop::SaveRunning : LoadStop::Read, error);
    struct stat after {};
    if (!locked && (sys.Status(fd.get(), after) != 0 || StampOf(after) != result.stamp))
        return Stopped(LoadStop::SaveRunning);
    return result;
}

}  // namespace lintora
