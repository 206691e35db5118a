#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <functional>
#include <future>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include <fcntl.h>
#include <grp.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include "files/file_loading.h"
#include "files/file_saving.h"
#include "files/gedcom_writer.h"
#include "files/unfinished_save.h"
#include "platform/disk/copies_folder.h"
#include "platform/disk/file_locks.h"
#include "platform/disk/save_contents.h"
#include "platform/disk/save_record.h"
#include "tests/files/files_fixture.h"
#include "tests/support/as_user.h"
#include "tests/support/watched_system.h"

namespace lintora::testing {
namespace {

namespace fs = std::filesystem;

const std::string kAnn = "0 HEAD\r\n1 CHAR ANSEL\r\n0 @I1@ INDI\r\n1 NAME Ann /Old/\r\n0 TRLR\r\n";

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
    // Opens the file as the user does, answering its questions with
    // answers (its other boxes with OK), with what the program says.
    std::vector<std::string> Open(const fs::path& path, std::vector<MsgResult> answers = {},
                                  SystemCalls& sys = RealSystem(), const fs::path& shown = {}) {
        ui.boxes.clear();
        ResetProgramState();
        g.AppPath = (dir / "app").string();
        if (!shown.empty()) LoadFile(shown.string());  // open in the program before
        for (const MsgResult answer : answers) ui.Answer(answer);
        for (int k = 0; k < 3; ++k) ui.Answer(MsgResult::Ok);
        windows.statusLabels.clear();
        LoadFile(path.string(), sys);
        const std::vector<std::string> texts = ui.Texts();
        ui.answers.clear();
        return texts;
    }
    // The records of saves kept in the user's own folder.
    std::vector<std::string> Records() const { return SaveRecordFiles(dir / "state" / "Lintora"); }
    // The question of a stopped save of name, its file holding what holds says.
    static constexpr const char* kBeginning = ": the file holds the beginning of the new work.";
    static constexpr const char* kTorn = ": the file holds the beginning of the new work, as far as can be checked.";
    static constexpr const char* kNothing =
        ": the file holds nothing of the new work (it is empty, or holds only zeros).";
    static constexpr const char* kChanged = ", and the file was changed after it stopped: it holds something else "
                                            "than the new work.";
    static std::string PutBack(const std::string& name, const fs::path& copy, const std::string& holds = kBeginning) {
        return "A save of " + name + " did not finish" + holds + " Put back its earlier contents, kept in " +
               copy.string() + (holds == kChanged ? ", over what it holds now?" : "?");
    }
    // The line that names a copy kept as the user's.
    static std::string Note(const fs::path& copy) {
        return "The earlier contents of this file, from a save that did not finish, are in " + copy.string() +
               ", yours to keep or delete.";
    }
    void TearDown() override {
        unsetenv("TZ");
        FilesTest::TearDown();
    }
    static std::string CutShort() {
        return "family.lnt ends before its last line (0 TRLR): it may be incomplete. Saving over it would lose what "
               "is missing.";
    }
    // family.lnt, with a second name, of `earlier` people; its save of `saved` stopped half-way.
    std::string StopSaveHalfWay(int32_t earlier, int32_t saved) {
        const fs::path family = dir / "family.lnt";
        const std::string contents = WorkOf(earlier, family);
        Write(family, contents);
        fs::create_hard_link(family, dir / "for-aunt.lnt");
        StoppingSystem system("write family.lnt", 1, true);
        EXPECT_TRUE(SaveStopped(family.string(), WorkOf(saved, family), system));
        return contents;
    }
    // Takes away what a stopped save leaves of its scratch files.
    void Tidy() {
        for (const std::string& name : Listing(dir))
            if (name.ends_with(".tmp")) fs::remove(dir / name);
    }
};

// The family's work file of 4,500 people has a second name, so a save
// writes it in place; a 180-person work is saved over it, and the program
// stops at one step of the save or another. The next open loads the whole
// earlier work or the whole new one without a word; where the file holds
// only a beginning of the new work it asks whether to put the earlier work
// back, and either puts it back or opens the part and leaves the copy to
// the user. Whatever the step, no record of the save is left behind.
TEST_F(UnfinishedSaveTest, ASaveStoppedAtAnyStepIsNeverTakenForAWholeFile) {
    const fs::path family = dir / "family.lnt", copy = dir / "family (earlier contents).lnt";
    const std::string earlier = WorkOf(4500, family), saved = WorkOf(180, family);
    const std::string asked = PutBack("family.lnt", copy), nothing = PutBack("family.lnt", copy, kNothing);
    const std::string putBackLine = "family.lnt: its earlier contents were put back from " + copy.string() + ".";
    Write(family, earlier);
    fs::create_hard_link(family, dir / "for-aunt.lnt");
    const bool nameless = MakesNamelessFiles(dir.string());
    const struct {
        const char* step;
        std::string at;
        bool half;
        std::vector<MsgResult> answers;
        int32_t people;  // loaded at the next open, -1 for part of the 180
        std::vector<std::string> said;
        bool copyKept;
    } steps[] = {
        // The record, and the copy where the file system makes files with no name, are named once whole.
        {"before the record", "rename .save.*.tmp to .save.*.record", false, {}, 4500, {}, false},
        {"before the copy has its name",
         (nameless ? "link nameless file" : "rename .family.lnt.*.tmp") + std::string(" to family (earlier contents).lnt"),
         false, {}, 4500, {}, false},
        {"after the copy", "cut family.lnt", false, {}, 4500, {}, false},
        {"after the cut, put back", "write family.lnt", false, {MsgResult::Yes}, 4500, {nothing}, false},
        {"after the cut, kept", "write family.lnt", false, {MsgResult::No}, 0, {nothing}, true},
        {"in the middle of the write", "write family.lnt", true, {MsgResult::No}, -1, {asked, CutShort()}, true},
        {"after the write", "sync family.lnt", false, {}, 180, {}, false},
        {"after the sync, before the copy goes", "remove family (earlier contents).lnt", false, {}, 180, {}, false},
        {"before the record goes", "remove .save.*.record", false, {}, 180, {}, false},
    };
    // Each step twice: the file cleared to zeros where the file system
    // keeps its blocks, then cut to nothing where it cannot.
    for (std::size_t pass = 0; pass < 2 * std::size(steps); ++pass) {
        const auto& step = steps[pass % std::size(steps)];
        const bool toNothing = pass >= std::size(steps);
        SCOPED_TRACE(std::string(step.step) + (toNothing ? ", cut to nothing" : ", cleared"));
        Write(family, earlier);
        StoppingSystem system(step.at, 1, step.half);
        system.clearsToNothing = toNothing;
        ASSERT_TRUE(SaveStopped(family.string(), saved, system));
        windows.fileNotes.clear();
        const std::string told = "family.lnt " + std::string(toNothing ? "is empty" : "holds only zeros") +
                                 ": a save of it stopped before it wrote. Its earlier contents are kept in " +
                                 copy.string() + "; open that copy to go on from the work as it was before that save.";
        EXPECT_EQ(Open(family, step.answers), (step.people ? step.said : std::vector{nothing, told}));
        EXPECT_TRUE(step.people >= 0 ? g.IndivCount == step.people : g.IndivCount > 0 && g.IndivCount < 180)
            << g.IndivCount;
        const bool putBack = step.answers == std::vector<MsgResult>{MsgResult::Yes};
        EXPECT_EQ(windows.statusLabels.empty() ? "" : windows.statusLabels.back(), putBack ? putBackLine : "");
        EXPECT_EQ(windows.fileNotes.empty() ? "" : windows.fileNotes.back(),
                  step.copyKept && step.people ? Note(copy) : putBack ? putBackLine : "");
        EXPECT_EQ(fs::exists(copy) ? Read(copy) : "", step.copyKept ? earlier : "");
        EXPECT_EQ(Records(), std::vector<std::string>{});
        // The copy is the user's now, its record ended: the next open leaves it be, and knows it no more.
        const std::string blank = toNothing ? "File is empty!" : "family.lnt holds only zeros: a save of it stopped "
                                  "before it wrote. Its earlier contents may be kept in a copy beside it, \"family "
                                  "(earlier contents).lnt\", or in the folder ~/.local/state/Lintora of whoever saved "
                                  "it; open that copy to go on from the work as it was before that save.";
        if (step.copyKept) {
            EXPECT_EQ(Open(family), std::vector<std::string>{step.people == 0 ? blank : CutShort()});
            EXPECT_TRUE(fs::exists(copy));
        }
        fs::remove(copy);
        Tidy();
    }
}

// A file changed after its save stopped is asked about at each open (No the default) by either name, until
// answered; No keeps the copy as the user's, named while the file is open, and ends the record.
TEST_F(UnfinishedSaveTest, AFileChangedAfterItsSaveStoppedIsAskedAboutWithNoAsItsDefault) {
    const fs::path family = dir / "family.lnt", copy = dir / "family (earlier contents).lnt";
    StopSaveHalfWay(4500, 18);
    Write(family, WorkOf(300, family));  // another program's
    const std::vector<std::string> changed{PutBack("family.lnt", copy, kChanged)};
    EXPECT_EQ(Open(family, {MsgResult::Dismissed}), changed);
    EXPECT_EQ(ui.boxes.at(0).buttons, MsgButtons::YesNoDefaultNo);
    EXPECT_EQ(g.IndivCount, 300);
    EXPECT_EQ(Records().size(), 1u);
    EXPECT_EQ(Open(dir / "for-aunt.lnt", {MsgResult::No}), changed);
    EXPECT_EQ(windows.fileNotes, std::vector<std::string>({"", Note(copy)}));
    EXPECT_EQ(Records(), std::vector<std::string>{});
    EXPECT_EQ(Open(family), std::vector<std::string>{});
    EXPECT_EQ(windows.fileNotes.back(), "");
    EXPECT_TRUE(fs::exists(copy));
}

// At start-up one box names every other stopped save of the user's and asks nothing of them; those out of reach
// it offers to forget, which ends their records and deletes no copy.
TEST_F(UnfinishedSaveTest, StartUpNamesEveryOtherStoppedSaveInOneBox) {
    const fs::path trees = dir / "trees.lnt", notes = dir / "notes.lnt", usb = dir / "usb" / "usb.lnt",
                   moved = dir / "moved.lnt";
    fs::create_directories(usb.parent_path());
    for (const fs::path& file : {trees, notes, usb, moved}) {
        Write(file, WorkOf(40, file));
        fs::create_hard_link(file, file.string() + ".link");
        StoppingSystem system("write " + file.filename().string(), 1, true);
        ASSERT_TRUE(SaveStopped(file.string(), WorkOf(900, file), system));
    }
    auto copy = [](const fs::path& f) { return f.parent_path() / (f.stem().string() + " (earlier contents).lnt"); };
    fs::rename(dir / "usb", dir / "away");
    fs::create_directories(dir / "elsewhere");
    fs::rename(moved, dir / "elsewhere" / "moved.lnt");
    auto kept = [&](const fs::path& f) { return f.string() + ": its earlier contents are kept in " + copy(f).string(); };
    const std::string away = kept(usb) + ", but the file or that copy cannot be reached now.";
    const std::string gone = moved.string() + ": the file is no longer there; its earlier contents are kept in " +
                             copy(moved).string() + ".";
    // An old scratch record that cannot be read is named with them, and stays.
    const fs::path unreadable = dir / "state/Lintora" / RecordsFolderName("/gone") / ".scratch.000000000000000e.record";
    fs::create_directories(unreadable.parent_path());
    Write(unreadable, "Lintora record 2\nkind scratch\n");
    fs::last_write_time(unreadable, fs::file_time_type::clock::now() - std::chrono::hours(24 * 30));
    ui.Answer(MsgResult::No);
    TellUnfinishedSaves(RealSystem(), notes.string());
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].buttons, MsgButtons::YesNoDefaultNo);
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{"Saves of yours did not finish:\n\n• " + kept(trees) + ".\n• " +
                                                   away + "\n\nEach of those above is asked about when its file is "
                                                   "opened.\n\n• " + gone + "\n• The record of a save " +
                                                   unreadable.string() + " cannot be read (a full disk may have cut it "
                                                   "short, or it was changed by hand), so it was passed over. You may "
                                                   "delete it once you have checked the files you saved last.\n\n"
                                                   "Forget the 2 that cannot be reached or whose file is no longer "
                                                   "there? Their records end: they are told no more at each start, nor "
                                                   "asked about when their files are opened; no copy is deleted."});
    EXPECT_EQ(Records().size(), 4u);
    ui.boxes.clear();
    ui.Answer(MsgResult::Yes);
    TellUnfinishedSaves(RealSystem(), "");
    EXPECT_EQ(ui.boxes.size(), 1u);
    EXPECT_TRUE(ui.boxes.at(0).text.starts_with("Saves of yours did not finish:\n\n• " + kept(notes)));
    EXPECT_EQ(Records().size(), 2u);
    EXPECT_TRUE(fs::exists(copy(dir / "away" / "usb.lnt")) && fs::exists(copy(moved)) && fs::exists(unreadable));
}

