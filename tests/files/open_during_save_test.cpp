// An open while a save in place runs: the file's own lock tells it, before
// any record of the save is judged.
#include <gtest/gtest.h>

#include <filesystem>
#include <future>
#include <string>
#include <vector>

#include "files/file_loading.h"
#include "platform/disk/save_contents.h"
#include "tests/files/files_fixture.h"
#include "tests/support/watched_system.h"

namespace lintora::testing {
namespace {

namespace fs = std::filesystem;

class OpenDuringSaveTest : public FilesTest {
protected:
    void SetUp() override {
        FilesTest::SetUp();
        fs::copy_file(ProjectDir() / "files" / "Lintora11.dat", dir / "app" / "Lintora11.dat");
    }
};

const std::string kEarlier = "0 HEAD\r\n1 CHAR ANSEL\r\n0 @I1@ INDI\r\n1 NAME Ann /Old/\r\n0 TRLR\r\n";
const std::string kNew = "0 HEAD\r\n1 CHAR ANSEL\r\n0 @I1@ INDI\r\n1 NAME Ann /New/\r\n0 @I2@ INDI\r\n"
                         "1 NAME Bo /New/\r\n0 TRLR\r\n";

// A save in place whose record this open would take for a stopped one (as
// it would one of another host that shares the home) is held by a slow disk
// before it clears the file: the open says the file is being saved, asks
// nothing and leaves the save its copy and record; once the save is over
// the file opens with its new work.
TEST_F(OpenDuringSaveTest, ASaveInPlaceThatRunsIsToldByTheFilesLockAndKeepsItsCopy) {
    const fs::path family = dir / "family.ged";
    Write(family, kEarlier);
    fs::create_hard_link(family, dir / "for-aunt.ged");
    std::promise<void> reached, letGo;
    WatchedSystem slow;
    slow.before = [&](const std::string& call) {
        if (call == "cut family.ged") {
            reached.set_value();
            letGo.get_future().wait();
        }
        return 0;
    };
    auto saving = std::async(std::launch::async, [&] { return SaveContents(family.string(), kNew, slow); });
    reached.get_future().wait();
    auto open = [&] {
        ui.boxes.clear();
        ResetWork();
        for (int k = 0; k < 3; ++k) ui.Answer(MsgResult::Ok);
        LoadFile(family.string());
        ui.answers.clear();
        return ui.Texts();
    };
    const std::vector<std::string> beingSaved{
        "family.ged is being saved by another copy of the program. Open it again when that save has finished."};
    EXPECT_EQ(open(), beingSaved);
    EXPECT_EQ(g.IndivCount, 0);
    EXPECT_EQ(Listing(dir), (std::vector<std::string>{"app", "config", "family (earlier contents).ged", "family.ged",
                                                      "for-aunt.ged", "state"}));
    EXPECT_EQ(SaveRecordFiles(dir / "state" / "Lintora").size(), 1u);
    letGo.set_value();
    EXPECT_TRUE(saving.get().saved());
    EXPECT_EQ(open(), std::vector<std::string>{});
    EXPECT_EQ(g.IndivCount, 2);
    EXPECT_EQ(Listing(dir), (std::vector<std::string>{"app", "config", "family.ged", "for-aunt.ged", "state"}));
    EXPECT_EQ(SaveRecordFiles(dir / "state" / "Lintora").size(), 0u);
}

}  // namespace
}  // namespace lintora::testing
