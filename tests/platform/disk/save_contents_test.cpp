#include "platform/disk/save_contents.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <regex>
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
        // The program's records, out of the folder the tests count.
        setenv("XDG_STATE_HOME", (dir.string() + "-state").c_str(), 1);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir, ec);
        fs::remove_all(dir.string() + "-state", ec);
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
        std::string made;  // as the calls name it, nameless or not
        WatchedSystem system;
        system.before = [&](const std::string& call) {
            if (!made.empty() && system.ShowAt(made, (dir / "look").string())) {
                madeWith.push_back(Mode(dir / "look"));
            }
            made = call.rfind("create ", 0) == 0 ? call.substr(7) : "";
            return 0;
        };
        ASSERT_TRUE(SaveContents(file.string(), "Anna Lindqvist b. 1990", system).saved());
        fs::remove(dir / "look");  // a name of the test's own
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

// The system of a save that ends, as a crash would, at its call number
// stopAt (counted from 1), or half-way through the first write of a file
// of its own when stopAt is 0.
struct KilledSystem : WatchedSystem {
    std::size_t stopAt = 0;
    std::string target;
    KilledSystem(std::size_t at, std::string file) : stopAt(at), target(std::move(file)) {
        before = [this](const std::string&) {
            if (calls.size() == stopAt) ::_exit(0);
            return 0;
        };
    }
    ssize_t WriteAt(int fd, const char* from, std::size_t size, off_t at) override {
        if (stopAt == 0 && NameOf(fd) != target) {
            (void)SystemCalls::WriteAt(fd, from, size / 2, at);
            ::_exit(0);
        }
        return WatchedSystem::WriteAt(fd, from, size, at);
    }
};

// A save killed at any step from making its new file (or the copy of the
// earlier contents of a file written in place) until that file is whole
// and named, or half-way through writing it, leaves nothing of its own
// beside the file, which holds its earlier contents.
TEST_F(SaveContentsTest, ASaveKilledBeforeItsOwnFileIsNamedLeavesNothingBehind) {
    if (!MakesNamelessFiles(dir.string())) GTEST_SKIP() << "the file system of " << dir << " makes no nameless files";
    const std::string earlier(100000, 'e'), saved(150000, 's');
    std::ofstream(dir / "alone.ged", std::ios::binary) << earlier;  // replaced by a new file
    std::ofstream(dir / "family.lnt", std::ios::binary) << earlier;  // written in place: it has a second name
    fs::create_hard_link(dir / "family.lnt", dir / "for-aunt.lnt");
    for (const std::string name : {"alone.ged", "family.lnt"}) {
        SCOPED_TRACE(name);
        const fs::path file = dir / name;
        // The steps of a whole save, up to the one that names its own file.
        WatchedSystem whole;
        ASSERT_TRUE(SaveContents(file.string(), earlier, whole).saved());
        const auto& calls = whole.calls;
        const auto first = std::find_if(calls.begin(), calls.end(), [](auto& c) { return c.starts_with("create"); });
        const auto named = std::find_if(first, calls.end(), [](auto& c) {
            return c.starts_with("link") || c.starts_with("rename");
        });
        ASSERT_NE(named, calls.end());
        std::vector<std::size_t> stops{0};  // 0: half-way through writing its own file
        for (auto at = first; at <= named; ++at) stops.push_back(static_cast<std::size_t>(at - calls.begin()) + 1);
        EXPECT_GE(stops.size(), 6u);
        for (const std::size_t stop : stops) {
            SCOPED_TRACE(stop ? calls[stop - 1] : "half-way through the write");
            KilledSystem system(stop, name);
            ASSERT_TRUE(SaveStopped(file.string(), saved, system));
            EXPECT_EQ(Entries(), 3u);
            EXPECT_TRUE(Read(file) == earlier);
        }
    }
}