// A put back into a read-only file fails and says why, the copy kept; a file then torn inside a block is offered
// back "as far as can be checked".
TEST_F(UnfinishedSaveTest, APutBackThatFailsOrATornFileKeepsTheCopyNamed) {
    const fs::path family = dir / "family.lnt", copy = dir / "family (earlier contents).lnt";
    const std::string earlier = StopSaveHalfWay(4500, 3000);
    ASSERT_EQ(::chmod(family.c_str(), 0444), 0);
    EXPECT_EQ(Open(family, {MsgResult::Yes}),
              (std::vector<std::string>{PutBack("family.lnt", copy),
                                        "The earlier contents of family.lnt could not be put back.\n" +
                                            family.string() + " is read-only\nThey are still kept in " +
                                            copy.string() + ".",
                                        CutShort()}));
    EXPECT_EQ(Read(copy), earlier);
    EXPECT_EQ(Records().size(), 1u);
    ASSERT_EQ(::chmod(family.c_str(), 0644), 0);
    ASSERT_EQ(::truncate(family.c_str(), static_cast<off_t>(Read(family).find_last_not_of('\0')) - 1000), 0);
    EXPECT_EQ(Open(family, {MsgResult::No}),
              (std::vector<std::string>{PutBack("family.lnt", copy, kTorn), CutShort()}));
    EXPECT_TRUE(g.IndivCount > 0 && g.IndivCount < 3000) << g.IndivCount;
}

