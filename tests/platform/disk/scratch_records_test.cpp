#include "platform/disk/scratch_records.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <regex>
#include <set>
#include <sstream>

#include <unistd.h>

#include "platform/disk/load_contents.h"
#include "tests/support/watched_system.h"

namespace lintora::testing {
namespace {

namespace fs = std::filesystem;

class ScratchRecordsTest : public ::testing::Test {
protected:
    fs::path dir, trees, file, records;
    const std::string mine = ".family.lnt.0123456789abcdef.tmp";  // the user's own, named as the program names its own
    void SetUp() override {
        std::random_device rd;
        dir = fs::temp_directory_path() / ("lintora-scratch-" + std::to_string(rd()) + std::to_string(rd()));
        trees = dir / "trees";
        file = trees / "family.lnt";
        records = dir / "state" / "Lintora";
        fs::create_directories(trees);
        setenv("XDG_STATE_HOME", (dir / "state").c_str(), 1);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    static std::set<std::string> Names(const fs::path& folder, const std::string& start = "") {
        std::set<std::string> names;
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(folder, ec))
            if (entry.path().filename().string().starts_with(start)) names.insert(entry.path().filename().string());
        return names;
    }
    static std::string Read(const fs::path& p) {
        std::ostringstream text;
        text << std::ifstream(p, std::ios::binary).rdbuf();
        return text.str();
    }
};

// A save that stops as a crash would where asked, on a file system that
// makes nameless files or, where told, on one that makes none.
struct CrashingSystem : StoppingSystem {
    bool noNameless = false;
    explicit CrashingSystem(const std::string& at) : StoppingSystem(at, 1, false) {}
    int OpenNameless(int dir, int flags, mode_t mode) override {
        if (!noNameless) return StoppingSystem::OpenNameless(dir, flags, mode);
        errno = EOPNOTSUPP;
        return -1;
    }
};

// A save killed just before its new file is renamed over the old one
// leaves that file under its scratch name, with the program's record of
// it; the next save of the file, or its next open, removes both. A file of
// such a name that the program never made stays.
TEST_F(ScratchRecordsTest, AScratchFileLeftByACrashGoesAtTheNextSaveOrOpen) {
    for (const bool noNameless : {false, true}) {
        if (!noNameless && !MakesNamelessFiles(trees.string())) continue;
        for (const bool open : {false, true}) {
            SCOPED_TRACE(std::string(noNameless ? "no nameless files, " : "") + (open ? "open" : "save"));
            std::ofstream(file, std::ios::binary) << "earlier";
            std::ofstream(trees / mine, std::ios::binary) << "mine";
            CrashingSystem crash("rename .family.lnt.*.tmp over family.lnt");
            crash.noNameless = noNameless;
            ASSERT_TRUE(SaveStopped(file.string(), "saved", crash));
            const std::set<std::string> left = Names(trees);
            ASSERT_EQ(left.size(), 3u);
            ASSERT_EQ(Names(records, ".scratch.").size(), 1u);
            for (const std::string& name : left) {
                if (name == mine || name == "family.lnt") continue;
                EXPECT_EQ(Read(trees / name), "saved");
            }

            if (open) {
                EXPECT_EQ(LoadContents(file.string()).contents, "earlier");
            } else {
                ASSERT_TRUE(SaveContents(file.string(), "again").saved());
                EXPECT_EQ(Read(file), "again");
            }
            EXPECT_EQ(Names(trees), (std::set<std::string>{"family.lnt", mine}));
            EXPECT_EQ(Read(trees / mine), "mine");
            EXPECT_TRUE(Names(records, ".scratch.").empty());
        }
    }
}

// A scratch file whose saving process still runs is its save's, and stays
// with its record; one whose name now stands for another file stays too,
// and only its record goes. A save that fails removes its scratch file and
// the record with it.
TEST_F(ScratchRecordsTest, AScratchFileOfASaveStillRunningOrNotTheRecordedOneStays) {
    std::ofstream(file, std::ios::binary) << "earlier";
    CrashingSystem crash("rename .family.lnt.*.tmp over family.lnt");
    crash.noNameless = !MakesNamelessFiles(trees.string());
    ASSERT_TRUE(SaveStopped(file.string(), "saved", crash));
    const std::set<std::string> recorded = Names(records, ".scratch.");
    ASSERT_EQ(recorded.size(), 1u);
    const fs::path record = records / *recorded.begin();
    std::string scratch;
    for (const std::string& name : Names(trees))
        if (name != "family.lnt") scratch = name;
    ASSERT_FALSE(scratch.empty());

    // Made by a process that runs: this test's parent.
    const std::string text = Read(record);
    std::ofstream(record, std::ios::binary)
        << std::regex_replace(text, std::regex("process [0-9]+"), "process " + std::to_string(::getppid()));
    EXPECT_EQ(LoadContents(file.string()).contents, "earlier");
    EXPECT_EQ(Read(trees / scratch), "saved");
    EXPECT_EQ(Names(records, ".scratch."), recorded);

    std::ofstream(record, std::ios::binary) << text;
    std::ofstream(trees / "another", std::ios::binary) << "another file";
    fs::rename(trees / "another", trees / scratch);
    EXPECT_EQ(LoadContents(file.string()).contents, "earlier");
    EXPECT_EQ(Read(trees / scratch), "another file");
    EXPECT_TRUE(Names(records, ".scratch.").empty());
    fs::remove(trees / scratch);

    WatchedSystem failing;
    failing.before = [](const std::string& call) { return call.starts_with("rename") ? EIO : 0; };
    EXPECT_FALSE(SaveContents(file.string(), "saved", failing).saved());
    EXPECT_EQ(Names(trees), (std::set<std::string>{"family.lnt"}));
    EXPECT_TRUE(Names(records, ".scratch.").empty());
}

// Paths and names of any letters come back as they were recorded.
TEST_F(ScratchRecordsTest, ARecordHoldsAnyPathAndName) {
    ScratchNote note{"/home/ann/my %20 trees\nold", 2049, 77, ".fam ily.lnt.0123456789abcdef.tmp", 12, 4242, "", "h"};
    ScratchNote back;
    ASSERT_TRUE(ParseNote(NoteText(note), back));
    EXPECT_EQ(NoteText(back), NoteText(note));
    EXPECT_EQ(back.folder, note.folder);
    EXPECT_EQ(back.name, note.name);
    note.name = "../family.lnt";  // never a name outside its folder
    EXPECT_FALSE(ParseNote(NoteText(note), back));
}

}  // namespace
}  // namespace lintora::testing
