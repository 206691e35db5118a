#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "files/file_saving.h"
#include "files/save_words.h"
#include "platform/disk/save_contents.h"
#include "tests/files/files_fixture.h"
#include "tests/support/as_user.h"
#include "tests/support/watched_system.h"

namespace lintora::testing {
namespace {

namespace fs = std::filesystem;

const std::string kSaved = "0 HEAD\r\n1 CHAR ANSEL\r\n0 @I1@ INDI\r\n1 NAME Anna /Lindqvist/\r\n0 TRLR\r\n";

class FollowingLinksTest : public FilesTest {
protected:
    void SetUp() override {
        FilesTest::SetUp();
        if (::geteuid() != 0) GTEST_SKIP() << "only root can make files of other users and act as them";
    }
    // A file with contents, owner, group and permissions.
    static void Make(const fs::path& p, const std::string& contents, uid_t uid, gid_t gid, mode_t mode) {
        Write(p, contents);
        ASSERT_EQ(::chown(p.c_str(), uid, gid), 0);
        ASSERT_EQ(::chmod(p.c_str(), mode), 0);
    }
    static void Folder(const fs::path& p, uid_t uid, gid_t gid, mode_t mode) {
        fs::create_directories(p);
        ASSERT_EQ(::chown(p.c_str(), uid, gid), 0);
        ASSERT_EQ(::chmod(p.c_str(), mode), 0);
    }
    static void Link(const fs::path& at, const fs::path& to, uid_t owner) {
        fs::create_symlink(to, at);
        ASSERT_EQ(::lchown(at.c_str(), owner, owner), 0);
    }
};

// In a shared sticky folder writable by all (1777, of user 1001) a save
// follows a link only when it is the saver's own or the folder owner's,
// whatever the system's rule: links that user 1003 put there to the saver's
// thesis, to a file not there yet under etc, or to the etc folder itself
// lead nowhere. A link in a family folder that its group may write is
// followed as before.
TEST_F(FollowingLinksTest, LinksInASharedStickyFolderAreFollowedOnlyWhenTrusted) {
    const fs::path shared = dir / "tmp", etc = dir / "etc", family = dir / "family";
    Folder(shared, 1001, 1001, 01777);
    Folder(etc, 0, 0, 0755);
    Folder(family, 0, 2000, 02770);
    Make(dir / "thesis.txt", "my thesis", 0, 0, 0644);
    Make(etc / "hosts", "127.0.0.1 localhost", 0, 0, 0644);
    Link(shared / "family.ged", dir / "thesis.txt", 1003);
    Link(shared / "new.ged", etc / "new.conf", 1003);
    Link(shared / "trees", etc, 1003);
    Link(shared / "mine.ged", dir / "mine.ged", 0);
    Link(shared / "owners.ged", "../owners.ged", 1001);
    Link(family / "latest.ged", dir / "tree.ged", 1003);
    const std::string refused = " is a link of " + UserName(1003) + " in the shared folder " + shared.string() +
                                ", where a save follows only your own links and those of the folder's owner.";
    for (const fs::path& link : {shared / "family.ged", shared / "new.ged", shared / "trees"}) {
        const fs::path saved = link == shared / "trees" ? link / "hosts" : link;
        EXPECT_EQ(NotSavedText(saved.string(), SaveContents(saved.string(), kSaved)), link.string() + refused);
    }
    EXPECT_EQ(Read(dir / "thesis.txt"), "my thesis");
    EXPECT_EQ(Read(etc / "hosts"), "127.0.0.1 localhost");
    EXPECT_EQ(Listing(etc), std::vector<std::string>{"hosts"});

    for (const fs::path& link : {shared / "mine.ged", shared / "owners.ged", family / "latest.ged"}) {
        EXPECT_TRUE(SaveContents(link.string(), kSaved).saved()) << link;
        EXPECT_TRUE(fs::is_symlink(link)) << link;
    }
    for (const char* name : {"mine.ged", "owners.ged", "tree.ged"}) EXPECT_EQ(Read(dir / name), kSaved) << name;
}

// A family folder that its group shares and keeps sticky (01775, of root
// and the family group 2000) is not writable by all: there, as the system
// does, a save follows the link that another member (1003) put in, and
// 1004 writes the family tree it leads to.
TEST_F(FollowingLinksTest, AnotherMembersLinkInAGroupsStickyFolderIsFollowed) {
    const fs::path shared = dir / "shared", trees = dir / "trees";
    Folder(shared, 0, 2000, 01775);
    Folder(trees, 0, 2000, 02775);
    Make(trees / "lindqvist.ged", "old", 1004, 2000, 0664);
    Link(shared / "latest.ged", "../trees/lindqvist.ged", 1003);
    const std::string report = AsUser(1004, {1004, 2000}, [&] {
        return NotSavedText((shared / "latest.ged").string(), SaveContents((shared / "latest.ged").string(), kSaved));
    });
    EXPECT_EQ(report, "");
    EXPECT_EQ(Read(trees / "lindqvist.ged"), kSaved);
    EXPECT_TRUE(fs::is_symlink(shared / "latest.ged"));
}

// What the save checks is what it writes: a link that another member of
// the family puts in meanwhile, in place of the file or of its folder, is
// not followed. The file swapped for a link to the saver's thesis is not
// saved; the folder swapped for a link to another one still gets the file,
// in the folder that was checked.
TEST_F(FollowingLinksTest, ALinkPlantedWhileTheSaveRunsLeadsNowhere) {
    const fs::path family = dir / "family", elsewhere = dir / "elsewhere", moved = dir / "family.old";
    Folder(family, 0, 2000, 02775);
    Folder(elsewhere, 0, 0, 0755);
    Make(dir / "thesis.txt", "my thesis", 0, 0, 0644);
    Make(family / "fam.ged", "old", 0, 2000, 0664);
    fs::create_hard_link(family / "fam.ged", family / "copy-for-aunt.ged");  // written in place
    WatchedSystem system;
    system.before = [&](const std::string& call) {
        if (call == "open fam.ged") {
            fs::rename(family / "fam.ged", family / "fam.bak");
            fs::create_symlink(dir / "thesis.txt", family / "fam.ged");
        }
        return 0;
    };
    const std::string path = (family / "fam.ged").string();
    EXPECT_EQ(NotSavedText(path, SaveContents(path, kSaved, system)),
              "fam.ged was not saved: another file took its place while it was being saved.");
    EXPECT_EQ(Read(dir / "thesis.txt"), "my thesis");
    EXPECT_EQ(Read(family / "copy-for-aunt.ged"), "old");

    fs::remove(family / "fam.ged");
    fs::remove(family / "copy-for-aunt.ged");
    fs::rename(family / "fam.bak", family / "fam.ged");
    system.before = [&](const std::string& call) {
        if (call.rfind("create ", 0) == 0 && !fs::exists(moved)) {
            fs::rename(family, moved);
            fs::create_directory_symlink(elsewhere, family);
        }
        return 0;
    };
    EXPECT_TRUE(SaveContents(path, kSaved, system).saved());
    EXPECT_EQ(Read(moved / "fam.ged"), kSaved);
    EXPECT_TRUE(fs::is_empty(elsewhere));
}

}  // namespace
}  // namespace lintora::testing
