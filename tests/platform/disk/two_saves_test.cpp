// Two saves of one file at once, and reads meanwhile: a save in place and
// any other save never interleave, and every save that says "saved" left
// its work in the file the name reaches.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <utility>

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/disk/load_contents.h"
#include "platform/disk/save_contents.h"
#include "platform/disk/save_words.h"
#include "platform/disk/unfinished_saves.h"
#include "tests/support/as_user.h"
#include "tests/support/file_checks.h"
#include "tests/support/watched_system.h"

namespace lintora::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const std::string kOld = "0 HEAD\n0 @I1@ INDI\n1 NAME Anna /Lindqvist/\n0 TRLR\n";

// A slow disk: the first call it is asked at waits until it is let go.
struct Pause {
    std::promise<void> reached, letGo;
    bool passed = false;
    void Wait() {
        if (std::exchange(passed, true)) return;
        reached.set_value();
        letGo.get_future().wait();
    }
};

// A save held by a slow disk at one call; where refuseNewFile, the share
// gives a new file not the old one's owners, so the file is written in place.
struct SlowSystem : WatchedSystem, Pause {
    SlowSystem(const std::string& at, bool refuseNewFile) {
        before = [this, at, refuseNewFile](const std::string& call) {
            if (call == at) Wait();
            return refuseNewFile && call.starts_with("chown ") && !call.ends_with("family.lnt") ? EPERM : 0;
        };
    }
};

class TwoSavesTest : public ::testing::Test {
protected:
    fs::path dir, family;
    void SetUp() override {
        std::random_device rd;
        dir = fs::temp_directory_path() / ("lintora-two-" + std::to_string(rd()) + std::to_string(rd()));
        fs::create_directories(dir / "state");
        setenv("XDG_STATE_HOME", (dir / "state").c_str(), 1);
        family = dir / "family.lnt";
        std::ofstream(family, std::ios::binary) << kOld;
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    // What is left beside the file and in the state folder.
    std::vector<std::string> Left() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::recursive_directory_iterator(dir))
            if (entry.is_regular_file() && entry.path() != family) names.push_back(entry.path().filename().string());
        return names;
    }
    // What the file holds, read past any lock.
    static std::string Bytes(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static std::string Work(const std::string& who) { return kOld + "1 NOTE saved by " + who + "\n"; }
};

// One save writes the file in place, the other replaces it by a new file;
// a slow disk holds one of them a moment. The other waits for it, and the
// file holds the work of the save that said "saved" last. A save in place
// held up until the file it locked was replaced starts again with the new
// one.
TEST_F(TwoSavesTest, ASaveInPlaceAndASaveByRenameNeverInterleave) {
    for (const bool inPlaceHeld : {true, false}) {
        SCOPED_TRACE(inPlaceHeld ? "in place held" : "by rename held");
        std::ofstream(family, std::ios::binary) << kOld;
        SlowSystem inPlace(inPlaceHeld ? "cut family.lnt" : "", true);
        SlowSystem rename(inPlaceHeld ? "" : "rename .family.lnt.*.tmp over family.lnt", false);
        std::string said;
        std::mutex saying;
        auto save = [&](SlowSystem* sys, std::string who) {
            const SaveResult result = SaveContents(family.string(), Work(who), *sys);
            const std::lock_guard hold(saying);
            said += who + (result.saved() ? " saved; " : ": " + NotSavedText(family.string(), result));
        };
        SlowSystem* first = inPlaceHeld ? &inPlace : &rename;
        auto one = std::async(std::launch::async, save, first, inPlaceHeld ? "in place" : "rename");
        first->reached.get_future().wait();
        auto other = std::async(std::launch::async, save, inPlaceHeld ? &rename : &inPlace,
                                inPlaceHeld ? "rename" : "in place");
        EXPECT_EQ(other.wait_for(300ms), std::future_status::timeout) << "the other save did not wait";
        EXPECT_EQ(Bytes(family), kOld);
        first->letGo.set_value();
        one.get();
        other.get();
        EXPECT_EQ(said, inPlaceHeld ? "in place saved; rename saved; " : "rename saved; in place saved; ");
        EXPECT_EQ(Read(family), Work(inPlaceHeld ? "rename" : "in place"));
        EXPECT_EQ(inPlace.Calls({"cut"}), std::vector<std::string>{"cut family.lnt"});
        EXPECT_EQ(Left(), std::vector<std::string>{});
    }
}

