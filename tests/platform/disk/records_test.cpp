#include "platform/disk/save_record.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <regex>
#include <sstream>
#include <tuple>

#include <unistd.h>

#include "platform/disk/copies_folder.h"
#include "platform/disk/load_contents.h"
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
    fs::path Plant(const SaveRecord& record, const std::string& kind = "save",
                   const std::string& random = "0123456789abcdef") {
        const fs::path at = state / RecordsFolderName(RecordPath(record)) / ("." + kind + "." + random + ".record");
        fs::create_directories(at.parent_path());
        std::ofstream(at) << RecordText(record);
        return at;
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

// A free lock on a record is its save over, whatever host or process it names, where the file system shows every
// saver's lock; elsewhere its process tells, whose start cannot be read here.
TEST_F(RecordsTest, ASaverIsToldByItsLockWhereTheFileSystemShowsEverySaversLock) {
    struct AsFileSystem : SystemCalls {
        std::uint64_t type = 0;
        const char* options = "";
        int lockError = 0;
        int FileSystem(int, std::uint64_t& kind, std::string& how) override { return kind = type, how = options, 0; }
        std::uint64_t ProcessStart(pid_t) override { return 0; }
        int LockInTheWay(int fd, short lock, off_t start, off_t length, struct flock* found) override {
            return lockError ? (errno = lockError, -1) : SystemCalls::LockInTheWay(fd, lock, start, length, found);
        }
    } sys;
    const struct {
        const char* kind;
        std::uint64_t type;
        bool lockTells;  // a free lock is a save over; else its process tells, and another host's never is
        const char* options = "";
        int lockError = 0;
    } cases[] = {
        {"ext4", 0xEF53, true}, {"btrfs", 0x9123683E, true}, {"xfs", 0x58465342, true}, {"tmpfs", 0x01021994, true},
        {"vfat", 0x4D44, true}, {"exfat", 0x2011BAB0, true}, {"f2fs", 0xF2F52010, true}, {"fuse", 0x65735546, false},
        {"nfs", 0x6969, true, "rw,vers=4.2,local_lock=none"}, {"nfs mounted nolock", 0x6969, false, "rw,vers=3,nolock"},
        {"nfs with local locks", 0x6969, false, "rw,vers=3,local_lock=all"}, {"unknown", 0x12345678, false},
        {"cifs", 0xFF534D42, true, "rw,vers=3.1.1"}, {"cifs mounted nobrl", 0xFF534D42, false, "rw,nobrl"},
        {"ext4, ENOLCK", 0xEF53, false, "", ENOLCK}, {"ext4, EINVAL", 0xEF53, false, "", EINVAL},
        {"ext4, EOPNOTSUPP", 0xEF53, false, "", EOPNOTSUPP},
    };
    SaveRecord live = SaveOf(::getppid()), elsewhere = live;  // alive, holding no record
    live.locked = elsewhere.locked = true;
    elsewhere.host = "elsewhere";
    Plant(live, "save", "000000000000000a");
    Plant(elsewhere, "save", "000000000000000b");
    const fs::path writing = state / RecordsFolderName(file.string()) / ".save.000000000000000c.tmp";
    std::ofstream{writing.parent_path() / ".save.000000000000000d.tmp"};  // killed before it wrote: stays until old
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        std::ofstream(writing) << RecordText(live);  // a record still under its scratch name: judged as one
        std::tie(sys.type, sys.options, sys.lockError) = std::tuple(c.type, c.options, c.lockError);
        const std::vector<FoundRecord> found = SaveRecordsOf(sys, file.string());
        ASSERT_EQ(found.size(), 2u);
        EXPECT_EQ(SaverOf(sys, found[0].record), c.lockTells ? Saver::Over : Saver::Running);
        EXPECT_EQ(SaverOf(sys, found[1].record), c.lockTells ? Saver::Over : Saver::Elsewhere);
        EXPECT_EQ(std::distance(fs::directory_iterator(writing.parent_path()), {}), c.lockTells ? 3 : 4);
    }
    // A lock held is a save that runs, wherever it runs.
    std::tie(sys.type, sys.lockError) = std::tuple(0xEF53, 0);
    FoundRecord found = SaveRecordsOf(sys, file.string())[1];
    const int fd = HoldLock(state / found.name);
    std::ofstream(writing) << RecordText(SaveOf(::getpid()));  // of this process, whose saves are over by now
    const Descriptor held(RealSystem(), HoldLock(writing));
    EXPECT_EQ(SaverOf(sys, SaveRecordsOf(sys, file.string())[1].record), Saver::Running);
    EXPECT_TRUE(fs::exists(writing));
    ::close(fd);
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

// A record cut anywhere, lacking what the program always writes, or with a value garbled or out of range, is none:
// the lister names it, with the file and copy it can read; one still under its scratch name is passed over unnamed.
TEST_F(RecordsTest, ADamagedRecordIsPassedOverAndNamed) {
    SaveRecord record = SaveOf(::getpid()), read;
    record.blocks = BlockHashes(std::string(5000, 'x'));
    std::tie(record.newLength, record.copyLength, record.cutSeconds) = std::tuple(5000, 7, 1765000000);
    const std::string text = RecordText(record);
    ASSERT_TRUE(ParseRecord(text, read));
    for (std::size_t cut = 0, end = text.find("\ncopyid"); cut < text.size(); ++cut)  // its whole lines read
        EXPECT_TRUE(!ParseRecord(text.substr(0, cut), read = {}) && read.copy == (cut > end ? record.copy : "")) << cut;
    const struct {
        const char *what, *pattern, *damage;
    } damages[] = {
        {"without its copy's length and hash", "earlier [^\n]*\n", ""},
        {"one garbled value", "length 5000", "length 5O00"},
        {"twenty nines for its length, no blocks", "length 5000\nblocks[^\n]*", "length 99999999999999999999\nblocks"},
        {"a negative cut", "cut 0", "cut -"},
        {"a process id out of range", "process [0-9]+", "process 99999999999"},
        {"of a later version", "record 3", "record 4"},
        {"a hash's digit not hex", "(earlier 7 )[0-9a-f]", "$1g"},
    };
    for (const auto& d : damages)
        EXPECT_FALSE(ParseRecord(std::regex_replace(text, std::regex(d.pattern), d.damage), read = {})) << d.what;
    const fs::path damaged = Plant(record), loose = state / ".save.0123456789abcdef.record";
    std::ofstream(damaged) << std::regex_replace(text, std::regex("length 5000"), "length 5O00");
    std::ofstream(loose) << "Lintora save record\nfile\n";
    std::ofstream(damaged.parent_path() / ".save.0123456789abcdef.0123456789abcdef.tmp") << text.substr(0, 40);
    std::ofstream(damaged.parent_path() / ".save.000000000000000b.record") << "Lintora record 4\nkind save\n";
    std::vector<DamagedRecord> damagedRecords;
    EXPECT_TRUE(SaveRecords(RealSystem(), &damagedRecords).empty());
    std::vector<std::string> named;
    for (const DamagedRecord& d : damagedRecords) named.push_back(d.path + ": " + d.file + ", " + d.copy);
    std::sort(named.begin(), named.end());
    EXPECT_EQ(named, std::vector<std::string>{damaged.string() + ": " + record.file + ", " + record.copy});
    const fs::path older = state / RecordsFolderName(trees.string()) / ".save.000000000000000c.record";  // format 2:
    fs::create_directories(older.parent_path());  // kept by its folder, read by its file's open; given up, the user's
    std::ofstream(older) << std::regex_replace(text, std::regex("record 3"), "record 2") << "given-up\n";
    EXPECT_TRUE(SaveRecordsOf(RealSystem(), file.string()).at(0).record.told);
    if (::geteuid() != 0) GTEST_SKIP() << "only root can give a record another owner";
    EXPECT_TRUE(::chown(older.c_str(), 1003, 1003) == 0 && SaveRecordsOf(RealSystem(), file.string()).empty());
}

// The state folder is made the user's alone, once; a link in its place takes no copy nor record (another user's:
// AFileInAFolderThatTakesNoNewFilesIsWrittenInPlace).
TEST_F(RecordsTest, TheStateFolderIsTheUsersOwn) {
    fs::create_hard_link(file, trees / "for-aunt.ged");  // saved in place, and so recorded
    struct Counting : WatchedSystem {
        int folders = 0;
        int MakeFolder(int dir, const std::string& name, mode_t mode) override {
            return ++folders, WatchedSystem::MakeFolder(dir, name, mode);
        }
        int StatusAt(int at, const std::string& name, struct stat& s) override {
            return name == CopiesFolder() && !fs::exists(name) ? (errno = EIO, -1) : SystemCalls::StatusAt(at, name, s);
        }
    } sys;
    fs::create_directories(state);
    fs::permissions(state, fs::perms(0755));
    for (int save = 0; save < 2; ++save) ASSERT_TRUE(SaveContents(file.string(), "saved", sys).saved());
    EXPECT_EQ(fs::status(state).permissions() & fs::perms::all, fs::perms::owner_all);
    EXPECT_EQ(sys.folders, 1);  // the records' folder of trees
    // A copy kept where neither the new contents nor the earlier could be written: its saver held its record.
    WatchedSystem failing;
    failing.before = [](const std::string& call) { return call == "write fam.ged" ? EIO : 0; };
    EXPECT_FALSE(SaveContents(file.string(), "kept", failing).saved());
    const std::vector<FoundRecord> kept = SaveRecordsOf(RealSystem(), file.string());
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_TRUE(kept[0].record.told && kept[0].record.locked);
    fs::remove_all(state);
    fs::create_directories(dir / "elsewhere");
    fs::create_directory_symlink(dir / "elsewhere", state);
    const SaveResult linked = SaveContents(file.string(), "again", sys);
    EXPECT_EQ(std::make_pair(linked.stop, linked.error), std::make_pair(SaveStop::Record, ELOOP));
    EXPECT_TRUE(fs::is_empty(dir / "elsewhere"));
    fs::remove(state);  // and one not there whose look fails, as on a failing disk: none is made
    EXPECT_TRUE(SaveContents(file.string(), "again", sys).error == EIO && !fs::exists(state));
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
    // A copy half written into the state folder goes (one whose record cannot be read: StartUpNamesEveryOther...).
    SaveRecord half = SaveOf(::getpid());
    std::tie(half.kind, half.folder, half.scratch, half.locked) =
        std::tuple(RecordKind::Scratch, state.string(), ".fam from x.ged.0123456789abcdef.tmp", true);
    std::ofstream(state / half.scratch) << "half";
    Plant(half, "scratch");
    CleanOldScratchRecords(sys);
    EXPECT_FALSE(fs::exists(state / half.scratch));
    EXPECT_FALSE(fs::exists(planted[0].parent_path()));
    for (int k = 1; k < 4; ++k) EXPECT_TRUE(fs::exists(planted[k])) << planted[k];
    aged(planted[2], 30);
    CleanOldScratchRecords(sys);  // once per start
    EXPECT_TRUE(fs::exists(planted[2]));
}

}  // namespace
}  // namespace lintora::testing
