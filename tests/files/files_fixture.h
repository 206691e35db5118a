#pragma once
// Shared set-up of the file tests: a scratch folder per test that also holds
// the settings ($XDG_CONFIG_HOME) and the per-user data ($XDG_DATA_HOME),
// and a window port that records what the file code shows.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "record_store/program_state.h"
#include "platform/window_ports.h"
#include "tests/support/scripted_platform.h"

namespace lintora::testing {

class RecordingFileWindows : public MainWindowPort {
public:
    std::vector<std::string> statusLabels;
    std::vector<std::string> captions;
    int preferencesHidden = 0;
    void SetStatusLabel(const std::string& s) override { statusLabels.push_back(s); }
    void SetMainCaption(const std::string& s) override { captions.push_back(s); }
    void HidePreferences() override { ++preferencesHidden; }
};

class FilesTest : public CleanState {
protected:
    std::filesystem::path dir;
    RecordingFileWindows windows;

    void SetUp() override {
        CleanState::SetUp();
        std::random_device rd;
        dir = std::filesystem::temp_directory_path() /
              ("lintora-files-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(dir / "config");
        std::filesystem::create_directories(dir / "app");
        setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
        setenv("XDG_DATA_HOME", (dir / "data").c_str(), 1);
        g.AppPath = (dir / "app").string();
        InstallWindowFakes(&windows);
    }
    void TearDown() override {
        RemoveWindowFakes();
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
        CleanState::TearDown();
    }

    static std::string Read(const std::filesystem::path& p) {
        std::ifstream in(p, std::ios::binary);
        std::ostringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    static void Write(const std::filesystem::path& p, const std::string& s) {
        std::ofstream out(p, std::ios::binary);
        out << s;
    }
    // Names of the files in a folder.
    static std::vector<std::string> Listing(const std::filesystem::path& d) {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(d)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

// Fills individual i with a name, sex and source, stamped as the reader
// stamps a record it creates under the scripted clock.
inline void Person(int32_t i, const char* givn, const char* surn, const char* sex, int16_t source) {
    IndivRec& r = g.Indiv[i];
    r.iRIN = i;
    r.iGivn = givn;
    r.iSurn = surn;
    r.iName = std::string(givn) + " " + surn;
    r.iSex = sex;
    r.iSource = source;
    r.iNoteFlg = "N";
    r.iChanDate = "6 Jan 2006";
    r.iChanTime = "14:5:9";
}

// The source folder of the project, from this file's place in it.
inline std::filesystem::path ProjectDir() {
    return std::filesystem::path(__FILE__).parent_path().parent_path().parent_path();
}

}  // namespace lintora::testing
