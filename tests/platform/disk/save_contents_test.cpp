#include "platform/disk/save_contents.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <utility>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/disk/file_reading.h"
#include "platform/disk/scratch_file.h"
#include "tests/support/watched_system.h"

namespace lintora::testing {
namespace {

namespace fs = std::filesystem;

class SaveContentsTest : public ::testing::Test {
protected:
    fs::path dir;
    void SetUp() override {
        std::random_device rd;
        dir = fs::temp_directory_path() / ("lintora-save-" + std::to_string(rd()) + std::to_string(rd()));
        fs::create_directories(dir);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    static std::string Read(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        std::ostringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    std::size_t Entries() const { return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), {})); }
};

// A file with contents s and permissions mode.
void WriteWithMode(const fs::path& p, const std::string& s, mode_t mode) {
    std::ofstream(p, std::ios::binary) << s;
    ::chmod(p.c_str(), mode);
}

mode_t Mode(const fs::path& p) {
    struct stat st {};
    return ::stat(p.c_str(), &st) == 0 ? st.st_mode & 07777 : 07777;
}

// The umask of the scope's life.
struct Umask {
    mode_t before;
    explicit Umask(mode_t m) : before(::umask(m)) {}
    ~Umask() { ::umask(before); }
};

TEST_F(SaveContentsTest, ReplacesTheFileOrLeavesItAsItWas) {
    fs::path target = dir / "file.txt";
    EXPECT_TRUE(SaveContents(target.string(), "one").saved());
    EXPECT_TRUE(SaveContents(target.string(), "two").saved());
    EXPECT_EQ(Read(target), "two");
    const SaveResult missing = SaveContents((dir / "missing" / "file.txt").string(), "x");
    EXPECT_EQ(missing.stop, SaveStop::Unreachable);
    EXPECT_EQ(missing.error, ENOENT);
    EXPECT_EQ(SaveContents(dir.string(), "x").stop, SaveStop::Folder);
    EXPECT_EQ(SaveContents((dir / "..").string(), "x").stop, SaveStop::Folder);
    EXPECT_EQ(Entries(), 1u);
    std::string back;
    EXPECT_TRUE(ReadWholeFile(target.string(), back));
    EXPECT_EQ(back, "two");
    EXPECT_FALSE(ReadWholeFile((dir / "none").string(), back));
}

// A file replaced by a save is still the file the user had: private stays
// private, read-only stays read-only (root included), a link stays a link.
TEST_F(SaveContentsTest, KeepsWhatTheFileWas) {
    const fs::path priv = dir / "private.lnt", locked = dir / "locked.ged";
    const fs::path real = dir / "real.lnt", link = dir / "link.lnt";
    for (const fs::path& p : {priv, locked, real}) std::ofstream(p, std::ios::binary) << "old";
    fs::permissions(priv, fs::perms::owner_read | fs::perms::owner_write);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::create_symlink(real, link);

    EXPECT_TRUE(SaveContents(priv.string(), "new").saved());
    EXPECT_EQ(Read(priv), "new");
    EXPECT_EQ(Mode(priv), 0600u);

    EXPECT_TRUE(IsReadOnly(locked.string()));
    EXPECT_FALSE(IsReadOnly(priv.string()));
    EXPECT_EQ(SaveContents(locked.string(), "new").stop, SaveStop::ReadOnly);
    EXPECT_EQ(Read(locked), "old");

    EXPECT_TRUE(SaveContents(link.string(), "new").saved());
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(Read(real), "new");
    EXPECT_EQ(Entries(), 4u);  // no file of the save's own left behind
}

// Saved over, the family data of living people is never readable by others,
// not even while it is written: the new file has the old file's permissions
// or fewer from the moment it is made. A new file gets what the user's umask
// leaves of read and write, never an execute mark: with the umask 002 of a
// user's own group, the group may write it too.
TEST_F(SaveContentsTest, NewContentsAreNeverMoreOpenThanTheOldFile) {
    struct Case {
        const char* name;
        mode_t umask, old;  // old 0: no file yet
        mode_t saved;
    };
    for (const Case& c : {Case{"living.lnt", 027, 0600, 0600}, Case{"shared.ged", 027, 0664, 0664},
                          Case{"tool.sh", 027, 0750, 0750}, Case{"new.lnt", 027, 0, 0640},
                          Case{"ours.ged", 002, 0, 0664}}) {
        SCOPED_TRACE(c.name);
        const Umask umask(c.umask);
        const fs::path file = dir / c.name;
        if (c.old) WriteWithMode(file, "old", c.old);
        // The new file as soon as it is made, before anything is given or written to it.
        std::vector<mode_t> madeWith;
        bool made = false;
        WatchedSystem system;
        system.before = [&](const std::string& call) {
            if (made)
                for (const auto& entry : fs::directory_iterator(dir))
                    if (entry.path().extension() == ".tmp") madeWith.push_back(Mode(entry.path()));
            made = call.rfind("create ", 0) == 0;
            return 0;
        };
        ASSERT_TRUE(SaveContents(file.string(), "Anna Lindqvist b. 1990", system).saved());
        ASSERT_EQ(madeWith.size(), 1u);
        EXPECT_EQ(madeWith[0] & ~c.saved, 0u) << std::oct << madeWith[0];
        EXPECT_EQ(Mode(file), c.saved) << std::oct << Mode(file);
        EXPECT_EQ(Read(file), "Anna Lindqvist b. 1990");
    }
    EXPECT_EQ(Entries(), 5u);
}

// A save through a link whose file is not there yet writes the file the
// link names (from the link's folder, through a chain of links) and keeps
// the link; a link that cannot be followed writes nothing.
TEST_F(SaveContentsTest, ASaveThroughALinkWritesTheFileItNames) {
    fs::create_directories(dir / "trees");
    fs::create_symlink("trees/smith.lnt", dir / "smith.lnt");
    fs::create_symlink(dir / "smith.lnt", dir / "latest.lnt");
    EXPECT_TRUE(SaveContents((dir / "latest.lnt").string(), "first").saved());
    EXPECT_EQ(Read(dir / "trees" / "smith.lnt"), "first");
    EXPECT_TRUE(fs::is_symlink(dir / "latest.lnt"));
    EXPECT_TRUE(fs::is_symlink(dir / "smith.lnt"));
    EXPECT_TRUE(SaveContents((dir / "smith.lnt").string(), "second").saved());
    EXPECT_EQ(Read(dir / "trees" / "smith.lnt"), "second");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "trees"), fs::directory_iterator()), 1);

    fs::create_symlink("gone/jones.lnt", dir / "jones.lnt");
    fs::create_symlink("loop.b", dir / "loop.a");
    fs::create_symlink("loop.a", dir / "loop.b");
    ::mkfifo((dir / "pipe").c_str(), 0600);
    const struct {
        const char* name;
        SaveStop stop;
        int error;
    } refused[] = {{"jones.lnt", SaveStop::Unreachable, ENOENT},
                   {"loop.a", SaveStop::Unreachable, ELOOP},
                   {"pipe", SaveStop::NotOrdinary, 0}};
    for (const auto& c : refused) {
        const SaveResult result = SaveContents((dir / c.name).string(), "x");
        EXPECT_EQ(result.stop, c.stop) << c.name;
        EXPECT_EQ(result.error, c.error) << c.name;
        EXPECT_FALSE(fs::is_regular_file(fs::symlink_status(dir / c.name))) << c.name;
    }
    EXPECT_EQ(Entries(), 7u);
}

