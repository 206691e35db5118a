#pragma once
// What a test of saving finds of a file: which inode stands at its name,
// and what it holds for whoever reads it.
#include <filesystem>
#include <string>

#include <sys/stat.h>

#include "platform/disk/file_reading.h"

namespace lintora::testing {

inline ino_t Inode(const std::filesystem::path& p) {
    struct stat st {};
    return ::stat(p.c_str(), &st) == 0 ? st.st_ino : 0;
}

inline std::string Read(const std::filesystem::path& p) {
    std::string contents;
    return ReadWholeFile(p.string(), contents) ? contents : "<unreadable>";
}

}  // namespace lintora::testing
