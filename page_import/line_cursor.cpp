#include "page_import/line_cursor.h"

#include "record_store/fixed_text.h"

namespace lintora {

const std::string& PageLineCursor::At(std::ptrdiff_t i) const {
    static const std::string empty;
    if (!InPage(i)) return empty;
    return (*lines_)[static_cast<std::size_t>(i)];
}

std::string PageLineCursor::Trimmed(std::ptrdiff_t i) const {
    std::string_view v(At(i));
    if (v.ends_with('\r')) v.remove_suffix(1);
    return TrimBlanks(v);
}

bool PageLineCursor::Contains(std::ptrdiff_t i, std::string_view marker) const {
    return InPage(i) && At(i).find(marker) != std::string::npos;
}

bool PageLineCursor::BeginsWith(std::ptrdiff_t i, std::string_view marker) const {
    return InPage(i) && std::string_view(At(i)).starts_with(marker);
}

bool PageLineCursor::AnyBeginsWith(std::ptrdiff_t from, std::ptrdiff_t to, std::string_view marker) const {
    for (std::ptrdiff_t i = from < 0 ? 0 : from; i <= to && i <= Last(); ++i)
        if (BeginsWith(i, marker)) return true;
    return false;
}

bool PageLineCursor::Equals(std::ptrdiff_t i, std::string_view marker) const {
    return InPage(i) && Trimmed(i) == marker;
}

std::ptrdiff_t PageLineCursor::FindBeginning(std::ptrdiff_t from, std::string_view marker) const {
    for (std::ptrdiff_t i = from < 0 ? 0 : from; i <= Last(); ++i)
        if (BeginsWith(i, marker)) return i;
    return -1;
}

}  // namespace lintora