// Who the save runs as, and how long a name its folder takes, are asked of
// the system it is given. A user who is not root owns the file of his own
// group: it is replaced by a new file; of a group he is not in, it is
// written in place, which keeps the group. On a share whose names are at
// most 64 bytes long, the names the save makes are cut to fit.
TEST_F(SaveContentsTest, TheSaveAsksTheSystemWhoItRunsAsAndHowLongANameMayBe) {
    struct Share : WatchedSystem {
        uid_t user = 0;
        gid_t group = 0;
        std::vector<gid_t> others;
        uid_t User() override { return user; }
        gid_t Group() override { return group; }
        std::vector<gid_t> OtherGroups() override { return others; }
        long NameMax(int) override { return 64; }
    } share;
    share.user = ::geteuid() == 0 ? 1003 : ::geteuid();
    const gid_t fileGroup = ::getegid() == 0 ? 1003 : ::getegid(), notIt = fileGroup + 1;
    const std::string name = std::string(60, 'l') + ".lnt";
    const fs::path file = dir / name;
    std::ofstream(file, std::ios::binary) << "earlier";
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(file.c_str(), share.user, fileGroup), 0);
        // The state folder of the user the save takes itself for.
        const fs::path state = dir.string() + "-state/Lintora";
        fs::create_directories(state);
        ASSERT_EQ(::chown(state.c_str(), share.user, fileGroup), 0);
    }
    const struct {
        gid_t group;
        std::vector<gid_t> others;
        bool inPlace;
    } cases[] = {{fileGroup, {}, false}, {notIt, {fileGroup}, false}, {notIt, {notIt + 1}, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.group);
        share.group = c.group;
        share.others = c.others;
        share.calls.clear();
        ASSERT_TRUE(SaveContents(file.string(), "saved", share).saved());
        EXPECT_EQ(share.Calls({"cut " + name}).size(), c.inPlace ? 1u : 0u);
        EXPECT_EQ(Read(file), "saved");
        // Every name the save made, scratch names masked (".*." for 16 digits).
        std::size_t names = 0;
        for (const std::string& call : share.Calls({"link", "rename"})) {
            const std::size_t over = call.find(" over ");
            const std::string made =
                over != std::string::npos ? call.substr(over + 6) : call.substr(call.find(" to ") + 4);
            if (made == name) continue;
            const bool scratch = made.find(".*.") != std::string::npos;
            EXPECT_LE(made.size() + (scratch ? 15 : 0), 64u) << made;
            if (!scratch) {
                EXPECT_TRUE(std::regex_match(made, std::regex("l{27} [0-9a-f]{8} \\(earlier contents\\)\\.lnt")))
                    << made;
            }
            ++names;
        }
        EXPECT_GE(names, 1u);
    }
    EXPECT_EQ(Entries(), 1u);
}

// Where a rename that never replaces is done as a second name and the
// first cannot then go, the second one goes again: one file under two
// names would be taken for two.
TEST_F(SaveContentsTest, ARenameByASecondNameLeavesOneName) {
    std::ofstream(dir / "scratch", std::ios::binary) << "earlier";
    WatchedSystem system;
    system.before = [](const std::string& call) { return call == "remove scratch" ? EIO : 0; };
    const Descriptor folder(system, ::open(dir.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    EXPECT_EQ(RenameByLink(system, folder.get(), "scratch", "family (earlier contents).lnt"), -1);
    EXPECT_EQ(errno, EIO);
    EXPECT_EQ(Entries(), 1u);
    EXPECT_EQ(Read(dir / "scratch"), "earlier");
}

// A folder on the way that will not let the user back out of it is told
// with the system's own error, which closing the folder in hand does not
// change.
TEST_F(SaveContentsTest, AFolderOnTheWayThatRefusesIsToldWithItsError) {
    fs::create_directories(dir / "trees");
    WatchedSystem system;
    system.before = [](const std::string& call) { return call == "find .." ? EACCES : 0; };
    const SaveResult result = SaveContents((dir / "trees" / ".." / "family.lnt").string(), "saved", system);
    EXPECT_EQ(result.stop, SaveStop::Unreachable);
    EXPECT_EQ(result.error, EACCES);
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
    EXPECT_TRUE(FolderTakesNewFiles(RealSystem(), dir.string()));
    EXPECT_EQ(Entries(), 1u);
    EXPECT_FALSE(FolderTakesNewFiles(RealSystem(), (dir / "LINTORA.USR").string()));
    EXPECT_FALSE(FolderTakesNewFiles(RealSystem(), (dir / "none").string()));
    EXPECT_EQ(Entries(), 1u);
}

}  // namespace
}  // namespace lintora::testing
