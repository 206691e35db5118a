#include "record_store/text_routines.h"

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
    std::size_t from = 0;
    for (;;) {
        std::size_t p = w.find(search, from);
        if (p == std::string::npos) break;
        std::string next;
        next.reserve(w.size() - search.size() + replacement.size());
        next.append(w, 0, p);
        next.append(replacement);
        next.append(w, p + search.size());
        // Go on from the end of the inserted text, stepping back just far
        // enough to catch a match the insertion completes with what follows
        // (so runs of blanks collapse). The untried tail shrinks every time,
        // so the loop ends even when the replacement holds the search text.
        std::size_t resume = p + replacement.size();
        resume = resume >= search.size() - 1 ? resume - (search.size() - 1) : 0;
        std::size_t lead = next.find_first_not_of(' ');
        if (lead == std::string::npos) return {};
        std::size_t last = next.find_last_not_of(' ');
        w = next.substr(lead, last - lead + 1);
        from = resume > lead ? resume - lead : 0;
        if (from > w.size()) break;
    }
    return w;
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