// What the open tells of a stopped save beyond what its file holds: its copy gone or out of reach, a save on another
// computer (asked), one overtaken where no lock could be had (No the default), a record naming the file as its copy.
TEST_F(UnfinishedSaveTest, EachEndOfAStoppedSaveIsTold) {
    setenv("TZ", "UTC", 1);
    const fs::path family = dir / "family.lnt", copy = dir / "family (earlier contents).lnt";
    StopSaveHalfWay(40, 900);
    const fs::path record = dir / "state" / "Lintora" / Records().at(0);
    const std::string recorded = Read(record), earlier = Read(copy);
    SaveRecord elsewhere;
    ASSERT_TRUE(ParseRecord(recorded, elsewhere));
    SaveRecord overtaken = elsewhere;
    overtaken.overtaken = true;
    std::tie(elsewhere.host, elsewhere.boot, elsewhere.began, elsewhere.locked) =
        std::tuple("attic", "attic's boot", 1765180800, false);
    SaveRecord byHand = elsewhere;
    byHand.copy = family.string();
    // Another computer's lock is not seen where the file system keeps none.
    WatchedSystem noLocks, failing;
    noLocks.passesTime = true;
    noLocks.before = [](const std::string& call) { return call.starts_with("lock .save.") ? ENOLCK : 0; };
    failing.before = [](const std::string& call) { return call == "open family (earlier contents).lnt" ? EIO : 0; };
    const std::string out = "A save of family.lnt did not finish. Its earlier contents are kept in " + copy.string() +
                            ", but that copy cannot be reached now (a drive that is not plugged in, or a network "
                            "folder not connected). Nothing was removed: they will be offered again once the copy "
                            "can be reached.";
    const std::string host = "family.lnt is being saved on the computer attic, where that save began at 08:00 on 8 "
                             "December 2025, or that save stopped there. Open it all the same? Until that save has "
                             "finished, the file may hold only part of its work.";
    const std::string mayHold = "A save of family.lnt did not finish, and another save changed the file while it ran: "
                                "family.lnt may hold that other save's work. Put back its earlier contents, kept in " +
                                copy.string() + ", over what it holds now?";
    const struct {
        const char* what;
        std::string record;
        SystemCalls& sys;
        std::vector<MsgResult> answers;
        std::vector<std::string> opened;
        bool kept;
        std::string note = "";  // where given: the line on the window after, the copy staying where it names it
    } cases[] = {
        {"its copy out of reach", recorded, failing, {}, {out, CutShort()}, true},
        {"its copy gone", recorded, RealSystem(), {}, {"A save of family.lnt did not finish, and its earlier contents, "
         "kept in " + copy.string() + ", are no longer there.", CutShort()}, false},
        {"on another computer, not opened", RecordText(elsewhere), noLocks, {MsgResult::No}, {host}, true},
        {"on another computer, opened", RecordText(elsewhere), noLocks, {MsgResult::Yes}, {host, CutShort()}, false,
         Note(copy)},
        {"overtaken where no lock could be had", RecordText(overtaken), RealSystem(), {MsgResult::No},
         {mayHold, CutShort()}, false},
        {"made by hand", RecordText(byHand), RealSystem(), {}, {"The record of a save " + record.string() +
         " cannot be read (a full disk may have cut it short, or it was changed by hand), so it was passed over. It "
         "names the file " + family.string() + " and the copy " + family.string() + ". You may delete it once you "
         "have checked the files you saved last.", CutShort()}, true},
        {"put back, its copy shown", recorded, RealSystem(), {MsgResult::Yes}, {PutBack("family.lnt", copy)}, false,
         "family.lnt: its earlier contents were put back from " + copy.string() + ". " + Note(copy)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(fs::create_directories(record.parent_path()), &c > cases && !(&c - 1)->kept);  // emptied folders go
        Write(record, c.record);
        if (!fs::exists(copy)) Write(copy, earlier);
        if (std::string(c.what) == "its copy gone") fs::remove(copy);
        EXPECT_EQ(Open(family, c.answers, c.sys, std::string(c.what).ends_with("shown") ? copy : fs::path()), c.opened);
        EXPECT_EQ(ui.boxes.at(0).buttons == MsgButtons::YesNoDefaultNo, c.opened.at(0) == mayHold);
        EXPECT_EQ(fs::exists(record), c.kept);
        if (!c.note.empty()) EXPECT_EQ(std::pair(windows.fileNotes.back(), Read(copy)), std::pair(c.note, earlier));
        if (fs::exists(record) && std::string(c.what).starts_with("on another"))
            EXPECT_EQ(Read(record), RecordText(elsewhere));
    }
}

// A save in place that could not finish says why; after a full disk the next open claims no crash.
TEST_F(UnfinishedSaveTest, ASaveThatCouldNotFinishSaysWhatHappened) {
    const fs::path family = dir / "family.lnt", copy = dir / "family (earlier contents).lnt";
    const std::string earlier = WorkOf(40, family), saved = WorkOf(900, family);
    Write(family, earlier);
    fs::create_hard_link(family, dir / "for-aunt.lnt");
    auto save = [&](const std::string& failing, int error) {
        WatchedSystem system;
        system.passesTime = true;
        system.before = [&](const std::string& call) {
            char c = 0;  // the forked copy holds its save until told to go on
            if (failing == "hold" && call == "write family.lnt") (void)!(::write(1023, &c, 1) + ::read(1022, &c, 1));
            return call == failing || (error == ENOLCK && call.starts_with("lock ")) ? error : 0;
        };
        return NotSavedText(family.string(), SaveContents(family.string(), saved, system));
    };
    EXPECT_EQ(save("sync .save.*.tmp", EINVAL),
              "family.lnt was not saved: its save could not be recorded in " + (dir / "state" / "Lintora").string() +
                  " (the disk did not confirm that it holds the record). The file is as it was.");
    int held[2], goOn[2];
    ASSERT_TRUE(::pipe(held) == 0 && ::pipe(goOn) == 0 && ::dup2(held[1], 1023) && ::dup2(goOn[0], 1022));
    if (::fork() == 0) ::_exit(save("hold", 0).empty() ? 0 : 1);
    char c = 0;
    ASSERT_EQ(::read(held[0], &c, 1), 1);
    EXPECT_EQ(save("", 0), "family.lnt was not saved: another save of it is running. The file is as it was; save again "
                           "when that save has finished.");
    ASSERT_EQ(::write(goOn[1], &c, 1), 1);
    ::wait(nullptr);
    // Without locks, held after its clear: its record tells an open that it runs.
    if (::fork() == 0) ::_exit(save("hold", ENOLCK).empty() ? 0 : 1);
    ASSERT_EQ(::read(held[0], &c, 1), 1);
    EXPECT_EQ(Open(family), std::vector<std::string>{"family.lnt is being saved by another copy of the program. Open "
                                                      "it again when that save has finished."});
    ASSERT_EQ(::write(goOn[1], &c, 1), 1);
    ::wait(nullptr);
    for (int fd : {held[0], held[1], goOn[0], goOn[1], 1022, 1023}) ::close(fd);
    setenv("XDG_STATE_HOME", (dir / "for-aunt.lnt" / "state").c_str(), 1);
    EXPECT_EQ(save("", 0), "family.lnt was not saved: its save could not be recorded in " +
                               (dir / "for-aunt.lnt" / "state" / "Lintora").string() +
                               " (that folder of yours cannot be made or written). The file is as it was.");
    setenv("XDG_STATE_HOME", (dir / "state").c_str(), 1);
    Write(family, earlier);
    EXPECT_EQ(save("write family.lnt", ENOSPC), "family.lnt was not saved: the disk is full, and putting its earlier "
                                                "contents back failed too: they are kept in " + copy.string() +
                                                ". You may delete that copy once you have checked the file.");
    EXPECT_EQ(Open(family, {MsgResult::Yes}), std::vector<std::string>{PutBack("family.lnt", copy, kNothing)});
    EXPECT_EQ(Read(family), earlier);
    EXPECT_EQ(Read(copy), earlier);
}

// A record whose saver runs does not keep a free file from opening: that
// saver writes a file the name no longer reaches, and keeps its copy and record.
TEST_F(UnfinishedSaveTest, AFreeFileOpensWhateverARunningRecordSays) {
    const fs::path family = dir / "family.ged", copy = dir / "family (earlier contents).ged";
    Write(family, kAnn);
    Write(copy, "0 HEAD\r\n0 TRLR\r\n");
    struct stat status {};
    ::stat(family.c_str(), &status);
    SaveRecord record{.file = family.string(), .copy = copy.string()};
    record.fileId = IdOf(status);
    record.newLength = 5000;
    record.blocks = BlockHashes(std::string(5000, 'x'));
    int error = 0;
    const Descriptor state = OpenCopiesFolder(RealSystem(), true, error);
    KeptRecord running;
    ASSERT_EQ(running.Make(RealSystem(), state.get(), record), 0);
    ASSERT_TRUE(LoadFile(family.string()));
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{});
    EXPECT_EQ(g.Indiv[1].iName.value(), "Ann Old");
    EXPECT_TRUE(fs::exists(copy));
    EXPECT_EQ(Records().size(), 1u);
    struct : SystemCalls {  // as on a share without locks: the file's locks (past its contents) cannot be looked at
        int LockInTheWay(int fd, short type, off_t start, off_t length, struct flock* lock) override {
            return start ? (errno = ENOLCK, -1) : SystemCalls::LockInTheWay(fd, type, start, length, lock);
        }
    } share;
    EXPECT_EQ(Open(family, {}, share), std::vector<std::string>{"family.ged is being saved by another copy of the "
                                                                "program. Open it again when that save has finished."});
    fs::remove(family);  // nor is a file taken away meanwhile being saved
    EXPECT_EQ(Open(family), std::vector<std::string>{"family.ged cannot be opened: there is no such file"});
    running.Remove();
}

