#include "platform/settings_store.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <vector>

#include <sys/fsuid.h>
#include <unistd.h>

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
        ASSERT_TRUE(SaveSetting("Lintora", "Startup", key, v).none());
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
    for (const auto& [k, v] : values) ASSERT_TRUE(SaveSetting("Single", "Startup", k, v).none());
    ASSERT_TRUE(SaveSettings("Lintora", "Startup", values).none());
    EXPECT_EQ(Read(Ini()), Read(single));
    EXPECT_EQ(GetSetting("Lintora", "Startup", "datFilename", "?"), " royal.ged ");
    EXPECT_EQ(GetSetting("Lintora", "Startup", "InitDirWRK", "?"), "/last");

    // The same values again leave the file as it is, untouched.
    const auto past = fs::last_write_time(Ini()) - std::chrono::hours(24);
    fs::last_write_time(Ini(), past);
    ASSERT_TRUE(SaveSettings("Lintora", "Startup", values).none());
    EXPECT_EQ(fs::last_write_time(Ini()), past);
    // One changed value writes them all.
    ASSERT_TRUE(SaveSettings("Lintora", "Startup", {{"datPos", "18"}, {"datFilename", " royal.ged "}}).none());
    EXPECT_NE(fs::last_write_time(Ini()), past);
    EXPECT_EQ(GetSetting("Lintora", "Startup", "datPos", "?"), "18");
    // A first save creates the file even for nothing but empty values.
    fs::remove(Ini());
    ASSERT_TRUE(SaveSettings("Lintora", "Startup", {{"datFilename", ""}}).none());
    EXPECT_EQ(Read(Ini()), "[Startup]\ndatFilename=\n");
}

TEST_F(SettingsTest, FailedSaveSaysWhyAndKeepsTheOldFile) {
    SaveSetting("Lintora", "Startup", "a", "1");
    // A folder where the temporary file would go cannot block the save, but a
    // folder in place of the settings file does.
    fs::remove(Ini());
    fs::create_directories(Ini());
    EXPECT_EQ(SaveSetting("Lintora", "Startup", "a", "2").read.stop, LoadStop::Folder);
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
    {
        const Unreadable scope(Ini());
        EXPECT_EQ(SettingsReadProblem("Lintora").read.error, EACCES);
        EXPECT_EQ(GetSetting("Lintora", "Startup", "prefName", "?"), "?");
        EXPECT_EQ(SaveSetting("Lintora", "Startup", "CurDir", "/opt/lintora").read.error, EACCES);
        EXPECT_EQ(fs::status(Ini()).permissions() & fs::perms::all, fs::perms::none);  // not replaced
    }
    EXPECT_EQ(Read(Ini()), stored);
}

// A settings file that is another user's link in a shared folder (sticky,
// writable by all, of a third user) is not followed, and the message says
// whose link it is, as for any file the program saves.
TEST_F(SettingsTest, ARefusedLinkIsNamedWithItsOwner) {
    if (::geteuid() != 0) GTEST_SKIP() << "only root can make links of other users";
    const fs::path shared = Ini().parent_path(), planted = dir / "planted.ini";
    fs::create_directories(shared);
    ASSERT_EQ(::chown(shared.c_str(), 1005, 1005), 0);
    fs::permissions(shared, fs::perms::all | fs::perms::sticky_bit);
    std::ofstream(planted, std::ios::binary) << "[Startup]\n";
    fs::create_symlink(planted, Ini());
    ASSERT_EQ(::lchown(Ini().c_str(), 1004, 1004), 0);
    const SettingsProblem refused = SaveSetting("Lintora", "Startup", "CurDir", "/opt/lintora");
    EXPECT_EQ(refused.saved.stop, SaveStop::LinkRefused);
    EXPECT_EQ(refused.saved.linkOwner, 1004u);
    EXPECT_EQ(Read(planted), "[Startup]\n");
}

}  // namespace
}  // namespace lintora
