// Who saves decides how: a file is replaced by a new one wherever the new
// one can stand in for it, and a copy of its earlier contents, kept while
// it is written in place, is open to no one who could not open the file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include <fcntl.h>
#include <linux/fs.h>
#include <linux/posix_acl.h>
#include <linux/posix_acl_xattr.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include "platform/disk/file_reading.h"
#include "platform/disk/save_contents.h"
#include "tests/support/as_user.h"
#include "tests/support/file_checks.h"
#include "tests/support/watched_system.h"

namespace lintora::testing {
namespace {

namespace fs = std::filesystem;

// The family: Anna owns the files; Bob and Cara are of the family group,
// Carol and Dave are not. Bob, Carol and Dave share the primary group users.
constexpr uid_t kAnna = 1002, kBob = 1003, kCarol = 1004, kDave = 1005, kCara = 1006;
constexpr gid_t kUsers = 100, kFamily = 2000;
const std::string kOld = "0 HEAD\n1 CHAR ANSEL\n0 @I1@ INDI\n1 NAME Anna /Lindqvist/\n0 TRLR\n";
const std::string kNew = "0 HEAD\n1 CHAR ANSEL\n0 @I1@ INDI\n1 NAME Anna /Lindqvist/\n1 BIRT\n2 DATE 1990\n0 TRLR\n";

class WhoSavesTest : public ::testing::Test {
protected:
    fs::path dir;
    void SetUp() override {
        if (::geteuid() != 0) GTEST_SKIP() << "only root can make files of other users and act as them";
        std::random_device rd;
        dir = fs::temp_directory_path() / ("lintora-who-" + std::to_string(rd()) + std::to_string(rd()));
        fs::create_directories(dir / "state");
        ::chmod(dir.c_str(), 0755);
        ::chmod((dir / "state").c_str(), 0777);
    }
    void TearDown() override {
        std::error_code ec;
        if (!dir.empty()) fs::remove_all(dir, ec);
    }
    // A folder or file with its owner, group and permissions.
    static void Make(const fs::path& p, uid_t uid, gid_t gid, mode_t mode) {
        if (S_ISDIR(mode)) fs::create_directories(p);
        else std::ofstream(p, std::ios::binary) << kOld;
        ASSERT_EQ(::chown(p.c_str(), uid, gid), 0);
        ASSERT_EQ(::chmod(p.c_str(), mode & 07777), 0);
    }
    // Runs work as uid, with a state folder of his own for the program.
    std::string As(uid_t uid, const std::vector<gid_t>& groups, const std::function<std::string()>& work) {
        return AsUser(uid, groups, [&] {
            ::setenv("XDG_STATE_HOME", (dir / "state" / std::to_string(uid)).c_str(), 1);
            return work();
        });
    }
    // What a user finds when he reads p: "old", "new" or "<unreadable>".
    std::string ReadBy(uid_t uid, const std::vector<gid_t>& groups, const fs::path& p) {
        const std::string read = As(uid, groups, [&] { return Read(p); });
        return read == kOld ? "old" : read == kNew ? "new" : read;
    }
};

// A user who owns his file, in a group of his, and root saving anyone's
// file, replace it by a new file with the same owner, group and permissions.
// Only a file with a second name, or in a folder that takes no new files,
// is written in place.
TEST_F(WhoSavesTest, AFileIsReplacedByANewOneWhereverItCanBe) {
    const fs::path annas = dir / "anna", family = dir / "family", frozen = dir / "frozen";
    Make(annas, kAnna, kAnna, S_IFDIR | 0755);
    Make(family, 0, kFamily, S_IFDIR | 0755);
    Make(frozen, 0, 0, S_IFDIR | 0777);
    const fs::path own = annas / "fam.ged", others = family / "fam.ged", named = family / "linked.ged";
    const fs::path locked = family / "locked.ged", stuck = frozen / "fam.ged";
    for (const fs::path& file : {own, others, named, locked, stuck}) Make(file, kAnna, kFamily, 0640);
    ASSERT_EQ(::link(named.c_str(), (family / "linked-for-aunt.ged").c_str()), 0);
    const struct Case {
        const char* who;
        uid_t uid;
        std::vector<gid_t> groups;
        fs::path file;
        const char* how;
    } cases[] = {{"Anna, her own file of her family group", kAnna, {kAnna, kFamily}, own, "a new file"},
                 {"root, Anna's file", 0, {0}, others, "a new file"},
                 {"root, a file with a second name", 0, {0}, named, "in place"},
                 {"Anna, her own file in a folder that takes no new files", kAnna, {kAnna, kFamily}, locked,
                  "in place"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.who);
        const ino_t before = Inode(c.file);
        EXPECT_EQ(As(c.uid, c.groups, [&] { return SaveContents(c.file.string(), kNew).saved() ? "saved" : "not"; }),
                  "saved");
        EXPECT_EQ(Inode(c.file) == before ? "in place" : "a new file", std::string(c.how));
        EXPECT_EQ(Read(c.file), kNew);
        EXPECT_EQ(Owners(c.file), "1002:2000 640");
    }
    EXPECT_EQ(Read(family / "linked-for-aunt.ged"), kNew);

    // Root himself cannot make files in a folder marked unchangeable.
    const int fd = ::open(frozen.c_str(), O_RDONLY | O_DIRECTORY);
    int flags = 0;
    const bool marked = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 &&
                        (flags |= FS_IMMUTABLE_FL, ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0);
    const ino_t before = Inode(stuck);
    const bool saved =
        marked && As(0, {0}, [&] { return SaveContents(stuck.string(), kNew).saved() ? "y" : "n"; }) == "y";
    flags &= ~FS_IMMUTABLE_FL;
    if (marked) (void)::ioctl(fd, FS_IOC_SETFLAGS, &flags);
    ::close(fd);
    if (!marked) GTEST_SKIP() << "the file system of " << dir << " cannot mark a folder unchangeable";
    EXPECT_TRUE(saved);
    EXPECT_EQ(Inode(stuck), before);
    EXPECT_EQ(Read(stuck), kNew);
}

// A save in place that stops at the cut, as a crash would, leaves the copy
// of the earlier contents beside the file, in a shared sticky folder. Bob,
// of the family group, gives it the file's group, so that Cara may read it
// as she may the file; Dave, who shares Bob's primary group but not the
// family's, may not. Carol, who may write the file only through its access
// list, cannot give her copy the family group: her primary group gets no
// rights to it. Anna keeps her access to both.
TEST_F(WhoSavesTest, ACopyLeftByACrashIsOpenOnlyToThoseWhoMayOpenTheFile) {
    const fs::path shared = dir / "shared", fam = shared / "fam.ged";
    Make(shared, 0, 0, S_IFDIR | 01777);
    Make(fam, kAnna, kFamily, 0660);
    const std::vector<gid_t> bob{kUsers, kFamily}, carol{kUsers}, dave{kUsers}, cara{kFamily}, anna{kAnna, kFamily};
    // The copy a save of the user stopped at the cut left, with its owners.
    auto crash = [&](uid_t uid, const std::vector<gid_t>& groups) {
        std::ofstream(fam, std::ios::binary) << kOld;
        const std::string stopped = As(uid, groups, [&] {
            StoppingSystem system("cut fam.ged", 1, false);
            return SaveStopped(fam.string(), kNew, system) ? "stopped" : "not stopped";
        });
        std::vector<fs::path> copies;
        for (const auto& entry : fs::directory_iterator(shared))
            if (entry.path() != fam) copies.push_back(entry.path());
        if (copies.size() != 1) return stopped + ", " + std::to_string(copies.size()) + " copies";
        const fs::path copy = copies[0];
        const std::string found = stopped + " " + Owners(copy) + ": Anna " + ReadBy(kAnna, anna, copy) + ", Cara " +
                                  ReadBy(kCara, cara, copy) + ", Dave " + ReadBy(kDave, dave, copy);
        fs::remove(copy);
        return found;
    };
    EXPECT_EQ(crash(kBob, bob), "stopped 1003:2000 660: Anna old, Cara old, Dave <unreadable>");

    const std::string list = [] {
        // user::rw-, user:carol:rw-, group::rw-, mask::rw-, other::---
        std::string bytes;
        auto put = [&bytes](unsigned value, int size) {
            for (int i = 0; i < size; ++i) bytes += static_cast<char>(value >> (8 * i) & 0xff);
        };
        put(POSIX_ACL_XATTR_VERSION, 4);
        for (const auto& [tag, rights, id] :
             {std::tuple{ACL_USER_OBJ, 6u, ACL_UNDEFINED_ID}, {ACL_USER, 6u, kCarol},
              {ACL_GROUP_OBJ, 6u, ACL_UNDEFINED_ID}, {ACL_MASK, 6u, ACL_UNDEFINED_ID},
              {ACL_OTHER, 0u, ACL_UNDEFINED_ID}}) {
            put(tag, 2);
            put(rights, 2);
            put(id, 4);
        }
        return bytes;
    }();
    if (::setxattr(fam.c_str(), "system.posix_acl_access", list.data(), list.size(), 0) != 0)
        GTEST_SKIP() << "the file system of " << dir << " keeps no access lists";
    // The group marks show the list's mask, which Anna's entry needs.
    EXPECT_EQ(crash(kCarol, carol), "stopped 1004:100 660: Anna old, Cara <unreadable>, Dave <unreadable>");
}

}  // namespace
}  // namespace lintora::testing
