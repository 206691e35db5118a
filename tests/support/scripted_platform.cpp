#include "tests/support/scripted_platform.h"

namespace lintora {

void RemoveWindowFakes() {
    InstallMainWindow(nullptr);
    InstallEditor(nullptr);
    InstallSearchWindow(nullptr);
}

}  // namespace lintora

namespace lintora::testing {

MsgResult ScriptedPlatform::MsgBox(const std::string& text, MsgButtons buttons, MsgIcon icon,
                                   const std::string& title, const std::string& details) {
    boxes.push_back({text, buttons, icon, title, CurrentAsker(), details});
    if (!answers.empty()) {
        MsgResult r = answers.front();
        answers.pop_front();
        return r == MsgResult::Dismissed ? DismissedAnswer(buttons) : r;
    }
    ADD_FAILURE() << "unexpected message box: " << text;
    switch (buttons) {
        case MsgButtons::Ok: return MsgResult::Ok;
        case MsgButtons::OkCancel: return MsgResult::Cancel;
        default: return MsgResult::No;
    }
}

int32_t ScriptedPlatform::ChooseMatch(const MatchRequest& request) {
    matchRequests.push_back(request);
    if (matchAnswers.empty()) {
        ADD_FAILURE() << "unexpected match choice for: " << request.name;
        return 0;
    }
    int32_t r = matchAnswers.front();
    matchAnswers.pop_front();
    return r;
}

std::string ScriptedPlatform::SaveFileDialog(const FileDialogRequest& request) {
    fileRequests.push_back(request);
    if (fileAnswers.empty()) {
        ADD_FAILURE() << "unexpected save dialog: " << request.title;
        return {};
    }
    std::string r = fileAnswers.front();
    fileAnswers.pop_front();
    return r;
}

std::string ScriptedPlatform::OpenFileDialog(const FileDialogRequest& request) {
    fileRequests.push_back(request);
    if (fileAnswers.empty()) {
        ADD_FAILURE() << "unexpected open dialog: " << request.title;
        return {};
    }
    std::string r = fileAnswers.front();
    fileAnswers.pop_front();
    return r;
}

std::string ScriptedPlatform::StartOpen(int, const std::string& address) {
    openedAddresses.push_back(address);
    return openError;
}

std::function<const void*()> ScriptedPlatform::WindowAtEnd(const void* asker) {
    return [this, asker] { return asker && (!shown || shown(asker)) ? asker : nullptr; };
}

void ScriptedPlatform::FinishOpen(const std::string& problem) {
    if (PendingOpens().empty()) {
        ADD_FAILURE() << "no open is pending";
        return;
    }
    EndOpen(PendingOpens().front().id, problem);
}

std::vector<std::string> ScriptedPlatform::Texts() const {
    std::vector<std::string> out;
    for (const auto& b : boxes) out.push_back(b.text);
    return out;
}

bool ScriptedPlatform::Showed(const std::string& fragment) const {
    for (const auto& b : boxes)
        if (b.text.find(fragment) != std::string::npos) return true;
    return false;
}


void CleanState::SetUp() {
    ResetProgramState();
    InstallPlatform(&ui);
    RemoveWindowFakes();
    InstallProgress(&progress);
}

void CleanState::TearDown() {
    InstallPlatform(nullptr);
    // A test that ended early may have left its own windows installed.
    RemoveWindowFakes();
    InstallProgress(nullptr);
    EXPECT_TRUE(ui.answers.empty()) << ui.answers.size() << " scripted answers were not used";
    EXPECT_TRUE(ui.matchAnswers.empty()) << ui.matchAnswers.size() << " match choices were not used";
    EXPECT_TRUE(ui.fileAnswers.empty()) << ui.fileAnswers.size() << " dialog answers were not used";
}

}  // namespace lintora::testing
