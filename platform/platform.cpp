#include "platform/platform.h"

#include <algorithm>
#include <ctime>
#include <utility>

namespace lintora {

namespace {

class HeadlessPlatform final : public Platform {
public:
    MsgResult MsgBox(const std::string&, MsgButtons buttons, MsgIcon, const std::string&,
                     const std::string&) override {
        switch (buttons) {
            case MsgButtons::YesNo:
            case MsgButtons::YesNoCancel:
                return MsgResult::Yes;
            case MsgButtons::YesNoDefaultNo:
                return MsgResult::No;
            default:
                return MsgResult::Ok;
        }
    }
    void SetBusy(bool) override {}
    int32_t ChooseMatch(const MatchRequest&) override { return 0; }
    std::string SaveFileDialog(const FileDialogRequest&) override { return {}; }
    std::string OpenFileDialog(const FileDialogRequest&) override { return {}; }
    // A load stamps every record it adds: the clock is spelt out once a second.
    LocalTime Now() override {
        const std::time_t t = std::time(nullptr);
        if (t != spelt) {
            std::tm tm{};
            localtime_r(&t, &tm);
            now = {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
            spelt = t;
        }
        return now;
    }

private:
    std::time_t spelt = -1;
    LocalTime now{};
};

HeadlessPlatform& Headless() {
    static HeadlessPlatform h;
    return h;
}

Platform* installed = nullptr;
const void* asker = nullptr;

}  // namespace

MsgResult DismissedAnswer(MsgButtons buttons) {
    switch (buttons) {
        case MsgButtons::Ok: return MsgResult::Ok;
        case MsgButtons::YesNo:
        case MsgButtons::YesNoDefaultNo: return MsgResult::Dismissed;
        default: return MsgResult::Cancel;
    }
}

std::string Platform::OpenAddress(const std::string& address, OpenEnded ended) {
    const void* asker = CurrentAsker();
    const int id = ++lastOpen_;
    // Recorded before the start, so that an end reported at once finds it.
    opens_.push_back({id, address, asker, WindowAtEnd(asker), std::move(ended)});
    std::string problem = StartOpen(id, address);
    if (!problem.empty()) std::erase_if(opens_, [id](const PendingOpen& o) { return o.id == id; });
    return problem;
}

std::string Platform::StartOpen(int, const std::string&) { return "no browser can be started here"; }

std::function<const void*()> Platform::WindowAtEnd(const void*) {
    return [] { return nullptr; };
}

void Platform::EndOpen(int id, const std::string& problem) {
    const auto it = std::find_if(opens_.begin(), opens_.end(), [id](const PendingOpen& o) { return o.id == id; });
    if (it == opens_.end()) return;
    // Forgotten before it tells anything: the box may run the event loop.
    const PendingOpen open = std::move(*it);
    opens_.erase(it);
    const AskingWindow asking(open.tellIn());
    open.ended(problem);
}

AskingWindow::AskingWindow(const void* window) : outer_(asker) { asker = window; }
AskingWindow::~AskingWindow() { asker = outer_; }

const void* CurrentAsker() { return asker; }

Platform& Port() { return installed ? *installed : Headless(); }

void InstallPlatform(Platform* p) { installed = p; }

MsgResult MsgBox(const std::string& text, MsgButtons buttons, MsgIcon icon, const std::string& title,
                 const std::string& details) {
    return Port().MsgBox(text, buttons, icon, title, details);
}

void ShowInfo(const std::string& text) { MsgBox(text, MsgButtons::Ok, MsgIcon::Information); }

void ShowProblem(const std::string& text) { MsgBox(text, MsgButtons::Ok, MsgIcon::Exclamation); }

bool AskYesNo(const std::string& text, MsgIcon icon) {
    return MsgBox(text, MsgButtons::YesNo, icon) == MsgResult::Yes;
}

MsgResult AskYesNoCancel(const std::string& text, MsgIcon icon) {
    return MsgBox(text, MsgButtons::YesNoCancel, icon);
}

}  // namespace lintora
