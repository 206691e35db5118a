#pragma once
// Read access to the lines of a pasted page for recognition and the
// parsers. A line number outside the page reads as an empty line, so look-
// ahead and look-behind (i - 2 .. i + 3) need no guards and can never read
// past the end.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace lintora {

class PageLineCursor {
public:
    explicit PageLineCursor(const std::vector<std::string>& lines) : lines_(&lines) {}

    // Number of the last line; -1 for an empty page.
    std::ptrdiff_t Last() const { return static_cast<std::ptrdiff_t>(lines_->size()) - 1; }
    bool InPage(std::ptrdiff_t i) const { return i >= 0 && i <= Last(); }

    // Line i as held; empty outside the page.
    const std::string& At(std::ptrdiff_t i) const;
    // Line i without its surrounding blanks (and a stray line-end CR).
    std::string Trimmed(std::ptrdiff_t i) const;

    bool Contains(std::ptrdiff_t i, std::string_view marker) const;
    bool BeginsWith(std::ptrdiff_t i, std::string_view marker) const;
    bool AnyBeginsWith(std::ptrdiff_t from, std::ptrdiff_t to, std::string_view marker) const;
    // The trimmed line equals marker.
    bool Equals(std::ptrdiff_t i, std::string_view marker) const;
    bool InFirstTwo(std::string_view marker) const { return Contains(0, marker) || Contains(1, marker); }
    // First line at or after from that begins with marker; -1 when none.
    std::ptrdiff_t FindBeginning(std::ptrdiff_t from, std::string_view marker) const;

private:
    const std::vector<std::string>* lines_;
};

}  // namespace lintora
