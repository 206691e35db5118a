// Two saves of one file at once: a save in place and any other save never
// interleave, and every save that says "saved" left its work in the file
// the name reaches.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <future>
#include <random>
#include <semaphore>
#include <sstream>
#include <string>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/disk/file_locks.h"
#include "platform/disk/load_contents.h"
#include "platform/disk/save_contents.h"
#include "platform/disk/save_record.h"
#include "tests/support/as_user.h"
#include "tests/support/file_checks.h"
#include "tests/support/watched_system.h"

namespace lintora::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const std::string kOld = "0 HEAD\n0 @I1@ INDI\n1 NAME Anna /Lindqvist/\n0 TRLR\n";

// A save held at each of the calls at (their first time) until let go; where inPlace, written in place; locks fail
// with lockError, as on a network file system that keeps none, whose descriptor shows a save its own pages.
struct SlowSystem : WatchedSystem {
    std::string pages;
    int own = -1;
    std::counting_semaphore<> reached{0}, go{0};
    int lockError;
    SlowSystem(std::vector<std::string> at, bool inPlace, int lockError = 0) : lockError(lockError) {
        before = [this, at, inPlace](const std::string& call) mutable {
            if (!at.empty() && call == at.front()) at.erase(at.begin()), reached.release(), go.acquire();
            if (this->lockError && call.starts_with("lock ")) return this->lockError;
            return inPlace && call.starts_with("chown ") && !call.ends_with("family.lnt") ? EPERM : 0;
        };
    }
    ssize_t WriteAt(int fd, const char* from, std::size_t size, off_t at) override {
        if (lockError && NameOf(fd) == "family.lnt") own = fd, pages.replace(at, size, from, size);
        return WatchedSystem::WriteAt(fd, from, size, at);
    }
    ssize_t ReadAt(int fd, char* into, std::size_t size, off_t at) override {
        return fd == own ? static_cast<ssize_t>(pages.copy(into, size, at)) : WatchedSystem::ReadAt(fd, into, size, at);
    }
    int Close(int fd) override { return own = fd == own ? -1 : own, WatchedSystem::Close(fd); }
};

class TwoSavesTest : public ::testing::Test {
protected:
    fs::path dir = fs::temp_directory_path() / ("lintora-two-" + std::to_string(std::random_device{}()));
    fs::path family = dir / "family.lnt";
    void SetUp() override {
        fs::create_directories(dir / "state");
        setenv("XDG_STATE_HOME", (dir / "state").c_str(), 1);
        std::ofstream(family, std::ios::binary) << kOld;
    }
    void TearDown() override { fs::remove_all(dir, ec); }
    std::error_code ec;
    // The files left beside the file and in the state folder.
    std::vector<std::string> Left() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::recursive_directory_iterator(dir))
            if (entry.is_regular_file() && entry.path() != family) names.push_back(entry.path().filename().string());
        return names;
    }
    // What the file holds, read past any lock.
    static std::string Bytes(const fs::path& p) { return (std::ostringstream() << std::ifstream(p).rdbuf()).str(); }
    static std::string Work(const std::string& who) { return kOld + "1 NOTE saved by " + who + "\n"; }
    template <class F> static auto Async(F&& f) { return std::async(std::launch::async, std::forward<F>(f)); }
    static SaveHold SaveInPlaceHolds(const fs::path& p) {
        return lintora::SaveInPlaceHolds(RealSystem(), Descriptor(RealSystem(), ::open(p.c_str(), O_RDONLY)).get());
    }
};

// Whichever of a save in place and a save by rename a slow disk holds,
// the other waits for it, and the file holds the work of the last to end.
TEST_F(TwoSavesTest, ASaveInPlaceAndASaveByRenameNeverInterleave) {
    for (const bool inPlaceFirst : {true, false}) {
        SCOPED_TRACE(inPlaceFirst ? "in place first" : "by rename first");
        std::ofstream(family, std::ios::binary) << kOld;
        SlowSystem first({inPlaceFirst ? "cut family.lnt" : "rename .family.lnt.*.tmp over family.lnt"}, inPlaceFirst);
        SlowSystem second({}, !inPlaceFirst);
        auto one = Async([&] { return SaveContents(family.string(), Work("first"), first); });
        first.reached.acquire();
        auto other = Async([&] { return SaveContents(family.string(), Work("second"), second); });
        EXPECT_EQ(other.wait_for(300ms), std::future_status::timeout) << "the other save did not wait";
        EXPECT_EQ(Bytes(family), kOld);
        first.go.release();
        EXPECT_TRUE(one.get().saved());
        EXPECT_TRUE(other.get().saved());
        EXPECT_EQ(Read(family), Work("second"));
        EXPECT_EQ(Left(), std::vector<std::string>{});
    }
}

