#pragma once
// Running part of a test as another user, for the rules that tell users
// apart, and who a file belongs to. Only root can act as another user;
// such tests skip when not root.
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace lintora::testing {

// Runs work in a child process as user uid, member of groups (the first
// his own), and gives back what work reports.
inline std::string AsUser(uid_t uid, const std::vector<gid_t>& groups, const std::function<std::string()>& work) {
    int out[2];
    if (::pipe(out) != 0) return "no pipe";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(out[0]);
        const bool became =
            ::setgroups(groups.size(), groups.data()) == 0 && ::setgid(groups[0]) == 0 && ::setuid(uid) == 0;
        const std::string report = became ? work() : "could not become user " + std::to_string(uid);
        (void)!::write(out[1], report.data(), report.size());
        ::_exit(0);
    }
    ::close(out[1]);
    std::string report;
    char buffer[4096];
    for (ssize_t n; (n = ::read(out[0], buffer, sizeof buffer)) > 0;)
        report.append(buffer, static_cast<std::size_t>(n));
    ::close(out[0]);
    ::waitpid(child, nullptr, 0);
    return report;
}

// Owner, group and permissions of a file, as "1002:2000 660".
inline std::string Owners(const std::filesystem::path& p) {
    struct stat st {};
    ::stat(p.c_str(), &st);
    std::ostringstream s;
    s << st.st_uid << ':' << st.st_gid << ' ' << std::oct << (st.st_mode & 07777);
    return s.str();
}

}  // namespace lintora::testing
