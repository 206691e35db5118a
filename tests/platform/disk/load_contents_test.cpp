#include "platform/disk/load_contents.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <new>
#include <random>
#include <set>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/disk/file_reading.h"

namespace lintora::testing {
namespace {

namespace fs = std::filesystem;

// The system as the load meets it: every descriptor it holds is known, the
// file's own open, its lock and its reads can be made to do what another
// program or a file system would.
class ReadingSystem : public SystemCalls {
public:
    std::set<int> held;
    std::function<void()> beforeOpeningTheFile;
    int lockError = 0;  // the read lock fails with it
    std::function<int(int read)> onRead;  // an error for the read-th read, or 0
    int reads = 0;
    std::string closed;  // a folder the user may not open, as another user's
    int closedError = EACCES;  // how it is refused
    bool noWorkingFolder = false;  // it was removed

    int OpenAt(int dir, const std::string& name, int flags, mode_t mode) override {
        if (!(flags & O_PATH) && beforeOpeningTheFile) beforeOpeningTheFile();
        // Within it, whether named from outside or from its own descriptor.
        std::error_code ec;
        if (!closed.empty() && (name.rfind(closed + "/", 0) == 0 ||
                                fs::read_symlink("/proc/self/fd/" + std::to_string(dir), ec) == closed))
            return errno = closedError, -1;
        const int fd = SystemCalls::OpenAt(dir, name, flags, mode);
        if (fd >= 0) held.insert(fd);
        return fd;
    }
    int Close(int fd) override {
        held.erase(fd);
        return SystemCalls::Close(fd);
    }
    int LockRange(int fd, short type, off_t start, off_t length) override {
        if (lockError && type != F_UNLCK) {
            errno = lockError;
            return -1;
        }
        return SystemCalls::LockRange(fd, type, start, length);
    }
    int Access(int dir, const std::string& name, int mode) override {
        return name == closed ? (errno = EACCES, -1) : SystemCalls::Access(dir, name, mode);
    }
    int CurrentFolder(std::string& folder) override {
        return noWorkingFolder ? (errno = ENOENT, -1) : SystemCalls::CurrentFolder(folder);
    }
    ssize_t ReadAt(int fd, char* into, std::size_t size, off_t at) override {
        if (const int error = onRead ? onRead(++reads) : 0) {
            errno = error;
            return -1;
        }
        return SystemCalls::ReadAt(fd, into, size, at);
    }
};

class LoadContentsTest : public ::testing::Test {
protected:
    fs::path dir;
    ReadingSystem sys;
    std::string path;
    const std::string family = "0 HEAD\r\n1 CHAR ANSEL\r\n0 @I1@ INDI\r\n1 NAME Anna /Berg/\r\n0 TRLR\r\n";

