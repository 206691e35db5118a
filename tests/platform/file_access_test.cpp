#include "platform/file_access.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <random>
#include <string>
#include <utility>

#include <fcntl.h>
#include <linux/posix_acl.h>
#include <linux/posix_acl_xattr.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include "platform/atomic_file.h"
#include "platform/file_reading.h"
#include "tests/support/as_user.h"

namespace lintora::testing {
namespace {

namespace fs = std::filesystem;

constexpr char kAccessList[] = "system.posix_acl_access";
const std::string kSaved = "0 HEAD\r\n1 CHAR ANSEL\r\n0 @I1@ INDI\r\n1 NAME Anna /Lindqvist/\r\n0 TRLR\r\n";

// An access list as the system stores it.
struct Entry {
    std::uint16_t tag, rights;
    std::uint32_t id = ACL_UNDEFINED_ID;
};
std::string AccessList(std::initializer_list<Entry> entries) {
    std::string bytes;
    auto put = [&bytes](std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i) bytes += static_cast<char>(value >> (8 * i) & 0xff);
    };
    put(POSIX_ACL_XATTR_VERSION, 4);
    for (const Entry& e : entries) {
        put(e.tag, 2);
        put(e.rights, 2);
        put(e.id, 4);
    }
    return bytes;
}

// The value of an attribute, or "<none>".
std::string Attribute(const fs::path& p, const char* name) {
    std::string value(4096, '\0');
    const ssize_t size = ::getxattr(p.c_str(), name, value.data(), value.size());
    value.resize(static_cast<std::size_t>(std::max<ssize_t>(size, 0)));
    return size < 0 ? "<none>" : value;
}

bool SetAttribute(const fs::path& p, const char* name, const std::string& value) {
    return ::setxattr(p.c_str(), name, value.data(), value.size(), 0) == 0;
}

class FileAccessTest : public ::testing::Test {
protected:
    fs::path dir;
    void SetUp() override {
        if (::geteuid() != 0) GTEST_SKIP() << "only root can make files of other users and act as them";
        std::random_device rd;
        dir = fs::temp_directory_path() / ("lintora-access-" + std::to_string(rd()) + std::to_string(rd()));
        fs::create_directories(dir);
        ::chmod(dir.c_str(), 0755);
    }
    void TearDown() override {
        WatchNewTemporaryFiles(nullptr);
        std::error_code ec;
        if (!dir.empty()) fs::remove_all(dir, ec);
    }
    // Why the folder's file system keeps no access lists or attributes
    // (then a save has none to keep); "" when it keeps them.
    std::string WhyNoAttributes() const {
        const fs::path probe = dir / "probe";
        std::ofstream(probe) << "";
        const std::pair<const char*, std::string> kinds[] = {
            {kAccessList, AccessList({{ACL_USER_OBJ, 6}, {ACL_GROUP_OBJ, 4}, {ACL_OTHER, 4}})},
            {"user.lintora", "x"},
            {"security.ima", std::string("\x03\x02\x04\x01", 4)}};
        std::string why;
        for (const auto& [name, value] : kinds)
            if (why.empty() && !SetAttribute(probe, name, value))
                why = "the file system of " + dir.string() + " keeps no " + name + ": " + std::strerror(errno);
        fs::remove(probe);
        return why;
    }
    // A file with contents, owner, group and permissions.
    static void Make(const fs::path& p, const std::string& contents, uid_t uid, gid_t gid, mode_t mode) {
        std::ofstream(p, std::ios::binary) << contents;
        ASSERT_EQ(::chown(p.c_str(), uid, gid), 0);
        ASSERT_EQ(::chmod(p.c_str(), mode), 0);
    }
    static std::string Read(const fs::path& p) {
        std::string contents;
        return ReadWholeFile(p.string(), contents) ? contents : "<unreadable>";
    }
};

// fam.ged of the group kin (2000), mode 0640, saved by root: while the new
// file is being made, a member of root's own group who is not in kin cannot
// open it. Its folder's default access list lets that user in; the saved
// file had no list of its own and takes none from the folder.
TEST_F(FileAccessTest, TheNewFileIsOpenToItsOwnerAloneUntilItHasTheOldOnesAccess) {
    if (const std::string why = WhyNoAttributes(); !why.empty()) GTEST_SKIP() << why;
    const fs::path fam = dir / "fam.ged";
    Make(fam, "old", 1002, 2000, 0640);
    ASSERT_TRUE(SetAttribute(dir, "system.posix_acl_default",
                             AccessList({{ACL_USER_OBJ, 7}, {ACL_USER, 6, 1005}, {ACL_GROUP_OBJ, 5}, {ACL_MASK, 7},
                                         {ACL_OTHER, 5}})));
    std::string atCreation;
    // User 1005 is a member of root's group only.
    auto readByAnother = [](const fs::path& p) { return AsUser(1005, {0}, [&p] { return Read(p); }); };
    WatchNewTemporaryFiles([&](const std::string& temp) { atCreation = readByAnother(temp); });
    ASSERT_EQ(WriteFileAtomically(fam.string(), kSaved), "");
    EXPECT_EQ(atCreation, "<unreadable>");
    EXPECT_EQ(readByAnother(fam), "<unreadable>");
    EXPECT_EQ(Owners(fam), "1002:2000 640");
    EXPECT_EQ(Attribute(fam, kAccessList), "<none>");
    EXPECT_EQ(Read(fam), kSaved);
}

// A 0600 file whose access list lets bob (1003) read and write it keeps the
// list and its own attributes when saved; the integrity marks of its old
// contents are not carried over to the new ones.
TEST_F(FileAccessTest, ASavedFileKeepsItsAccessListAndAttributes) {
    if (const std::string why = WhyNoAttributes(); !why.empty()) GTEST_SKIP() << why;
    const fs::path file = dir / "living.lnt";
    Make(file, "old", 0, 0, 0600);
    const std::string list =
        AccessList({{ACL_USER_OBJ, 6}, {ACL_USER, 6, 1003}, {ACL_GROUP_OBJ, 0}, {ACL_MASK, 6}, {ACL_OTHER, 0}});
    const std::string origin = "https://www.example.org/tree/lindqvist";
    ASSERT_TRUE(SetAttribute(file, kAccessList, list));
    ASSERT_TRUE(SetAttribute(file, "user.xdg.origin.url", origin));
    ASSERT_TRUE(SetAttribute(file, "security.ima", std::string("\x03\x02\x04\x01", 4)));
    ASSERT_TRUE(SetAttribute(file, "security.evm", std::string("\x02\x01", 2)));

    ASSERT_EQ(WriteFileAtomically(file.string(), kSaved), "");
    EXPECT_EQ(Attribute(file, kAccessList), list);
    EXPECT_EQ(Attribute(file, "user.xdg.origin.url"), origin);
    EXPECT_EQ(Attribute(file, "security.ima"), "<none>");
    EXPECT_EQ(Attribute(file, "security.evm"), "<none>");
    EXPECT_EQ(Owners(file), "0:0 660");  // the group marks show the list's mask
    EXPECT_EQ(AsUser(1003, {1003}, [&file] { return Read(file); }), kSaved);
    EXPECT_EQ(AsUser(1004, {0}, [&file] { return Read(file); }), "<unreadable>");
}

// A 0660 file of the family group (2000) whose list also lets bob (1003)
// read it and carol (1004) write it, replaced by carol where her new file
// could not be given the group (a share that will not take it): her own
// group gets no rights (its entry is emptied), the named entries and the
// mask stay. On a local disk her save goes in place and keeps the group.
TEST_F(FileAccessTest, AGroupThatCannotBeKeptGetsNoRights) {
    if (const std::string why = WhyNoAttributes(); !why.empty()) GTEST_SKIP() << why;
    ::chmod(dir.c_str(), 0777);
    const fs::path file = dir / "jones.ged", fresh = dir / "jones.new";
    Make(file, "old", 1002, 2000, 0660);
    ASSERT_TRUE(SetAttribute(file, kAccessList,
                             AccessList({{ACL_USER_OBJ, 6}, {ACL_USER, 4, 1003}, {ACL_USER, 6, 1004},
                                         {ACL_GROUP_OBJ, 6}, {ACL_MASK, 6}, {ACL_OTHER, 0}})));
    struct stat old {};
    ASSERT_EQ(::stat(file.c_str(), &old), 0);
    const std::string kept = AsUser(1004, {1004}, [&] {
        const int fd = ::open(fresh.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        std::string lost;
        const std::string why = KeepAccess(fd, file.string(), file.string(), old, false, lost);
        const bool written = ::write(fd, kSaved.data(), kSaved.size()) == static_cast<ssize_t>(kSaved.size());
        ::close(fd);
        return why + "|" + lost + "|" + (written ? "written" : "not written");
    });
    EXPECT_EQ(kept, "||written");
    EXPECT_EQ(Attribute(fresh, kAccessList), AccessList({{ACL_USER_OBJ, 6}, {ACL_USER, 4, 1003}, {ACL_USER, 6, 1004},
                                                         {ACL_GROUP_OBJ, 0}, {ACL_MASK, 6}, {ACL_OTHER, 0}}));
    EXPECT_EQ(Owners(fresh), "1004:1004 660");
    EXPECT_EQ(AsUser(1003, {1003}, [&fresh] { return Read(fresh); }), kSaved);
    EXPECT_EQ(AsUser(1005, {1004}, [&fresh] { return Read(fresh); }), "<unreadable>");

    ASSERT_EQ(AsUser(1004, {1004}, [&file] { return WriteFileAtomically(file.string(), kSaved); }), "");
    EXPECT_EQ(Owners(file), "1002:2000 660");
}

// In a shared sticky folder (1777, of user 1001) a save follows a link only
// when it is the saver's own or the folder owner's, whatever the system's
// rule: links that user 1003 put there to the saver's thesis, to a file not
// there yet under etc, or to the etc folder itself lead nowhere. A link in a
// family folder that its group may write is followed as before.
TEST_F(FileAccessTest, LinksInASharedStickyFolderAreFollowedOnlyWhenTrusted) {
    const fs::path shared = dir / "tmp", etc = dir / "etc", family = dir / "family";
    for (const fs::path& folder : {shared, etc, family}) fs::create_directories(folder);
    ASSERT_EQ(::chown(shared.c_str(), 1001, 1001), 0);
    ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
    ASSERT_EQ(::chown(family.c_str(), 0, 2000), 0);
    ASSERT_EQ(::chmod(family.c_str(), 02770), 0);
    Make(dir / "thesis.txt", "my thesis", 0, 0, 0644);
    Make(etc / "hosts", "127.0.0.1 localhost", 0, 0, 0644);
    struct Link {
        fs::path at;
        fs::path to;
        uid_t owner;
    };
    for (const Link& link : {Link{shared / "family.ged", dir / "thesis.txt", 1003},
                             Link{shared / "new.ged", etc / "new.conf", 1003}, Link{shared / "trees", etc, 1003},
                             Link{shared / "mine.ged", dir / "mine.ged", 0},
                             Link{shared / "owners.ged", "../owners.ged", 1001},
                             Link{family / "latest.ged", dir / "tree.ged", 1003}}) {
        fs::create_symlink(link.to, link.at);
        ASSERT_EQ(::lchown(link.at.c_str(), link.owner, link.owner), 0);
    }
    const std::string refused = " is a link of " + UserName(1003) + " in the shared folder " + shared.string() +
                                ", where a save follows only your own links and those of the folder's owner.";
    for (const fs::path& link : {shared / "family.ged", shared / "new.ged", shared / "trees"}) {
        const fs::path saved = link == shared / "trees" ? link / "hosts" : link;
        EXPECT_EQ(WriteFileAtomically(saved.string(), kSaved), link.string() + refused);
    }
    EXPECT_EQ(Read(dir / "thesis.txt"), "my thesis");
    EXPECT_EQ(Read(etc / "hosts"), "127.0.0.1 localhost");
    EXPECT_EQ(std::distance(fs::directory_iterator(etc), fs::directory_iterator()), 1);

    for (const fs::path& link : {shared / "mine.ged", shared / "owners.ged", family / "latest.ged"}) {
        EXPECT_EQ(WriteFileAtomically(link.string(), kSaved), "") << link;
        EXPECT_TRUE(fs::is_symlink(link)) << link;
    }
    for (const char* name : {"mine.ged", "owners.ged", "tree.ged"}) EXPECT_EQ(Read(dir / name), kSaved) << name;
}

}  // namespace
}  // namespace lintora::testing
