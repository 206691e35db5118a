#include "platform/disk/save_record.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <regex>
#include <set>
#include <sstream>

#include <unistd.h>

#include "platform/disk/load_contents.h"
#include "tests/support/as_user.h"
#include "tests/support/watched_system.h"

namespace lintora::testing {
namespace {

namespace fs = std::filesystem;

class ScratchRecordsTest : public ::testing::Test {
protected:
    fs::path dir = fs::temp_directory_path() / ("lintora-scratch-" + std::to_string(std::random_device{}()));
    // Blanks in the folder and the name, which a record must hold as they are.
    fs::path trees = dir / "family trees", file = trees / "the family.lnt",
             records = dir / "state" / "Lintora" / RecordsFolderName(trees.string());
    const std::string mine = ".the family.lnt.0123456789abcdef.tmp";  // the user's own, named as the program's
    const std::string rename = "rename .the family.lnt.*.tmp over the family.lnt";
    void SetUp() override {
        fs::create_directories(trees);
        setenv("XDG_STATE_HOME", (dir / "state").c_str(), 1);
    }
    void TearDown() override { fs::remove_all(dir); }
    static std::set<std::string> Names(const fs::path& folder) {
        std::set<std::string> names;
        if (fs::exists(folder))
            for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
        return names;
    }
    static std::string Read(const fs::path& p) { return (std::ostringstream() << std::ifstream(p).rdbuf()).str(); }
    // The scratch file a save killed at its rename left, which must be there.
    std::string CrashAtTheRename(bool noNameless) {
        struct Crashing : StoppingSystem {
            bool noNameless = false;
            using StoppingSystem::StoppingSystem;
            int OpenNameless(int dir, int flags, mode_t mode) override {
                errno = EOPNOTSUPP;
                return noNameless ? -1 : StoppingSystem::OpenNameless(dir, flags, mode);
            }
        } crash(rename, 1, false);
        crash.noNameless = noNameless;
        std::ofstream(file) << "earlier";
        EXPECT_TRUE(SaveStopped(file.string(), "saved", crash));
        EXPECT_EQ(Names(records).size(), 1u);
        for (const std::string& name : Names(trees))
            if (name.ends_with(".tmp") && name != mine && Read(trees / name) == "saved") return name;
        ADD_FAILURE() << "no scratch file";
        return "";
    }
};

// A save killed just before its rename leaves its new file under its scratch name, recorded; the next save or open
// removes both, also where its record is of format 2 (which start-up does not tell). A file of such a name that the
// program never made stays, and so does another user's at that name in a folder all may write.
TEST_F(ScratchRecordsTest, AScratchFileLeftByACrashGoesAtTheNextSaveOrOpen) {
    for (const bool noNameless : {false, true}) {
        if (!noNameless && !MakesNamelessFiles(trees.string())) continue;
        for (const bool open : {false, true}) {
            SCOPED_TRACE(std::string(noNameless ? "no nameless files, " : "") + (open ? "open" : "save"));
            std::ofstream(trees / mine) << "mine";
            ASSERT_NE(CrashAtTheRename(noNameless), "");
            if (open) EXPECT_EQ(LoadContents(file.string(), RealSystem(), LoadFor::Opening).contents, "earlier");
            else EXPECT_TRUE(SaveContents(file.string(), "again").saved());
            EXPECT_EQ(Names(trees), (std::set<std::string>{"the family.lnt", mine}));
            EXPECT_EQ(Read(trees / mine), "mine");
            EXPECT_TRUE(Names(records).empty());
        }
    }
    ASSERT_NE(CrashAtTheRename(true), "");
    const fs::path record = records / *Names(records).begin();
    const std::string text = std::regex_replace(Read(record), std::regex("3(\nkind scratch\nfolder [^\n]*)"),
                                                "2$1\nfolderid 2049 131");
    std::ofstream(record) << std::regex_replace(text, std::regex("\nname [^\n]*"), "$&\ninode 1234");
    fs::last_write_time(record, fs::file_time_type::clock::now() - std::chrono::hours(24 * 30));
    std::vector<DamagedRecord> damaged;
    CleanOldScratchRecords(RealSystem(), &damaged);
    EXPECT_TRUE(damaged.empty());
    EXPECT_EQ(LoadContents(file.string(), RealSystem(), LoadFor::Opening).contents, "earlier");
    EXPECT_EQ(Names(trees), (std::set<std::string>{"the family.lnt", mine}));
    EXPECT_TRUE(Names(records).empty());

    if (::geteuid() != 0) GTEST_SKIP() << "only root can act as two users";
    fs::permissions(trees, fs::perms::all);
    fs::remove(file);
    fs::create_directory(dir / "bob");
    ASSERT_EQ(::chown((dir / "bob").c_str(), 1003, 1003), 0);
    auto asBob = [&](const std::function<std::string()>& work) {
        return AsUser(1003, {1003}, [&] { return setenv("XDG_STATE_HOME", (dir / "bob").c_str(), 1), work(); });
    };
    EXPECT_EQ(asBob([&] {
                  std::ofstream(file) << "earlier";
                  StoppingSystem crash(rename, 1, false);
                  return SaveStopped(file.string(), "saved", crash) ? "stopped" : "not stopped";
              }),
              "stopped");
    for (const std::string& name : Names(trees)) {
        if (!name.ends_with(".tmp") || name == mine) continue;
        fs::remove(trees / name);  // Anna's, in its place
        std::ofstream(trees / name) << "Anna's";
        ASSERT_EQ(::chown((trees / name).c_str(), 1002, 1002), 0);
        EXPECT_EQ(asBob([&] { return LoadContents(file.string(), RealSystem(), LoadFor::Opening).contents; }), "earlier");
        EXPECT_EQ(Read(trees / name), "Anna's");
    }
}

// A scratch file whose saver holds its record's lock stays; once free both go, whatever numbers the drive now gives
// (FAT renumbers at each mount). A save that fails removes both; a damaged record stops no open.
TEST_F(ScratchRecordsTest, AScratchFileOfASaveStillRunningStaysAndNoNumberDecides) {
    const std::string scratch = CrashAtTheRename(!MakesNamelessFiles(trees.string()));
    ASSERT_NE(scratch, "");
    const fs::path record = records / *Names(records).begin();
    const std::string text = Read(record);
    const int saver = HoldLock(record);  // -1 leaves the scratch file taken for a stopped save's: the test fails
    EXPECT_EQ(LoadContents(file.string(), RealSystem(), LoadFor::Opening).contents, "earlier");
    EXPECT_EQ(Read(trees / scratch), "saved");
    EXPECT_EQ(Names(records).size(), 1u);
    ::close(saver);
    struct Renumbered : SystemCalls {
        int Status(int fd, struct stat& st) override { return Renumber(SystemCalls::Status(fd, st), st); }
        int StatusAt(int dir, const std::string& name, struct stat& st) override {
            return Renumber(SystemCalls::StatusAt(dir, name, st), st);
        }
        static int Renumber(int result, struct stat& st) { return st.st_dev += 7, st.st_ino += 1000, result; }
    } remounted;
    EXPECT_EQ(LoadContents(file.string(), remounted, LoadFor::Opening).contents, "earlier");
    EXPECT_EQ(Names(trees), (std::set<std::string>{"the family.lnt"}));
    EXPECT_TRUE(Names(records).empty());

    WatchedSystem failing;
    failing.before = [](const std::string& call) { return call.starts_with("rename .the") ? EIO : 0; };
    EXPECT_FALSE(SaveContents(file.string(), "saved", failing).saved());
    EXPECT_EQ(Names(trees), (std::set<std::string>{"the family.lnt"}));
    EXPECT_TRUE(Names(records).empty());

    std::ofstream(records / ".scratch.0123456789abcdef.record") << text.substr(0, text.find("name") + 4);
    EXPECT_EQ(LoadContents(file.string(), RealSystem(), LoadFor::Opening).contents, "earlier");

    // A record still under its scratch name is judged as its saver is: held, it stays whatever process it names; free
    // where locks do not reach every saver, its process tells; empty (killed before its write), it goes once old.
    struct NoLocksElsewhere : WatchedSystem {
        bool nfs = false;
        int FileSystem(int fd, std::uint64_t& type, std::string& how) override {
            return nfs ? (type = 0x6969, how = "rw,vers=3,nolock", 0) : WatchedSystem::FileSystem(fd, type, how);
        }
    } sys;
    sys.passesTime = true;
    SaveRecord running{.kind = RecordKind::Scratch, .folder = trees.string(), .scratch = mine, .pid = ::getppid()};
    std::tie(running.started, running.boot, running.host, running.locked) = std::tuple(
        RealSystem().ProcessStart(::getppid()), RealSystem().BootId(), RealSystem().HostName(), true);
    SaveRecord gone = running;
    gone.boot = "an earlier boot";
    const struct {
        const char* what;
        std::string text;
        bool held, nfs;
        int days;  // passed before the open
        bool stays;
    } cases[] = {
        {"held, its process gone", RecordText(gone), true, false, 0, true},
        {"free on nfs mounted nolock, its process running", RecordText(running), false, true, 0, true},
        {"empty", "", false, false, 0, true},
        {"empty, a week on", "", false, false, 8, false},
    };
    const fs::path writing = records / ".scratch.0123456789abcdef.tmp";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::ofstream(writing) << c.text;
        const int saver = c.held ? HoldLock(writing) : -1;
        sys.nfs = c.nfs;
        sys.Sleep(std::chrono::hours(24 * c.days));
        EXPECT_EQ(LoadContents(file.string(), sys, LoadFor::Opening).contents, "earlier");
        EXPECT_EQ(fs::exists(writing), c.stays);
        if (saver >= 0) ::close(saver);
    }
}

}  // namespace
}  // namespace lintora::testing
