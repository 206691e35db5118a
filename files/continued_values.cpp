#include "files/continued_values.h"

#include <algorithm>

namespace lintora {

namespace {

// Bytes of the longest letter of any set (a UTF-8 sequence, an ANSEL letter
// with its marks), twice over.
constexpr std::size_t kLongestLetter = 8;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::size_t SkipBlanks(std::string_view s, std::size_t p) {
    while (p < s.size() && IsBlank(s[p])) ++p;
    return p;
}

std::size_t WordEnd(std::string_view s, std::size_t p) {
    while (p < s.size() && !IsBlank(s[p])) ++p;
    return p;
}

// One line of a value: where its tag ends and its text begins (after the
// tag and one blank, where the reader takes it from).
struct Piece {
    std::size_t line = 0;
    std::size_t tagEnd = 0;
    std::size_t textAt = 0;
};

// A line's level (-1 for no GEDCOM line) and tag, the word after a pointer.
struct LineParts {
    int level = -1;
    std::string_view tag;
    Piece piece;
};

LineParts PartsOf(std::string_view s, std::size_t line) {
    LineParts parts;
    const std::size_t p = SkipBlanks(s, 0);
    std::size_t q = p;
    int level = 0;
    while (q < s.size() && q - p < 2 && s[q] >= '0' && s[q] <= '9') level = level * 10 + (s[q++] - '0');
    if (q == p || (q < s.size() && !IsBlank(s[q]))) return parts;
    std::size_t start = SkipBlanks(s, q), end = WordEnd(s, start);
    if (start < end && s[start] == '@') {
        start = SkipBlanks(s, end);
        end = WordEnd(s, start);
    }
    parts.level = level;
    parts.tag = s.substr(start, end - start);
    parts.piece = {line, end, std::min(end + 1, s.size())};
    return parts;
}

// A value and the lines it stands on: its first line (a tag's line or a
// CONT line) and the CONC lines of the level that continue it.
struct Value {
    std::vector<Piece> pieces;
    int concLevel = -1;
    bool note = false;
    void Clear() {
        pieces.clear();
        concLevel = -1;
    }
};

// The line of piece p with text in place of its own.
std::string_view Remade(const Piece& p, std::string_view line, std::string_view text, std::deque<std::string>& store) {
    std::string& made = store.emplace_back(line.substr(0, p.tagEnd));
    made.append(" ").append(text);
    return made;
}

void Mend(const Value& value, std::vector<std::string_view>& lines, std::deque<std::string>& store,
          LetterEnd letterEnd) {
    const std::size_t n = value.pieces.size();
    if (n < 2) return;
    std::string joined;
    std::vector<std::size_t> starts;
    for (const Piece& p : value.pieces) {
        starts.push_back(joined.size());
        joined.append(lines[p.line].substr(p.textAt));
    }
    starts.push_back(joined.size());
    const std::string_view text = joined;
    if (!value.note) {
        const Piece& first = value.pieces.front();
        lines[first.line] = Remade(first, lines[first.line], text, store);
        for (std::size_t k = 1; k < n; ++k) lines[value.pieces[k].line] = {};
        return;
    }
    // Each cut moves to the end of the letter it falls in; a note keeps its
    // lines, the letter going whole into the first of the two. A CONC line
    // left with nothing adds nothing: it goes.
    std::vector<std::size_t> cuts = starts;
    for (std::size_t k = 1, pos = 0; k < n; ++k) {
        // A letter is a few bytes long, and the walk finds its letters again
        // within one of them: it need not start further back than this.
        pos = std::max(pos, starts[k] - std::min<std::size_t>(starts[k], kLongestLetter));
        while (pos < starts[k]) pos = letterEnd(text, pos);
        cuts[k] = pos;
    }
    for (std::size_t k = 0; k < n; ++k) {
        if (cuts[k] == starts[k] && cuts[k + 1] == starts[k + 1]) continue;
        const Piece& p = value.pieces[k];
        if (cuts[k] == cuts[k + 1]) lines[p.line] = {};
        else lines[p.line] = Remade(p, lines[p.line], text.substr(cuts[k], cuts[k + 1] - cuts[k]), store);
    }
}

}  // namespace

void JoinContinuedValues(std::vector<std::string_view>& lines, std::deque<std::string>& store,
                         LetterEnd letterEnd) {
    std::vector<std::string_view> tagAt;  // the tag of the last line of each level
    Value value;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const LineParts parts = PartsOf(lines[i], i);
        if (parts.level < 0 && SkipBlanks(lines[i], 0) == lines[i].size()) continue;  // as the reader does
        if (parts.level >= 0 && parts.level == value.concLevel && parts.tag == "CONC") {
            value.pieces.push_back(parts.piece);
            continue;
        }
        Mend(value, lines, store, letterEnd);
        value.Clear();
        if (parts.level < 0) continue;
        const auto level = static_cast<std::size_t>(parts.level);
        if (tagAt.size() <= level) tagAt.resize(level + 1);
        tagAt[level] = parts.tag;
        // Of level-0 lines only a note record has a value.
        if (level == 0 && parts.tag != "NOTE") continue;
        const bool continuation = parts.tag == "CONT" || parts.tag == "CONC";
        value.concLevel = continuation ? parts.level : parts.level + 1;
        value.note = parts.tag == "NOTE" || (continuation && level > 0 && tagAt[level - 1] == "NOTE");
        value.pieces.push_back(parts.piece);
    }
    Mend(value, lines, store, letterEnd);
}

}  // namespace lintora
