#include "platform/file_access.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <deque>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include <endian.h>
#include <grp.h>
#include <linux/posix_acl.h>
#include <linux/posix_acl_xattr.h>
#include <pwd.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace lintora {

namespace fs = std::filesystem;

namespace {

constexpr char kAccessList[] = "system.posix_acl_access";

// A link in a folder that is sticky and writable by all may have been put
// there by anyone to lead a save elsewhere. Says why it is not followed,
// else "".
std::string RefusedLink(const fs::path& link, const struct stat& linkStatus, const fs::path& folder) {
    struct stat shared {};
    if (::stat(folder.c_str(), &shared) != 0 || !(shared.st_mode & S_ISVTX) || !(shared.st_mode & S_IWOTH)) return {};
    if (linkStatus.st_uid == ::geteuid() || linkStatus.st_uid == shared.st_uid) return {};
    return link.string() + " is a link of " + UserName(linkStatus.st_uid) + " in the shared folder " +
           folder.string() + ", where a save follows only your own links and those of the folder's owner.";
}

// Reads a value whose size may change between asking for it and reading it.
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

std::string Failure(const std::string& what, int err) { return what + ": " + std::strerror(err); }

// The attributes a replacing file keeps. Integrity marks describe the old
// contents, not the new ones.
bool Kept(const std::string& name) {
    if (name == kAccessList || name.starts_with("user.")) return true;
    return name.starts_with("security.") && name != "security.ima" && name != "security.evm";
}

// Reads the attributes of the file at path that its replacement keeps;
// false (errno set) when they cannot be read. A file system without
// extended attributes has none.
bool ReadKeptAttributes(const std::string& path, std::vector<std::pair<std::string, std::string>>& kept) {
    std::string names;
    if (!ReadSized([&path](char* into, std::size_t size) { return ::llistxattr(path.c_str(), into, size); }, names))
        return errno == ENOTSUP;
    for (std::size_t at = 0; at < names.size();) {
        const std::string name(names.c_str() + at);
        at += name.size() + 1;
        if (!Kept(name)) continue;
        auto read = [&](char* into, std::size_t size) { return ::lgetxattr(path.c_str(), name.c_str(), into, size); };
        std::string value;
        if (ReadSized(read, value)) kept.emplace_back(name, std::move(value));
        // Without its access list the new file would be open to others differently.
        else if (name == kAccessList) return false;
    }
    return true;
}

// An access list as stored: a version, then entries of tag, permissions and
// id, little-endian. The offset of the entry with tag, if there is one.
std::optional<std::size_t> FindEntry(const std::string& list, std::uint16_t tag) {
    for (std::size_t at = sizeof(posix_acl_xattr_header); at + sizeof(posix_acl_xattr_entry) <= list.size();
         at += sizeof(posix_acl_xattr_entry)) {
        posix_acl_xattr_entry entry {};
        std::memcpy(&entry, list.data() + at, sizeof entry);
        if (le16toh(entry.e_tag) == tag) return at;
    }
    return std::nullopt;
}

mode_t OwningGroupRights(const std::string& list) {
    const auto at = FindEntry(list, ACL_GROUP_OBJ);
    if (!at) return 0;
    posix_acl_xattr_entry entry {};
    std::memcpy(&entry, list.data() + *at, sizeof entry);
    return le16toh(entry.e_perm) & 07;
}

// The owning group's entry gives nothing; the mask and the named entries stay.
void EmptyOwningGroup(std::string& list) {
    const auto at = FindEntry(list, ACL_GROUP_OBJ);
    if (!at) return;
    posix_acl_xattr_entry entry {};
    std::memcpy(&entry, list.data() + *at, sizeof entry);
    entry.e_perm = 0;
    std::memcpy(list.data() + *at, &entry, sizeof entry);
}

// With its access list kept, a file's group marks are the list's mask, which
// stays. Without one, the owning group has its own rights (never the mask's,
// which may be wider); a group not kept has none.
mode_t FinalPermissions(const struct stat& old, const std::string& list, bool listKept, bool groupKept) {
    const mode_t mode = old.st_mode & 0777;
    if (listKept && FindEntry(list, ACL_MASK)) return mode;
    const mode_t group = list.empty() ? mode & 070 : OwningGroupRights(list) << 3;
    return (mode & ~mode_t{070}) | (groupKept ? group : 0);
}

}  // namespace

std::string UserName(uid_t uid) {
    const passwd* user = ::getpwuid(uid);
    return user ? user->pw_name : "user " + std::to_string(uid);
}

std::string GroupName(gid_t gid) {
    const group* named = ::getgrgid(gid);
    return named ? named->gr_name : std::to_string(gid);
}

fs::path FileBehindLinks(const fs::path& path, std::string& error) {
    constexpr int kMostLinks = 40;  // as many as the system itself follows
    std::error_code ec;
    fs::path reached = path.is_absolute() ? path.root_path() : fs::current_path(ec);
    const fs::path parts = path.relative_path();
    std::deque<fs::path> ahead(parts.begin(), parts.end());
    int links = 0;
    while (!ec && !ahead.empty()) {
        const fs::path part = ahead.front();
        ahead.pop_front();
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            reached = reached.parent_path();
            continue;
        }
        const fs::path next = reached / part;
        struct stat status {};
        if (::lstat(next.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) {
            reached = next;  // what is not there yet, or cannot be seen, is for the save to find
            continue;
        }
        if (++links > kMostLinks) {
            error = "cannot follow " + path.string() + ": " + std::strerror(ELOOP);
            return {};
        }
        error = RefusedLink(next, status, reached);
        if (!error.empty()) return {};
        // A relative link names its file from the link's own folder.
        const fs::path named = fs::read_symlink(next, ec);
        if (named.is_absolute()) reached = named.root_path();
        const fs::path more = named.relative_path();
        ahead.insert(ahead.begin(), more.begin(), more.end());
    }
    if (ec) error = "cannot follow " + path.string() + ": " + ec.message();
    return ec ? fs::path() : reached;
}

std::string KeepAccess(int fd, const std::string& file, const std::string& target, const struct stat& old,
                       bool groupKept, std::string& lost) {
    std::vector<std::pair<std::string, std::string>> kept;
    if (!ReadKeptAttributes(file, kept)) {
        const int err = errno;
        return Failure("cannot read the extended attributes of " + target, err);
    }
    std::string list;
    for (const auto& [name, value] : kept) {
        // The others are kept where the user may set them.
        if (name == kAccessList) list = value;
        else (void)::fsetxattr(fd, name.c_str(), value.data(), value.size(), 0);
    }
    bool listKept = false;
    if (!list.empty()) {
        if (!groupKept) EmptyOwningGroup(list);
        listKept = ::fsetxattr(fd, kAccessList, list.data(), list.size(), 0) == 0;
        const int err = errno;
        if (!listKept)
            lost = Failure(target + " gives some users or groups rights of their own. Saved, it could not keep them",
                           err) +
                   ", and they might no longer open it.";
    }
    // A list taken from the folder's default one would come alive with the
    // permissions.
    if ((!listKept && ::fremovexattr(fd, kAccessList) != 0 && errno != ENODATA && errno != ENOTSUP) ||
        ::fchmod(fd, FinalPermissions(old, list, listKept, groupKept)) != 0) {
        const int err = errno;
        return Failure("cannot set the permissions of the new " + target, err);
    }
    return {};
}

}  // namespace lintora
