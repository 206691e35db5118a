#pragma once
// A scratch folder for the file benchmarks: the files they write, the
// settings a load saves and a small site data file; a load from it; and a
// family file of the size public ones come in.
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

// ANSEL letters: e acute, o umlaut, a grave, c cedilla (mark before letter).
inline const char* const kRoyalGiven[] = {"Albert Augustus Charles", "Victoria", "Fr\xE8" "ed\xE8" "erike", "Louise",
                              "Fran\xF0" "cois", "Marie Th\xE2" "er\xE2" "ese", "Wilhelm", "LIVING"};
inline const char* const kRoyalSurname[] = {"", "Saxe-Coburg", "Hanover", "Windsor", "Bourbon", "Habsburg", "M\xE8" "uller"};
inline const char* const kRoyalPlace[] = {"Kensington,London,England", "Rosenau,Coburg", "Versailles,France",
                              "Sch\xE8" "onbrunn,Wien"};

// A royal-families file of about the size of the well-known public one
// (3,010 people, some 470 KB) in ANSEL: explicit empty surnames, titles,
// events, a few notes.
inline std::string RoyalSizedAnsel(int people) {
    std::string t = "0 HEAD\r\n1 SOUR PAF\r\n1 GEDC\r\n2 VERS 5.5\r\n2 FORM LINEAGE-LINKED\r\n1 CHAR ANSEL\r\n";
    const int families = people / 3;
    for (int i = 1; i <= people; ++i) {
        const std::string n = std::to_string(i);
        t += "0 @I" + n + "@ INDI\r\n1 NAME " + kRoyalGiven[i % 8] + " /" + kRoyalSurname[i % 7] + "/\r\n";
        if (i % 5 == 0) t += "1 TITL Prince " + n + "\r\n";
        t += std::string("1 SEX ") + (i % 2 ? "M" : "F") + "\r\n";
        t += "1 BIRT\r\n2 DATE " + std::to_string(i % 28 + 1) + " MAY " + std::to_string(1700 + i % 250) +
             "\r\n2 PLAC " + kRoyalPlace[i % 4] + "\r\n";
        if (i % 3) t += "1 DEAT\r\n2 DATE " + std::to_string(1760 + i % 250) + "\r\n2 PLAC " + kRoyalPlace[(i + 1) % 4] + "\r\n";
        if (i <= 2 * families) t += "1 FAMS @F" + std::to_string((i + 1) / 2) + "@\r\n";
        if (i > 20) t += "1 FAMC @F" + std::to_string(i % families + 1) + "@\r\n";
        if (i % 10 == 0)
            t += "1 NOTE Reigned over a small duchy, " + n + "\r\n2 CONT and is buried at the minster.\r\n";
    }
    for (int f = 1; f <= families; ++f)
        t += "0 @F" + std::to_string(f) + "@ FAM\r\n1 HUSB @I" + std::to_string(2 * f - 1) + "@\r\n1 WIFE @I" +
             std::to_string(2 * f) + "@\r\n1 MARR\r\n2 DATE " + std::to_string(1730 + f % 200) + "\r\n2 PLAC " +
             kRoyalPlace[f % 4] + "\r\n";
    return t + "0 TRLR\r\n";
}

}  // namespace lintora::bench
