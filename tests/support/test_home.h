#pragma once
// Every test process runs with a home and XDG folders of its own, never the
// home of whoever runs it: a save killed half-way there would leave records
// that his own program then tells of. CTest names a folder per test program
// (LINTORA_TEST_HOME, in the build tree); run by hand, a fresh temporary one
// is taken. Each process makes its own home inside it, sets HOME and the XDG
// folders there at the start of every test, and at its end finds the state
// folder empty and removes its home.
#include <filesystem>

namespace lintora::testing {

struct TestHome {
    std::filesystem::path home;       // HOME
    std::filesystem::path state;      // XDG_STATE_HOME
    std::filesystem::path realHome;   // the user's home, from the password file
};

// The test process's home; empty paths before its first test.
const TestHome& TheTestHome();

// The number of entries in the program's state folder under the user's real
// home (0 when there is none).
std::size_t RealStateEntries();

}  // namespace lintora::testing
