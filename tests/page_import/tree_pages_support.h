#pragma once
// Shared by the tests of the GenCircles and MyTrees page parsers: a clean
// state with the window fakes installed, and reading back what a paste filed.
#include <string>
#include <vector>

#include "page_import/paste.h"
#include "record_store/program_state.h"
#include "tests/page_import/page_support.h"
#include "tests/support/scripted_platform.h"
#include "tests/support/table_checks.h"

namespace lintora::testing {

class TreePageTest : public CleanState {
protected:
    RecordingWindows windows;
    void SetUp() override {
        CleanState::SetUp();
        InstallWindowFakes(&windows);
    }
    void TearDown() override {
        RemoveWindowFakes();
        CleanState::TearDown();
    }
    // The first person of that name, or 0.
    static int32_t Named(const std::string& name) {
        for (int32_t i = 1; i <= g.IndivCount; ++i)
            if (g.Indiv[i].iName.trimmed() == name) return i;
        return 0;
    }
    static std::vector<std::string> NoteLines(int32_t owner) { return testing::NoteLines(owner); }
};

}  // namespace lintora::testing
