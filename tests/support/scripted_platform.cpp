#include "tests/support/scripted_platform.h"

namespace lintora::testing {

MsgResult ScriptedPlatform::MsgBox(const std::string& text, MsgButtons buttons, MsgIcon icon,
                                   const std::string& title) {
    boxes.push_back({text, buttons, icon, title});
    if (!answers.empty()) {
        MsgResult r = answers.front();
        answers.pop_front();
        return r;
    }
    ADD_FAILURE() << "unexpected message box: " << text;
    switch (buttons) {
        case MsgButtons::Ok: return MsgResult::Ok;
        case MsgButtons::OkCancel: return MsgResult::Cancel;
        default: return MsgResult::No;
    }
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
}

void CleanState::TearDown() {
    InstallPlatform(nullptr);
    EXPECT_TRUE(ui.answers.empty()) << ui.answers.size() << " scripted answers were not used";
}

}  // namespace lintora::testing
