#pragma once
// Shared set-up of the search tests: clean state with the shipped site data
// file loaded from a scratch copy.
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "files/data_files.h"
#include "record_store/program_state.h"
#include "tests/support/scripted_platform.h"

namespace lintora::testing {

inline std::filesystem::path SourceDir() {
    return LINTORA_SOURCE_DIR;
}

class ShippedSitesTest : public CleanState {
protected:
    std::filesystem::path dir;

    void SetUp() override {
        CleanState::SetUp();
        std::random_device rd;
        dir = std::filesystem::temp_directory_path() /
              ("lintora-search-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(dir / "config");
        setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
        setenv("XDG_DATA_HOME", (dir / "data").c_str(), 1);
        g.AppPath = dir.string();
        std::filesystem::path name = std::filesystem::path(SiteDataFilePath()).filename();
        std::filesystem::copy_file(SourceDir() / "files" / name, dir / name);
        LoadDatFile("All");
        ASSERT_TRUE(ui.boxes.empty()) << ui.boxes.front().text;
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
        CleanState::TearDown();
    }
};

}  // namespace lintora::testing
