#include "platform/disk/unfinished_saves.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/disk/copies_folder.h"

namespace lintora::testing {
namespace {

namespace fs = std::filesystem;

class UnfinishedSavesTest : public ::testing::Test {
protected:
    fs::path dir;
    void SetUp() override {
        std::random_device rd;
        dir = fs::temp_directory_path() / ("lintora-records-" + std::to_string(rd()) + std::to_string(rd()));
        fs::create_directories(dir / "state" / "Lintora");
        setenv("XDG_STATE_HOME", (dir / "state").c_str(), 1);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    // A record of a save of file by process pid of this boot and host.
    SaveRecord RecordOf(const fs::path& file, pid_t pid) {
        SaveRecord record;
        record.file = file.string();
        record.copy = (dir / "gone (earlier contents).lnt").string();
        struct stat status {};
        ::stat(file.c_str(), &status);
        record.fileId = IdOf(status);
        record.newLength = 5000;
        record.blocks = BlockHashes(std::string(5000, 'x'));
        record.pid = pid;
        record.boot = RealSystem().BootId();
        record.host = RealSystem().HostName();
        return record;
    }
    void Keep(const SaveRecord& record) {
        int error = 0;
        const Descriptor folder = OpenCopiesFolder(RealSystem(), false, error);
        KeptRecord kept;
        ASSERT_EQ(kept.Make(RealSystem(), folder.get(), record), 0);
    }
};

// A record reads back as it was written, whatever its paths hold; one cut
// short, or with a hash too few, is none.
TEST_F(UnfinishedSavesTest, ARecordReadsBackAsItWasWritten) {
    SaveRecord record = RecordOf(dir / "odd%0A\nname.lnt", 4242);
    record.copy = dir.string() + "/100% (earlier contents).lnt";
    record.host.clear();
    record.cutSeconds = 1765000000;
    record.cutNanos = 123456789;
    SaveRecord read;
    ASSERT_TRUE(ParseRecord(RecordText(record), read));
    EXPECT_EQ(RecordText(read), RecordText(record));
    EXPECT_EQ(read.file, record.file);
    EXPECT_EQ(read.copy, record.copy);
    EXPECT_EQ(read.host, "");
    const std::string text = RecordText(record);
    EXPECT_FALSE(ParseRecord(text.substr(0, text.size() / 2), read = {}));
    record.blocks.pop_back();
    EXPECT_FALSE(ParseRecord(RecordText(record), read = {}));
}

// The save whose saver (a child here) still holds its record is running,
// its copy there or not; once it has ended, or where the record is of
// another boot and nobody holds it, the save stopped, and a record whose
// copy is gone goes without a word.
TEST_F(UnfinishedSavesTest, ASaveWhoseProcessStillRunsIsRunning) {
    const fs::path file = dir / "family.lnt";
    std::ofstream(file) << "0 HEAD\r\n";
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t saver = ::fork();
    if (saver == 0) {
        int error = 0;
        const Descriptor folder = OpenCopiesFolder(RealSystem(), false, error);
        KeptRecord kept;
        if (kept.Make(RealSystem(), folder.get(), RecordOf(file, ::getpid())) == 0) (void)!::write(ready[1], "r", 1);
        ::pause();
        ::_exit(0);
    }
    char told = 0;
    ::close(ready[1]);
    ASSERT_EQ(::read(ready[0], &told, 1), 1);
    ::close(ready[0]);
    struct Ends {
        pid_t pid;
        void End() {
            if (pid > 0 && ::kill(pid, SIGKILL) == 0) ::waitpid(pid, nullptr, 0);
            pid = 0;
        }
        ~Ends() { End(); }
    } ends{saver};
    SaveRecord ofAnotherBoot = RecordOf(file, saver);
    ofAnotherBoot.boot = "another boot";
    Keep(ofAnotherBoot);
    std::vector<RecordedSave> saves = UnfinishedSaves(RealSystem(), file.string());
    ASSERT_EQ(saves.size(), 1u);
    EXPECT_EQ(saves[0].end, SaveEnd::Running);
    EXPECT_EQ(saves[0].record.pid, saver);
    EXPECT_EQ(SaveRecords(RealSystem()).size(), 1u);
    ends.End();
    EXPECT_TRUE(UnfinishedSaves(RealSystem(), file.string()).empty());
    EXPECT_TRUE(SaveRecords(RealSystem()).empty());
}


// A stopped save whose file no longer tells what became of it keeps its
// copy, named: a file as long as the new contents but for another last,
// short block; a damaged record (a length no file has, and so no hashes),
// judged without reading past what it holds. A file that is the new
// contents lets the copy go.
TEST_F(UnfinishedSavesTest, AFileThatIsNotTheNewContentsKeepsItsCopy) {
    const fs::path file = dir / "family.lnt", copy = dir / "family (earlier contents).lnt";
    const struct {
        const char* what;
        std::string holds;
        bool damaged;
        bool copyKept;
    } cases[] = {
        {"another end", std::string(4999, 'x') + 'y', false, true},
        {"a damaged record", std::string(4096, 'x'), true, true},
        {"the new contents", std::string(5000, 'x'), false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::ofstream(copy, std::ios::binary) << "earlier";
        std::ofstream(file, std::ios::binary) << c.holds;
        SaveRecord record = RecordOf(file, ::getpid());
        record.boot = "an earlier boot";  // its process is gone
        record.copy = copy.string();
        struct stat status {};
        ::stat(copy.c_str(), &status);
        record.copyId = IdOf(status);
        if (c.damaged) {
            record.newLength = UINT64_MAX;
            record.blocks.clear();
        }
        Keep(record);
        const std::vector<RecordedSave> saves = UnfinishedSaves(RealSystem(), file.string());
        EXPECT_EQ(saves.size(), c.copyKept ? 1u : 0u);
        for (const RecordedSave& save : saves) EXPECT_EQ(save.end, SaveEnd::Changed);
        EXPECT_EQ(fs::exists(copy), c.copyKept);
        for (const FoundRecord& found : SaveRecords(RealSystem())) RemoveSaveRecord(RealSystem(), found.name);
    }
}

}  // namespace
}  // namespace lintora::testing