    void SetUp() override {
        std::random_device rd;
        dir = fs::temp_directory_path() / ("lintora-load-" + std::to_string(rd()) + std::to_string(rd()));
        fs::create_directories(dir);
        setenv("XDG_STATE_HOME", (dir / "state").c_str(), 1);  // where the program keeps its records
        path = (dir / "family.ged").string();
        std::ofstream(path, std::ios::binary) << family;
    }
    void TearDown() override {
        EXPECT_TRUE(sys.held.empty()) << sys.held.size() << " descriptors left open";
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    // A write lock, as a save holds its file; false when another description holds a lock.
    bool WriteLockFree() const {
        const int fd = ::open(path.c_str(), O_RDWR);
        struct flock whole {};
        whole.l_type = F_WRLCK;
        const bool free = ::fcntl(fd, F_OFD_SETLK, &whole) == 0;
        ::close(fd);
        return free;
    }
};

TEST_F(LoadContentsTest, AnOrdinaryFileIsReadWholeWithItsStampAndLeftFree) {
    fs::create_symlink("family.ged", dir / "link.ged");
    const LoadResult loaded = LoadContents((dir / "link.ged").string(), sys);
    ASSERT_EQ(loaded.stop, LoadStop::None);
    EXPECT_EQ(loaded.contents, family);
    EXPECT_EQ(loaded.stamp, StampOfFile(path));
    EXPECT_TRUE(WriteLockFree());
    FoundFile found;  // through the relative link: its folder, never named after the link
    EXPECT_TRUE(FindFile(sys, (dir / "link.ged").string(), found).saved() && found.folderPath == dir.string());
}

// What stands at the path is judged on the descriptor opened: a folder, a
// pipe swapped in after the walk (never waited on for a writer), a link
// swapped in, nothing at all; each leaves no descriptor open.
TEST_F(LoadContentsTest, WhatIsNoOrdinaryFileIsRefusedAtOnce) {
    fs::create_directory(dir / "trees");
    EXPECT_EQ(LoadContents((dir / "trees").string(), sys).stop, LoadStop::Folder);
    EXPECT_EQ(LoadContents((dir / "none.ged").string(), sys).error, ENOENT);
    // Looked at or walked, a folder that shuts the user out is named, and one not there; a removed working folder not.
    sys.closed = (dir / "trees").string();
    for (const LoadResult& behind : {LookAtFile(sys.closed + "/1850/family.ged", sys),
                                     LoadContents(sys.closed + "/1850/family.ged", sys)})
        EXPECT_EQ(std::pair(behind.stop, behind.where), std::pair(LoadStop::FolderClosed, sys.closed));
    fs::create_directory_symlink("nowhere", dir / "gone");  // on the way to the file: no link to nothing
    const LoadResult noFolder = LoadContents((dir / "gone" / "family.ged").string(), sys);
    EXPECT_EQ(std::pair(noFolder.stop, noFolder.where), std::pair(LoadStop::FolderMissing, (dir / "gone").string()));
    sys.closedError = ENOTDIR;  // as a share says of a file where a folder should be
    EXPECT_EQ(LoadContents(sys.closed + "/1850/family.ged", sys).stop, LoadStop::FolderMissing);
    sys.noWorkingFolder = true;
    EXPECT_EQ(LoadContents("family.ged", sys).stop, LoadStop::Unreachable);

    sys.beforeOpeningTheFile = [&] {
        fs::remove(path);
        ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    };
    auto loading = std::async(std::launch::async, [&] { return LoadContents(path, sys); });
    if (loading.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        const int writer = ::open(path.c_str(), O_WRONLY | O_NONBLOCK);  // lets the open go on
        ::close(writer);
        FAIL() << "the open waited on a pipe";
    }
    const LoadResult pipe = loading.get();
    EXPECT_EQ(pipe.stop, LoadStop::NotOrdinary);

    sys.beforeOpeningTheFile = [&] {
        fs::remove(path);
        fs::create_symlink("/etc/passwd", path);
    };
    const LoadResult swapped = LoadContents(path, sys);
    EXPECT_EQ(swapped.stop, LoadStop::Replaced);
    EXPECT_EQ(swapped.contents, "");
}

// A save holds its file with a write lock: the load reads nothing of it.
// An flock, which anyone who may read the file can take, stops nothing.
TEST_F(LoadContentsTest, AFileASaveHoldsIsNotReadAndAnFlockStopsNothing) {
    const int save = ::open(path.c_str(), O_RDWR);
    struct flock whole {};
    whole.l_type = F_WRLCK;
    whole.l_start = kReadersRange;  // as a save holds it while it writes
    ASSERT_EQ(::fcntl(save, F_OFD_SETLK, &whole), 0);
    const LoadResult during = LoadContents(path, sys);
    EXPECT_EQ(during.stop, LoadStop::SaveRunning);
    EXPECT_EQ(during.contents, "");
    EXPECT_EQ(sys.reads, 0);
    whole.l_start = 0;  // all of it, as another program locks it
    EXPECT_TRUE(::fcntl(save, F_OFD_SETLK, &whole) == 0 && LoadContents(path, sys).stop == LoadStop::Locked);
    ::close(save);

    const int reader = ::open(path.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(reader, LOCK_EX), 0);
    EXPECT_EQ(LoadContents(path, sys).contents, family);
    ::close(reader);
}

// Where the file system keeps no locks, a file that changed while it was
// read was being saved; a read refused by a share during a save says so
// too, and a failing disk is told as a failed read.
TEST_F(LoadContentsTest, WithoutLocksTheStampTellsASaveAndRefusedReadsAreSaves) {
    for (const int noLocks : {ENOLCK, EINVAL, EOPNOTSUPP}) {
        std::ofstream(path, std::ios::binary) << family;
        sys.lockError = noLocks;
        sys.onRead = nullptr;
        EXPECT_EQ(LoadContents(path, sys).contents, family) << noLocks;
        sys.reads = 0;
        sys.onRead = [&](int read) {
            if (read == 1) std::ofstream(path, std::ios::binary | std::ios::app) << "1 NAME";
            return 0;
        };
        EXPECT_EQ(LoadContents(path, sys).stop, LoadStop::SaveRunning) << noLocks;
    }
    sys.lockError = 0;
    const std::vector<std::pair<int, LoadStop>> refusals{
        {EACCES, LoadStop::SaveRunning}, {EAGAIN, LoadStop::SaveRunning}, {EIO, LoadStop::Read}};
    for (const auto& [error, stop] : refusals) {
        sys.onRead = [error](int) { return error; };
        const LoadResult refused = LoadContents(path, sys);
        EXPECT_EQ(refused.stop, stop) << error;
        EXPECT_EQ(refused.error, error);
        EXPECT_TRUE(WriteLockFree());
    }
}

// Memory that runs out half-way through the read leaves no descriptor and
// no lock behind: the next save of the file is not held up.
TEST_F(LoadContentsTest, AReadThatThrowsLeavesNoDescriptorAndNoLock) {
    sys.onRead = [](int) -> int { throw std::bad_alloc(); };
    EXPECT_THROW(LoadContents(path, sys), std::bad_alloc);
    EXPECT_TRUE(WriteLockFree());
}

}  // namespace
}  // namespace lintora::testing