// A program that takes no lock replaces the file while a save in place
// writes it: the save says its work was not saved (it stays in the window)
// and leaves neither its copy nor its record.
TEST_F(TwoSavesTest, ASaveInPlaceWhoseFileWasReplacedMeanwhileSaysSo) {
    SlowSystem inPlace("sync family.lnt", true);
    auto saving = std::async(std::launch::async, [&] { return SaveContents(family.string(), Work("Bob"), inPlace); });
    inPlace.reached.get_future().wait();
    std::ofstream(dir / "other.lnt", std::ios::binary) << Work("another program");
    fs::rename(dir / "other.lnt", family);
    inPlace.letGo.set_value();
    const SaveResult result = saving.get();
    EXPECT_EQ(NotSavedText(family.string(), result),
              "family.lnt was not saved: another save replaced the file while this one ran, so your work is not in "
              "it. Your work is still here; save it again to keep it.");
    EXPECT_EQ(Read(family), Work("another program"));
    EXPECT_EQ(Left(), std::vector<std::string>{});
}

// A read holds up only the clear and write of a save in place, never a
// save by rename; an open tells a save in place that runs by the file's
// lock alone, and a save by rename is no reason to wait.
TEST_F(TwoSavesTest, AReadHoldsUpOnlyTheWriteOfASaveInPlace) {
    // Reads slow on their first block.
    struct SlowRead : SystemCalls, Pause {
        ssize_t ReadAt(int fd, char* into, std::size_t size, off_t at) override {
            Wait();
            return SystemCalls::ReadAt(fd, into, size, at);
        }
    } beforeRename, afterRename;
    auto read = [&](SlowRead& sys) {
        auto reading = std::async(std::launch::async, [&] { return LoadContents(family.string(), sys); });
        sys.reached.get_future().wait();
        return reading;
    };
    auto first = read(beforeRename);
    EXPECT_TRUE(SaveContents(family.string(), Work("rename")).saved());
    EXPECT_EQ(SaveInPlaceHolds(family.string()), SaveHold::None);
    auto second = read(afterRename);
    SlowSystem inPlace("", true);
    auto saving =
        std::async(std::launch::async, [&] { return SaveContents(family.string(), Work("in place"), inPlace); });
    EXPECT_EQ(saving.wait_for(300ms), std::future_status::timeout) << "the save in place did not wait for the read";
    EXPECT_EQ(Read(family), Work("rename"));
    EXPECT_EQ(SaveInPlaceHolds(family.string()), SaveHold::InPlace);
    beforeRename.letGo.set_value();
    afterRename.letGo.set_value();
    EXPECT_EQ(first.get().contents, kOld);
    EXPECT_EQ(second.get().contents, Work("rename"));
    EXPECT_TRUE(saving.get().saved());
    EXPECT_EQ(Read(family), Work("in place"));
    EXPECT_EQ(SaveInPlaceHolds(family.string()), SaveHold::None);
}

// A file system that keeps no locks is saved all the same, in place and by
// rename, and read; the program's own save that fails half-way leaves the
// file neither locked nor recorded as being saved.
TEST_F(TwoSavesTest, NoLocksStopNoSaveAndAFailedSaveLeavesNoneHeld) {
    for (const bool inPlace : {true, false}) {
        SCOPED_TRACE(inPlace ? "in place" : "by rename");
        SlowSystem noLocks("", inPlace);
        noLocks.before = [&, was = noLocks.before](const std::string& call) {
            return call.starts_with("lock ") ? ENOLCK : was(call);
        };
        EXPECT_TRUE(SaveContents(family.string(), Work("Bob"), noLocks).saved());
        EXPECT_EQ(Read(family), Work("Bob"));
        EXPECT_EQ(noLocks.Calls({"cut"}).size(), inPlace ? 1u : 0u);
        noLocks.before = [](const std::string& call) { return call.starts_with("lock ") ? ENOLCK : 0; };
        EXPECT_EQ(LoadContents(family.string(), noLocks).contents, Work("Bob"));
    }
    SlowSystem failing("", true);
    failing.before = [was = failing.before, writes = 0](const std::string& call) mutable {
        return call == "write family.lnt" && ++writes == 1 ? EIO : was(call);
    };
    const SaveResult failed = SaveContents(family.string(), Work("Bob again"), failing);
    EXPECT_EQ(failed.stop, SaveStop::Write);
    EXPECT_TRUE(failed.asItWas);
    EXPECT_EQ(SaveInPlaceHolds(family.string()), SaveHold::None);
    EXPECT_EQ(LoadContents(family.string()).contents, Work("Bob"));
    EXPECT_TRUE(UnfinishedSaves(RealSystem(), family.string()).empty());
    EXPECT_EQ(Left(), std::vector<std::string>{});
}

