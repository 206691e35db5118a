#include "files/file_saving.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <regex>
#include <sstream>
#include <tuple>

#include <fcntl.h>
#include <grp.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include "files/data_files.h"
#include "files/gedcom_writer.h"
#include "files/save_words.h"
#include "files/text_lines.h"
#include "lintora_version.h"
#include "platform/disk/copies_folder.h"
#include "platform/disk/save_contents.h"
#include "platform/disk/unfinished_saves.h"
#include "tests/files/files_fixture.h"
#include "tests/support/as_user.h"
#include "tests/support/watched_system.h"

namespace lintora::testing {
namespace {

namespace fs = std::filesystem;

std::string FirstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

class SaveFileTest : public FilesTest {
protected:
    void SetUp() override {
        FilesTest::SetUp();
        AddPeople(2);
        g.DataChanged = "Y";
        g.TreeSlot[0] = 2;
    }
    static void AddPeople(int n) {
        for (int i = 1; i <= n; ++i) {
            g.Indiv[i].iRIN = i;
            g.Indiv[i].iGivn = "Person";
            g.Indiv[i].iSurn = "No" + std::to_string(i);
            g.Indiv[i].iSex = "M";
        }
        g.IndivCount = n;
    }
    std::string Setting(const char* key) { return GetStartupSetting(key, "<absent>"); }
    // Saves the work as GEDCOM to g.FilePath, answering Yes to replacing it
    // and OK to the message that follows.
    bool SaveGedcom() {
        ui.boxes.clear();
        g.DataChanged = "Y";
        std::error_code ec;
        if (fs::exists(g.FilePath, ec)) ui.Answer(MsgResult::Yes);
        ui.Answer(MsgResult::Ok);
        return SaveFile(g.FilePath, "GED");
    }
};

// What a save of the work writes to p.
std::string Saved(const fs::path& p) {
    return FileContents(FileKind::Gedcom, BuildFileLines(FileKind::Gedcom, p.string()));
}

ino_t Inode(const fs::path& p) {
    struct stat st {};
    return ::stat(p.c_str(), &st) == 0 ? st.st_ino : 0;
}

std::string ModeOf(const fs::path& p) {
    struct stat st {};
    ::stat(p.c_str(), &st);
    std::ostringstream s;
    s << std::oct << (st.st_mode & 07777);
    return s.str();
}

const std::string kOldGedcom = "0 HEAD\r\n1 CHAR ANSEL\r\n0 @I1@ INDI\r\n1 NAME Ann /Old/\r\n0 TRLR\r\n";
const std::string kNotSaved = "Error occurred while trying to save file, please retry.\n";

TEST_F(SaveFileTest, WorkFileSaveRemembersFileAndRoot) {
    fs::path target = dir / "smith";
    ui.fileAnswers.push_back(target.string());
    ui.Answer(MsgResult::Ok);
    EXPECT_TRUE(SaveFile(kAskForName, "LNT"));
    std::string path = target.string() + ".lnt";
    EXPECT_EQ(ui.boxes.back().text, path + " successfully saved");
    EXPECT_EQ(ui.boxes.back().icon, MsgIcon::Information);
    EXPECT_EQ(g.FilePath, path);
    EXPECT_EQ(g.FileName, "smith.lnt");
    EXPECT_EQ(g.FileDir, dir.string());
    EXPECT_EQ(g.LastWorkFile, path);
    EXPECT_EQ(g.InitDirWRK, dir.string());
    EXPECT_EQ(g.DataChanged, "N");
    EXPECT_EQ(Setting("InitDirWRK"), dir.string());
    EXPECT_EQ(Setting("datFilename"), "smith.lnt");
    EXPECT_EQ(Setting("datPos"), "2");
    EXPECT_EQ(windows.captions, std::vector<std::string>{"Lintora (smith.lnt)"});
    EXPECT_EQ(windows.statusLabels.back(), path + " saved");
    EXPECT_EQ(windows.preferencesHidden, 1);
    // The file holds the writer's lines, encoded.
    auto stored = SplitFileLines(Read(path));
    auto plain = BuildFileLines(FileKind::Work, path);
    ASSERT_EQ(stored.size(), plain.size());
    for (std::size_t i = 0; i < stored.size(); ++i) EXPECT_EQ(DecodeLine(stored[i]), plain[i]);
    EXPECT_EQ(ui.fileRequests[0].filter,
              "Work Files (*.lnt *.LNT);;All Files (*.*);;Text Files (*.txt)");
}

TEST_F(SaveFileTest, GedcomSaveForgetsTheWorkFile) {
    g.LastWorkFile = "/somewhere/old.lnt";
    ui.fileAnswers.push_back((dir / "family.ged").string());
    ui.Answer(MsgResult::Ok);
    EXPECT_TRUE(SaveFile(kAskForName, "GED"));
    EXPECT_EQ(g.DataChanged, "N");
    EXPECT_EQ(g.LastWorkFile, "");
    EXPECT_EQ(g.InitDirGED, dir.string());
    EXPECT_EQ(Setting("InitDirGED"), dir.string());
    EXPECT_EQ(Setting("datFilename"), " ");
    EXPECT_EQ(Setting("datPos"), "0");
    EXPECT_TRUE(windows.captions.empty());
    EXPECT_EQ(Read(dir / "family.ged").substr(0, 8), "0 HEAD\r\n");
}

TEST_F(SaveFileTest, ExtensionFollowsTheNameNotTheFolder) {
    fs::create_directories(dir / "my.trees");
    const struct { std::string answer, kind, saved; } cases[] = {
        {(dir / "my.trees" / "smith").string(), "LNT", (dir / "my.trees" / "smith.lnt").string()},
        {(dir / "my.trees" / "smith").string(), "GED", (dir / "my.trees" / "smith.ged").string()},
        {(dir / "jones.txt").string(), "LNT", (dir / "jones.txt").string()},
    };
    for (const auto& c : cases) {
        ui.fileAnswers.push_back(c.answer);
        ui.Answer(MsgResult::Ok);
        EXPECT_TRUE(SaveFile(kAskForName, c.kind));
        EXPECT_TRUE(fs::exists(c.saved)) << c.saved;
        EXPECT_EQ(g.FilePath, c.saved);
    }
}

TEST_F(SaveFileTest, DialogProposesTheRememberedFolderAndBaseName) {
    g.FileName = "smith.lnt";
    g.InitDirGED = " /trees/ged ";
    ui.fileAnswers.push_back("");
    EXPECT_FALSE(SaveFile(kAskForName, "GED"));
    ASSERT_EQ(ui.fileRequests.size(), 1u);
    EXPECT_EQ(ui.fileRequests[0].fileName, "/trees/ged/smith");
    EXPECT_EQ(ui.fileRequests[0].initialDir, "/trees/ged");
    g.FileName = "";
    ui.fileAnswers.push_back("");
    SaveFile(kAskForName, "GED");
    EXPECT_EQ(ui.fileRequests[1].fileName, "");
}

TEST_F(SaveFileTest, CancelledDialogSavesNothingQuietly) {
    ui.fileAnswers.push_back("");
    EXPECT_FALSE(SaveFile(kAskForName, "LNT"));
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(windows.statusLabels.back(), "File not saved...");
    EXPECT_EQ(windows.preferencesHidden, 1);
    EXPECT_EQ(g.DataChanged, "Y");
    EXPECT_EQ(Setting("datFilename"), "<absent>");
}

TEST_F(SaveFileTest, OverwriteQuestion) {
    fs::path target = dir / "smith.lnt";
    Write(target, "old contents");
    // No: nothing changes and nothing more is shown.
    ui.fileAnswers.push_back(target.string());
    ui.Answer(MsgResult::No);
    EXPECT_FALSE(SaveFile(kAskForName, "LNT"));
    EXPECT_EQ(ui.boxes.back().text, "Overwrite existing file?");
    EXPECT_EQ(ui.boxes.back().buttons, MsgButtons::YesNo);
    EXPECT_EQ(ui.boxes.back().icon, MsgIcon::Question);
    EXPECT_EQ(Read(target), "old contents");
    EXPECT_EQ(g.DataChanged, "Y");
    EXPECT_TRUE(windows.statusLabels.empty());
    EXPECT_EQ(windows.preferencesHidden, 0);
    EXPECT_EQ(Setting("datFilename"), "<absent>");
    // Yes: replaced, with no other file left behind.
    ui.fileAnswers.push_back(target.string());
    ui.Answer(MsgResult::Yes);
    ui.Answer(MsgResult::Ok);
    EXPECT_TRUE(SaveFile(kAskForName, "LNT"));
    EXPECT_NE(Read(target), "old contents");
    EXPECT_EQ(Listing(dir), (std::vector<std::string>{"app", "config", "smith.lnt", "state"}));
}

// Loading refuses these names, so saving does too: a work file saved under
// one could never be opened again.
TEST_F(SaveFileTest, NamesTheLoaderRefusesAreNotSaved) {
    fs::create_directories(dir / "old[1]");
    for (const std::string name : {"a;b", "a<b", "a=b", "a>b", "a?b", "a[b", "a]b", "a*b", "old[1]/smith*"}) {
        SCOPED_TRACE(name);
        ui.boxes.clear();
        windows.statusLabels.clear();
        ui.fileAnswers.push_back((dir / name).string());
        ui.Answer(MsgResult::Ok);
        EXPECT_FALSE(SaveFile(kAskForName, "LNT"));
        ASSERT_EQ(ui.boxes.size(), 1u);
        EXPECT_EQ(FirstLine(ui.boxes[0].text), "Error occurred while trying to save file, please retry.");
        EXPECT_NE(ui.boxes[0].text.find("That filename is illegal"), std::string::npos);
        EXPECT_EQ(ui.boxes[0].icon, MsgIcon::Exclamation);
        EXPECT_EQ(windows.statusLabels.back(), "File not saved...");
        EXPECT_EQ(g.DataChanged, "Y");
        EXPECT_EQ(Setting("datFilename"), "<absent>");
    }
    EXPECT_EQ(Listing(dir), (std::vector<std::string>{"app", "config", "old[1]"}));
    EXPECT_TRUE(fs::is_empty(dir / "old[1]"));
    // A hyphen, a colon or a backslash is no reason to refuse.
    for (const std::string name : {"a-b.lnt", "a:b.lnt", "a\\b.lnt"}) {
        g.FilePath = (dir / name).string();
        ui.Answer(MsgResult::Ok);
        EXPECT_TRUE(SaveFile(g.FilePath, "LNT")) << name;
    }
}

TEST_F(SaveFileTest, NeighbouringFilesAreNeverUsedAsScratch) {
    // Files whose names an in-place encoding could pick for its own.
    Write(dir / "smith.xxx", "someone else's file");
    Write(dir / "smith.lnt.tmp", "another one");
    g.FilePath = (dir / "smith.lnt").string();
    ui.Answer(MsgResult::Ok);
    EXPECT_TRUE(SaveFile(g.FilePath, "LNT"));
    EXPECT_EQ(Read(dir / "smith.xxx"), "someone else's file");
    EXPECT_EQ(Read(dir / "smith.lnt.tmp"), "another one");
    EXPECT_EQ(Listing(dir), (std::vector<std::string>{"app", "config", "smith.lnt", "smith.lnt.tmp", "smith.xxx", "state"}));
}

TEST_F(SaveFileTest, FailedSaveKeepsOldFileAndFlagAndSaysWhy) {
    // A folder stands where the file should go.
    fs::create_directories(dir / "taken.lnt");
    ui.fileAnswers.push_back((dir / "taken.lnt").string());
    ui.Answer(MsgResult::Yes);  // it exists
    ui.Answer(MsgResult::Ok);
    EXPECT_FALSE(SaveFile(kAskForName, "LNT"));
    ASSERT_EQ(ui.boxes.size(), 2u);  // the overwrite question, then the failure
    EXPECT_EQ(FirstLine(ui.boxes[1].text), "Error occurred while trying to save file, please retry.");
    EXPECT_GT(ui.boxes[1].text.size(), 60u);  // with the reason
    EXPECT_EQ(ui.boxes[1].icon, MsgIcon::Exclamation);
    EXPECT_EQ(windows.statusLabels.back(), "File not saved...");
    EXPECT_EQ(g.DataChanged, "Y");
    EXPECT_EQ(g.LastWorkFile, "");
    EXPECT_EQ(Setting("datFilename"), "<absent>");
    EXPECT_TRUE(fs::is_directory(dir / "taken.lnt"));
    // A folder that does not exist.
    g.FilePath = (dir / "no" / "such" / "folder.lnt").string();
    ui.Answer(MsgResult::Ok);
    EXPECT_FALSE(SaveFile(g.FilePath, "LNT"));
    EXPECT_EQ(g.DataChanged, "Y");
    EXPECT_EQ(Listing(dir), (std::vector<std::string>{"app", "config", "taken.lnt"}));
}

TEST_F(SaveFileTest, SaveWithoutDialogWritesTheCurrentPath) {
    g.FilePath = (dir / "current.lnt").string();
    ui.Answer(MsgResult::Ok);
    EXPECT_TRUE(SaveFile(g.FilePath, "LNT"));
    EXPECT_TRUE(ui.fileRequests.empty());
    EXPECT_TRUE(fs::exists(dir / "current.lnt"));
}

TEST_F(SaveFileTest, ProgressOnlyAboveFourHundredIndividuals) {
    // Three families, the second pruned: only written families are counted.
    for (int32_t f = 1; f <= 3; ++f) {
        g.Famil[f].fRIN = f;
        g.Famil[f].fHusb = f;
    }
    g.Famil[2].fTree = 99;
    g.FamilCount = 3;
    for (int n : {400, 401}) {
        AddPeople(n);
        progress = RecordedProgress{};
        g.FilePath = (dir / ("p" + std::to_string(n) + ".lnt")).string();
        ui.Answer(MsgResult::Ok);
        bool saved = SaveFile(g.FilePath, "LNT");
        EXPECT_TRUE(saved);
        const auto& labels = progress.labels;
        auto shown = [&](const std::string& label) {
            return std::find(labels.begin(), labels.end(), label) != labels.end();
        };
        if (n == 400) {
            EXPECT_TRUE(progress.values.empty());
            EXPECT_TRUE(labels.empty());
        } else {
            ASSERT_FALSE(progress.values.empty());
            EXPECT_EQ(progress.values.front(), -401);
            EXPECT_EQ(labels.front(), "Writing Individuals");
            EXPECT_TRUE(shown("Writing individuals (1 of 401)"));
            EXPECT_TRUE(shown("Writing individuals (401 of 401)"));
            EXPECT_TRUE(shown("Writing Families"));
            EXPECT_TRUE(shown("Writing families (1 of 3)"));
            EXPECT_FALSE(shown("Writing families (2 of 3)"));
            EXPECT_TRUE(shown("Writing families (3 of 3)"));
            EXPECT_NE(std::find(progress.values.begin(), progress.values.end(), -3), progress.values.end());
            EXPECT_EQ(labels.back(), "Saving to disk...");
        }
        EXPECT_EQ(progress.ends, n == 400 ? 0 : 1);  // shown, then hidden again
        EXPECT_FALSE(ui.busy);
    }
}

// The family's shared folder (root and the family group 2000, 2775) holds
// Anna's fam.ged (1002, of the group, 0664). Whoever saves it, it stays
// hers: root gives the new file back to her, and Bob (1003), a member of
// the group, writes it in place, so that Anna can still set its permissions
// herself. Carol (1004), who is not a member, writes in place the file of
// another folder that all may write. Nothing needs asking.
TEST_F(SaveFileTest, AFileOfASharedFolderStaysItsOwners) {
    if (::geteuid() != 0) GTEST_SKIP() << "only root can make files of other users and act as them";
    const fs::path family = dir / "family", open = dir / "open", homes = dir / "homes";
    const fs::path fam = family / "fam.ged", jones = open / "jones.lnt";
    for (const fs::path& folder : {family, open, homes}) fs::create_directories(folder);
    Write(fam, "old");
    Write(jones, "old");
    for (auto [path, owner, mode] : {std::tuple{family, 0, 02775}, {open, 1002, 0777}, {homes, 0, 0777},
                                     {fam, 1002, 0664}, {jones, 1002, 0666}}) {
        ASSERT_EQ(::chown(path.c_str(), owner, path == homes ? 0 : 2000), 0);
        ASSERT_EQ(::chmod(path.c_str(), static_cast<mode_t>(mode)), 0);
    }
    g.FilePath = fam.string();
    ui.Answer(MsgResult::Yes);  // overwrite
    ui.Answer(MsgResult::Ok);
    EXPECT_TRUE(SaveFile(g.FilePath, "GED"));
    EXPECT_EQ(Owners(fam), "1002:2000 664");

    // A save of another user, with the boxes it showed.
    auto saveAs = [&](uid_t uid, std::vector<gid_t> groups, const fs::path& file) {
        Write(file, "old");
        return AsUser(uid, groups, [&] {
            setenv("XDG_CONFIG_HOME", (homes / std::to_string(uid)).c_str(), 1);
            setenv("XDG_STATE_HOME", (homes / std::to_string(uid) / "state").c_str(), 1);
            g.FilePath = file.string();
            g.DataChanged = "Y";
            ui.boxes.clear();
            ui.Answer(MsgResult::Yes);  // overwrite
            ui.Answer(MsgResult::Ok);
            std::string report = SaveFile(g.FilePath, "LNT") ? "saved " : "not saved ";
            report += g.DataChanged + " " + (Read(file) == "old" ? "old " : "new ") + Owners(file) + "\n";
            for (const ShownBox& box : ui.boxes) report += box.text + "\n";
            return report;
        });
    };
    const std::string asked = "Overwrite existing file?\n";
    EXPECT_EQ(saveAs(1003, {1003, 2000}, fam),
              "saved N new 1002:2000 664\n" + asked + fam.string() + " successfully saved\n");
    EXPECT_EQ(AsUser(1002, {1002, 2000}, [&] { return std::to_string(::chmod(fam.c_str(), 0640)); }), "0");
    EXPECT_EQ(Owners(fam), "1002:2000 640");
    EXPECT_EQ(saveAs(1004, {1004}, jones),
              "saved N new 1002:2000 666\n" + asked + jones.string() + " successfully saved\n");
    EXPECT_EQ(Listing(family), std::vector<std::string>{"fam.ged"});
    EXPECT_EQ(Listing(open), std::vector<std::string>{"jones.lnt"});
}

// A save refused by the file says so, not that the folder refused: an
// append-only log in the user's own folder cannot be replaced, and a file
// with a second name that Bob (1003) may write but not read cannot have
// its contents kept in a copy while it is written in place.
TEST_F(SaveFileTest, ASaveRefusedByTheFileSaysSo) {
    if (::geteuid() != 0) GTEST_SKIP() << "only root can act as another user and mark a file append-only";
    const fs::path log = dir / "log.ged", notes = dir / "notes.ged";
    Write(notes, kOldGedcom);
    ASSERT_EQ(::chown(notes.c_str(), 1002, 2000), 0);
    ASSERT_EQ(::chmod(notes.c_str(), 0620), 0);
    fs::create_hard_link(notes, dir / "notes-for-aunt.ged");
    EXPECT_EQ(AsUser(1003, {1003, 2000},
                     [&] {
                         g.FilePath = notes.string();
                         SaveGedcom();
                         return ui.boxes.back().text;
                     }),
              kNotSaved + "notes.ged was not saved: the file lets you write it but not read it, and what it holds "
                          "is read first, to be kept in a copy until it is written. The file is as it was.");
    EXPECT_EQ(Read(notes), kOldGedcom);

    Write(log, kOldGedcom);
    const int fd = ::open(log.c_str(), O_RDONLY);
    int flags = 0;
    const bool marked = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 &&
                        (flags |= FS_APPEND_FL, ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0);
    const struct Unmark {
        int fd, flags;
        ~Unmark() {
            int plain = flags & ~FS_APPEND_FL;
            (void)::ioctl(fd, FS_IOC_SETFLAGS, &plain);
            ::close(fd);
        }
    } unmark{fd, flags};
    if (!marked) GTEST_SKIP() << "the file system of " << dir << " cannot mark a file append-only";
    g.FilePath = log.string();
    EXPECT_FALSE(SaveGedcom());
    EXPECT_EQ(ui.boxes.back().text,
              kNotSaved + "log.ged was not saved: the file does not let you replace it. The file is as it was.");
    EXPECT_EQ(Read(log), kOldGedcom);
    EXPECT_EQ(Listing(dir), (std::vector<std::string>{"app", "config", "log.ged", "notes-for-aunt.ged", "notes.ged", "state"}));
}

// What a save found, worded from its facts alone: the words ask the disk nothing.
TEST(SaveWords, EachStopIsWordedFromWhatTheSaveFound) {
    SaveResult noCopy = Stopped(SaveStop::MakeCopy, EACCES, true), mixed = Stopped(SaveStop::Mixed, 0, true);
    std::tie(noCopy.copyFolder, noCopy.copyFolderError, noCopy.user) =
        std::tuple("/root/.local/state/Lintora", kNotYourFolder, 1003);
    mixed.copy = "/home/anna/family (earlier contents).lnt";
    EXPECT_EQ(NotSavedText("/home/anna/family.lnt", Stopped(SaveStop::Overtaken, 0, true)),
              "family.lnt was not saved: another save replaced the file while this one ran, so your work is not in "
              "it. Your work is still here; save it again to keep it.");
    EXPECT_EQ(NotSavedText("/home/anna/family.lnt", noCopy),
              "family.lnt was not saved: the folder does not let you create files, and its earlier contents could "
              "not be kept in /root/.local/state/Lintora either (the folder belongs to another user: give it back "
              "to yourself (sudo chown -R " + UserName(1003) + " /root/.local/state/Lintora) or remove it). The "
              "file is as it was.");
    EXPECT_EQ(NotSavedText("/home/anna/family.lnt", mixed),
              "family.lnt was not saved: another save wrote the file while this one ran, so it may now hold that "
              "save's work, not yours. Its earlier contents are kept in /home/anna/family (earlier contents).lnt. "
              "Your work is still here; save it again to keep it.");
    EXPECT_EQ(WhyNotRead(LoadResult{.stop = LoadStop::Replaced}),
              "another file took its place while it was being opened");
}

// "fam.ged" and "copy-for-aunt.ged" are one file: a save writes it in
// place, so both names show the new contents. Until they are on disk the
// earlier ones wait in a private copy beside it, on disk and recorded in
// the user's own folder before it has its name; the file is cleared to
// zeros before it is written, and put on disk once, when it is whole. A failed
// write puts them back, and where even that fails the message says where
// the copy is.
TEST_F(SaveFileTest, AFileWithASecondNameKeepsIt) {
    const fs::path fam = dir / "fam.ged", aunt = dir / "copy-for-aunt.ged";
    Write(fam, kOldGedcom);
    ::chmod(fam.c_str(), 0640);
    fs::create_hard_link(fam, aunt);
    const ino_t inode = Inode(fam);
    g.FilePath = fam.string();
    EXPECT_TRUE(SaveGedcom());
    EXPECT_EQ(ui.boxes.back().text, fam.string() + " successfully saved");
    EXPECT_EQ(Read(fam), Saved(fam));
    EXPECT_EQ(Read(aunt), Saved(fam));
    EXPECT_EQ(Inode(fam), inode);
    EXPECT_EQ(Inode(aunt), inode);
    EXPECT_EQ(ModeOf(fam), "640");
    const std::vector<std::string> names{"app", "config", "copy-for-aunt.ged", "fam.ged", "state"};
    EXPECT_EQ(Listing(dir), names);

    const std::string folder = dir.filename().string(), copy = "fam (earlier contents).ged";
    std::vector<int> failing;  // syncs of fam.ged that fail, counted from 1
    int syncs = 0;
    bool nameless = MakesNamelessFiles(dir.string()), cutFails = false;
    int syncError = EIO;
    WatchedSystem system;
    system.before = [&](const std::string& call) {
        if (call == "create nameless file" && !nameless) return EOPNOTSUPP;  // as a file system without them says
        if (call == "cut fam.ged" && cutFails) return EIO;
        const bool fails = call == "sync fam.ged" && std::count(failing.begin(), failing.end(), ++syncs);
        return fails ? syncError : 0;
    };
    auto save = [&] {
        Write(fam, kOldGedcom);
        system.calls.clear();
        syncs = 0;
        return NotSavedText(fam.string(), SaveContents(fam.string(), Saved(fam), system));
    };
    // Where the file system makes nameless files the copy has none until whole; elsewhere, and the record, a scratch.
    for (const bool withoutName : {nameless, false}) {
        nameless = withoutName;
        const std::string made = nameless ? "nameless file" : ".fam.ged.*.tmp", record = ".save.*.tmp";
        EXPECT_EQ(save(), "");
        // In order: the copy, then its record, on disk and named; the file cut, written and on disk; the two removed.
        const std::vector<std::string> order{
            "sync " + made, "sync " + record, "rename " + record + " to .save.*.record", "sync .records-*",
            (nameless ? "link " : "rename ") + made + " to " + copy, "sync " + WatchedSystem::Masked(folder),
            "cut fam.ged", "write fam.ged", "sync fam.ged", "remove " + copy, "remove .save.*.record"};
        const auto at = [&](const std::string& c) { return std::ranges::find(system.calls, c) - system.calls.begin(); };
        EXPECT_TRUE(std::ranges::is_sorted(order, {}, at) && at(order.back()) < std::ssize(system.calls));
        EXPECT_EQ(Read(aunt), Saved(fam));
    }
    nameless = MakesNamelessFiles(dir.string());

    failing = {1};  // the new contents cannot be put on disk
    EXPECT_EQ(save(), "fam.ged was not saved: the disk reported an error. The file is as it was.");
    EXPECT_EQ(Read(aunt), kOldGedcom);
    EXPECT_EQ(Listing(dir), names);

    cutFails = true;  // every cut fails, and the file still holds its earlier contents
    EXPECT_EQ(save(), "fam.ged was not saved: the disk reported an error. The file is as it was.");
    EXPECT_EQ(Read(aunt), kOldGedcom);
    EXPECT_EQ(Listing(dir), names);
    cutFails = false;

    // A file system that cannot put a file on disk on demand holds the
    // earlier contents written back: nothing else was ever confirmed.
    syncError = EINVAL;
    failing = {1, 2};
    EXPECT_EQ(save(), "fam.ged was not saved: the disk did not confirm that it holds the file. The file is as it was.");
    EXPECT_EQ(Read(aunt), kOldGedcom);
    EXPECT_EQ(Listing(dir), names);
    syncError = EIO;

    // Nor the earlier ones put back: the copy named is the user's, and
    // nothing the program does later removes it, an open included.
    EXPECT_EQ(save(), "fam.ged was not saved: the disk reported an error, and putting its earlier contents back "
                      "failed too: they are kept in " + (dir / copy).string() +
                      ". You may delete that copy once you have checked the file.");
    EXPECT_EQ(Read(dir / copy), kOldGedcom);
    EXPECT_EQ(ModeOf(dir / copy), "640");
    std::vector<RecordedSave> saves = UnfinishedSaves(RealSystem(), fam.string());
    SettleSaves(RealSystem(), saves, "");
    EXPECT_TRUE(saves.empty());
    EXPECT_EQ(Read(dir / copy), kOldGedcom);
    EXPECT_EQ(Listing(dir).size(), names.size() + 1);
}

// A file the user may write in a folder where he may not create files is
// written in place, its earlier contents kept meanwhile in his own folder
// for them, which is his alone whatever his umask. Without a copy there, or
// for a new file, nothing is written and the message says why. A file there
// that he may write does not make the folder one for the user data file.
// Another user's file in a shared folder (sticky: only owners replace
// files) is written in place too, its copy beside it, but only where the
// save can be recorded in his own folder.
TEST_F(SaveFileTest, AFileInAFolderThatTakesNoNewFilesIsWrittenInPlace) {
    if (::geteuid() != 0) GTEST_SKIP() << "only root can act as another user";
    const fs::path family = dir / "family", fam = family / "fam.ged", probe = family / ".lintora-write-test";
    const fs::path home = dir / "home", locked = dir / "locked", shared = dir / "shared", jones = shared / "jones.ged";
    // A state folder made by root under sudo (0700, shut to the user); a link in one's place.
    const fs::path sudo = dir / "sudo", linked = dir / "linked";
    for (const fs::path& folder : {family, home, locked, shared, sudo / "Lintora", linked})
        fs::create_directories(folder);
    ::chmod((sudo / "Lintora").c_str(), 0700);
    fs::create_directory_symlink(home / "state" / "Lintora", linked / "Lintora");
    Write(fam, kOldGedcom);
    Write(probe, "");
    Write(jones, kOldGedcom);
    for (const fs::path& path : {fam, probe, home}) ASSERT_EQ(::chown(path.c_str(), 1003, 1003), 0);
    ASSERT_EQ(::chown(jones.c_str(), 1004, 1003), 0);
    ::chmod(fam.c_str(), 0640);
    ::chmod(probe.c_str(), 0666);
    ::chmod(jones.c_str(), 0664);
    ::chmod(shared.c_str(), 01777);
    g.AppPath = family.string();
    const ino_t inode = Inode(fam);
    const std::string report = AsUser(1003, {1003}, [&] {
        ::umask(0);
        setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
        std::string r = UserDataFilePath() + "\n";
        const std::pair<fs::path, fs::path> saves[] = {{fam, home / "state"}, {family / "new.ged", home / "state"},
                                                      {fam, locked}, {jones, locked}, {jones, sudo}, {jones, linked}};
        for (const auto& [file, state] : saves) {
            setenv("XDG_STATE_HOME", state.c_str(), 1);
            g.FilePath = file.string();
            r += SaveGedcom() ? "saved: " : "not saved: ";
            r += ui.boxes.back().text + "\n";
        }
        r += Read(fam) == Saved(fam) ? "new " : "old ";
        return r + Owners(fam) + (Inode(fam) == inode ? " same file, " : " another file, ") + Owners(jones);
    });
    EXPECT_EQ(report, (dir / "data" / "Lintora" / "LINTORA.USR").string() + "\n"
                      "saved: " + fam.string() + " successfully saved\n"
                      "not saved: " + kNotSaved + "new.ged was not saved: the folder does not let you create files.\n"
                      "not saved: " + kNotSaved + "fam.ged was not saved: the folder does not let you create "
                      "files, and its earlier contents could not be kept in " + (locked / "Lintora").string() +
                      " either (the folder does not let you create files). The file is as it was.\n"
                      "not saved: " + kNotSaved + "jones.ged was not saved: its save could not be recorded in " +
                      (locked / "Lintora").string() + " (the folder does not let you create files). The file is "
                      "as it was.\n" +
                      "not saved: " + kNotSaved + "jones.ged was not saved: its save could not be recorded in " +
                      (sudo / "Lintora").string() + " (the folder belongs to another user: give it back to yourself "
                      "(sudo chown -R " + UserName(1003) + " " + (sudo / "Lintora").string() + ") or remove it). The "
                      "file is as it was.\n"
                      "not saved: " + kNotSaved + "jones.ged was not saved: its save could not be recorded in " +
                      (linked / "Lintora").string() + " (it is a link; records are kept only in a folder of your "
                      "own: remove the link). The file is as it was.\n"
                      "new 1003:1003 640 same file, 1004:1003 664");
    EXPECT_EQ(Listing(family), (std::vector<std::string>{".lintora-write-test", "fam.ged"}));
    for (const auto& left : fs::recursive_directory_iterator(home / "state" / "Lintora"))
        EXPECT_TRUE(left.is_directory()) << left.path();  // the records' own folders stay for the next save
    EXPECT_EQ(Owners(home / "state" / "Lintora"), "1003:1003 700");
    EXPECT_EQ(Listing(shared), std::vector<std::string>{"jones.ged"});
}

// A save is on disk before it is told: the new file is synced before it
// takes the old one's name, the folder after. A failed sync of the file
// fails the save and leaves the old file, also where the system itself
// refuses it; a folder that cannot be synced afterwards does not.
TEST_F(SaveFileTest, ASaveIsOnDiskBeforeItIsTold) {
    const fs::path smith = dir / "smith.ged";
    const std::string folder = "sync " + dir.filename().string();
    std::vector<std::string> syncs;
    int fileError = 0, folderError = 0;
    const std::string made = MakesNamelessFiles(dir.string()) ? "nameless file" : ".smith.ged.*.tmp";
    // Where refuse is set, the new file's descriptor is a pipe by the time
    // the system is asked to sync it, which it cannot do.
    struct Unsyncable : WatchedSystem {
        int pipe[2] = {-1, -1};
        bool refuse = false;
        int Sync(int fd) override {
            const std::string name = NameOf(fd);
            if (refuse && (name == "nameless file" || name.starts_with(".smith.ged."))) ::dup2(pipe[1], fd);
            return WatchedSystem::Sync(fd);
        }
    } system;
    ASSERT_EQ(::pipe(system.pipe), 0);
    system.before = [&](const std::string& call) {
        if (call != "sync " + made && call != folder) return 0;  // the records' syncs: AFileWithASecondNameKeepsIt
        syncs.push_back(call + ", then " + (Read(smith) == kOldGedcom ? "old" : "new"));
        return call == folder ? folderError : fileError;
    };
    for (const auto& [error, refused] : {std::pair{0, false}, {EIO, false}, {0, true}}) {
        SCOPED_TRACE(error);
        Write(smith, kOldGedcom);
        syncs.clear();
        fileError = error;
        system.refuse = refused;
        const SaveResult result = SaveContents(smith.string(), Saved(smith), system);
        const bool saved = error == 0 && !refused;
        EXPECT_EQ(result.saved(), saved);
        std::vector<std::string> expected{"sync " + made + ", then old", folder + ", then new"};
        if (!saved) expected.pop_back();  // never renamed
        EXPECT_EQ(syncs, expected);
        EXPECT_EQ(Read(smith), saved ? Saved(smith) : kOldGedcom);
        EXPECT_EQ(Listing(dir), (std::vector<std::string>{"app", "config", "smith.ged", "state"}));
        const std::string why = error ? "the disk reported an error" : "the disk did not confirm that it holds the file";
        EXPECT_EQ(NotSavedText(smith.string(), result),
                  saved ? "" : "smith.ged was not saved: " + why + ". The file is as it was.");
    }
    system.refuse = false;
    folderError = EACCES;
    EXPECT_TRUE(SaveContents(smith.string(), Saved(smith), system).saved());
    for (const int fd : system.pipe) ::close(fd);
}

// A full disk: the message names the user's file and says what is true,
// and the file is as it was, whether it is replaced or written in place
// (its earlier contents put back whole, well over 64 KiB of them, and
// their copy gone).
TEST_F(SaveFileTest, AFullDiskLeavesTheFileAsItWas) {
    if (::geteuid() != 0) GTEST_SKIP() << "only root can make a small disk";
    const fs::path disk = dir / "disk";
    const fs::path family = disk / "family.ged", fam = disk / "fam.ged", aunt = disk / "copy-for-aunt.ged";
    AddPeople(1000);
    const std::string earlier = Saved(fam);
    ASSERT_GT(earlier.size(), 65536u);
    // Room for both files and one copy, not for three times as much again.
    fs::create_directories(disk);
    const std::string size = "size=" + std::to_string(earlier.size() * 7 / 2);
    if (::mount("tmpfs", disk.c_str(), "tmpfs", 0, size.c_str()) != 0)
        GTEST_SKIP() << "cannot make a small disk: " << std::strerror(errno);
    const struct Unmount {
        fs::path at;
        ~Unmount() { ::umount2(at.c_str(), MNT_DETACH); }
    } unmount{disk};
    Write(family, earlier);
    Write(fam, earlier);
    fs::create_hard_link(fam, aunt);
    AddPeople(3000);
    for (const fs::path& file : {family, fam}) {
        g.FilePath = file.string();
        EXPECT_FALSE(SaveGedcom());
        EXPECT_EQ(ui.boxes.back().text, kNotSaved + file.filename().string() +
                                            " was not saved: the disk is full. The file is as it was.");
        EXPECT_TRUE(Read(file) == earlier) << file << " holds " << Read(file).size() << " bytes";
    }
    EXPECT_TRUE(Read(aunt) == earlier);
    EXPECT_EQ(Listing(disk), (std::vector<std::string>{"copy-for-aunt.ged", "fam.ged", "family.ged"}));
}

// A name as long as the folder allows is saved, and saved again: the names
// of the temporary file and of the copy are cut to fit, never inside a
// letter; where the copy's is cut, a short mark of the whole name follows.
TEST_F(SaveFileTest, ALongNameIsSavedAgain) {
    std::string name;
    for (int i = 0; i < 117; ++i) name += "ö";
    name += std::string(17, 'a') + ".ged";
    ASSERT_EQ(name.size(), 255u);  // the usual limit
    const std::string cut = "." + name.substr(0, 232);  // the 117th letter does not fit whole
    const fs::path file = dir / name;
    WatchedSystem system;
    for (int save = 0; save < 2; ++save) {
        if (save == 1) fs::create_hard_link(file, dir / "short.ged");
        EXPECT_TRUE(SaveContents(file.string(), Saved(file), system).saved());
    }
    // Where the new file and the copy are made with no name, they are
    // given one once whole.
    std::vector<std::string> named = system.Calls({"rename", "link"});
    std::erase_if(named, [](const std::string& call) { return call.ends_with(".record"); });  // the records
    ASSERT_FALSE(named.empty());
    const std::string copy = named.back().substr(named.back().find(" to ") + 4), scratch = cut + ".*.tmp";
    const std::vector<std::string> expected =
        MakesNamelessFiles(dir.string())
            ? std::vector<std::string>{"link nameless file to " + scratch, "rename " + scratch + " over " + name,
                                       "link nameless file to " + copy}
            : std::vector<std::string>{"rename " + scratch + " over " + name, "rename " + scratch + " to " + copy};
    EXPECT_EQ(named, expected);
    EXPECT_TRUE(std::regex_match(copy, std::regex(name.substr(0, 218) + " [0-9a-f]{8} \\(earlier contents\\)\\.ged")))
        << copy;
    EXPECT_EQ(Read(dir / "short.ged"), Saved(file));
    EXPECT_EQ(Listing(dir), (std::vector<std::string>{"app", "config", "short.ged", "state", name}));
}

}  // namespace
}  // namespace lintora::testing
