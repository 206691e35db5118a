#include "platform/disk/save_record.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/disk/copies_folder.h"
#include "platform/disk/load_contents.h"
#include "platform/disk/record_words.h"
#include "platform/disk/save_words.h"
#include "platform/disk/scratch_records.h"
#include "platform/disk/unfinished_saves.h"
#include "tests/support/watched_system.h"

namespace lintora::testing {
namespace {

namespace fs = std::filesystem;

// A child process that runs work, which tells the test once it is where
// the test wants it (ready), and waits there to be killed; killed with its
// scope.
class Child {
public:
    using Ready = std::function<void()>;
    explicit Child(const std::function<void(const Ready&)>& work) {
        int ends[2];
        if (::pipe(ends) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            work([&] {
                (void)!::write(ends[1], "r", 1);
                for (;;) ::pause();
            });
            ::_exit(1);
        }
        char ready = 0;
        ::close(ends[1]);
        (void)!::read(ends[0], &ready, 1);
        ::close(ends[0]);
    }
    ~Child() { Kill(); }
    pid_t pid() const { return pid_; }
    void Kill() {
        if (pid_ > 0 && ::kill(pid_, SIGKILL) == 0) ::waitpid(pid_, nullptr, 0);
        pid_ = 0;
    }

private:
    pid_t pid_ = 0;
};

class RecordsTest : public ::testing::Test {
protected:
    fs::path dir = fs::temp_directory_path() / ("lintora-rec-" + std::to_string(std::random_device{}()));
    fs::path trees = dir / "trees", file = trees / "fam.ged", state = dir / "state" / "Lintora";
    void SetUp() override {
        fs::create_directories(trees);
        setenv("XDG_STATE_HOME", (dir / "state").c_str(), 1);
        std::ofstream(file) << "0 HEAD\r\n0 TRLR\r\n";
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    static std::string Read(const fs::path& p) { return (std::ostringstream() << std::ifstream(p).rdbuf()).str(); }
    // The record files under the state folder, wherever they are.
    std::vector<fs::path> RecordFiles() const {
        std::vector<fs::path> found;
        if (fs::exists(state))
            for (const auto& entry : fs::recursive_directory_iterator(state))
                if (entry.path().extension() == ".record") found.push_back(entry.path());
        return found;
    }
    // Puts record where a save of its folder would keep it.
    fs::path Plant(const SaveRecord& record, const std::string& kind = "save") {
        const fs::path at = state / RecordsFolderName(RecordFolder(record));
        fs::create_directories(at);
        const fs::path p = at / ("." + kind + ".0123456789abcdef.record");
        std::ofstream(p) << RecordText(record);
        return p;
    }
    SaveRecord SaveOf(pid_t pid) {
        SaveRecord record;
        record.file = file.string();
        record.copy = (trees / "fam (earlier contents).ged").string();
        record.pid = pid;
        record.started = RealSystem().ProcessStart(pid);
        record.boot = RealSystem().BootId();
        record.host = RealSystem().HostName();
        return record;
    }
};

// Whether a save runs is told by the lock on its record: a child that holds
// it runs, and once killed its save is over, whatever its process id. A
// live process that merely has the id of a record's saver (ids come round)
// runs no save; where the file system keeps no locks, the process id, boot
// and start time tell, and another host's save is never taken as over.
TEST_F(RecordsTest, ASaveRunsWhileItsSaverHoldsItsRecord) {
    Child saver([&](const Child::Ready& ready) {
        int error = 0;
        const Descriptor folder = OpenCopiesFolder(RealSystem(), true, error);
        KeptRecord kept;
        if (kept.Make(RealSystem(), folder.get(), SaveOf(0)) == 0) ready();
    });
    std::vector<FoundRecord> found = SaveRecordsOf(RealSystem(), file.string());
    ASSERT_EQ(found.size(), 1u);
    EXPECT_TRUE(found[0].record.locked);
    EXPECT_EQ(found[0].record.pid, saver.pid());
    EXPECT_EQ(SaverOf(RealSystem(), found[0].record), Saver::Running);
    saver.Kill();
    EXPECT_EQ(SaverOf(RealSystem(), found[0].record), Saver::Over);
    fs::remove(RecordFiles().at(0));

    struct NoLocks : SystemCalls {
        int LockRange(int, short, off_t, off_t) override {
            errno = ENOLCK;
            return -1;
        }
    } noLocks;
    Child unrelated([](const Child::Ready& ready) { ready(); });
    const struct {
        const char* what;
        bool locked;
        std::uint64_t startedLater;  // ticks after the process's own start
        const char* host;
        bool readerHasLocks;
        Saver saver;
    } cases[] = {
        {"its id reused, the record's lock free", true, 0, nullptr, true, Saver::Over},
        {"no locks, its id reused later", false, 100, nullptr, true, Saver::Over},
        {"no locks, the same process", false, 0, nullptr, true, Saver::Running},
        {"no locks for the reader, id reused", true, 100, nullptr, false, Saver::Over},
        {"no locks for the reader, the same process", true, 0, nullptr, false, Saver::Running},
        {"another host, its lock free", true, 0, "elsewhere", true, Saver::Elsewhere},
        {"another host, no locks", false, 0, "elsewhere", false, Saver::Elsewhere},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SaveRecord record = SaveOf(unrelated.pid());
        record.started += c.startedLater;
        record.locked = c.locked;
        if (c.host) record.host = c.host;
        Plant(record);
        found = SaveRecordsOf(RealSystem(), file.string());
        ASSERT_EQ(found.size(), 1u);
        EXPECT_EQ(SaverOf(c.readerHasLocks ? RealSystem() : noLocks, found[0].record), c.saver);
    }
}

// A save in place that another copy of the program is running (held up by
// a slow disk just before it writes the file) is running to the start-up,
// which leaves its copy and record be; killed, it stopped.
TEST_F(RecordsTest, TheStartUpNeverTakesARunningSaveForAStoppedOne) {
    fs::create_hard_link(file, trees / "for-aunt.ged");
    Child other([&](const Child::Ready& ready) {
        struct Slow : WatchedSystem {
            Child::Ready ready;
            ssize_t WriteAt(int fd, const char* from, std::size_t size, off_t at) override {
                if (NameOf(fd) == "fam.ged") ready();
                return WatchedSystem::WriteAt(fd, from, size, at);
            }
        } slow;
        slow.ready = ready;
        (void)SaveContents(file.string(), std::string(10000, 'n'), slow);
    });
    const std::vector<RecordedSave> saves = UnfinishedSaves(RealSystem(), "");
    ASSERT_EQ(saves.size(), 1u);
    EXPECT_EQ(saves[0].end, SaveEnd::Running);
    EXPECT_TRUE(fs::exists(saves[0].record.copy));
    other.Kill();
    const std::vector<RecordedSave> after = UnfinishedSaves(RealSystem(), "");
    ASSERT_EQ(after.size(), 1u);
    EXPECT_NE(after[0].end, SaveEnd::Running);
}


// A name of any bytes reads back from its record as it was: blanks of
// every kind (a vertical tab, a form feed), a line's end, a "%". A save
// killed at its rename leaves its scratch file, which the next open
// removes, with the record.
TEST_F(RecordsTest, AScratchFileOfAnyNameGoesAtTheNextOpen) {
    for (const std::string name : {"fam\v1.ged", "fam\f2.ged", "fam 3\t\r\n.ged", "fam%20\x7f.ged"}) {
        SCOPED_TRACE(RecordWord(name));
        const fs::path named = trees / name;
        std::ofstream(named) << "earlier";
        StoppingSystem crash("rename ." + name + ".*.tmp over " + name, 1, false);
        ASSERT_TRUE(SaveStopped(named.string(), "saved", crash));
        ASSERT_EQ(RecordFiles().size(), 1u);
        EXPECT_EQ(LoadContents(named.string(), RealSystem(), LoadFor::Opening).contents, "earlier");
        EXPECT_TRUE(RecordFiles().empty());
        fs::remove(named);
        EXPECT_EQ(std::distance(fs::directory_iterator(trees), fs::directory_iterator()), 1) << "scratch file left";
    }
}

// A record cut anywhere (a full disk, a hand edit), or of an older format,
// reads as none and never throws; the lister passes it over and names it.
TEST_F(RecordsTest, ADamagedRecordIsPassedOverAndNamed) {
    SaveRecord record = SaveOf(::getpid());
    record.newLength = 5000;
    record.blocks = BlockHashes(std::string(5000, 'x'));
    const std::string text = RecordText(record);
    SaveRecord read;
    ASSERT_TRUE(ParseRecord(text, read));
    for (std::size_t cut = 0; cut < text.size(); ++cut) EXPECT_FALSE(ParseRecord(text.substr(0, cut), read = {}));
    const fs::path damaged = Plant(record);
    std::ofstream(damaged) << text.substr(0, text.find("\nfile") + 5) << "\n";
    fs::create_directories(state);
    std::ofstream(state / ".save.0123456789abcdef.record") << "Lintora save record\nfile\n";
    std::vector<std::string> named;
    EXPECT_TRUE(SaveRecords(RealSystem(), &named).empty());
    std::sort(named.begin(), named.end());
    EXPECT_EQ(named, (std::vector<std::string>{damaged.string(), (state / ".save.0123456789abcdef.record").string()}));
}

// The state folder is the user's own: one he owns is made his alone, and
// made only where it is not there; one that is a link, or another user's
// (root's, after a start under sudo), takes no copy and no record, and the
// save says why and how to mend it.
TEST_F(RecordsTest, TheStateFolderIsTheUsersOwn) {
    fs::create_hard_link(file, trees / "for-aunt.ged");  // saved in place, and so recorded
    struct Counting : WatchedSystem {
        int folders = 0;
        int MakeFolder(int dir, const std::string& name, mode_t mode) override {
            ++folders;
            return WatchedSystem::MakeFolder(dir, name, mode);
        }
    } sys;
    fs::create_directories(state);
    fs::permissions(state, fs::perms(0755));
    for (int save = 0; save < 2; ++save) ASSERT_TRUE(SaveContents(file.string(), "saved", sys).saved());
    EXPECT_EQ(fs::status(state).permissions() & fs::perms::all, fs::perms::owner_all);
    EXPECT_EQ(sys.folders, 1);  // the records' folder of trees, once

    const fs::path elsewhere = dir / "elsewhere";
    fs::create_directories(elsewhere);
    fs::remove_all(state);
    fs::create_directory_symlink(elsewhere, state);
    SaveResult link = SaveContents(file.string(), "again", sys);
    EXPECT_EQ(link.stop, SaveStop::Record);
    EXPECT_TRUE(fs::is_empty(elsewhere));
    if (::geteuid() != 0) GTEST_SKIP() << "another user's folder needs root";
    fs::remove(state);
    fs::create_directory(state);
    ASSERT_EQ(::chown(state.c_str(), 4321, 4321), 0);
    const SaveResult refused = SaveContents(file.string(), "again", sys);
    EXPECT_EQ(refused.stop, SaveStop::Record);
    EXPECT_EQ(refused.error, kNotYourFolder);
    EXPECT_EQ(NotSavedText(file.string(), refused),
              "fam.ged was not saved: its save could not be recorded in " + state.string() +
                  " (the folder belongs to another user: give it back to yourself (sudo chown -R root " +
                  state.string() + ") or remove it). The file is as it was.");
    EXPECT_TRUE(fs::is_empty(state));
    EXPECT_EQ(Read(file), "saved");
}

// An open reads the records of its own folder alone, however many other
// folders left theirs; the start-up clears, once, the scratch records of
// folders long gone, and no record of a save in place.
TEST_F(RecordsTest, AnOpenReadsItsOwnRecordsAndOldOnesGoAtStartUp) {
    const auto aged = [](const fs::path& p, int days) {
        fs::last_write_time(p, fs::file_time_type::clock::now() - std::chrono::hours(24 * days));
    };
    std::vector<fs::path> kept;
    fs::path gone;
    for (int k = 0; k < 4; ++k) {
        SaveRecord record = SaveOf(::getpid());
        record.kind = k % 2 ? RecordKind::Save : RecordKind::Scratch;
        record.folder = (dir / ("gone " + std::to_string(k))).string();
        record.file = record.folder + "/fam.ged";
        record.scratch = ".fam.ged.0123456789abcdef.tmp";
        const fs::path p = Plant(record, k % 2 ? "save" : "scratch");
        aged(p, k < 2 ? 30 : 1);
        (k == 0 ? gone : kept.emplace_back()) = p;
    }
    struct Listing : SystemCalls {
        int lists = 0;
        int ListNames(int folder, std::vector<std::string>& names) override {
            ++lists;
            return SystemCalls::ListNames(folder, names);
        }
    } sys;
    EXPECT_EQ(LoadContents(file.string(), sys, LoadFor::Opening).contents, "0 HEAD\r\n0 TRLR\r\n");
    EXPECT_TRUE(UnfinishedSaves(sys, file.string()).empty());
    EXPECT_EQ(sys.lists, 0);
    CleanOldScratchRecords(sys);
    EXPECT_FALSE(fs::exists(gone));
    EXPECT_FALSE(fs::exists(gone.parent_path()));
    for (const fs::path& p : kept) EXPECT_TRUE(fs::exists(p)) << p;
    aged(kept[1], 30);
    CleanOldScratchRecords(sys);  // once per start
    EXPECT_TRUE(fs::exists(kept[1]));
}

}  // namespace
}  // namespace lintora::testing
