#include "record_store/text_routines.h"

#include <algorithm>

#include "record_store/fixed_text.h"
#include "record_store/program_state.h"

namespace lintora {

std::vector<std::string> SplitFields(std::string_view text, std::string_view delimiter) {
    if (delimiter.empty()) delimiter = " ";
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        std::size_t p = text.find(delimiter, start);
        if (p == std::string_view::npos) break;
        std::string_view field = text.substr(start, p - start);
        start = p + delimiter.size();
        if (field == kStopMarker) break;
        fields.emplace_back(field);
    }
    fields.emplace_back(text.substr(start));
    return fields;
}

std::string NextToken(std::string& text, std::string_view delimiter) {
    // An empty delimiter would "find" an empty field forever; treat it as absent.
    std::size_t p = delimiter.empty() ? std::string::npos : text.find(delimiter);
    if (p == std::string::npos) return std::string(kStopMarker);
    std::string token = text.substr(0, p);
    text.erase(0, p + delimiter.size());
    return token;
}

std::size_t InStrLast(std::string_view text, std::string_view search) {
    if (text.empty()) return 0;
    if (search.empty()) return text.size();
    std::size_t p = text.rfind(search);
    return p == std::string_view::npos ? 0 : p + 1;
}

std::string ReplaceAll(std::string_view text, std::string_view search, std::string_view replacement) {
    std::string w = TrimBlanks(text);
    if (search.empty()) return w;
    // One pass: `out` holds the finished part (with the replacements), `in`
    // from `i` on what is still to be read. A match can start in the last
    // search.size() - 1 characters of `out` (an insertion, or a removal,
    // completing it with what follows), but always takes at least one
    // character of `in`, so every character is looked at a bounded number
    // of times.
    const std::string_view in = w;
    const std::size_t len = search.size();
    std::string out;
    out.reserve(in.size());
    std::size_t i = 0;
    std::size_t from = 0;  // first start in `out` still to try
    auto matchesAt = [&](std::size_t s) {
        const std::size_t inOut = out.size() - s;
        if (len - inOut > in.size() - i) return false;
        return std::string_view(out).substr(s) == search.substr(0, inOut) &&
               in.substr(i, len - inOut) == search.substr(inOut);
    };
    for (;;) {
        std::size_t s = std::max(from, out.size() >= len ? out.size() - len + 1 : 0);
        while (s < out.size() && !matchesAt(s)) ++s;
        if (s < out.size()) {
            i += len - (out.size() - s);
            out.resize(s);
        } else {
            const std::size_t p = in.find(search, i);
            if (p == std::string_view::npos) break;
            out.append(in, i, p - i);
            i = p + len;
        }
        out.append(replacement);
        const std::size_t resume = out.size() >= len - 1 ? out.size() - (len - 1) : 0;
        // Blanks the replacement leaves at either end go at once.
        const std::size_t lead = out.find_first_not_of(' ');
        if (lead == std::string::npos) {
            out.clear();
            while (i < in.size() && in[i] == ' ') ++i;
            if (i == in.size()) return {};
            from = 0;
        } else {
            out.erase(0, lead);
            from = resume > lead ? resume - lead : 0;
        }
        if (i == in.size()) {
            out.resize(out.find_last_not_of(' ') + 1);
            break;
        }
    }
    out.append(in, i);
    return out;
}

void SplitAtFirst(std::string_view text, std::string_view delimiter, std::string& before,
                  std::string& after) {
    // Copy first: a caller may pass one of the outputs as the text.
    const std::string whole(text);
    std::string t = TrimBlanks(whole);
    before.clear();
    after.clear();
    if (t.empty()) return;
    std::size_t p = delimiter.empty() ? std::string::npos : t.find(delimiter);
    if (p == std::string::npos) {
        before = whole;
        return;
    }
    before = t.substr(0, p);
    after = t.substr(p + delimiter.size());
}

void AppendNoteLine(std::string_view line, std::string_view nextLine) {
    PageNotesText& notes = g.PageScratch.pgNotes;
    if (notes.chars() > kMaxPageNotes) return;
    std::string t = TrimBlanks(line);
    if (t.empty()) {
        notes += "\r\n";
        return;
    }
    notes += t;
    const bool endsDouble = t.size() >= 2 && t.compare(t.size() - 2, 2, "..") == 0;
    if (t.back() == '.' && !endsDouble)
        notes += "\r\n";
    else if (endsDouble)
        notes += ' ';
    else if (Utf8Length(TrimBlanks(nextLine)) < 3 || Utf8Length(t) < 40)
        notes += "\r\n";
    else
        notes += ' ';
}

}  // namespace lintora
