#include "record_store/fixed_text.h"

namespace lintora {

namespace {
bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }
}  // namespace

std::size_t Utf8Length(std::string_view s) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        // A lead byte starts a character; a continuation byte only counts when
        // it does not follow a lead or another continuation (broken text).
        if (!IsContinuation(c) || i == 0 || static_cast<unsigned char>(s[i - 1]) < 0x80) ++n;
    }
    return n;
}

std::size_t Utf8LeftSize(std::string_view s, std::size_t n) {
    if (s.size() <= n) return s.size();  // never more characters than bytes
    std::size_t count = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        bool starts = !IsContinuation(c) || i == 0 || static_cast<unsigned char>(s[i - 1]) < 0x80;
        if (starts) {
            if (count == n) return i;
            ++count;
        }
    }
    return s.size();
}

std::string Utf8Left(std::string_view s, std::size_t n) { return std::string(s.substr(0, Utf8LeftSize(s, n))); }

std::string Utf8Mid(std::string_view s, std::size_t pos, std::size_t n) {
    std::size_t skip = pos > 0 ? pos - 1 : 0;
    std::size_t count = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        bool starts = !IsContinuation(c) || i == 0 || static_cast<unsigned char>(s[i - 1]) < 0x80;
        if (starts) {
            if (count == skip) return Utf8Left(s.substr(i), n);
            ++count;
        }
    }
    return {};
}

std::string TrimLeftBlanks(std::string_view s) {
    auto b = s.find_first_not_of(' ');
    return b == std::string_view::npos ? std::string() : std::string(s.substr(b));
}

std::string TrimRightBlanks(std::string_view s) {
    auto e = s.find_last_not_of(' ');
    return e == std::string_view::npos ? std::string() : std::string(s.substr(0, e + 1));
}

std::string TrimBlanks(std::string_view s) {
    auto b = s.find_first_not_of(' ');
    if (b == std::string_view::npos) return {};
    auto e = s.find_last_not_of(' ');
    return std::string(s.substr(b, e - b + 1));
}

}  // namespace lintora
