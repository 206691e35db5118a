#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include "files/file_loading.h"
#include "files/gedcom_writer.h"
#include "platform/disk/save_contents.h"
#include "tests/files/files_fixture.h"
#include "tests/support/as_user.h"
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
// of it and says why, also where the save began after the open looked for
// its copy; a save of this copy waits for the other's end instead of
// writing into it. The file then holds the last save whole.
TEST_F(UnfinishedSaveTest, AFileBeingSavedByAnotherCopyOfTheProgramIsNeitherReadNorWrittenInto) {
    const fs::path family = dir / "family.lnt";
    const std::string saved = WorkOf(18, family), ours = WorkOf(4500, family);
    const std::vector<std::string> running{"family.lnt is being saved by another copy of the program. "
                                           "Open it again when that save has finished."};
    Write(family, ours);
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
    EXPECT_EQ(Open(family), running);
    EXPECT_EQ(g.IndivCount, 0);
    EXPECT_EQ(g.FileName, "");
    std::thread goesOn([&] {
        ::usleep(300'000);
        (void)!::write(goOn[1], &c, 1);
    });
    EXPECT_TRUE(SaveContents(family.string(), ours).saved());
    goesOn.join();
    int status = 0;
    ::waitpid(other, &status, 0);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_TRUE(Read(family) == ours) << Read(family).size() << " bytes of " << ours.size();
    EXPECT_EQ(Open(family), std::vector<std::string>{});
    EXPECT_EQ(g.IndivCount, 4500);
    EXPECT_EQ(Listing(dir), (std::vector<std::string>{"app", "config", "family.lnt", "for-aunt.lnt"}));

    const int held = ::open(family.c_str(), O_RDWR);  // as a save holds it, its copy not yet named
    struct flock whole {};
    whole.l_type = F_WRLCK;
    ASSERT_EQ(::fcntl(held, F_OFD_SETLK, &whole), 0);
    EXPECT_EQ(Open(family), running);
    ::close(held);
    // Anyone who may read the file can take an flock: it stops no open.
    const int reader = ::open(family.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(reader, LOCK_EX), 0);
    EXPECT_EQ(Open(family), std::vector<std::string>{});
    ::close(reader);
    for (int fd : {half[0], half[1], goOn[0], goOn[1]}) ::close(fd);
}

// Bob (1003) saves two files of Anna (1002) that he may write: in the
// shared folder (sticky, writable by all) her work file open to all
// (0666), in the family folder her file of the family group (2000, 0660),
// of which he is a member and she is not. Both are written in place, so
// that they stay hers, and his save stops once the file is cut. Each copy
// is his, no more open than her file was, and she can read it; his next
// open names it.
TEST_F(UnfinishedSaveTest, TheCopyOfAnotherUsersFileIsOpenToItsOwner) {
    if (::geteuid() != 0) GTEST_SKIP() << "only root can make files of other users and act as them";
    Write(dir / "probe", "");
    if (::setxattr((dir / "probe").c_str(), "system.posix_acl_access", "", 0, 0) != 0 && errno == ENOTSUP)
        GTEST_SKIP() << "the file system of " << dir << " keeps no access lists";
    const fs::path shared = dir / "shared", family = dir / "family";
    fs::create_directories(shared);
    fs::create_directories(family);
    ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
    ASSERT_EQ(::chown(family.c_str(), 0, 2000), 0);
    ASSERT_EQ(::chmod(family.c_str(), 02775), 0);
    const std::string earlier = "0 HEAD\r\n0 @I1@ INDI\r\n1 NAME Anna /Lindqvist/\r\n0 TRLR\r\n";
    const struct {
        fs::path file;
        gid_t group;
        mode_t mode;
        std::string copyOwners;
        bool openToOthers;
    } files[] = {{shared / "anna.lnt", 1002, 0666, "1003:1003 666", true},
                 {family / "anna.ged", 2000, 0660, "1003:2000 660", false}};
    for (const auto& f : files) {
        SCOPED_TRACE(f.file);
        Write(f.file, earlier);
        ASSERT_EQ(::chown(f.file.c_str(), 1002, f.group), 0);
        ASSERT_EQ(::chmod(f.file.c_str(), f.mode), 0);
        const std::string name = f.file.filename().string();
        const std::string stopped = AsUser(1003, {1003, 2000}, [&] {
            setenv("XDG_STATE_HOME", (dir / "bob").c_str(), 1);
            StoppingSystem system("write " + name, 1, false);
            (void)SaveContents(f.file.string(), "0 HEAD\r\n0 TRLR\r\n", system);
            return "not stopped";
        });
        ASSERT_EQ(stopped, "");
        const fs::path copy = f.file.parent_path() / (f.file.stem().string() + " (earlier contents)" +
                                                      f.file.extension().string());
        EXPECT_EQ(Owners(f.file), "1002:" + std::to_string(f.group) + (f.mode == 0666 ? " 666" : " 660"));
        EXPECT_EQ(Owners(copy), f.copyOwners);
        auto readAs = [&](uid_t uid) { return AsUser(uid, {uid}, [&] { return Read(copy); }); };
        EXPECT_EQ(readAs(1002), earlier);
        EXPECT_EQ(readAs(1005), f.openToOthers ? earlier : "");
        EXPECT_EQ(AsUser(1003, {1003, 2000}, [&] { return Open(f.file).at(0); }),
                  name + " was being saved when the program stopped. Its earlier contents are kept in " +
                      copy.string() + ".");
    }
}

}  // namespace
}  // namespace lintora::testing