// A user's ~/Family is a link to the shared /data/family, written out in
// full or from the link's own folder: a file saved through it, there
// already or new, is written in the linked-to folder, and the link stays.
TEST_F(SaveContentsTest, ASaveThroughALinkedFolderWritesInTheFolderItNames) {
    const fs::path family = dir / "data" / "family";
    fs::create_directories(family);
    std::ofstream(family / "smith.lnt", std::ios::binary) << "old";
    const fs::path anna = dir / "home" / "anna", bob = dir / "home" / "bob";
    for (const auto& [home, link] : {std::pair{anna, family}, {bob, fs::path("../../data/family")}}) {
        SCOPED_TRACE(link.string());
        fs::create_directories(home);
        fs::create_symlink(link, home / "Family");
        const std::string contents = home.filename().string() + " saved";
        for (const char* name : {"smith.lnt", "jones.ged"}) {
            const SaveResult result = SaveContents((home / "Family" / name).string(), contents);
            EXPECT_EQ(result.stop, SaveStop::None) << std::strerror(result.error);
            EXPECT_EQ(Read(family / name), contents);
        }
        EXPECT_TRUE(fs::is_symlink(home / "Family"));
        EXPECT_EQ(std::distance(fs::directory_iterator(home), fs::directory_iterator()), 1);
        EXPECT_EQ(std::distance(fs::directory_iterator(family), fs::directory_iterator()), 2);
    }
}

// Whether a folder takes new files is told by making one, which is gone
// again at once.
TEST_F(SaveContentsTest, TheCheckOfAFolderLeavesNoFileBehind) {
    std::ofstream(dir / "LINTORA.USR") << "REPOS!Mine";
    EXPECT_TRUE(FolderTakesNewFiles(dir.string()));
    EXPECT_EQ(Entries(), 1u);
    EXPECT_FALSE(FolderTakesNewFiles((dir / "LINTORA.USR").string()));
    EXPECT_FALSE(FolderTakesNewFiles((dir / "none").string()));
    EXPECT_EQ(Entries(), 1u);
}

}  // namespace
}  // namespace lintora::testing
