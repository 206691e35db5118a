#include "files/save_words.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "platform/disk/copies_folder.h"
#include "platform/disk/owners_and_access.h"

namespace lintora {
namespace {

// What a save found, worded from its facts alone: the words ask the disk nothing.
TEST(SaveWordsTest, EachStopIsWordedFromWhatTheSaveFound) {
    SaveResult overtaken = Stopped(SaveStop::Overtaken, 0, true), noCopy = Stopped(SaveStop::MakeCopy, EACCES, true);
    noCopy.copyFolder = "/root/.local/state/Lintora";
    noCopy.copyFolderError = kNotYourFolder;
    noCopy.user = 1003;
    SaveResult mixed = Stopped(SaveStop::Mixed, 0, true);
    mixed.copy = "/home/anna/family (earlier contents).lnt";
    LoadResult replaced;
    replaced.stop = LoadStop::Replaced;
    EXPECT_EQ(NotSavedText("/home/anna/family.lnt", overtaken),
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
    EXPECT_EQ(NotSavedText("family.lnt", Stopped(SaveStop::OtherSave, EAGAIN, true)),
              "family.lnt was not saved: another save of it is running. The file is as it was; save again when that "
              "save has finished.");
    EXPECT_EQ(WhyNotRead(replaced), "another file took its place while it was being opened");
}

}  // namespace
}  // namespace lintora
