// Whether a save of the file runs is told by the file's own lock: a record
// whose saver still holds it does not keep a free file from opening.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "files/file_loading.h"
#include "platform/disk/copies_folder.h"
#include "platform/disk/save_record.h"
#include "tests/files/files_fixture.h"

namespace lintora::testing {
namespace {

namespace fs = std::filesystem;

class FileLockDecidesTest : public FilesTest {
protected:
    void SetUp() override {
        FilesTest::SetUp();
        fs::copy_file(ProjectDir() / "files" / "Lintora11.dat", dir / "app" / "Lintora11.dat");
    }
};

// A save in place of this program holds its record while it writes the file
// it found, which another save has since put a new file in place of: the
// name reaches a file nobody holds, which opens as it is; the running save
// keeps its copy and record.
TEST_F(FileLockDecidesTest, AFreeFileOpensWhateverARunningRecordSays) {
    const fs::path family = dir / "family.ged", copy = dir / "family (earlier contents).ged";
    Write(family, "0 HEAD\r\n1 CHAR ANSEL\r\n0 @I1@ INDI\r\n1 NAME Ann /Now/\r\n0 TRLR\r\n");
    Write(copy, "0 HEAD\r\n0 TRLR\r\n");
    SaveRecord record;
    record.file = family.string();
    record.copy = copy.string();
    struct stat status {};
    ::stat(family.c_str(), &status);
    record.fileId = IdOf(status);
    record.newLength = 5000;
    record.blocks = BlockHashes(std::string(5000, 'x'));
    int error = 0;
    const Descriptor state = OpenCopiesFolder(RealSystem(), true, error);
    KeptRecord running;  // held, as the saver holds it, until the test ends
    ASSERT_EQ(running.Make(RealSystem(), state.get(), record), 0);
    ASSERT_TRUE(LoadFile(family.string()));
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{});
    EXPECT_EQ(g.Indiv[1].iName.value(), "Ann Now");
    EXPECT_TRUE(fs::exists(copy));
    EXPECT_EQ(SaveRecordFiles(dir / "state" / "Lintora").size(), 1u);
    running.Remove();
}

}  // namespace
}  // namespace lintora::testing
