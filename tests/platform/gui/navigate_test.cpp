#include "platform/qt/navigate.h"

#include <gtest/gtest.h>

#include "tests/support/scripted_platform.h"

namespace lintora {
namespace {

using testing::CleanState;

class NavigateTest : public CleanState {
protected:
    std::vector<std::pair<std::string, std::vector<std::string>>> started;
    bool canStart = true;
    void SetUp() override {
        CleanState::SetUp();
        SetProgramLauncher([this](const std::string& program, const std::vector<std::string>& args) {
            started.emplace_back(program, args);
            return canStart;
        });
    }
    void TearDown() override {
        SetProgramLauncher(nullptr);
        CleanState::TearDown();
    }
};

TEST_F(NavigateTest, WebAddressesGoToXdgOpenAsOneArgument) {
    NavigateTo("https://www.example.org/search?q=John+Smith&y=1850;rm+-rf");
    NavigateTo("HTTP://example.org/a");
    ASSERT_EQ(started.size(), 2u);
    EXPECT_EQ(started[0].first, "xdg-open");
    EXPECT_EQ(started[0].second, std::vector<std::string>{"https://www.example.org/search?q=John+Smith&y=1850;rm+-rf"});
    EXPECT_EQ(started[1].second, std::vector<std::string>{"HTTP://example.org/a"});
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(NavigateTest, OtherAddressesAndFailedStartsAreReported) {
    for (const char* bad : {"", "file:///etc/passwd", "javascript:alert(1)", "https://", "http:///x",
                            "https://a.org/x y", "-h", "https://a.org/\n--help"}) {
        ui.Answer(MsgResult::Ok);
        NavigateTo(bad);
        EXPECT_EQ(ui.boxes.back().text, std::string("Problem with navigation parms: ") + bad);
        EXPECT_EQ(ui.boxes.back().icon, MsgIcon::Exclamation);
    }
    EXPECT_TRUE(started.empty());
    canStart = false;
    ui.Answer(MsgResult::Ok);
    NavigateTo("https://www.corvesta.com/");
    EXPECT_EQ(started.size(), 1u);
    EXPECT_EQ(ui.boxes.back().text, "Problem with navigation parms: https://www.corvesta.com/");
}

}  // namespace
}  // namespace lintora
