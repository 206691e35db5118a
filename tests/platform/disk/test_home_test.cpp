#include "tests/support/test_home.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/support/watched_system.h"

namespace lintora::testing {
namespace {

namespace fs = std::filesystem;

// A save killed half-way leaves its record in the test's own home, never the real one.
TEST(TestHomeTest, AStoppedSaveLeavesItsRecordInTheTestsOwnHome) {
    const TestHome& home = TheTestHome();
    ASSERT_NE(home.home, home.realHome);
    for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME", "XDG_CACHE_HOME"}) {
        const char* value = std::getenv(name);
        EXPECT_TRUE(value && (value + std::string("/")).starts_with(home.home.string() + "/")) << name;
    }
    const std::size_t realEntries = RealStateEntries();
    const fs::path tree = home.home / "tree", family = tree / "family.lnt";
    fs::create_directories(tree);
    std::ofstream(family, std::ios::binary) << std::string(20000, 'a');
    fs::create_hard_link(family, tree / "for-aunt.lnt");  // saved in place, with a record
    StoppingSystem system("write family.lnt", 1, true);
    ASSERT_TRUE(SaveStopped(family.string(), std::string(40000, 'b'), system));
    EXPECT_FALSE(fs::is_empty(home.state / "Lintora"));
    EXPECT_EQ(RealStateEntries(), realEntries);
    fs::remove_all(home.state / "Lintora");
    fs::remove_all(tree);
}

}  // namespace
}  // namespace lintora::testing
