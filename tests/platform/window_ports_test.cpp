#include "platform/window_ports.h"

#include <cstdint>
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
    void Set(int value) override { log += "set:" + std::to_string(value) + ";"; }
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

// The bytes of a file past what an int holds: a 5 GiB file read half way
// shows a half-full bar; a file of 50,001 bytes is counted byte by byte.
TEST(WindowPorts, AFileOfAnySizeFillsTheBarInProportion) {
    Windows w;
    InstallProgress(&w);
    const std::uint64_t large = 5ull << 30;
    StartProgress(large);
    for (std::uint64_t done : {large / 2, large, large + 1}) SetProgress(done, large);
    StartProgress(50001);
    SetProgress(25000, 50001);
    InstallProgress(nullptr);
    EXPECT_EQ(w.log, "start:1342177280;set:671088640;set:1342177280;set:1342177280;start:50001;set:25000;");
}

}  // namespace
}  // namespace lintora
