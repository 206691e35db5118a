#include "platform/settings_store.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <vector>

#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/atomic_file.h"
#include "platform/file_reading.h"

namespace lintora {
namespace {

namespace fs = std::filesystem;

class SettingsTest : public ::testing::Test {
protected:
    fs::path dir;
    void SetUp() override {
        std::random_device rd;
        dir = fs::temp_directory_path() / ("lintora-settings-" + std::to_string(rd()) + std::to_string(rd()));
        fs::create_directories(dir);
        setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
    }
    void TearDown() override {
        WatchNewTemporaryFiles(nullptr);
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    fs::path Ini() const { return dir / "Lintora" / "Lintora.ini"; }
    static std::string Read(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        std::ostringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
};

TEST_F(SettingsTest, FileLivesUnderTheConfigFolder) {
    EXPECT_EQ(SettingsFilePath("Lintora"), Ini().string());
    setenv("XDG_CONFIG_HOME", "", 1);
    setenv("HOME", dir.c_str(), 1);
    EXPECT_EQ(SettingsFilePath("Lintora"), (dir / ".config" / "Lintora" / "Lintora.ini").string());
}

TEST_F(SettingsTest, ValuesComeBackExactlyAsSaved) {
    const std::string values[] = {
        "", " ", "  ", " padded ", "plain", "C:\\Trees\\smith", "/home/jane/Trees", "a=b=c",
        "\"quoted\"", "semi;colon", "#hash", "José Müller", "two\nlines", "cr\rlf", "\\", "\"", "tab\t",
    };
    int k = 0;
    for (const auto& v : values) {
        std::string key = "key" + std::to_string(k++);
        ASSERT_EQ(SaveSetting("Lintora", "Startup", key, v), "");
        EXPECT_EQ(GetSetting("Lintora", "Startup", key, "<default>"), v) << "[" << v << "]";
    }
    // And still after every other key was written.
    k = 0;
    for (const auto& v : values) EXPECT_EQ(GetSetting("Lintora", "Startup", "key" + std::to_string(k++), "?"), v);
}

TEST_F(SettingsTest, DefaultsForWhatIsNotThere) {
    EXPECT_EQ(GetSetting("Lintora", "Startup", "datPos", "0"), "0");  // no file yet
    SaveSetting("Lintora", "Other", "datPos", "5");
    EXPECT_EQ(GetSetting("Lintora", "Startup", "datPos", "0"), "0");  // another section
    EXPECT_EQ(GetSetting("Lintora", "Other", "datpos", "0"), "0");    // keys are exact
    EXPECT_EQ(GetSetting("Elsewhere", "Other", "datPos", "0"), "0");  // another application
}

TEST_F(SettingsTest, ReplacingAValueKeepsTheRestOfTheFile) {
    fs::create_directories(Ini().parent_path());
    std::ofstream(Ini()) << "; written by hand\r\n[Startup]\r\nInitDirGED = /trees/ged \r\n\r\n[Window]\r\nwidth=3\r\n";
    EXPECT_EQ(GetSetting("Lintora", "Startup", "InitDirGED", "?"), "/trees/ged");
    SaveSetting("Lintora", "Startup", "InitDirGED", "/new");
    SaveSetting("Lintora", "Startup", "datPos", "12");
    SaveSetting("Lintora", "Window", "width", "4");
    EXPECT_EQ(GetSetting("Lintora", "Startup", "InitDirGED", "?"), "/new");
    EXPECT_EQ(GetSetting("Lintora", "Startup", "datPos", "?"), "12");
    EXPECT_EQ(GetSetting("Lintora", "Window", "width", "?"), "4");
    std::string text = Read(Ini());
    EXPECT_EQ(text.rfind("; written by hand", 0), 0u);
    EXPECT_LT(text.find("datPos=12"), text.find("[Window]"));  // within its own section
    // Nothing but the settings file is left in the folder.
    int files = 0;
    for (const auto& e : fs::directory_iterator(Ini().parent_path())) files += e.is_regular_file();
    EXPECT_EQ(files, 1);
}

TEST_F(SettingsTest, SeveralValuesAtOnceWriteWhatOneByOneWould) {
    const std::string start = "; by hand\r\n[Startup]\r\nInitDirWRK=/old\r\n\r\n[Window]\r\nwidth=3\r\n";
    const std::vector<std::pair<std::string, std::string>> values = {
        {"InitDirWRK", "/trees"}, {"datFilename", " royal.ged "}, {"datPos", "17"}, {"InitDirWRK", "/last"}};
    const fs::path single = dir / "Single" / "Single.ini";
    fs::create_directories(single.parent_path());
    fs::create_directories(Ini().parent_path());
    std::ofstream(single, std::ios::binary) << start;
    std::ofstream(Ini(), std::ios::binary) << start;
    for (const auto& [k, v] : values) ASSERT_EQ(SaveSetting("Single", "Startup", k, v), "");
    ASSERT_EQ(SaveSettings("Lintora", "Startup", values), "");
    EXPECT_EQ(Read(Ini()), Read(single));
    EXPECT_EQ(GetSetting("Lintora", "Startup", "datFilename", "?"), " royal.ged ");
    EXPECT_EQ(GetSetting("Lintora", "Startup", "InitDirWRK", "?"), "/last");

    // The same values again leave the file as it is, untouched.
    const auto past = fs::last_write_time(Ini()) - std::chrono::hours(24);
    fs::last_write_time(Ini(), past);
    ASSERT_EQ(SaveSettings("Lintora", "Startup", values), "");
    EXPECT_EQ(fs::last_write_time(Ini()), past);
    // One changed value writes them all.
    ASSERT_EQ(SaveSettings("Lintora", "Startup", {{"datPos", "18"}, {"datFilename", " royal.ged "}}), "");
    EXPECT_NE(fs::last_write_time(Ini()), past);
    EXPECT_EQ(GetSetting("Lintora", "Startup", "datPos", "?"), "18");
    // A first save creates the file even for nothing but empty values.
    fs::remove(Ini());
    ASSERT_EQ(SaveSettings("Lintora", "Startup", {{"datFilename", ""}}), "");
    EXPECT_EQ(Read(Ini()), "[Startup]\ndatFilename=\n");
}

TEST_F(SettingsTest, FailedSaveSaysWhyAndKeepsTheOldFile) {
    SaveSetting("Lintora", "Startup", "a", "1");
    // A folder where the temporary file would go cannot block the save, but a
    // folder in place of the settings file does.
    fs::remove(Ini());
    fs::create_directories(Ini());
    EXPECT_NE(SaveSetting("Lintora", "Startup", "a", "2"), "");
    EXPECT_TRUE(fs::is_directory(Ini()));
}

// A file nobody may read. Root reads every file, so he looks at it as the
// user "nobody" does while the scope lasts.
class Unreadable {
public:
    explicit Unreadable(fs::path file) : file_(std::move(file)) {
        fs::permissions(file_, fs::perms::none);
        if (geteuid() == 0) setfsuid(65534);
    }
    ~Unreadable() {
        if (geteuid() == 0) setfsuid(0);
        fs::permissions(file_, fs::perms::owner_read | fs::perms::owner_write);
    }

private:
    fs::path file_;
};

// Settings the user cannot read (left by a run as another user) are neither
// taken for no settings nor written over. (A link to a drive that is not
// there and a read-only file: the start-up tests.)
TEST_F(SettingsTest, AFileThatCannotBeReadIsLeftAsItIs) {
    const std::string stored = "[Startup]\nprefName=Anna Lindqvist\ndatFilename=smith.lnt\n";
    fs::create_directories(Ini().parent_path());
    fs::permissions(Ini().parent_path(), fs::perms::all);  // the user's own folder
    std::ofstream(Ini(), std::ios::binary) << stored;
    const std::string denied = Ini().string() + " cannot be read: Permission denied";
    {
        const Unreadable scope(Ini());
        EXPECT_EQ(SettingsReadProblem("Lintora"), denied);
        EXPECT_EQ(GetSetting("Lintora", "Startup", "prefName", "?"), "?");
        EXPECT_EQ(SaveSetting("Lintora", "Startup", "CurDir", "/opt/lintora"), denied);
        EXPECT_EQ(fs::status(Ini()).permissions() & fs::perms::all, fs::perms::none);  // not replaced
    }
    EXPECT_EQ(Read(Ini()), stored);
}

TEST_F(SettingsTest, AtomicWriteReplacesOrLeavesTheOldFile) {
    fs::path target = dir / "file.txt";
    EXPECT_EQ(WriteFileAtomically(target.string(), "one"), "");
    EXPECT_EQ(WriteFileAtomically(target.string(), "two"), "");
    EXPECT_EQ(Read(target), "two");
    EXPECT_NE(WriteFileAtomically((dir / "missing" / "file.txt").string(), "x"), "");
    EXPECT_NE(WriteFileAtomically(dir.string(), "x"), "");
    int entries = 0;
    for (const auto& e : fs::directory_iterator(dir)) entries += e.exists();
    EXPECT_EQ(entries, 1);
    std::string back;
    EXPECT_TRUE(ReadWholeFile(target.string(), back));
    EXPECT_EQ(back, "two");
    EXPECT_FALSE(ReadWholeFile((dir / "none").string(), back));
}

// A file replaced by a save is still the file the user had: private stays
// private, read-only stays read-only (root included), a link stays a link.
TEST_F(SettingsTest, AtomicWriteKeepsWhatTheFileWas) {
    const fs::path priv = dir / "private.lnt", locked = dir / "locked.ged";
    const fs::path real = dir / "real.lnt", link = dir / "link.lnt";
    for (const fs::path& p : {priv, locked, real}) std::ofstream(p, std::ios::binary) << "old";
    fs::permissions(priv, fs::perms::owner_read | fs::perms::owner_write);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::create_symlink(real, link);

    EXPECT_EQ(WriteFileAtomically(priv.string(), "new"), "");
    EXPECT_EQ(Read(priv), "new");
    EXPECT_EQ(fs::status(priv).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);

    EXPECT_TRUE(IsReadOnly(locked.string()));
    EXPECT_FALSE(IsReadOnly(priv.string()));
    EXPECT_EQ(WriteFileAtomically(locked.string(), "new"), locked.string() + " is read-only");
    EXPECT_EQ(Read(locked), "old");

    EXPECT_EQ(WriteFileAtomically(link.string(), "new"), "");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(Read(real), "new");

    int entries = 0;  // no temporary file left behind
    for (const auto& e : fs::directory_iterator(dir)) entries += e.exists();
    EXPECT_EQ(entries, 4);
}

// A file with contents s and permissions mode.
void WriteWithMode(const fs::path& p, const std::string& s, mode_t mode) {
    std::ofstream(p, std::ios::binary) << s;
    ::chmod(p.c_str(), mode);
}

mode_t Mode(const fs::path& p) {
    struct stat st {};
    return ::stat(p.c_str(), &st) == 0 ? st.st_mode & 07777 : 07777;
}

// The umask of the scope's life.
struct Umask {
    mode_t before;
    explicit Umask(mode_t m) : before(::umask(m)) {}
    ~Umask() { ::umask(before); }
};

// Saved over, the family data of living people is never readable by others,
// not even while it is written: the temporary file has the old file's
// permissions or fewer from the moment it is made. A new file gets what the
// user's umask leaves of read and write, never an execute mark.
TEST_F(SettingsTest, NewContentsAreNeverMoreOpenThanTheOldFile) {
    const Umask umask(027);
    std::vector<mode_t> madeWith;
    WatchNewTemporaryFiles([&madeWith](const std::string& temp) { madeWith.push_back(Mode(temp)); });
    struct Case {
        const char* name;
        mode_t old;  // 0: no file yet
        mode_t saved;
    };
    for (const Case& c : {Case{"living.lnt", 0600, 0600}, Case{"shared.ged", 0664, 0664},
                          Case{"tool.sh", 0750, 0750}, Case{"new.lnt", 0, 0640}}) {
        SCOPED_TRACE(c.name);
        const fs::path file = dir / c.name;
        if (c.old) WriteWithMode(file, "old", c.old);
        madeWith.clear();
        ASSERT_EQ(WriteFileAtomically(file.string(), "Anna Lindqvist b. 1990"), "");
        ASSERT_EQ(madeWith.size(), 1u);
        EXPECT_EQ(madeWith[0] & ~c.saved, 0u) << std::oct << madeWith[0];
        EXPECT_EQ(Mode(file), c.saved) << std::oct << Mode(file);
        EXPECT_EQ(Read(file), "Anna Lindqvist b. 1990");
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 4);
}

// A save through a link whose file is not there yet writes the file the
// link names (from the link's folder, through a chain of links) and keeps
// the link; a link that cannot be followed writes nothing.
TEST_F(SettingsTest, ASaveThroughALinkWritesTheFileItNames) {
    fs::create_directories(dir / "trees");
    fs::create_symlink("trees/smith.lnt", dir / "smith.lnt");
    fs::create_symlink(dir / "smith.lnt", dir / "latest.lnt");
    EXPECT_EQ(WriteFileAtomically((dir / "latest.lnt").string(), "first"), "");
    EXPECT_EQ(Read(dir / "trees" / "smith.lnt"), "first");
    EXPECT_TRUE(fs::is_symlink(dir / "latest.lnt"));
    EXPECT_TRUE(fs::is_symlink(dir / "smith.lnt"));
    EXPECT_EQ(WriteFileAtomically((dir / "smith.lnt").string(), "second"), "");
    EXPECT_EQ(Read(dir / "trees" / "smith.lnt"), "second");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "trees"), fs::directory_iterator()), 1);

    fs::create_symlink("gone/jones.lnt", dir / "jones.lnt");
    fs::create_symlink("loop.b", dir / "loop.a");
    fs::create_symlink("loop.a", dir / "loop.b");
    ::mkfifo((dir / "pipe").c_str(), 0600);
    for (const char* name : {"jones.lnt", "loop.a", "pipe"}) {
        EXPECT_NE(WriteFileAtomically((dir / name).string(), "x"), "") << name;
        EXPECT_FALSE(fs::is_regular_file(fs::symlink_status(dir / name))) << name;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 7);
}

}  // namespace
}  // namespace lintora
