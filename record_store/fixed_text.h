#pragma once
// Fixed-width text fields: a value cut to at most N code points (never
// splitting a UTF-8 sequence) and read back padded with blanks to N.
#include <cstddef>
#include <string>
#include <string_view>

#include "record_store/utf8_text.h"

namespace lintora {

// Blanks only, as everywhere in the program.
std::string TrimBlanks(std::string_view s);
std::string TrimLeftBlanks(std::string_view s);
std::string TrimRightBlanks(std::string_view s);

template <std::size_t N>
class FixedText {
public:
    static constexpr std::size_t width = N;

    FixedText() = default;
    FixedText(std::string_view s) { assign(s); }
    FixedText(const char* s) { assign(s); }
    FixedText(const std::string& s) { assign(s); }

    FixedText& operator=(std::string_view s) { assign(s); return *this; }
    FixedText& operator=(const char* s) { assign(s); return *this; }
    FixedText& operator=(const std::string& s) { assign(s); return *this; }
    // A made value that fits is taken over (trimmed), not copied.
    FixedText& operator=(std::string&& s) {
        std::size_t n = Utf8LeftSize(s, N);
        if (n != s.size()) return *this = std::string_view(s);
        while (n > 0 && s[n - 1] == ' ') --n;
        s.resize(n);
        v_ = std::move(s);
        return *this;
    }

    // Cut and trimmed in place: fields are filled by the thousand.
    void assign(std::string_view s) {
        std::size_t n = Utf8LeftSize(s, N);
        while (n > 0 && s[n - 1] == ' ') --n;
        v_.assign(s.data(), n);
    }
    void clear() { v_.clear(); }

    // The stored value without its padding (leading blanks kept).
    const std::string& value() const { return v_; }
    // All N characters, as the field reads.
    std::string padded() const {
        std::string out = v_;
        out.append(N - Utf8Length(v_), ' ');
        return out;
    }
    std::string trimmed() const { return TrimBlanks(v_); }
    bool blank() const { return v_.find_first_not_of(' ') == std::string::npos; }
    // First character of the field as stored (a blank for an empty field).
    char first() const { return v_.empty() ? ' ' : v_[0]; }

    friend bool operator==(const FixedText& a, const FixedText& b) { return a.v_ == b.v_; }

private:
    std::string v_;
};

}  // namespace lintora
