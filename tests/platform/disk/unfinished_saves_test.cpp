#include "platform/disk/unfinished_saves.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <tuple>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/disk/copies_folder.h"
#include "platform/disk/load_contents.h"
#include "platform/disk/save_contents.h"
#include "tests/support/watched_system.h"

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
        std::tie(record.copyLength, record.copyHash) = std::tuple(7, CopyHash("earlier"));
        record.pid = pid;
        record.boot = RealSystem().BootId();
        record.host = RealSystem().HostName();
        return record;
    }
    static std::string Read(const fs::path& p) { return (std::ostringstream() << std::ifstream(p).rdbuf()).str(); }
    static void Write(const fs::path& p, const std::string& s) { std::ofstream(p, std::ios::binary) << s; }
    // usb/family.lnt, linked as for-aunt.lnt (so saved in place), holding
    // "earlier", its save of 9000 bytes stopped by system.
    fs::path StoppedSave(StoppingSystem&& system) {
        const fs::path file = dir / "usb" / "family.lnt";
        fs::create_directories(dir / "usb");
        Write(file, "earlier");
        if (!fs::exists(dir / "usb" / "for-aunt.lnt")) fs::create_hard_link(file, dir / "usb" / "for-aunt.lnt");
        EXPECT_TRUE(SaveStopped(file.string(), std::string(9000, 's'), system));
        return file;
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

// The save whose saver still holds its record is running, its copy there
// or not; once it ended, or of another boot, it stopped, and one whose copy
// is gone is told once, its record removed.
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
    ASSERT_EQ(saves.size(), 2u);
    if (saves[0].record.pid != saver) std::swap(saves[0], saves[1]);
    EXPECT_EQ(saves[0].end, SaveEnd::Running);
    EXPECT_EQ(saves[0].record.pid, saver);
    EXPECT_EQ(saves[1].end, SaveEnd::CopyMissing);
    SettleSaves(RealSystem(), saves, "");
    EXPECT_EQ(SaveRecords(RealSystem()).size(), 1u);
    ends.End();
    saves = UnfinishedSaves(RealSystem(), file.string());
    SettleSaves(RealSystem(), saves, "");
    ASSERT_EQ(saves.size(), 1u);
    EXPECT_EQ(saves[0].end, SaveEnd::CopyMissing);
    EXPECT_TRUE(SaveRecords(RealSystem()).empty());
}

// A stopped save whose file no longer tells what became of it (another last block, a stamp before the cut) keeps its
// copy, named; the new contents let it go; a part written since the cut is theirs. The file is stamped 1765000001.1µs.
TEST_F(UnfinishedSavesTest, AFileThatIsNotTheNewContentsKeepsItsCopy) {
    const fs::path file = dir / "family.lnt", copy = dir / "family (earlier contents).lnt";
    const std::string block = std::string(4096, 'x') + std::string(904, '\0');
    const struct {
        const char* what;
        std::string holds;
        std::int64_t cutSeconds, cutNanos;
        SaveEnd end;  // Done: not returned, its copy gone
    } cases[] = {
        {"another end", std::string(4999, 'x') + 'y', 0, 0, SaveEnd::Changed},
        {"stamped before the cut", block, 1765000001, 900, SaveEnd::Changed},
        {"the new contents", std::string(5000, 'x'), 0, 0, SaveEnd::Done},
        {"a block, at the cut", block, 1765000001, 100, SaveEnd::PartOfNew},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::ofstream(copy, std::ios::binary) << "earlier";
        std::ofstream(file, std::ios::binary) << c.holds;
        const struct timespec stamps[] = {{0, UTIME_OMIT}, {1765000001, 100}};
        ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), stamps, 0), 0);
        SaveRecord record = RecordOf(file, ::getpid());
        record.boot = "an earlier boot";  // its process is gone
        record.copy = copy.string();
        struct stat status {};
        ::stat(copy.c_str(), &status);
        record.copyId = IdOf(status);
        std::tie(record.cutSeconds, record.cutNanos) = std::tuple(c.cutSeconds, c.cutNanos);
        Keep(record);
        std::vector<RecordedSave> saves = UnfinishedSaves(RealSystem(), file.string());
        SettleSaves(RealSystem(), saves, "");
        EXPECT_EQ(saves.size(), c.end == SaveEnd::Done ? 0u : 1u);
        for (const RecordedSave& save : saves) EXPECT_EQ(save.end, c.end);
        EXPECT_EQ(fs::exists(copy), c.end != SaveEnd::Done);
        for (const FoundRecord& found : SaveRecords(RealSystem())) RemoveSaveRecord(RealSystem(), found.name);
    }
}

