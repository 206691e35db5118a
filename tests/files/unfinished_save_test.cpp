#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "files/file_loading.h"
#include "files/gedcom_writer.h"
#include "platform/save_contents.h"
#include "tests/files/files_fixture.h"
#include "tests/support/watched_system.h"

namespace lintora::testing {
namespace {

namespace fs = std::filesystem;

class UnfinishedSaveTest : public FilesTest {
protected:
    void SetUp() override {
        FilesTest::SetUp();
        fs::copy_file(ProjectDir() / "files" / "Lintora11.dat", dir / "app" / "Lintora11.dat");
    }
    // A work of n people, as the file at path would hold it.
    static std::string WorkOf(int32_t n, const fs::path& path) {
        ResetProgramState();
        for (int32_t i = 1; i <= n; ++i) Person(i, "Anna", ("Lindqvist" + std::to_string(i)).c_str(), "F", 0);
        g.IndivCount = n;
        const std::string contents = FileContents(FileKind::Work, BuildFileLines(FileKind::Work, path.string()));
        ResetProgramState();
        return contents;
    }
    // Opens the file as the user does, with what the program says.
    std::vector<std::string> Open(const fs::path& path) {
        ui.boxes.clear();
        ResetProgramState();
        g.AppPath = (dir / "app").string();
        g.FilePath = path.string();
        for (int k = 0; k < 3; ++k) ui.Answer(MsgResult::Ok);
        LoadFile();
        const std::vector<std::string> texts = ui.Texts();
        ui.answers.clear();
        return texts;
    }
};

// The family's work file of 4,500 people has a second name, so a save
// writes it in place; an 18-person work is saved over it, and the program
// stops at one step of the save or another. The next open loads the whole
// earlier work or the whole new one without a word, or says that the save
// did not finish and where the earlier contents are; it never takes what
// is left for a whole file.
TEST_F(UnfinishedSaveTest, ASaveStoppedAtAnyStepIsNeverTakenForAWholeFile) {
    const fs::path family = dir / "family.lnt", copy = dir / "family (earlier contents).lnt";
    const std::string earlier = WorkOf(4500, family), saved = WorkOf(18, family);
    const std::string told = "family.lnt was being saved when the program stopped. Its earlier contents are kept in " +
                             copy.string() + ".";
    Write(family, earlier);
    fs::create_hard_link(family, dir / "for-aunt.lnt");
    const struct {
        const char* step;
        std::string at;
        int count;
        bool half;
        int32_t people;  // loaded at the next open
        std::vector<std::string> said;
    } steps[] = {
        {"after the copy", "cut family.lnt", 1, false, 4500, {}},
        {"after the cut", "write family.lnt", 1, false, 0, {told}},
        {"in the middle of the write", "write family.lnt", 1, true, -1, {told}},
        {"after the write", "sync family.lnt", 2, false, 18, {}},
        {"after the sync, before the copy goes", "remove family (earlier contents).lnt", 1, false, 18, {}},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.step);
        Write(family, earlier);
        StoppingSystem system(step.at, step.count, step.half);
        ASSERT_TRUE(SaveStopped(family.string(), saved, system));
        EXPECT_EQ(Open(family), step.said);
        if (step.people >= 0) {
            EXPECT_EQ(g.IndivCount, step.people);
        } else {
            EXPECT_TRUE(g.IndivCount > 0 && g.IndivCount < 18) << g.IndivCount;
        }
        EXPECT_EQ(fs::exists(copy), !step.said.empty());
        if (fs::exists(copy)) {
            EXPECT_EQ(Read(copy), earlier);
        }
        fs::remove(copy);
    }
}

// While another copy of the program saves the file, an open reads nothing
// of it and says why; once that save has finished, the file opens whole.
TEST_F(UnfinishedSaveTest, AFileBeingSavedByAnotherCopyOfTheProgramIsNotRead) {
    const fs::path family = dir / "family.lnt";
    const std::string saved = WorkOf(18, family);
    Write(family, WorkOf(4500, family));
    fs::create_hard_link(family, dir / "for-aunt.lnt");
    int half[2], goOn[2];
    ASSERT_EQ(::pipe(half), 0);
    ASSERT_EQ(::pipe(goOn), 0);
    const pid_t other = ::fork();
    if (other == 0) {
        WatchedSystem system;
        system.before = [&](const std::string& call) {
            if (call == "write family.lnt") {
                char c = 0;
                (void)!::write(half[1], &c, 1);
                (void)!::read(goOn[0], &c, 1);
            }
            return 0;
        };
        ::_exit(SaveContents(family.string(), saved, system).saved() ? 0 : 1);
    }
    char c = 0;
    ASSERT_EQ(::read(half[0], &c, 1), 1);
    EXPECT_EQ(Open(family), std::vector<std::string>{"family.lnt is being saved by another copy of the program. "
                                                     "Open it again when that save has finished."});
    EXPECT_EQ(g.IndivCount, 0);
    EXPECT_EQ(g.FileName, "");
    ASSERT_EQ(::write(goOn[1], &c, 1), 1);
    int status = 0;
    ::waitpid(other, &status, 0);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(Open(family), std::vector<std::string>{});
    EXPECT_EQ(g.IndivCount, 18);
    EXPECT_EQ(Listing(dir), (std::vector<std::string>{"app", "config", "family.lnt", "for-aunt.lnt"}));
    for (int fd : {half[0], half[1], goOn[0], goOn[1]}) ::close(fd);
}

}  // namespace
}  // namespace lintora::testing