// While another copy saves the file (held before its cut, then its write), an open reads nothing of it and leaves
// that save its copy and record; a save of this copy waits for the other's end. The file then holds the last whole.
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
            if (call == "cut family.lnt" || call == "write family.lnt") {
                char c = 0;
                (void)!::write(half[1], &c, 1);
                (void)!::read(goOn[0], &c, 1);
            }
            return 0;
        };
        ::_exit(SaveContents(family.string(), saved, system).saved() ? 0 : 1);
    }
    char c = 0;
    for (const bool cut : {false, true}) {
        SCOPED_TRACE(cut ? "held before its write" : "held before its cut");
        ASSERT_EQ(::read(half[0], &c, 1), 1);
        EXPECT_EQ(Open(family), running);
        EXPECT_EQ(g.IndivCount, 0);
        EXPECT_EQ(g.FileName, "");
        EXPECT_TRUE(fs::exists(dir / "family (earlier contents).lnt"));
        EXPECT_EQ(Records().size(), 1u);
        if (!cut) ASSERT_EQ(::write(goOn[1], &c, 1), 1);
    }
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
    EXPECT_EQ(Listing(dir), (std::vector<std::string>{"app", "config", "family.lnt", "for-aunt.lnt", "state"}));
    EXPECT_EQ(Records(), std::vector<std::string>{});

    const int held = ::open(family.c_str(), O_RDWR);  // as a save holds it, its record not yet made
    const struct flock range {F_WRLCK, SEEK_SET, kSaveRange, kLockRangeLength, 0};
    ASSERT_EQ(::fcntl(held, F_OFD_SETLK, &range), 0);
    EXPECT_EQ(Open(family), running);
    ::close(held);
    // The whole file locked (lockf, classic, OFD), as by another program: told so, with any process the lock names.
    for (const int command : {0, F_SETLK, F_OFD_SETLK}) {
        const int fd = ::open(family.c_str(), O_RDWR);
        const struct flock whole {F_WRLCK, SEEK_SET, 0, 0, 0};
        ASSERT_EQ(command ? ::fcntl(fd, command, &whole) : ::lockf(fd, F_LOCK, 0), 0);
        EXPECT_EQ(Open(family), std::vector<std::string>{"family.lnt cannot be opened: another program holds "
                  "it locked" + (command == F_OFD_SETLK ? "" : " (process " + std::to_string(::getpid()) + ")") +
                  ". Close that program, or wait until it lets the file go, then open it again."}) << command;
        ::close(fd);
    }
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
// open offers it back. A file of his own in a folder that takes no new
// files has its copy in his own folder, and his next open finds it there.
TEST_F(UnfinishedSaveTest, TheCopyOfAnotherUsersFileIsOpenToItsOwner) {
    if (::geteuid() != 0) GTEST_SKIP() << "only root can make files of other users and act as them";
    Write(dir / "probe", "");
    if (::setxattr((dir / "probe").c_str(), "system.posix_acl_access", "", 0, 0) != 0 && errno == ENOTSUP)
        GTEST_SKIP() << "the file system of " << dir << " keeps no access lists";
    const fs::path shared = dir / "shared", family = dir / "family", closed = dir / "closed", bob = dir / "bob";
    for (const fs::path& folder : {shared, family, closed, bob}) fs::create_directories(folder);
    ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
    ASSERT_EQ(::chown(family.c_str(), 0, 2000), 0);
    ASSERT_EQ(::chmod(family.c_str(), 02775), 0);
    ASSERT_EQ(::chown(bob.c_str(), 1003, 1003), 0);
    const std::string earlier = "0 HEAD\r\n0 @I1@ INDI\r\n1 NAME Anna /Lindqvist/\r\n0 TRLR\r\n";
    std::string escaped = closed.string();
    for (std::size_t at; (at = escaped.find('/')) != std::string::npos;) escaped.replace(at, 1, "\u2215");
    const struct {
        fs::path file;
        uid_t owner;
        gid_t group;
        mode_t mode;
        fs::path copy;
        std::string copyOwners;
        bool openToOthers;
    } files[] = {{shared / "anna.lnt", 1002, 1002, 0666, shared / "anna (earlier contents).lnt", "1003:1003 666", true},
                 {family / "anna.ged", 1002, 2000, 0660, family / "anna (earlier contents).ged", "1003:2000 660", false},
                 {closed / "bob.lnt", 1003, 1003, 0644, bob / "Lintora" / ("bob from " + escaped +
                                                                           " (earlier contents).lnt"),
                  "1003:1003 644", false}};
    for (const auto& f : files) {
        SCOPED_TRACE(f.file);
        Write(f.file, earlier);
        ASSERT_EQ(::chown(f.file.c_str(), f.owner, f.group), 0);
        ASSERT_EQ(::chmod(f.file.c_str(), f.mode), 0);
        const std::string name = f.file.filename().string();
        const std::string stopped = AsUser(1003, {1003, 2000}, [&] {
            setenv("XDG_STATE_HOME", bob.c_str(), 1);
            StoppingSystem system("write " + name, 1, false);
            (void)SaveContents(f.file.string(), "0 HEAD\r\n0 TRLR\r\n", system);
            return "not stopped";
        });
        ASSERT_EQ(stopped, "");
        EXPECT_EQ(Owners(f.file), std::to_string(f.owner) + ":" + std::to_string(f.group) + " " +
                                      (f.mode == 0666 ? "666" : f.mode == 0660 ? "660" : "644"));
        EXPECT_EQ(Owners(f.copy), f.copyOwners);
        auto readAs = [&](uid_t uid) { return AsUser(uid, {uid}, [&] { return Read(f.copy); }); };
        if (f.owner != 1003) {
            EXPECT_EQ(readAs(1002), earlier);
            EXPECT_EQ(readAs(1005), f.openToOthers ? earlier : "");
        }
        EXPECT_EQ(AsUser(1003, {1003, 2000},
                         [&] {
                             setenv("XDG_STATE_HOME", bob.c_str(), 1);
                             return Open(f.file, {MsgResult::No}).at(0);
                         }),
                  PutBack(name, f.copy, kNothing));
        EXPECT_TRUE(fs::exists(f.copy));
    }
}

