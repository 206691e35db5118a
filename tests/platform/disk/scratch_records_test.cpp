#include "platform/disk/save_record.h"

#include <gtest/gtest.h>

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
// removes both. A file of such a name that the program never made stays.
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
    if (::geteuid() != 0) GTEST_SKIP() << "only root can act as another user";
    const std::string others = CrashAtTheRename(true);  // its name now another user's file, in a folder all may write
    fs::permissions(trees, fs::perms::all);
    for (const auto& entry : fs::recursive_directory_iterator(dir / "state")) ::chown(entry.path().c_str(), 1003, 1003);
    const auto open = [&] { return LoadContents(file.string(), RealSystem(), LoadFor::Opening).contents; };
    EXPECT_EQ(AsUser(1003, {1003}, open), "earlier");
    EXPECT_TRUE(fs::exists(trees / others));
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

    std::ofstream(record) << std::regex_replace(text, std::regex("3(\n.*\n.*)(\n.*)"), "2$1\nfolderid 1 2$2\ninode 3");
    std::ofstream(records / ".scratch.0123456789abcdef.record") << text.substr(0, text.find("name") + 4);
    EXPECT_EQ(LoadContents(file.string(), RealSystem(), LoadFor::Opening).contents, "earlier");
    EXPECT_FALSE(fs::exists(record));  // as an earlier version wrote it (format 2, with numbers): read, its save over
}

}  // namespace
}  // namespace lintora::testing
