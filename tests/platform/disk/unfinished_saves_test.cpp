#include "platform/disk/unfinished_saves.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

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
        record.pid = pid;
        record.boot = RealSystem().BootId();
        record.host = RealSystem().HostName();
        return record;
    }
    static std::string Read(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static void Write(const fs::path& p, const std::string& s) { std::ofstream(p, std::ios::binary) << s; }
    std::vector<std::string> Listing(const fs::path& folder) const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    // The file usb/family.lnt (with a second name, so that a save writes
    // it in place) holding earlier, saved over with saved by a save that
    // stops at the call at (half-way through it where half).
    fs::path StoppedSave(const std::string& earlier, const std::string& saved, const std::string& at, bool half) {
        const fs::path usb = dir / "usb", file = usb / "family.lnt";
        fs::create_directories(usb);
        Write(file, earlier);
        if (!fs::exists(usb / "for-aunt.lnt")) fs::create_hard_link(file, usb / "for-aunt.lnt");
        StoppingSystem stopping(at, 1, half);
        EXPECT_TRUE(SaveStopped(file.string(), saved, stopping));
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

// The save of a process that still runs on this boot of this host is
// running, its copy there or not; once it has ended, or where the record
// is of another boot, the save stopped, and a record whose copy is gone
// from its folder is returned to be told, its record removed.
TEST_F(UnfinishedSavesTest, ASaveWhoseProcessStillRunsIsRunning) {
    const fs::path file = dir / "family.lnt";
    std::ofstream(file) << "0 HEAD\r\n";
    const pid_t saver = ::fork();
    if (saver == 0) {
        ::pause();
        ::_exit(0);
    }
    struct Ends {
        pid_t pid;
        void End() {
            if (pid > 0 && ::kill(pid, SIGKILL) == 0) ::waitpid(pid, nullptr, 0);
            pid = 0;
        }
        ~Ends() { End(); }
    } ends{saver};
    Keep(RecordOf(file, saver));
    SaveRecord ofAnotherBoot = RecordOf(file, saver);
    ofAnotherBoot.boot = "another boot";
    Keep(ofAnotherBoot);
    std::vector<RecordedSave> saves = UnfinishedSaves(RealSystem(), file.string());
    ASSERT_EQ(saves.size(), 2u);
    if (saves[0].record.boot == "another boot") std::swap(saves[0], saves[1]);
    EXPECT_EQ(saves[0].end, SaveEnd::Running);
    EXPECT_EQ(saves[0].record.pid, saver);
    EXPECT_EQ(saves[1].end, SaveEnd::CopyMissing);
    EXPECT_EQ(SaveRecords(RealSystem()).size(), 1u);
    ends.End();
    saves = UnfinishedSaves(RealSystem(), file.string());
    ASSERT_EQ(saves.size(), 1u);
    EXPECT_EQ(saves[0].end, SaveEnd::CopyMissing);
    EXPECT_TRUE(fs::is_empty(dir / "state" / "Lintora"));
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


// The system of a drive mounted again: every file on it has another
// device number than it had, and FAT makes up its inode numbers anew.
struct Remounted : WatchedSystem {
    int Status(int fd, struct stat& st) override {
        const int result = SystemCalls::Status(fd, st);
        st.st_dev += 7;
        st.st_ino += 100000;
        return result;
    }
};

// A save in place on a USB drive stops half-way through its write; the
// drive comes back under other numbers. The open of either name of the
// file finds the save and the copy it can put back, and so does start-up;
// once the file holds the new contents whole, the copy and the record go.
TEST_F(UnfinishedSavesTest, ADriveMountedAgainKeepsItsStoppedSaves) {
    const std::string earlier(30000, 'e'), saved(50000, 's');
    const fs::path file = StoppedSave(earlier, saved, "write family.lnt", true);
    const fs::path copy = dir / "usb" / "family (earlier contents).lnt";
    Remounted remounted;
    for (const fs::path& opened : {file, dir / "usb" / "for-aunt.lnt", fs::path()}) {
        SCOPED_TRACE(opened);
        const std::vector<RecordedSave> saves = UnfinishedSaves(remounted, opened.string());
        ASSERT_EQ(saves.size(), 1u);
        EXPECT_EQ(saves[0].end, SaveEnd::PartOfNew);
        EXPECT_EQ(saves[0].record.copy, copy.string());
        std::string bytes;
        EXPECT_EQ(ReadEarlierCopy(remounted, saves[0].record, bytes), 0);
        EXPECT_TRUE(bytes == earlier);
    }
    Write(file, saved);
    EXPECT_TRUE(UnfinishedSaves(remounted, file.string()).empty());
    EXPECT_EQ(Listing(dir / "usb"), (std::vector<std::string>{"family.lnt", "for-aunt.lnt"}));
    EXPECT_TRUE(fs::is_empty(dir / "state" / "Lintora"));
}

// A record cut short after the word "file" of its second line, or one
// made by hand whose copy is the file itself (by its name or another), is
// passed over and named; it stops no open, and no other save's telling.
// No record removes the file: nor one of scratch names that names it.
TEST_F(UnfinishedSavesTest, ADamagedRecordIsNamedAndRemovesNothing) {
    const fs::path file = StoppedSave(std::string(9000, 'e'), std::string(20000, 's'), "write family.lnt", true);
    const fs::path records = dir / "state" / "Lintora", aunt = dir / "usb" / "for-aunt.lnt";
    const std::string good = SaveRecords(RealSystem()).at(0).name, holds = Read(file);
    Write(records / ".save.00000000000000c0.record", "Lintora save record\nfile");
    SaveRecord byHand = SaveRecords(RealSystem()).at(0).record;
    byHand.copyKnown = true;
    byHand.copyLength = holds.size();
    byHand.copyHash = CopyHash(holds);
    for (const fs::path& copy : {file, aunt}) {
        byHand.copy = copy.string();
        struct stat status {};
        ::stat(copy.c_str(), &status);
        byHand.copyId = IdOf(status);
        Keep(byHand);
    }
    std::vector<std::string> names = Listing(records);
    std::erase(names, good);
    for (const std::string& opened : {file.string(), std::string()}) {
        std::vector<DamagedRecord> damaged;
        const std::vector<RecordedSave> saves = UnfinishedSaves(RealSystem(), opened, &damaged);
        ASSERT_EQ(saves.size(), 1u);
        EXPECT_EQ(saves[0].end, SaveEnd::PartOfNew);
        std::vector<std::string> named;
        for (const DamagedRecord& record : damaged) named.push_back(fs::path(record.path).filename().string());
        std::sort(named.begin(), named.end());
        EXPECT_EQ(named, names);
        EXPECT_EQ(fs::path(damaged.at(0).path).parent_path(), records);
    }
    RemoveCopyAndRecord(RealSystem(), {names.back(), byHand, SaveEnd::Done});
    EXPECT_TRUE(Read(file) == holds);
    EXPECT_TRUE(fs::exists(aunt));

    struct stat folder {}, status {};
    ::stat((dir / "usb").c_str(), &folder);
    ::stat(file.c_str(), &status);
    Write(records / ".scratch.00000000000000c1.record",
          "Lintora scratch record\nfolder " + (dir / "usb").string() + " " + std::to_string(folder.st_dev) + " " +
              std::to_string(folder.st_ino) + "\nname family.lnt " + std::to_string(status.st_ino) +
              "\nprocess 1 another-boot " + RealSystem().HostName() + "\n");
    EXPECT_TRUE(LoadContents(file.string(), RealSystem(), LoadFor::Opening).contents == holds);
}

// The system of a drive or share that answers an open of the copy with
// error, where it is one.
struct Unreached : WatchedSystem {
    int error = 0;
    int OpenAt(int dir, const std::string& name, int flags, mode_t mode) override {
        if (error != 0 && name.ends_with("(earlier contents).lnt")) {
            errno = error;
            return -1;
        }
        return WatchedSystem::OpenAt(dir, name, flags, mode);
    }
};

// A save that stopped half-way, its copy beside the file. Where the drive
// is away or will not answer, the save is out of reach and its record
// stays until it is back; only where the copy's folder is there and the
// copy is not, or another file has taken its name, is the copy missing:
// returned to be told, the record gone, the other file left be.
TEST_F(UnfinishedSavesTest, ACopyIsMissingOnlyWhereItsFolderIsThereWithoutIt) {
    const fs::path usb = dir / "usb", away = dir / "usb-away", copy = usb / "family (earlier contents).lnt";
    const struct {
        const char* what;
        int error;
        std::function<void()> make;
        SaveEnd end;
        int readError;  // of the copy, where it is missing
        std::string left;  // at the copy's name at the end
    } cases[] = {
        {"the drive not plugged in", 0, [&] { fs::rename(usb, away); }, SaveEnd::OutOfReach, 0, ""},
        {"a share that will not answer", EIO, [] {}, SaveEnd::OutOfReach, 0, ""},
        {"a drive gone with the file open", ENODEV, [] {}, SaveEnd::OutOfReach, 0, ""},
        {"a stale share", ESTALE, [] {}, SaveEnd::OutOfReach, 0, ""},
        {"a folder closed to the user", EACCES, [] {}, SaveEnd::OutOfReach, 0, ""},
        {"the copy deleted", 0, [&] { fs::remove(copy); }, SaveEnd::CopyMissing, ENOENT, ""},
        {"another file at its name", 0, [&] { fs::remove(copy), Write(copy, "another work"); }, SaveEnd::CopyMissing,
         ESTALE, "another work"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const fs::path file = StoppedSave("0 HEAD\n", std::string(9000, 's'), "write family.lnt", true);
        c.make();
        Unreached system;
        system.error = c.error;
        std::vector<DamagedRecord> damaged;
        std::vector<RecordedSave> saves = UnfinishedSaves(system, "", &damaged);
        ASSERT_EQ(saves.size(), 1u);
        EXPECT_EQ(saves[0].end, c.end);
        EXPECT_TRUE(damaged.empty());
        EXPECT_EQ(SaveRecords(system).size(), c.end == SaveEnd::OutOfReach ? 1u : 0u);
        std::string bytes;
        if (c.end == SaveEnd::CopyMissing) EXPECT_EQ(ReadEarlierCopy(system, saves[0].record, bytes), c.readError);
        if (fs::exists(away)) fs::rename(away, usb);
        if (c.end == SaveEnd::OutOfReach) {  // back again
            saves = UnfinishedSaves(RealSystem(), file.string());
            ASSERT_EQ(saves.size(), 1u);
            EXPECT_EQ(saves[0].end, SaveEnd::PartOfNew);
            RemoveCopyAndRecord(RealSystem(), saves[0]);
        }
        EXPECT_EQ(fs::exists(copy) ? Read(copy) : "", c.left);
        fs::remove(copy);
        EXPECT_TRUE(fs::is_empty(dir / "state" / "Lintora"));
    }
}


// Where the file system makes no nameless files (FAT, exFAT), a save in
// place killed while it writes the copy leaves it under a scratch name
// beside the file; the next open removes it, and its record.
TEST_F(UnfinishedSavesTest, ACopyHalfWrittenUnderAScratchNameGoesAtTheNextOpen) {
    struct WithoutNamelessFiles : StoppingSystem {
        using StoppingSystem::StoppingSystem;
        int OpenNameless(int, int, mode_t) override {
            errno = EOPNOTSUPP;
            return -1;
        }
    } stopping("write .family.lnt.*.tmp", 1, true);
    const fs::path usb = dir / "usb", file = usb / "family.lnt";
    fs::create_directories(usb);
    Write(file, std::string(30000, 'e'));
    fs::create_hard_link(file, usb / "for-aunt.lnt");
    ASSERT_TRUE(SaveStopped(file.string(), std::string(50000, 's'), stopping));
    EXPECT_EQ(Listing(usb).size(), 3u);
    EXPECT_TRUE(LoadContents(file.string(), RealSystem(), LoadFor::Opening).contents == std::string(30000, 'e'));
    EXPECT_EQ(Listing(usb), (std::vector<std::string>{"family.lnt", "for-aunt.lnt"}));
    EXPECT_TRUE(fs::is_empty(dir / "state" / "Lintora"));
}


// The user's own "family (earlier contents).lnt", which no record names,
// is no copy of the program's: a save in place keeps its copy under the
// next name, with its record, and the user's file stays whatever becomes
// of the save.
TEST_F(UnfinishedSavesTest, AFileOfTheUsersNamedLikeACopyIsNeverTakenForOne) {
    const fs::path usb = dir / "usb", mine = usb / "family (earlier contents).lnt";
    const fs::path copy = usb / "family (earlier contents 2).lnt";
    fs::create_directories(usb);
    Write(mine, "mine");
    const fs::path file = StoppedSave("0 HEAD\n", std::string(9000, 's'), "write family.lnt", false);
    std::vector<RecordedSave> saves = UnfinishedSaves(RealSystem(), file.string());
    ASSERT_EQ(saves.size(), 1u);
    EXPECT_EQ(saves[0].end, SaveEnd::PartOfNew);
    EXPECT_EQ(saves[0].record.copy, copy.string());
    EXPECT_EQ(Read(copy), "0 HEAD\n");
    RemoveCopyAndRecord(RealSystem(), saves[0]);
    WatchedSystem watched;
    ASSERT_TRUE(SaveContents(file.string(), "0 HEAD\n0 TRLR\n", watched).saved());
    EXPECT_EQ(watched.Calls({"remove family", "sync .save"}),
              (std::vector<std::string>{"sync .save.*.record", "remove family (earlier contents 2).lnt"}));
    EXPECT_EQ(Read(mine), "mine");
    EXPECT_EQ(Listing(usb), (std::vector<std::string>{"family (earlier contents).lnt", "family.lnt", "for-aunt.lnt"}));
    EXPECT_TRUE(fs::is_empty(dir / "state" / "Lintora"));
}

// A save stopped once it cleared its file, whether it wrote a block of the
// new contents or none (zeros), is offered back however the file's stamp
// stands to the cut's: in the same second or seconds later. A file stamped
// before the cut was changed by someone else since.
TEST_F(UnfinishedSavesTest, AFileWrittenSinceItsCutIsStillPartOfTheNewContents) {
    const fs::path file = dir / "family.lnt", copy = dir / "family (earlier contents).lnt";
    constexpr std::int64_t kCut = 1765000000;
    const struct {
        const char* when;
        std::int64_t seconds, nanos;  // the file's stamp, after the cut's of kCut, cutNanos
        std::int64_t cutNanos;
        SaveEnd end;
    } cases[] = {
        {"at the very cut", kCut, 500, 500, SaveEnd::PartOfNew},
        {"later in its second", kCut, 900, 500, SaveEnd::PartOfNew},
        {"the next second, fewer nanoseconds", kCut + 1, 100, 900'000'000, SaveEnd::PartOfNew},
        {"seconds later", kCut + 5, 0, 500, SaveEnd::PartOfNew},
        {"earlier in its second", kCut, 100, 900, SaveEnd::Changed},
        {"the second before", kCut - 1, 999'999'999, 0, SaveEnd::Changed},
    };
    for (const std::string& holds : {std::string(4096, 'x') + std::string(904, '\0'), std::string(8192, '\0')})
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.when) + (holds[0] ? ", a block written" : ", zeros"));
            Write(copy, "earlier");
            Write(file, holds);
            const struct timespec stamps[] = {{0, UTIME_OMIT}, {c.seconds, c.nanos}};
            ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), stamps, 0), 0);
            SaveRecord record = RecordOf(file, ::getpid());
            record.boot = "an earlier boot";
            record.copy = copy.string();
            record.copyKnown = true;
            record.copyLength = 7;
            record.copyHash = CopyHash("earlier");
            record.cutSeconds = kCut;
            record.cutNanos = c.cutNanos;
            Keep(record);
            const std::vector<RecordedSave> saves = UnfinishedSaves(RealSystem(), file.string());
            ASSERT_EQ(saves.size(), 1u);
            EXPECT_EQ(saves[0].end, c.end);
            DropRecord(RealSystem(), saves[0]);
        }
}

}  // namespace
}  // namespace lintora::testing
