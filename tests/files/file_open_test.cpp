#include "files/file_open.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <future>

#include "tests/support/scripted_platform.h"

namespace lintora {
namespace {

namespace fs = std::filesystem;
using testing::CleanState;

class FileOpenTest : public CleanState {
protected:
    fs::path dir;
    void SetUp() override {
        CleanState::SetUp();
        dir = fs::temp_directory_path() / ("lintora_open_" + std::to_string(::getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override {
        fs::remove_all(dir);
        CleanState::TearDown();
    }
    std::string P(const std::string& name) const { return (dir / name).string(); }
    void Write(const std::string& name, const std::string& text) {
        std::ofstream(dir / name, std::ios::binary) << text;
    }
};

TEST_F(FileOpenTest, WildcardAndReservedCharactersAreRefused) {
    for (const char* bad : {"a?.ged", "a*.ged", "a[1].ged", "a].ged", "a;b.ged", "a<b", "a=b", "a>b"}) {
        SCOPED_TRACE(bad);
        ui.boxes.clear();
        ui.Answer(MsgResult::Ok);
        int16_t err = 0;
        EXPECT_EQ(OpenFileChecked(P(bad), &err), 0);
        EXPECT_EQ(err, 0);  // explained by the box
        ASSERT_EQ(ui.boxes.size(), 1u);
        EXPECT_EQ(ui.boxes[0].text, "That filename is illegal.64");
        EXPECT_EQ(ui.boxes[0].title, "File Error");
        EXPECT_EQ(ui.boxes[0].buttons, MsgButtons::Ok);
        EXPECT_EQ(ui.boxes[0].icon, MsgIcon::Exclamation);
        EXPECT_FALSE(fs::exists(dir / bad));
    }
}

TEST_F(FileOpenTest, HyphenColonAndBackslashPassTheNameCheck) {
    for (const char* ok : {"a-b.ged", "a:b.ged", "a\\b.ged"}) {
        SCOPED_TRACE(ok);
        Write(ok, "0 HEAD");
        int16_t no = OpenFileChecked(P(ok));
        ASSERT_GT(no, 0);
        EXPECT_NE(OpenedFile(no), nullptr);
        EXPECT_TRUE(CloseFile(no));
        EXPECT_EQ(OpenedFile(no), nullptr);
        EXPECT_TRUE(fs::exists(dir / ok));
    }
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(FileOpenTest, MissingFileForInputFailsWithoutAMessage) {
    int16_t err = 0;
    EXPECT_EQ(OpenFileChecked(P("none.ged"), &err), 0);
    EXPECT_EQ(err, 53);
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(FileOpenTest, MissingFolderIsAPathThatDoesNotExist) {
    ui.Answer(MsgResult::Ok);
    int16_t err = 0;
    EXPECT_EQ(OpenFileChecked(P("nowhere/x.ged"), &err), 0);
    EXPECT_EQ(err, 0);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "That path doesn't exist.");
}

TEST_F(FileOpenTest, TwoReadersOfOneFileGetTwoNumbers) {
    Write("w.txt", "0 HEAD");
    int16_t a = OpenFileChecked(P("w.txt"));
    int16_t b = OpenFileChecked(P("w.txt"));
    ASSERT_GT(a, 0);
    ASSERT_GT(b, 0);
    EXPECT_NE(a, b);
    CloseFile(a);
    CloseFile(b);
}

// A pipe put where a file was looked at is refused at once. A reader that
// waited for a writer would let the loop's writer in and get a pipe opened.
TEST_F(FileOpenTest, APipeIsRefusedNotWaitedOn) {
    const std::string path = P("family.lnt");
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    int16_t err = 0;
    auto opening = std::async(std::launch::async, [&] { return OpenFileChecked(path, &err); });
    while (opening.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
        if (const int writer = ::open(path.c_str(), O_WRONLY | O_NONBLOCK); writer >= 0) ::close(writer);
    const int16_t no = opening.get();
    if (no) CloseFile(no);
    EXPECT_EQ(no, 0);
    EXPECT_EQ(err, 75);  // a path/file access error, which the caller words
    EXPECT_TRUE(ui.boxes.empty());
}

// A socket in the file system cannot be opened as a file: the device is
// unavailable, the one error that offers Retry.
TEST_F(FileOpenTest, UnavailableDeviceIsRetriedUntilCancel) {
    std::string path = P("sock");
    int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(s, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    ASSERT_LT(path.size(), sizeof(addr.sun_path));
    std::strcpy(addr.sun_path, path.c_str());
    ASSERT_EQ(::bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)), 0);
    for (int i = 0; i < 3; ++i) ui.Answer(MsgResult::Retry);
    ui.Answer(MsgResult::Cancel);
    EXPECT_EQ(OpenFileChecked(path), 0);
    ASSERT_EQ(ui.boxes.size(), 4u);
    for (const auto& b : ui.boxes) {
        EXPECT_EQ(b.text, "That device appears to be unavailable.");
        EXPECT_EQ(b.buttons, MsgButtons::RetryCancel);
        EXPECT_EQ(b.title, "File Error");
    }
    ::close(s);
}

TEST_F(FileOpenTest, FileErrorMessagesAndAnswers) {
    struct Row {
        int16_t number;
        const char* text;
        MsgButtons buttons;
    };
    const Row rows[] = {
        {52, "That filename is illegal.52", MsgButtons::Ok},
        {54, "Can't open your file for that type of access.", MsgButtons::Ok},
        {55, "That file is already open.", MsgButtons::Ok},
        {57, "The disk is full.", MsgButtons::Ok},
        {62,
         "This file has a nonstandard end-of-file marker,or an attempt was made to read beyond the "
         "end-of-file marker.",
         MsgButtons::Ok},
        {64, "That filename is illegal.64", MsgButtons::Ok},
        {68, "That device appears to be unavailable.", MsgButtons::RetryCancel},
        {71, "The disk is not ready.", MsgButtons::Ok},
        {76, "That path doesn't exist.", MsgButtons::Ok},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.number);
        ui.boxes.clear();
        ui.Answer(MsgResult::Ok);
        EXPECT_EQ(FileErrors(r.number), kFileGiveUp);
        ASSERT_EQ(ui.boxes.size(), 1u);
        EXPECT_EQ(ui.boxes[0].text, r.text);
        EXPECT_EQ(ui.boxes[0].buttons, r.buttons);
        EXPECT_EQ(ui.boxes[0].icon, MsgIcon::Exclamation);
        EXPECT_EQ(ui.boxes[0].title, "File Error");
    }
    ui.boxes.clear();
    for (int16_t n : {0, 51, 53, 61, 70, 75, 77, 1000}) EXPECT_EQ(FileErrors(n), kFileUnknown) << n;
    EXPECT_TRUE(ui.boxes.empty());

    const std::pair<MsgResult, int16_t> answers[] = {{MsgResult::Ok, kFileGiveUp},
                                                     {MsgResult::Cancel, kFileGiveUp},
                                                     {MsgResult::Retry, kFileRetry},
                                                     {MsgResult::Yes, kFileUnknown}};
    for (auto [answer, result] : answers) {
        ui.Answer(answer);
        EXPECT_EQ(FileErrors(68), result);
    }
}

TEST_F(FileOpenTest, SystemErrorsMapToFileErrorNumbers) {
    EXPECT_EQ(FileErrorNumber(ENOENT), 53);
    EXPECT_EQ(FileErrorNumber(EACCES), 70);
    EXPECT_EQ(FileErrorNumber(ENXIO), 68);
    EXPECT_EQ(FileErrorNumber(ENOTDIR), 76);
    EXPECT_EQ(FileErrorNumber(EIO), 57);
}

}  // namespace
}  // namespace lintora
