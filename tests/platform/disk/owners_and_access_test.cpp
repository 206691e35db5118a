#include "platform/disk/owners_and_access.h"

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

#include "platform/disk/file_reading.h"
#include "platform/disk/save_contents.h"
#include "tests/support/as_user.h"
#include "tests/support/file_checks.h"
#include "tests/support/watched_system.h"

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

class OwnersAndAccessTest : public ::testing::Test {
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
};

// fam.ged of the group kin (2000), mode 0640, saved by root: while the new
// file is being made, a member of root's own group who is not in kin cannot
// open it. Its folder's default access list lets that user in; the saved
// file had no list of its own and takes none from the folder.
TEST_F(OwnersAndAccessTest, TheNewFileIsOpenToItsOwnerAloneUntilItHasTheOldOnesAccess) {
    if (const std::string why = WhyNoAttributes(); !why.empty()) GTEST_SKIP() << why;
    const fs::path fam = dir / "fam.ged";
    Make(fam, "old", 1002, 2000, 0640);
    ASSERT_TRUE(SetAttribute(dir, "system.posix_acl_default",
                             AccessList({{ACL_USER_OBJ, 7}, {ACL_USER, 6, 1005}, {ACL_GROUP_OBJ, 5}, {ACL_MASK, 7},
                                         {ACL_OTHER, 5}})));
    std::string atCreation;
    // User 1005 is a member of root's group only.
    auto readByAnother = [](const fs::path& p) { return AsUser(1005, {0}, [&p] { return Read(p); }); };
    // The new file as soon as it is made, before it is given anything.
    WatchedSystem system;
    std::string made;  // as the calls name it, nameless or not
    system.before = [&](const std::string& call) {
        if (!made.empty() && system.ShowAt(made, (dir / "look").string())) {
            atCreation = readByAnother(dir / "look");
        }
        made = call.rfind("create ", 0) == 0 ? call.substr(7) : "";
        return 0;
    };
    ASSERT_TRUE(SaveContents(fam.string(), kSaved, system).saved());
    fs::remove(dir / "look");  // a name of the test's own
    // The save's own record of the name it gives, made once the file has its owners, is no file of the folder.
    std::vector<std::string> calls = system.Calls({"create", "chown"});
    ASSERT_GE(calls.size(), 2u);
    calls.resize(2);
    const std::string created = calls[0].substr(7);
    EXPECT_EQ(calls, (std::vector<std::string>{"create " + created, "chown " + created}));
    EXPECT_EQ(atCreation, "<unreadable>");
    EXPECT_EQ(readByAnother(fam), "<unreadable>");
    EXPECT_EQ(Owners(fam), "1002:2000 640");
    EXPECT_EQ(Attribute(fam, kAccessList), "<none>");
    EXPECT_EQ(Read(fam), kSaved);
}

// A 0600 file whose access list lets bob (1003) read and write it keeps the
// list and its own attributes when saved; the integrity marks of its old
// contents are not carried over to the new ones.
TEST_F(OwnersAndAccessTest, ASavedFileKeepsItsAccessListAndAttributes) {
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

    ASSERT_TRUE(SaveContents(file.string(), kSaved).saved());
    EXPECT_EQ(Attribute(file, kAccessList), list);
    EXPECT_EQ(Attribute(file, "user.xdg.origin.url"), origin);
    EXPECT_EQ(Attribute(file, "security.ima"), "<none>");
    EXPECT_EQ(Attribute(file, "security.evm"), "<none>");
    EXPECT_EQ(Owners(file), "0:0 660");  // the group marks show the list's mask
    EXPECT_EQ(AsUser(1003, {1003}, [&file] { return Read(file); }), kSaved);
    EXPECT_EQ(AsUser(1004, {0}, [&file] { return Read(file); }), "<unreadable>");
}

// On a share that will not give a new file the group (or the access list)
// of the file it replaces, the file is written in place instead, which keeps
// them: carol (1004, of the family group 2000) saves her 0660 file of the
// group whose list also lets bob (1003) read it.
TEST_F(OwnersAndAccessTest, AFileWhoseAccessANewFileCannotTakeIsWrittenInPlace) {
    if (const std::string why = WhyNoAttributes(); !why.empty()) GTEST_SKIP() << why;
    ::chmod(dir.c_str(), 0777);
    const fs::path file = dir / "jones.ged";
    Make(file, "old", 1004, 2000, 0660);
    const std::string list =
        AccessList({{ACL_USER_OBJ, 6}, {ACL_USER, 4, 1003}, {ACL_GROUP_OBJ, 6}, {ACL_MASK, 6}, {ACL_OTHER, 0}});
    ASSERT_TRUE(SetAttribute(file, kAccessList, list));
    const ino_t inode = Inode(file);
    for (const std::string refused : {"chown ", "set system.posix_acl_access "}) {
        SCOPED_TRACE(refused);
        const std::string report = AsUser(1004, {1004, 2000}, [&] {
            setenv("XDG_STATE_HOME", (dir / "state").c_str(), 1);  // where her save is recorded
            WatchedSystem share;
            // Of the new file only.
            share.before = [&](const std::string& call) {
                return call.rfind(refused, 0) == 0 && !call.ends_with("jones.ged") ? EPERM : 0;
            };
            const bool saved = SaveContents(file.string(), kSaved, share).saved();
            const bool inPlace = !share.Calls({"cut jones.ged"}).empty();
            return std::string(saved ? "saved" : "not saved") + (inPlace ? " in place" : "");
        });
        EXPECT_EQ(report, "saved in place");
        EXPECT_EQ(Inode(file), inode);
        EXPECT_EQ(Owners(file), "1004:2000 660");
        EXPECT_EQ(Attribute(file, kAccessList), list);
        EXPECT_EQ(AsUser(1003, {1003}, [&file] { return Read(file); }), kSaved);
        EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);  // and "state"
        for (const auto& left : fs::recursive_directory_iterator(dir / "state" / "Lintora"))
            EXPECT_TRUE(left.is_directory()) << left.path();  // the records' own folders stay for the next save
    }
}

}  // namespace
}  // namespace lintora::testing
