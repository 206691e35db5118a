#include "files/file_open.h"

#include <utility>

#include "tests/support/scripted_platform.h"

namespace lintora {
namespace {

using FileErrorsTest = testing::CleanState;

TEST_F(FileErrorsTest, FileErrorMessagesAndAnswers) {
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

}  // namespace
}  // namespace lintora