// A program that takes no lock replaces the file while a save in place
// writes it: the save says its work was not saved, and leaves nothing.
TEST_F(TwoSavesTest, ASaveInPlaceWhoseFileWasReplacedMeanwhileSaysSo) {
    SlowSystem inPlace({"sync family.lnt"}, true);
    auto saving = Async([&] { return SaveContents(family.string(), Work("Bob"), inPlace); });
    inPlace.reached.acquire();
    std::ofstream(dir / "other.lnt", std::ios::binary) << Work("another program");
    fs::rename(dir / "other.lnt", family);
    inPlace.go.release();
    EXPECT_EQ(saving.get().stop, SaveStop::Overtaken);
    EXPECT_EQ(Read(family), Work("another program"));
    EXPECT_EQ(Left(), std::vector<std::string>{});
}

// Without locks (each error of a file system that keeps none) a file is saved both ways, and read.
TEST_F(TwoSavesTest, NoLocksStopNoSaveAndNoRead) {
    for (const int error : {ENOLCK, EINVAL, EOPNOTSUPP})
        for (const bool inPlace : {true, false}) {
            const std::string what = std::strerror(error) + std::string(inPlace ? ", in place" : ", by rename");
            SlowSystem noLocks({}, inPlace, error);
            EXPECT_TRUE(SaveContents(family.string(), Work(what), noLocks).saved()) << what;
            EXPECT_EQ(LoadContents(family.string(), noLocks).contents, Work(what));
        }
    EXPECT_EQ(Left(), std::vector<std::string>{});
}

// Two saves in place, no locks: one that sees another wrote since its clear writes nothing; where both wrote before the
// first read the file back (through an open of its own), the first says so and keeps its copy, its record marked.
TEST_F(TwoSavesTest, WithoutLocksASaveInPlaceThatFindsAnothersBytesSaysSo) {
    for (const bool interleaved : {false, true}) {
        SCOPED_TRACE(interleaved ? "both wrote before the first read back" : "one wrote after the other's clear");
        TearDown(), SetUp();
        SlowSystem a({"write family.lnt", interleaved ? "sync family.lnt" : ""}, true, ENOLCK);
        SlowSystem b({interleaved ? "write family.lnt" : "write .save.*.record"}, true, ENOLCK);
        auto told = [&](const std::string& work, SlowSystem& sys) {
            const SaveResult result = SaveContents(family.string(), work, sys);
            return result.saved() ? "saved" : result.stop == SaveStop::Mixed ? "mixed, kept in " + result.copy : "?";
        };
        auto first = Async([&] { return told(Work("Anna, whose notes are the longer"), a); });
        a.reached.acquire();
        auto second = Async([&] { return told(Work("Bob"), b); });
        b.reached.acquire();
        a.go.release();
        if (interleaved) a.reached.acquire(), b.go.release(), second.wait(), a.go.release();
        else first.wait(), b.go.release();
        const fs::path copy = dir / "family (earlier contents).lnt";
        EXPECT_EQ(first.get(), !interleaved ? "saved" : "mixed, kept in " + copy.string());
        EXPECT_EQ(second.get(), "mixed, kept in " + (dir / "family (earlier contents 2).lnt").string());
        EXPECT_EQ(Read(family) == Work("Anna, whose notes are the longer"), !interleaved);  // where she alone was told
        EXPECT_EQ(Left().size(), interleaved ? 4u : 2u);  // the copies and their records
        const std::vector<FoundRecord> records = SaveRecordsOf(RealSystem(), family.string());
        EXPECT_TRUE(!interleaved || (Read(copy) == kOld && records.at(0).record.overtaken));
    }
}

// Only saves lock the save range alone: held up there (by a save by rename's shared lock, or a save in place's of
// another user), a save says another save runs; held by a lock on the whole file, that the file is held open.
TEST_F(TwoSavesTest, ASaveHeldUpOnTheSaveRangeSaysAnotherSaveRuns) {
    auto heldBy = [&](short kind, off_t start, bool inPlace, const std::string& name) {
        return Async([=, this] {
            std::ofstream(dir / name, std::ios::binary) << kOld;
            const int fd = ::open((dir / name).c_str(), O_RDWR);
            const struct flock lock {kind, SEEK_SET, start, start ? kLockRangeLength : 0, 0};
            SlowSystem sys({}, inPlace);
            sys.passesTime = true;
            const bool held = ::fcntl(fd, F_OFD_SETLK, &lock) == 0;
            const SaveStop said = held ? SaveContents((dir / name).string(), Work("Bob"), sys).stop : SaveStop::None;
            return ::close(fd), said;
        });
    };
    auto byRename = heldBy(F_RDLCK, kSaveRange, true, "a.lnt"), inPlace = heldBy(F_WRLCK, kSaveRange, false, "b.lnt"),
         other = heldBy(F_WRLCK, 0, false, "c.lnt");
    EXPECT_EQ(std::tuple(byRename.get(), inPlace.get(), other.get()),
              std::tuple(SaveStop::OtherSave, SaveStop::OtherSave, SaveStop::HeldOpen));
}

