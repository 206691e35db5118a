#include "platform/disk/save_record.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include <unistd.h>

#include "platform/disk/copies_folder.h"
#include "platform/disk/load_contents.h"
#include "platform/disk/record_words.h"
#include "platform/disk/unfinished_saves.h"
#include "tests/support/watched_system.h"

namespace lintora::testing {
namespace {

namespace fs = std::filesystem;

class RecordsTest : public ::testing::Test {
protected:
    fs::path dir = fs::temp_directory_path() / ("lintora-rec-" + std::to_string(std::random_device{}()));
    fs::path trees = dir / "trees", file = trees / "fam.ged", state = dir / "state" / "Lintora";
    void SetUp() override {
        fs::create_directories(trees);
        setenv("XDG_STATE_HOME", (dir / "state").c_str(), 1);
        std::ofstream(file) << "0 HEAD\r\n0 TRLR\r\n";
    }
    void TearDown() override { fs::remove_all(dir, ec); }
    std::error_code ec;
    static std::string Read(const fs::path& p) { return (std::ostringstream() << std::ifstream(p).rdbuf()).str(); }
    // Puts record where a save of its folder would keep it.
    fs::path Plant(const SaveRecord& record, const std::string& kind = "save") {
        const fs::path at = state / RecordsFolderName(RecordFolder(record));
        fs::create_directories(at);
        std::ofstream(at / ("." + kind + ".0123456789abcdef.record")) << RecordText(record);
        return at / ("." + kind + ".0123456789abcdef.record");
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

// A record's lock tells whether its save runs, not a live process of its id
// (ids come round); without locks its id and start time tell, and another
// host's save is never taken as over.
TEST_F(RecordsTest, ASaverIsToldByItsLockThenByItsProcess) {
    struct NoLocks : SystemCalls {
        int LockRange(int, short, off_t, off_t) override { return errno = ENOLCK, -1; }
    } noLocks;
    const struct {
        const char* what;
        bool locked;
        std::uint64_t startedLater;
        const char* host;
        bool readerHasLocks;
        Saver saver;
    } cases[] = {
        {"its id reused, the record's lock free", true, 0, nullptr, true, Saver::Over},
        {"no locks, its id reused later", false, 100, nullptr, true, Saver::Over},
        {"no locks, the same process", false, 0, nullptr, true, Saver::Running},
        {"no locks for the reader, the same process", true, 0, nullptr, false, Saver::Running},
        {"another host, its lock free", true, 0, "elsewhere", true, Saver::Elsewhere},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SaveRecord record = SaveOf(::getppid());  // alive, holding no record
        record.started += c.startedLater;
        record.locked = c.locked;
        if (c.host) record.host = c.host;
        Plant(record);
        const std::vector<FoundRecord> found = SaveRecordsOf(RealSystem(), file.string());
        ASSERT_EQ(found.size(), 1u);
        EXPECT_EQ(SaverOf(c.readerHasLocks ? RealSystem() : noLocks, found[0].record), c.saver);
    }
}

// A name of any bytes survives its record, which holds no blank nor line's
// end of its own: a save killed at its rename leaves a scratch file that the
// next open removes, with its record.
TEST_F(RecordsTest, AScratchFileOfAnyNameGoesAtTheNextOpen) {
    const std::string name = "fam\v\f 3\t\r\n%20\x7f.ged";
    std::ofstream(trees / name) << "earlier";
    StoppingSystem crash("rename ." + name + ".*.tmp over " + name, 1, false);
    ASSERT_TRUE(SaveStopped((trees / name).string(), "saved", crash));
    for (const auto& entry : fs::recursive_directory_iterator(state)) {
        if (!entry.is_regular_file()) continue;
        for (const unsigned char b : Read(entry.path())) EXPECT_TRUE(b == '\n' || (b >= 0x20 && b != 0x7F)) << +b;
    }
    EXPECT_EQ(LoadContents((trees / name).string(), RealSystem(), LoadFor::Opening).contents, "earlier");
    EXPECT_EQ(std::distance(fs::directory_iterator(trees), {}), 2) << "scratch file left";
    for (const auto& entry : fs::recursive_directory_iterator(state)) EXPECT_NE(entry.path().extension(), ".record");
}

// A record cut anywhere reads as none; the lister passes it over, and one
// loose in the state folder, and names both.
TEST_F(RecordsTest, ADamagedRecordIsPassedOverAndNamed) {
    SaveRecord record = SaveOf(::getpid()), read;
    record.blocks = BlockHashes(std::string(5000, 'x'));
    record.newLength = 5000;
    const std::string text = RecordText(record);
    for (std::size_t cut = 0; cut < text.size(); ++cut) EXPECT_FALSE(ParseRecord(text.substr(0, cut), read = {}));
    const fs::path damaged = Plant(record), loose = state / ".save.0123456789abcdef.record";
    std::ofstream(damaged) << text.substr(0, text.find("\nfile") + 5) << "\n";
    std::ofstream(loose) << "Lintora save record\nfile\n";
    std::vector<DamagedRecord> damagedRecords;
    EXPECT_TRUE(SaveRecords(RealSystem(), &damagedRecords).empty());
    std::vector<std::string> named;
    for (const DamagedRecord& d : damagedRecords) named.push_back(d.path);
    std::sort(named.begin(), named.end());
    EXPECT_EQ(named, (std::vector<std::string>{damaged.string(), loose.string()}));
}

// The state folder is made the user's alone, once; a link, or another
// user's folder (after a start under sudo), takes no copy nor record.
TEST_F(RecordsTest, TheStateFolderIsTheUsersOwn) {
    fs::create_hard_link(file, trees / "for-aunt.ged");  // saved in place, and so recorded
    struct Counting : WatchedSystem {
        int folders = 0;
        int MakeFolder(int dir, const std::string& name, mode_t mode) override {
            return ++folders, WatchedSystem::MakeFolder(dir, name, mode);
        }
    } sys;
    fs::create_directories(state);
    fs::permissions(state, fs::perms(0755));
    for (int save = 0; save < 2; ++save) ASSERT_TRUE(SaveContents(file.string(), "saved", sys).saved());
    EXPECT_EQ(fs::status(state).permissions() & fs::perms::all, fs::perms::owner_all);
    EXPECT_EQ(sys.folders, 1);  // the records' folder of trees

    fs::remove_all(state);
    fs::create_directories(dir / "elsewhere");
    fs::create_directory_symlink(dir / "elsewhere", state);
    const SaveResult linked = SaveContents(file.string(), "again", sys);
    EXPECT_EQ(std::make_pair(linked.stop, linked.error), std::make_pair(SaveStop::Record, ELOOP));
    EXPECT_TRUE(fs::is_empty(dir / "elsewhere"));
    if (::geteuid() != 0) GTEST_SKIP() << "another user's folder needs root";
    fs::remove(state);
    fs::create_directory(state);
    ASSERT_EQ(::chown(state.c_str(), 4321, 4321), 0);
    EXPECT_EQ(SaveContents(file.string(), "again", sys).error, kNotYourFolder);
    EXPECT_TRUE(fs::is_empty(state));
    EXPECT_EQ(Read(file), "saved");
}

// An open lists no other folder's records; the start-up clears, once, the
// scratch records of folders long gone, and no record of a save in place.
TEST_F(RecordsTest, AnOpenReadsItsOwnRecordsAndOldOnesGoAtStartUp) {
    const auto aged = [](const fs::path& p, int days) {
        fs::last_write_time(p, fs::file_time_type::clock::now() - std::chrono::hours(24 * days));
    };
    std::vector<fs::path> planted;  // old scratch, old save, new scratch, new save
    for (int k = 0; k < 4; ++k) {
        SaveRecord record = SaveOf(::getpid());
        record.kind = k % 2 ? RecordKind::Save : RecordKind::Scratch;
        record.folder = (dir / ("gone " + std::to_string(k))).string();
        record.file = record.folder + "/fam.ged";
        record.scratch = ".fam.ged.0123456789abcdef.tmp";
        aged(planted.emplace_back(Plant(record, k % 2 ? "save" : "scratch")), k < 2 ? 30 : 1);
    }
    struct Listing : SystemCalls {
        int lists = 0;
        int ListNames(int folder, std::vector<std::string>& names) override {
            return ++lists, SystemCalls::ListNames(folder, names);
        }
    } sys;
    EXPECT_EQ(LoadContents(file.string(), sys, LoadFor::Opening).contents, "0 HEAD\r\n0 TRLR\r\n");
    EXPECT_TRUE(UnfinishedSaves(sys, file.string()).empty());
    EXPECT_EQ(sys.lists, 0);
    CleanOldScratchRecords(sys);
    EXPECT_FALSE(fs::exists(planted[0].parent_path()));
    for (int k = 1; k < 4; ++k) EXPECT_TRUE(fs::exists(planted[k])) << planted[k];
    aged(planted[2], 30);
    CleanOldScratchRecords(sys);  // once per start
    EXPECT_TRUE(fs::exists(planted[2]));
}

}  // namespace
}  // namespace lintora::testing
