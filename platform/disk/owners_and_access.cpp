// Owners and access of the files a save makes (owners_and_access.h), given on descriptors.
#include "platform/disk/owners_and_access.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <functional>
#include <utility>
#include <vector>

#include <endian.h>
#include <linux/posix_acl.h>
#include <linux/posix_acl_xattr.h>
#include <unistd.h>

namespace lintora {

namespace {

constexpr char kAccessList[] = "system.posix_acl_access";

// Reads a value whose size may change between asking for it and reading it;
// false with errno set when it cannot be read.
bool ReadSized(const std::function<ssize_t(char*, std::size_t)>& read, std::string& value) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        const ssize_t size = read(nullptr, 0);
        if (size < 0) return false;
        value.resize(static_cast<std::size_t>(size));
        const ssize_t got = read(value.data(), value.size());
        if (got >= 0) {
            value.resize(static_cast<std::size_t>(got));
            return true;
        }
        if (errno != ERANGE) return false;
    }
    return false;
}

// The attributes a replacing file keeps. Integrity marks describe the old contents, not the new ones.
bool Kept(const std::string& name) {
    if (name == kAccessList || name.starts_with("user.")) return true;
    return name.starts_with("security.") && name != "security.ima" && name != "security.evm";
}

// The attributes of the file open at fd that its replacement keeps; false
// when they cannot be read. A file system without attributes has none.
bool ReadKeptAttributes(SystemCalls& sys, int fd, std::vector<std::pair<std::string, std::string>>& kept) {
    std::string names;
    if (!ReadSized([&](char* into, std::size_t size) { return sys.ListAttributes(fd, into, size); }, names))
        return errno == ENOTSUP;
    for (std::size_t at = 0; at < names.size();) {
        const std::string name(names.c_str() + at);
        at += name.size() + 1;
        if (!Kept(name)) continue;
        std::string value;
        if (ReadSized([&](char* into, std::size_t size) { return sys.GetAttribute(fd, name, into, size); }, value))
            kept.emplace_back(name, std::move(value));
        // Without its access list the new file would be open to others differently.
        else if (name == kAccessList) return false;
    }
    return true;
}

// An access list as its entries: tag, rights and id.
struct Entry {
    std::uint16_t tag, rights;
    std::uint32_t id = ACL_UNDEFINED_ID;
};

// As stored: a version, then the entries, little-endian; none when there is no list.
std::vector<Entry> Entries(const std::string& stored) {
    std::vector<Entry> entries;
    for (std::size_t at = sizeof(posix_acl_xattr_header); at + sizeof(posix_acl_xattr_entry) <= stored.size();
         at += sizeof(posix_acl_xattr_entry)) {
        posix_acl_xattr_entry e {};
        std::memcpy(&e, stored.data() + at, sizeof e);
        entries.push_back({le16toh(e.e_tag), le16toh(e.e_perm), le32toh(e.e_id)});
    }
    return entries;
}

std::string Stored(std::vector<Entry> entries) {
    // The system takes them ordered by tag, then id.
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return std::pair(a.tag, a.id) < std::pair(b.tag, b.id); });
    posix_acl_xattr_header header{htole32(POSIX_ACL_XATTR_VERSION)};
    std::string stored(reinterpret_cast<const char*>(&header), sizeof header);
    for (const Entry& e : entries) {
        const posix_acl_xattr_entry raw{htole16(e.tag), htole16(e.rights), htole32(e.id)};
        stored.append(reinterpret_cast<const char*>(&raw), sizeof raw);
    }
    return stored;
}

std::uint16_t& RightsOf(std::vector<Entry>& entries, std::uint16_t tag) {
    for (Entry& e : entries)
        if (e.tag == tag) return e.rights;
    entries.push_back({tag, 0});
    return entries.back().rights;
}

bool InGroupClass(const Entry& e) { return e.tag == ACL_USER || e.tag == ACL_GROUP_OBJ || e.tag == ACL_GROUP; }

