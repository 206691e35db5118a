#include "platform/disk/record_words.h"

#include <charconv>
#include <cinttypes>
#include <cstdint>
#include <cstdio>

namespace lintora {

std::string RecordWord(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    if (text.empty()) return "-";
    if (text == "-") return "%2D";
    std::string out;
    for (const char c : text) {
        // Every byte a reader could take for a blank or a line's end.
        const auto byte = static_cast<unsigned char>(c);
        if (c == '%' || byte <= 0x20 || byte == 0x7F) {
            out += '%';
            out += kHex[static_cast<unsigned char>(c) >> 4];
            out += kHex[c & 0xF];
        } else {
            out += c;
        }
    }
    return out;
}

std::string FromRecordWord(std::string_view word) {
    if (word == "-") return "";
    std::string out;
    for (std::size_t at = 0; at < word.size(); ++at) {
        int code = 0;
        if (word[at] == '%' && at + 2 < word.size() &&
            std::from_chars(word.data() + at + 1, word.data() + at + 3, code, 16).ptr == word.data() + at + 3) {
            out += static_cast<char>(code);
            at += 2;
        } else {
            out += word[at];
        }
    }
    return out;
}

bool IsRecordFileName(std::string_view name, std::string_view kind) {
    return name.size() > kind.size() + 2 && name[0] == '.' && name.substr(1, kind.size()) == kind &&
           name[kind.size() + 1] == '.' && name.ends_with(kRecordSuffix);
}

std::string RecordsFolderName(std::string_view folderPath) {
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (const char c : folderPath) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    char name[40];
    std::snprintf(name, sizeof name, "%s%016" PRIx64, kRecordsFolderPrefix, hash);
    return name;
}

}  // namespace lintora