// In a shared folder (sticky, writable by all) Bob (1003), who may only
// read Anna's family.lnt (1002, 0644, with a second name), plants
// "family (earlier contents).lnt" and holds an flock on it and on
// family.lnt itself. Anna opens and saves her file all the same, and where
// it is cut short she hears only that; his file is never named, and stays.
// Only a read lock of his, held while she saves, keeps her save off: after
// its wait it leaves the file as it was and says why.
TEST_F(UnfinishedSaveTest, APlantedCopyAndAReadersLocksBlockNoOpenOrSaveOfTheOwner) {
    if (::geteuid() != 0) GTEST_SKIP() << "only root can make files of other users and act as them";
    const fs::path shared = dir / "shared", anna = dir / "anna", family = shared / "family.lnt";
    const fs::path planted = shared / "family (earlier contents).lnt";
    for (const fs::path& folder : {shared, anna}) fs::create_directories(folder);
    ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
    ASSERT_EQ(::chown(anna.c_str(), 1002, 1002), 0);
    const std::string earlier = WorkOf(300, family), saved = WorkOf(30, family);
    Write(family, earlier);
    fs::create_hard_link(family, shared / "for-print.lnt");
    ASSERT_EQ(::chown(family.c_str(), 1002, 1002), 0);
    ASSERT_EQ(::chmod(family.c_str(), 0644), 0);
    int ready[2], orders[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(orders), 0);
    const pid_t reader = ::fork();
    if (reader == 0) {
        ::close(orders[1]);
        ::close(ready[0]);
        const gid_t groups[] = {1003};
        if (::setgroups(1, groups) != 0 || ::setgid(1003) != 0 || ::setuid(1003) != 0) ::_exit(1);
        const int copy = ::open(planted.c_str(), O_RDWR | O_CREAT | O_EXCL, 0644);
        const int file = ::open(family.c_str(), O_RDONLY);
        if (copy < 0 || file < 0 || ::write(copy, "mine", 4) != 4 || ::flock(copy, LOCK_EX) != 0 ||
            ::flock(file, LOCK_EX) != 0)
            ::_exit(1);
        char order = 0;
        (void)!::write(ready[1], "r", 1);
        while (::read(orders[0], &order, 1) == 1) {
            struct flock whole {};
            whole.l_type = F_RDLCK;
            (void)!::fcntl(file, F_OFD_SETLK, &whole);
            (void)!::write(ready[1], "r", 1);
        }
        ::_exit(0);
    }
    ::close(orders[0]);
    ::close(ready[1]);
    char c = 0;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    auto asAnna = [&](const std::function<std::string()>& work) {
        return AsUser(1002, {1002}, [&] {
            setenv("XDG_STATE_HOME", anna.c_str(), 1);
            setenv("XDG_CONFIG_HOME", anna.c_str(), 1);
            return work();
        });
    };
    EXPECT_EQ(asAnna([&] {
                  std::string said = std::to_string(Open(family).size());
                  said += " " + std::to_string(g.IndivCount) + ", ";
                  said += NotSavedText(family.string(), SaveContents(family.string(), saved)) + ", ";
                  ::truncate(family.c_str(), 8192);
                  const std::vector<std::string> texts = Open(family);
                  TellUnfinishedSaves(RealSystem(), "");
                  return said + texts.at(0) + ", " + std::to_string(texts.size() + ui.boxes.size() - 1);
              }),
              "0 300, , " + CutShort() + ", 1");
    EXPECT_EQ(Read(planted), "mine");
    Write(family, earlier);
    ASSERT_EQ(::write(orders[1], "r", 1), 1);  // his read lock
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    EXPECT_EQ(asAnna([&] {
                  std::string said = std::to_string(Open(family).size());
                  said += " " + std::to_string(g.IndivCount);
                  WatchedSystem waits;
                  waits.passesTime = true;
                  return said + ", " + NotSavedText(family.string(), SaveContents(family.string(), saved, waits));
              }),
              "0 300, family.lnt was not saved: another program or user is reading it. The file is as it was.");
    EXPECT_EQ(Read(family), earlier);
    ::close(orders[1]);
    ::close(ready[0]);
    ::waitpid(reader, nullptr, 0);
    EXPECT_EQ(Listing(shared), (std::vector<std::string>{"family (earlier contents).lnt", "family.lnt", "for-print.lnt"}));
}

}  // namespace
}  // namespace lintora::testing