// The copy's list: the file's own, or one made from its permissions, with
// the mask worked into each entry so that adding one widens no other.
std::vector<Entry> CopyEntries(const std::string& fileList, mode_t mode) {
    std::vector<Entry> entries = Entries(fileList);
    if (entries.empty())
        entries = {{ACL_USER_OBJ, static_cast<std::uint16_t>(mode >> 6 & 7)},
                   {ACL_GROUP_OBJ, static_cast<std::uint16_t>(mode >> 3 & 7)},
                   {ACL_OTHER, static_cast<std::uint16_t>(mode & 7)}};
    std::uint16_t mask = 7;
    for (const Entry& e : entries)
        if (e.tag == ACL_MASK) mask = e.rights;
    std::erase_if(entries, [](const Entry& e) { return e.tag == ACL_MASK; });
    for (Entry& e : entries) e.rights &= (InGroupClass(e) ? mask : 7) & (S_IROTH | S_IWOTH);
    return entries;
}

}  // namespace

bool GiveOldFilesAccess(SystemCalls& sys, int fd, int oldFd, const struct stat& old) {
    struct stat now {};
    if (sys.ChangeOwner(fd, old.st_uid, old.st_gid) != 0 || sys.Status(fd, now) != 0 || now.st_uid != old.st_uid ||
        now.st_gid != old.st_gid)
        return false;
    std::vector<std::pair<std::string, std::string>> kept;
    if (!ReadKeptAttributes(sys, oldFd, kept)) return false;
    std::string list;
    for (const auto& [name, value] : kept) {
        // The others are kept where the user may set them.
        if (name == kAccessList) list = value;
        else (void)sys.SetAttribute(fd, name, value);
    }
    // Without a list of its own it takes none from the folder's default one.
    if (list.empty() ? sys.RemoveAttribute(fd, kAccessList) != 0 && errno != ENODATA && errno != ENOTSUP
                     : sys.SetAttribute(fd, kAccessList, list) != 0)
        return false;
    return sys.ChangeMode(fd, old.st_mode & 0777) == 0;
}

void GiveCopyAccess(SystemCalls& sys, int fd, int oldFd, const struct stat& old) {
    const bool root = sys.User() == 0;
    (void)sys.ChangeOwner(fd, root ? old.st_uid : static_cast<uid_t>(-1), old.st_gid);
    struct stat now {};
    if (sys.Status(fd, now) != 0) return;  // it stays its maker's alone
    std::string fileList;
    if (!ReadSized([&](char* into, std::size_t size) { return sys.GetAttribute(oldFd, kAccessList, into, size); },
                   fileList))
        fileList.clear();
    std::vector<Entry> entries = CopyEntries(fileList, old.st_mode);
    if (now.st_gid != old.st_gid) RightsOf(entries, ACL_GROUP_OBJ) = 0;
    if (now.st_uid != old.st_uid) {
        std::erase_if(entries, [&](const Entry& e) { return e.tag == ACL_USER && e.id == old.st_uid; });
        entries.push_back({ACL_USER, RightsOf(entries, ACL_USER_OBJ), static_cast<std::uint32_t>(old.st_uid)});
    }
    const mode_t mode = RightsOf(entries, ACL_USER_OBJ) << 6 | RightsOf(entries, ACL_GROUP_OBJ) << 3 |
                        RightsOf(entries, ACL_OTHER);
    std::uint16_t mask = 0;
    for (const Entry& e : entries) mask |= InGroupClass(e) ? e.rights : 0;
    const bool named = std::any_of(entries.begin(), entries.end(),
                                   [](const Entry& e) { return e.tag == ACL_USER || e.tag == ACL_GROUP; });
    // Not one taken from the folder's default list.
    if (!named) (void)sys.RemoveAttribute(fd, kAccessList);
    // The permissions first: where the list cannot be set they hold.
    if (sys.ChangeMode(fd, mode) != 0 || !named) return;
    entries.push_back({ACL_MASK, mask});
    (void)sys.SetAttribute(fd, kAccessList, Stored(entries));
}

}  // namespace lintora