// A drive mounted again: other device and (on FAT) inode numbers; a
// failing one cannot read the path failing.
struct Remounted : WatchedSystem {
    std::string failing;
    int Status(int fd, struct stat& st) override {
        const int result = SystemCalls::Status(fd, st);
        st.st_dev += 7, st.st_ino += 1000;
        return result;
    }
    int OpenAt(int dir, const std::string& name, int flags, mode_t mode) override {
        return name == failing ? (errno = EIO, -1) : WatchedSystem::OpenAt(dir, name, flags, mode);
    }
};

// A save in place on a USB drive, its copy beside the user's own, is found when mounted again (by its open, also
// through a link, and at start-up) and kept while away; only a copy proven gone drops it. Nothing of the user's goes.
TEST_F(UnfinishedSavesTest, ASaveIsDroppedOnlyWhereItsCopyIsProvenGone) {
    const fs::path usb = dir / "usb", copy = usb / "family (earlier contents 2).lnt";
    const struct {
        const char* what;
        std::function<void(Remounted&)> make;
        SaveEnd end;
        std::string left;  // at the copy's name once judged
        bool reached = true;  // the file can be found by its open
    } cases[] = {
        {"mounted again", [](Remounted&) {}, SaveEnd::PartOfNew, "earlier"},
        {"not plugged in", [&](Remounted&) { fs::rename(usb, dir / "away"); }, SaveEnd::OutOfReach, "", false},
        {"not plugged in, its mount folder empty",
         [&](Remounted&) { fs::rename(usb, dir / "away"), fs::create_directory(usb); }, SaveEnd::OutOfReach, "", false},
        {"failing to read the copy", [&](Remounted& d) { d.failing = copy.string(); }, SaveEnd::OutOfReach, "earlier"},
        {"failing to read the file", [&](Remounted& d) { d.failing = (usb / "family.lnt").string(); },
         SaveEnd::OutOfReach, "earlier"},
        {"the copy deleted", [&](Remounted&) { fs::remove(copy); }, SaveEnd::CopyMissing, ""},
        {"the copy deleted, the file as long",
         [&](Remounted&) { fs::remove(copy), Write(usb / "family.lnt", "EARLIER"); }, SaveEnd::CopyMissing, ""},
        {"another file at its name", [&](Remounted&) { fs::remove(copy), Write(copy, "another"); },
         SaveEnd::CopyMissing, "another"},
    };
    fs::create_directory_symlink(usb, dir / "linked");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::create_directories(usb);
        Write(usb / "family (earlier contents).lnt", "mine");
        const fs::path file = StoppedSave({"write family.lnt", 1, true});
        Remounted drive;
        c.make(drive);
        for (const fs::path& opened : {fs::path(), file, dir / "linked" / "family.lnt"}) {
            std::vector<RecordedSave> saves = UnfinishedSaves(drive, opened.string());
            SettleSaves(drive, saves, "");
            ASSERT_EQ(saves.size(), (c.end == SaveEnd::CopyMissing || !c.reached) && !opened.empty() ? 0u : 1u);
            std::string earlier;
            for (const RecordedSave& save : saves) EXPECT_EQ(save.end, c.end);
            EXPECT_EQ(c.end == SaveEnd::PartOfNew ? ReadEarlierCopy(drive, saves[0].record, earlier) : 0, 0);
        }
        EXPECT_EQ(SaveRecords(drive).size(), c.end == SaveEnd::CopyMissing ? 0u : 1u);
        EXPECT_EQ(fs::exists(copy) ? Read(copy) : "", c.left);
        if (fs::exists(dir / "away")) fs::remove(usb), fs::rename(dir / "away", usb);
        drive.failing.clear();
        if (c.end == SaveEnd::OutOfReach) EXPECT_EQ(UnfinishedSaves(drive, "").at(0).end, SaveEnd::PartOfNew);
        for (const FoundRecord& found : SaveRecords(RealSystem())) RemoveSaveRecord(RealSystem(), found.name);
        EXPECT_EQ(Read(usb / "family (earlier contents).lnt"), "mine");
        fs::remove_all(usb);
    }
}

