#include "tests/support/test_home.h"

#include <cstdlib>
#include <iterator>
#include <string>
#include <system_error>

#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

namespace lintora::testing {

namespace fs = std::filesystem;

namespace {

TestHome home;
fs::path madeBase;  // made for a run by hand, removed at its end

fs::path RealHome() {
    const passwd* user = ::getpwuid(::getuid());
    return user && user->pw_dir ? fs::path(user->pw_dir) : fs::path();
}

void PointIntoHome() {
    ::setenv("HOME", home.home.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (home.home / ".config").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (home.home / ".local" / "share").c_str(), 1);
    ::setenv("XDG_STATE_HOME", home.state.c_str(), 1);
    ::setenv("XDG_CACHE_HOME", (home.home / ".cache").c_str(), 1);
}

class HomeOfItsOwn : public ::testing::Environment {
public:
    void SetUp() override {
        fs::path base;
        if (const char* given = std::getenv("LINTORA_TEST_HOME"); given && *given) {
            base = given;
        } else {
            std::string made = (fs::temp_directory_path() / "lintora-test-home-XXXXXX").string();
            ASSERT_NE(::mkdtemp(made.data()), nullptr) << "no folder for the tests' home";
            base = madeBase = made;
        }
        // CTest runs the program's tests side by side, each a process.
        home.home = base / ("run-" + std::to_string(::getpid()));
        home.state = home.home / ".local" / "state";
        home.realHome = RealHome();
        std::error_code ec;
        fs::create_directories(home.state, ec);
        ASSERT_FALSE(ec) << home.state << ": " << ec.message();
        PointIntoHome();
    }
    void TearDown() override {
        std::error_code ec;
        std::string left;  // the records' folder itself stays, empty, for the next save
        for (const auto& entry : fs::recursive_directory_iterator(home.state / "Lintora", ec))
            if (!entry.is_directory()) left += " " + entry.path().string();
        EXPECT_EQ(left, "") << "left in the state folder";
        fs::remove_all(home.home, ec);
        if (!madeBase.empty()) fs::remove_all(madeBase, ec);
    }
};

// Whatever the test before set, each test starts in the process's home.
class HomeAtEachTest : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override {
        if (!home.home.empty()) PointIntoHome();
    }
};

[[maybe_unused]] const bool registered = [] {
    ::testing::AddGlobalTestEnvironment(new HomeOfItsOwn);
    ::testing::UnitTest::GetInstance()->listeners().Append(new HomeAtEachTest);
    return true;
}();

}  // namespace

const TestHome& TheTestHome() { return home; }

std::size_t RealStateEntries() {
    std::error_code ec;  // none there: an end at once
    return std::distance(fs::directory_iterator(RealHome() / ".local" / "state" / "Lintora", ec), {});
}

}  // namespace lintora::testing
