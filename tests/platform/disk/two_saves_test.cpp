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
#include <sstream>
#include <string>
#include <utility>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/disk/file_locks.h"
#include "platform/disk/load_contents.h"
#include "platform/disk/save_contents.h"
#include "tests/support/as_user.h"
#include "tests/support/file_checks.h"
#include "tests/support/watched_system.h"

namespace lintora::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const std::string kOld = "0 HEAD\n0 @I1@ INDI\n1 NAME Anna /Lindqvist/\n0 TRLR\n";

// A save held at the call at until let go; where inPlace, no new file can
// be given the old one's owners, so the file is written in place; locks
// fail with lockError.
struct SlowSystem : WatchedSystem {
    std::promise<void> reached, letGo;
    bool passed = false;
    SlowSystem(const std::string& at, bool inPlace, int lockError = 0) {
        before = [this, at, inPlace, lockError](const std::string& call) {
            if (call == at && !std::exchange(passed, true)) reached.set_value(), letGo.get_future().wait();
            if (lockError && call.starts_with("lock ")) return lockError;
            return inPlace && call.starts_with("chown ") && !call.ends_with("family.lnt") ? EPERM : 0;
        };
    }
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
};

// Whichever of a save in place and a save by rename a slow disk holds,
// the other waits for it, and the file holds the work of the last to end.
TEST_F(TwoSavesTest, ASaveInPlaceAndASaveByRenameNeverInterleave) {
    for (const bool inPlaceFirst : {true, false}) {
        SCOPED_TRACE(inPlaceFirst ? "in place first" : "by rename first");
        std::ofstream(family, std::ios::binary) << kOld;
        SlowSystem first(inPlaceFirst ? "cut family.lnt" : "rename .family.lnt.*.tmp over family.lnt", inPlaceFirst);
        SlowSystem second("", !inPlaceFirst);
        auto one = Async([&] { return SaveContents(family.string(), Work("first"), first); });
        first.reached.get_future().wait();
        auto other = Async([&] { return SaveContents(family.string(), Work("second"), second); });
        EXPECT_EQ(other.wait_for(300ms), std::future_status::timeout) << "the other save did not wait";
        EXPECT_EQ(Bytes(family), kOld);
        first.letGo.set_value();
        EXPECT_TRUE(one.get().saved());
        EXPECT_TRUE(other.get().saved());
        EXPECT_EQ(Read(family), Work("second"));
        EXPECT_EQ(Left(), std::vector<std::string>{});
    }
}

// A program that takes no lock replaces the file while a save in place
// writes it: the save says its work was not saved, and leaves nothing.
TEST_F(TwoSavesTest, ASaveInPlaceWhoseFileWasReplacedMeanwhileSaysSo) {
    SlowSystem inPlace("sync family.lnt", true);
    auto saving = Async([&] { return SaveContents(family.string(), Work("Bob"), inPlace); });
    inPlace.reached.get_future().wait();
    std::ofstream(dir / "other.lnt", std::ios::binary) << Work("another program");
    fs::rename(dir / "other.lnt", family);
    inPlace.letGo.set_value();
    EXPECT_EQ(saving.get().stop, SaveStop::Overtaken);
    EXPECT_EQ(Read(family), Work("another program"));
    EXPECT_EQ(Left(), std::vector<std::string>{});
}

// Without locks a file is saved, both ways.
TEST_F(TwoSavesTest, NoLocksStopNoSave) {
    for (const bool inPlace : {true, false}) {
        SlowSystem noLocks("", inPlace, ENOLCK);
        EXPECT_TRUE(SaveContents(family.string(), Work(inPlace ? "in place" : "by rename"), noLocks).saved());
        EXPECT_EQ(Read(family), Work(inPlace ? "in place" : "by rename"));
    }
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
    SlowSystem inPlace("", true);
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