// Records made by hand with the file itself as their copy (by either name)
// are named and passed over; none removes the file, nor does a scratch
// record that names it.
TEST_F(UnfinishedSavesTest, ADamagedRecordIsNamedAndRemovesNothing) {
    const fs::path file = StoppedSave({"write family.lnt", 1, true}), usb = dir / "usb";
    SaveRecord byHand = SaveRecords(RealSystem()).at(0).record;
    EXPECT_GE(byHand.cutSeconds, byHand.began);  // its cut written once the file was cleared
    const fs::path records = dir / "state" / "Lintora" / RecordsFolderName(usb.string());
    const std::string holds = Read(file);
    struct stat folder {}, status {};
    ::stat(usb.c_str(), &folder);
    ::stat(file.c_str(), &status);
    std::tie(byHand.copyLength, byHand.copyHash, byHand.copyId) = std::tuple(holds.size(), CopyHash(holds), IdOf(status));
    for (const fs::path& copy : {file, usb / "for-aunt.lnt"}) {
        byHand.copy = copy.string();
        Keep(byHand);
    }
    fs::create_directories(records);  // where format 2 kept its folder's records: a damaged one told at start-up only
    Write(records / ".save.00000000000000c2.record", "Lintora record 3\nkind save\n");
    std::vector<DamagedRecord> damaged;
    const std::vector<RecordedSave> saves = UnfinishedSaves(RealSystem(), file.string(), &damaged);
    ASSERT_EQ(saves.size(), 1u);
    EXPECT_EQ(saves[0].end, SaveEnd::PartOfNew);
    EXPECT_EQ(damaged.size(), 2u);
    RemoveCopyAndRecord(RealSystem(), {"", byHand, SaveEnd::Done}, "");
    SaveRecord scratch = byHand;
    std::tie(scratch.kind, scratch.folder) = std::tuple(RecordKind::Scratch, usb.string());
    std::tie(scratch.scratch, scratch.pid, scratch.boot) = std::tuple("family.lnt", 1, "another-boot");
    Write(records / ".scratch.00000000000000c1.record", RecordText(scratch));
    EXPECT_EQ(LoadContents(file.string(), RealSystem(), LoadFor::Opening).contents, holds);
    EXPECT_TRUE(fs::exists(usb / "for-aunt.lnt"));
}

// Without nameless files (FAT, exFAT), a save in place killed before or while it writes the copy leaves it under a
// scratch name; the next open removes it.
TEST_F(UnfinishedSavesTest, ACopyHalfWrittenUnderAScratchNameGoesAtTheNextOpen) {
    struct WithoutNamelessFiles : StoppingSystem {
        using StoppingSystem::StoppingSystem;
        int OpenNameless(int, int, mode_t) override { return errno = EOPNOTSUPP, -1; }
    };
    for (const bool half : {false, true}) {
        const fs::path file = StoppedSave(WithoutNamelessFiles("write .family.lnt.*.tmp", 1, half));
        EXPECT_EQ(std::distance(fs::directory_iterator(dir / "usb"), {}), 3) << half;
        EXPECT_EQ(LoadContents(file.string(), RealSystem(), LoadFor::Opening).contents, "earlier");
        EXPECT_EQ(std::distance(fs::directory_iterator(dir / "usb"), {}), 2);
        for (const auto& entry : fs::recursive_directory_iterator(dir / "state")) EXPECT_TRUE(entry.is_directory());
    }
    WithoutNamelessFiles closed("none", 0, false);  // its folder takes no new files, the state folder no new names
    closed.before = [](auto& c) { return c == "create .family.lnt.*.tmp" || c.starts_with("rename .f") ? EACCES : 0; };
    Keep({.kind = RecordKind::Scratch, .folder = CopiesFolder(), .scratch = ".family.lnt.0123456789abcdef.tmp"});
    Write(dir / "state" / "Lintora" / ".family.lnt.0123456789abcdef.tmp", "half");  // what a stopped save left there
    EXPECT_EQ(SaveContents((dir / "usb" / "family.lnt").string(), "saved", closed).stop, SaveStop::MakeCopy);
    for (const auto& entry : fs::recursive_directory_iterator(dir / "state")) EXPECT_TRUE(entry.is_directory());
}

}  // namespace
}  // namespace lintora::testing
