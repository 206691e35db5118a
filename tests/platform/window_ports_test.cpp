#include "platform/window_ports.h"

#include <string>

#include <gtest/gtest.h>

namespace lintora {
namespace {

// One object may stand for several windows; each port is installed alone.
struct Windows : MainWindowPort, EditorPort, ProgressDisplay {
    std::string log;
    void SetStatusLabel(const std::string& s) override { log += "label:" + s + ";"; }
    bool Visible() const override { return true; }
    void Start(int maximum) override { log += "start:" + std::to_string(maximum) + ";"; }
    void SetLabel(const std::string& s) override { log += "progress:" + s + ";"; }
};

TEST(WindowPorts, EachWindowIsReachedThroughItsOwnPortAndNoneRunsHeadless) {
    // Headless: every call does nothing and answers the empty value.
    MainWindow().SetStatusLabel("x");
    EXPECT_EQ(MainWindow().StatusPanel(4), "");
    EXPECT_FALSE(Editor().Visible());
    SearchWindow().ResetRanges();
    Progress().Start(10);

    Windows w;
    InstallMainWindow(&w);
    InstallProgress(&w);
    MainWindow().SetStatusLabel("Processing...");
    Progress().Start(50);
    Progress().SetLabel("Reading a.ged (60000)");
    EXPECT_FALSE(Editor().Visible());  // installed as main window and progress only
    InstallEditor(&w);
    EXPECT_TRUE(Editor().Visible());
    EXPECT_EQ(w.log, "label:Processing...;start:50;progress:Reading a.ged (60000);");

    InstallMainWindow(nullptr);
    InstallEditor(nullptr);
    InstallProgress(nullptr);
    MainWindow().SetStatusLabel("gone");
    EXPECT_FALSE(Editor().Visible());
    EXPECT_EQ(w.log, "label:Processing...;start:50;progress:Reading a.ged (60000);");
}

}  // namespace
}  // namespace lintora
