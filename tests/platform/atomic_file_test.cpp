#include "platform/atomic_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace lintora {
namespace {

namespace fs = std::filesystem;

class AtomicFileTest : public ::testing::Test {
protected:
    fs::path dir;
    void SetUp() override {
        std::random_device rd;
        dir = fs::temp_directory_path() / ("lintora-atomic-" + std::to_string(rd()) + std::to_string(rd()));
        fs::create_directories(dir);
    }
    void TearDown() override {
        WatchNewTemporaryFiles(nullptr);
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    static std::string Read(const fs::path& p) {
        std::ostringstream ss;
        ss << std::ifstream(p, std::ios::binary).rdbuf();
        return ss.str();
    }
    static void Write(const fs::path& p, const std::string& s, mode_t mode) {
        std::ofstream(p, std::ios::binary) << s;
        ::chmod(p.c_str(), mode);
    }
    static mode_t Mode(const fs::path& p) {
        struct stat st {};
        return ::stat(p.c_str(), &st) == 0 ? st.st_mode & 07777 : 07777;
    }
};

// The umask of the scope's life.
struct Umask {
    mode_t before;
    explicit Umask(mode_t m) : before(::umask(m)) {}
    ~Umask() { ::umask(before); }
};

// Saved over, the family data of living people is never readable by others,
// not even while it is written: the temporary file has the old file's
// permissions or fewer from the moment it is made. A new file gets what the
// user's umask leaves of read and write, never an execute mark.
TEST_F(AtomicFileTest, NewContentsAreNeverMoreOpenThanTheOldFile) {
    const Umask umask(027);
    std::vector<mode_t> madeWith;
    WatchNewTemporaryFiles([&madeWith](const std::string& temp) { madeWith.push_back(Mode(temp)); });
    struct Case {
        const char* name;
        mode_t old;  // 0: no file yet
        mode_t saved;
    };
    for (const Case& c : {Case{"living.lnt", 0600, 0600}, Case{"shared.ged", 0664, 0664},
                          Case{"tool.sh", 0750, 0750}, Case{"new.lnt", 0, 0640}}) {
        SCOPED_TRACE(c.name);
        const fs::path file = dir / c.name;
        if (c.old) Write(file, "old", c.old);
        madeWith.clear();
        ASSERT_EQ(WriteFileAtomically(file.string(), "Anna Lindqvist b. 1990"), "");
        ASSERT_EQ(madeWith.size(), 1u);
        EXPECT_EQ(madeWith[0] & ~c.saved, 0u) << std::oct << madeWith[0];
        EXPECT_EQ(Mode(file), c.saved) << std::oct << Mode(file);
        EXPECT_EQ(Read(file), "Anna Lindqvist b. 1990");
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 4);
}

// A save through a link whose file is not there yet writes the file the
// link names (from the link's folder, through a chain of links) and keeps
// the link; a link that cannot be followed writes nothing.
TEST_F(AtomicFileTest, ASaveThroughALinkWritesTheFileItNames) {
    fs::create_directories(dir / "trees");
    fs::create_symlink("trees/smith.lnt", dir / "smith.lnt");
    fs::create_symlink(dir / "smith.lnt", dir / "latest.lnt");
    EXPECT_EQ(WriteFileAtomically((dir / "latest.lnt").string(), "first"), "");
    EXPECT_EQ(Read(dir / "trees" / "smith.lnt"), "first");
    EXPECT_TRUE(fs::is_symlink(dir / "latest.lnt"));
    EXPECT_TRUE(fs::is_symlink(dir / "smith.lnt"));
    EXPECT_EQ(WriteFileAtomically((dir / "smith.lnt").string(), "second"), "");
    EXPECT_EQ(Read(dir / "trees" / "smith.lnt"), "second");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "trees"), fs::directory_iterator()), 1);

    fs::create_symlink("gone/jones.lnt", dir / "jones.lnt");
    fs::create_symlink("loop.b", dir / "loop.a");
    fs::create_symlink("loop.a", dir / "loop.b");
    ::mkfifo((dir / "pipe").c_str(), 0600);
    for (const char* name : {"jones.lnt", "loop.a", "pipe"}) {
        EXPECT_NE(WriteFileAtomically((dir / name).string(), "x"), "") << name;
        EXPECT_FALSE(fs::is_regular_file(fs::symlink_status(dir / name))) << name;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 7);
}

}  // namespace
}  // namespace lintora
