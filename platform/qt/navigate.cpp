#include "platform/qt/navigate.h"

#include <cctype>

#include <QProcess>
#include <QStringList>

#include "platform/platform.h"

namespace lintora {

namespace {

ProgramLauncher& Launcher() {
    static ProgramLauncher launcher;
    return launcher;
}

bool StartDetached(const std::string& program, const std::vector<std::string>& args) {
    QStringList list;
    for (const auto& a : args) list << QString::fromStdString(a);
    return QProcess::startDetached(QString::fromStdString(program), list);
}

bool StartsWithNoCase(const std::string& s, const std::string& prefix) {
    if (s.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(s[i])) != prefix[i]) return false;
    return true;
}

}  // namespace

void SetProgramLauncher(ProgramLauncher launcher) { Launcher() = std::move(launcher); }

bool OpenableAddress(const std::string& target) {
    std::size_t rest = 0;
    if (StartsWithNoCase(target, "https://"))
        rest = 8;
    else if (StartsWithNoCase(target, "http://"))
        rest = 7;
    else
        return false;
    if (target.size() <= rest || target[rest] == '/') return false;
    for (unsigned char c : target)
        if (c <= ' ' || c == 0x7F) return false;
    return true;
}

void NavigateTo(std::string target) {
    bool started = false;
    if (OpenableAddress(target)) {
        try {
            const std::vector<std::string> args{target};
            started = Launcher() ? Launcher()("xdg-open", args) : StartDetached("xdg-open", args);
        } catch (...) {
            started = false;
        }
    }
    if (!started) ShowProblem("Problem with navigation parms: " + target);
}

}  // namespace lintora
