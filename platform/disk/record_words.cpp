#include "platform/disk/record_words.h"

#include <charconv>

namespace lintora {

std::string RecordWord(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    if (text.empty()) return "-";
    if (text == "-") return "%2D";
    std::string out;
    for (const char c : text) {
        if (c == '%' || c == ' ' || c == '\n' || c == '\r' || c == '\t') {
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

}  // namespace lintora