// The same between users: Bob, of the family group, saves Anna's 0664 file
// in the 2775 group folder in place (a new file could not be hers), held
// before he clears it; Anna meanwhile saves it by rename, and waits.
TEST_F(TwoSavesTest, AMemberSavingInPlaceAndTheOwnerSavingByRenameTakeTurns) {
    if (::geteuid() != 0) GTEST_SKIP() << "only root can act as another user";
    constexpr uid_t kAnna = 1002, kBob = 1003;
    constexpr gid_t kFamily = 2000;
    for (const fs::path& shared : {dir, dir / "state"}) ::chmod(shared.c_str(), 0777);
    fs::create_directory(dir / "family");
    family = dir / "family" / "family.lnt";
    std::ofstream(family, std::ios::binary) << kOld;
    ASSERT_EQ(::chown((dir / "family").c_str(), kAnna, kFamily) | ::chmod((dir / "family").c_str(), 02775), 0);
    ASSERT_EQ(::chown(family.c_str(), kAnna, kFamily) | ::chmod(family.c_str(), 0664), 0);
    int paused[2], go[2];
    ASSERT_EQ(::pipe(paused) | ::pipe(go), 0);
    // Saves as uid, with a state folder of his own, held at pauseAt.
    auto saveAs = [&](uid_t uid, const std::string& who, const std::string& pauseAt) {
        return std::async(std::launch::async, AsUser, uid, std::vector<gid_t>{uid, kFamily}, [&, who, pauseAt] {
            ::setenv("XDG_STATE_HOME", (dir / "state" / who).c_str(), 1);
            WatchedSystem sys;
            sys.before = [&](const std::string& call) {
                char c = 0;
                if (call == pauseAt && ::write(paused[1], "p", 1) == 1) (void)!::read(go[0], &c, 1);
                return 0;
            };
            const SaveResult result = SaveContents(family.string(), Work(who), sys);
            return who + (result.saved() ? " saved" : ": " + std::string(std::strerror(result.error)));
        });
    };
    auto bob = saveAs(kBob, "Bob", "cut family.lnt");
    char c = 0;
    ASSERT_EQ(::read(paused[0], &c, 1), 1);
    auto anna = saveAs(kAnna, "Anna", "");
    EXPECT_EQ(anna.wait_for(300ms), std::future_status::timeout) << "Anna's save did not wait for Bob's";
    ASSERT_EQ(::write(go[1], "g", 1), 1);
    EXPECT_EQ(bob.get(), "Bob saved");
    EXPECT_EQ(anna.get(), "Anna saved");
    for (const int fd : {paused[0], paused[1], go[0], go[1]}) ::close(fd);
    EXPECT_EQ(Bytes(family), Work("Anna"));
}

// A read holds up the write of a save in place, never a save by rename.
TEST_F(TwoSavesTest, AReadHoldsUpOnlyTheWriteOfASaveInPlace) {
    struct SlowRead : SystemCalls {
        std::promise<void> reached, letGo;
        bool passed = false;
        ssize_t ReadAt(int fd, char* into, std::size_t size, off_t at) override {
            if (!std::exchange(passed, true)) reached.set_value(), letGo.get_future().wait();
            return SystemCalls::ReadAt(fd, into, size, at);
        }
    } beforeRename, afterRename;
    auto read = [&](SlowRead& sys) {
        auto reading = Async([&] { return LoadContents(family.string(), sys); });
        sys.reached.get_future().wait();
        return reading;
    };
    auto first = read(beforeRename);
    EXPECT_TRUE(SaveContents(family.string(), Work("rename")).saved());
    EXPECT_EQ(SaveInPlaceHolds(family.string()), SaveHold::None);
    auto second = read(afterRename);
    SlowSystem inPlace({}, true);
    auto saving = Async([&] { return SaveContents(family.string(), Work("in place"), inPlace); });
    EXPECT_EQ(saving.wait_for(300ms), std::future_status::timeout) << "the save in place did not wait for the read";
    EXPECT_EQ(SaveInPlaceHolds(family.string()), SaveHold::InPlace);
    beforeRename.letGo.set_value();
    afterRename.letGo.set_value();
    EXPECT_EQ(first.get().contents, kOld);
    EXPECT_EQ(second.get().contents, Work("rename"));
    EXPECT_TRUE(saving.get().saved());
    EXPECT_EQ(Read(family), Work("in place"));
    EXPECT_EQ(SaveInPlaceHolds(family.string()), SaveHold::None);
}

}  // namespace
}  // namespace lintora::testing
