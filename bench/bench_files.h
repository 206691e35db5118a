#pragma once
// A scratch folder for the file benchmarks: the files they write, the
// settings a load saves and a small site data file; and a load from it.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "files/file_loading.h"
#include "record_store/program_state.h"

namespace lintora::bench {

inline std::filesystem::path ScratchDir() {
    static const std::filesystem::path dir = [] {
        std::filesystem::path d = std::filesystem::temp_directory_path() / "lintora_file_bench";
        std::filesystem::create_directories(d / "app");
        setenv("XDG_CONFIG_HOME", (d / "config").c_str(), 1);
        setenv("XDG_DATA_HOME", (d / "data").c_str(), 1);
        std::ofstream(d / "app" / "Lintora11.dat", std::ios::binary)
            << "0!REPOS!FamilySearch!Temple Street!Salt Lake City!!R1\r\n"
               "0!SOURCE!LDS!ANC!Ancestral File!AF!The Church!FamilySearch!R1\r\n";
        return d;
    }();
    return dir;
}

inline void LoadFrom(const std::filesystem::path& p) {
    g.AppPath = (ScratchDir() / "app").string();
    LoadFile(p.string());
}

}  // namespace lintora::bench
