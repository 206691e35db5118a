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
#include <sstream>

#include "tests/support/scripted_platform.h"

namespace lintora {
namespace {

namespace fs = std::filesystem;
using testing::CleanState;

std::string ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

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
        EXPECT_EQ(OpenFileChecked(P(bad), kOpenOutput, 0, false, &err), 0);
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
        int16_t no = OpenFileChecked(P(ok), kOpenOutput, 0, true);
        ASSERT_GT(no, 0);
        EXPECT_NE(OpenedFile(no), nullptr);
        EXPECT_TRUE(CloseFile(no));
        EXPECT_EQ(OpenedFile(no), nullptr);
        EXPECT_TRUE(fs::exists(dir / ok));
    }
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(FileOpenTest, ReplaceQuestionOnlyForOutputWithTheCheckOn) {
    Write("old.ged", "keep me");
    // Cancel leaves the file as it was.
    ui.Answer(MsgResult::Cancel);
    EXPECT_EQ(OpenFileChecked(P("old.ged"), kOpenOutput, 0, true), 0);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "Replace contents of " + P("old.ged") + "?");
    EXPECT_EQ(ui.boxes[0].title, "Replace File?");
    EXPECT_EQ(ui.boxes[0].buttons, MsgButtons::OkCancel);
    EXPECT_EQ(ui.boxes[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(ReadAll(dir / "old.ged"), "keep me");
    // OK truncates.
    ui.Answer(MsgResult::Ok);
    int16_t no = OpenFileChecked(P("old.ged"), kOpenOutput, 0, true);
    ASSERT_GT(no, 0);
    CloseFile(no);
    EXPECT_EQ(ReadAll(dir / "old.ged"), "");
    // Check off: replaced without a question; input and append never ask.
    Write("old.ged", "again");
    no = OpenFileChecked(P("old.ged"), kOpenInput, 0, true);
    ASSERT_GT(no, 0);
    CloseFile(no);
    no = OpenFileChecked(P("old.ged"), kOpenAppend, 0, true);
    ASSERT_GT(no, 0);
    std::fputs("+", OpenedFile(no));
    CloseFile(no);
    EXPECT_EQ(ReadAll(dir / "old.ged"), "again+");
    no = OpenFileChecked(P("old.ged"), kOpenOutput, 0, false);
    ASSERT_GT(no, 0);
    CloseFile(no);
    EXPECT_EQ(ReadAll(dir / "old.ged"), "");
    EXPECT_EQ(ui.boxes.size(), 2u);
}

TEST_F(FileOpenTest, UnknownModesOpenNothing) {
    for (int16_t mode : {0, 6, -1}) {
        EXPECT_EQ(OpenFileChecked(P("m.txt"), mode, 0, false), 0);
    }
    EXPECT_FALSE(fs::exists(dir / "m.txt"));
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(FileOpenTest, RandomAndBinaryModesCreateOrKeepTheFile) {
    Write("b.dat", "abc");
    int16_t no = OpenFileChecked(P("b.dat"), kOpenBinary, 0, true);
    ASSERT_GT(no, 0);
    CloseFile(no);
    EXPECT_EQ(ReadAll(dir / "b.dat"), "abc");
    no = OpenFileChecked(P("r.dat"), kOpenRandom, 128, true);
    ASSERT_GT(no, 0);
    CloseFile(no);
    EXPECT_TRUE(fs::exists(dir / "r.dat"));
}

TEST_F(FileOpenTest, MissingFileForInputFailsWithoutAMessage) {
    int16_t err = 0;
    EXPECT_EQ(OpenFileChecked(P("none.ged"), kOpenInput, 0, true, &err), 0);
    EXPECT_EQ(err, 53);
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(FileOpenTest, MissingFolderIsAPathThatDoesNotExist) {
    ui.Answer(MsgResult::Ok);
    int16_t err = 0;
    EXPECT_EQ(OpenFileChecked(P("nowhere/x.ged"), kOpenOutput, 0, false, &err), 0);
    EXPECT_EQ(err, 0);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "That path doesn't exist.");
}

TEST_F(FileOpenTest, AFileOpenForWritingCannotBeOpenedAgain) {
    int16_t first = OpenFileChecked(P("w.txt"), kOpenOutput, 0, false);
    ASSERT_GT(first, 0);
    ui.Answer(MsgResult::Ok);
    EXPECT_EQ(OpenFileChecked(P("w.txt"), kOpenInput, 0, false), 0);
    EXPECT_EQ(ui.boxes.back().text, "That file is already open.");
    CloseFile(first);
    // Two readers of one file are fine, and get different numbers.
    int16_t a = OpenFileChecked(P("w.txt"), kOpenInput, 0, false);
    int16_t b = OpenFileChecked(P("w.txt"), kOpenInput, 0, false);
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
    auto opening = std::async(std::launch::async, [&] { return OpenFileChecked(path, kOpenInput, 0, true, &err); });
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
    EXPECT_EQ(OpenFileChecked(path, kOpenInput, 0, true), 0);
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
    EXPECT_EQ(FileErrorNumber(ENOENT, kOpenInput), 53);
    EXPECT_EQ(FileErrorNumber(EACCES, kOpenOutput), 70);
    EXPECT_EQ(FileErrorNumber(ENOSPC, kOpenOutput), 61);
    EXPECT_EQ(FileErrorNumber(ENXIO, kOpenInput), 68);
    EXPECT_EQ(FileErrorNumber(ENOTDIR, kOpenInput), 76);
    EXPECT_EQ(FileErrorNumber(EIO, kOpenInput), 57);
}

}  // namespace
}  // namespace lintora
