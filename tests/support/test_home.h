#pragma once
// Each test process gets a home and XDG folders of its own, inside
// LINTORA_TEST_HOME (set by CTest) or a fresh temporary folder, so that a
// save killed half-way never leaves a record in the real home.
#include <filesystem>

namespace lintora::testing {

struct TestHome {
    std::filesystem::path home;       // HOME
    std::filesystem::path state;      // XDG_STATE_HOME
    std::filesystem::path realHome;   // the user's home, from the password file
};

const TestHome& TheTestHome();

// Entries in the program's state folder under the real home.
std::size_t RealStateEntries();

}  // namespace lintora::testing