// The same between users: Bob, of the family group, writes Anna's 0664 file
// of the group in place in the 2775 group folder (he cannot give a new one
// her as its owner), held a moment before he clears it; meanwhile Anna
// saves it, replacing it by a new file. Both are told "saved", in the order
// the file shows.
TEST_F(TwoSavesTest, AMemberSavingInPlaceAndTheOwnerSavingByRenameTakeTurns) {
    if (::geteuid() != 0) GTEST_SKIP() << "only root can act as another user";
    constexpr uid_t kAnna = 1002, kBob = 1003;
    constexpr gid_t kFamily = 2000;
    // Each saves with a state folder of his own in the test's folder.
    ::chmod(dir.c_str(), 0777);
    ::chmod((dir / "state").c_str(), 0777);
    const fs::path folder = dir / "family";
    fs::create_directory(folder);
    family = folder / "family.lnt";
    std::ofstream(family, std::ios::binary) << kOld;
    ASSERT_EQ(::chown(folder.c_str(), kAnna, kFamily), 0);
    ASSERT_EQ(::chmod(folder.c_str(), 02775), 0);
    ASSERT_EQ(::chown(family.c_str(), kAnna, kFamily), 0);
    ASSERT_EQ(::chmod(family.c_str(), 0664), 0);
    int done[2], paused[2], go[2];
    ASSERT_EQ(::pipe(done) | ::pipe(paused) | ::pipe(go), 0);
    // Saves as uid; "who saved" (or why not) goes to done when it ends.
    auto saveAs = [&](uid_t uid, const std::string& who, const std::string& pauseAt) {
        const pid_t child = ::fork();
        if (child != 0) return child;
        const gid_t groups[] = {static_cast<gid_t>(uid), kFamily};
        if (::setgroups(2, groups) != 0 || ::setgid(uid) != 0 || ::setuid(uid) != 0) ::_exit(1);
        ::setenv("XDG_STATE_HOME", (dir / "state" / who).c_str(), 1);
        WatchedSystem sys;
        sys.before = [&](const std::string& call) {
            char c = 0;
            if (call == pauseAt && ::write(paused[1], "p", 1) == 1) (void)!::read(go[0], &c, 1);
            return 0;
        };
        const SaveResult result = SaveContents(family.string(), Work(who), sys);
        const std::string said = who + (result.saved() ? " saved" : ": " + NotSavedText(family.string(), result)) + "\n";
        (void)!::write(done[1], said.data(), said.size());
        ::_exit(0);
    };
    const pid_t bob = saveAs(kBob, "Bob", "cut family.lnt");
    char c = 0;
    ASSERT_EQ(::read(paused[0], &c, 1), 1);
    const pid_t anna = saveAs(kAnna, "Anna", "");
    std::this_thread::sleep_for(300ms);
    int status = 0;
    EXPECT_EQ(::waitpid(anna, &status, WNOHANG), 0) << "Anna's save did not wait for Bob's";
    ASSERT_EQ(::write(go[1], "g", 1), 1);
    ::waitpid(bob, &status, 0);
    ::waitpid(anna, &status, 0);
    for (const int fd : {done[1], paused[0], paused[1], go[0], go[1]}) ::close(fd);
    std::string said;
    for (ssize_t n; (n = ::read(done[0], &c, 1)) == 1;) said += c;
    ::close(done[0]);
    EXPECT_EQ(said, "Bob saved\nAnna saved\n");
    EXPECT_EQ(Bytes(family), Work("Anna"));
    EXPECT_EQ(Owners(family), "1002:2000 664");
}

}  // namespace
}  // namespace lintora::testing
