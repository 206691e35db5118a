#include "record_store/notes.h"

#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "record_store/program_state.h"
#include "record_store/tables.h"
#include "record_store/text_routines.h"
#include "platform/window_ports.h"

namespace lintora {

namespace {

// Byte offsets at which the code points of s start, plus s.size() at the end.
std::vector<std::size_t> CodePointStarts(std::string_view s) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < s.size(); i += Utf8CharSize(s, i)) starts.push_back(i);
    starts.push_back(s.size());
    return starts;
}

// ConcSplitLen with the character starts of the line worked out once for
// all its pieces.
void ConcSplitLenAt(std::string_view line, const std::vector<std::size_t>& starts, int pos, int& len) {
    const int count = static_cast<int>(starts.size()) - 1;
    auto at = [&](int p) {  // 1-based character p
        return line.substr(starts[p - 1], starts[p] - starts[p - 1]);
    };
    if (pos < 1 || pos > count) {
        len = 0;
        return;
    }
    const int rest = count - pos + 1;
    if (rest < 94) {
        len = rest < 0 ? 0 : rest;
        return;
    }
    for (int k = 93; k >= 90; --k)
        if (at(pos + k - 1) != " " && at(pos + k) != " ") {
            len = k;
            return;
        }
    // No cut between two non-blanks: keep the previous piece's length, which
    // before the first piece is the whole line and would not fit a note line.
    if (len > 93 || len < 1) len = 93;
}

// Lines of a text; CR LF and a bare LF both end a line.
std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (true) {
        std::size_t lf = text.find('\n', start);
        std::string line = text.substr(start, lf == std::string::npos ? std::string::npos : lf - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        if (lf == std::string::npos) break;
        start = lf + 1;
    }
    return lines;
}

bool OwnsLine(const NoteRec& n, const std::string& kind, int32_t owner) {
    return owner > 0 && n.nOwner == owner && n.nKind.trimmed() == kind;
}

// The part of a note line that belongs to the note (nLen characters, trailing blanks included).
std::string LineText(const NoteRec& n) {
    int len = n.nLen < 0 ? 0 : (n.nLen > 120 ? 120 : n.nLen);
    return Utf8Left(n.nText.padded(), static_cast<std::size_t>(len));
}

// The owner's notes as the lines of text they were stored from.
std::vector<std::string> OwnerTextLines(const std::string& kind, int32_t owner) {
    std::vector<std::string> lines;
    for (int32_t k = 1; k <= g.NotesCount; ++k) {
        const NoteRec& n = g.Notes[k];
        if (!OwnsLine(n, kind, owner)) continue;
        if (n.nTag.trimmed() == "2 CONC" && !lines.empty())
            lines.back() += LineText(n);
        else
            lines.push_back(LineText(n));
    }
    return lines;
}

// True when the non-empty lines of text stand, in order and together, among
// the owner's lines: the same notes filed again.
bool AlreadyStored(const std::vector<std::string>& textLines, const std::vector<std::string>& stored) {
    std::vector<std::string> want;
    for (const auto& l : textLines)
        if (!l.empty()) want.push_back(TrimBlanks(l));
    if (want.empty() || want.size() > stored.size()) return false;
    for (std::size_t start = 0; start + want.size() <= stored.size(); ++start) {
        bool same = true;
        for (std::size_t i = 0; i < want.size() && same; ++i)
            same = TrimBlanks(stored[start + i]) == want[i];
        if (same) return true;
    }
    return false;
}

// Appends one note line; false when the table is full.
bool AppendNoteLine(const std::string& kind, int32_t owner, const std::string& prefix,
                    const std::string& text) {
    int32_t k = AddNotes();
    if (k == 0) return false;
    NoteRec& n = g.Notes[k];
    n.nKind = kind;
    n.nOwner = owner;
    n.nTag = prefix;
    n.nText = text;
    n.nLen = static_cast<int16_t>(Utf8Length(Utf8Left(text, 120)));
    return true;
}

std::string GatherText(const std::string& kind, int32_t owner) {
    std::string text = " ";
    if (owner <= 0) return text;
    // Each stored line with its CONC pieces joined, so that a cut next to a
    // blank keeps that blank; every NOTE after the first starts a new line.
    const std::vector<std::string> lines = OwnerTextLines(kind, owner);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) text += "\r\n";
        text += ReplaceAll(lines[i], "\v", "\r\n");
    }
    return text;
}

// The non-empty lines of a notes text, trimmed: what storing it would keep.
std::vector<std::string> KeptLines(const std::string& text) {
    std::vector<std::string> kept;
    for (const std::string& line : SplitLines(ReplaceAll(text, "\v", "\r\n"))) {
        std::string t = TrimBlanks(line);
        if (!t.empty()) kept.push_back(std::move(t));
    }
    return kept;
}

// Note lines a text takes when stored (pieces of long lines included).
int32_t LinesNeeded(const std::vector<std::string>& lines) {
    int32_t needed = 0;
    for (const std::string& line : lines) {
        if (line.empty()) continue;
        const int length = static_cast<int>(Utf8Length(line));
        if (length < 90) {
            ++needed;
            continue;
        }
        const std::vector<std::size_t> starts = CodePointStarts(line);
        int pos = 1, len = length;
        do {
            ConcSplitLenAt(line, starts, pos, len);
            if (len < 1) break;
            ++needed;
            pos += len;
        } while (pos <= length);
    }
    return needed;
}

}  // namespace

void ConcSplitLen(const std::string& line, int pos, int& len) {
    ConcSplitLenAt(line, CodePointStarts(line), pos, len);
}

int32_t StoreNotes(const std::string& kind, int32_t recNo, const std::string& mode) {
    const bool replace = mode == "Y";
    const std::string k = TrimBlanks(kind);
    if (k == "I") {
        if (recNo <= 0 || recNo > g.IndivCount) return 0;
    } else if (k == "F") {
        if (recNo <= 0 || recNo > g.FamilCount) return 0;
    } else {
        return 0;
    }

    const std::string text = TrimBlanks(k == "I" ? g.IndivNoteText : g.FamilNoteText);
    std::vector<std::string> lines = SplitLines(text);
    if (replace) {
        // Notes kept as they stand add no lines; new notes replace the old
        // ones only when the table can take all of their lines.
        const std::vector<std::string> stored = OwnerTextLines(k, recNo);
        std::vector<std::string> storedKept;
        for (const std::string& line : stored)
            for (std::string& l : KeptLines(line)) storedKept.push_back(std::move(l));
        if (storedKept == KeptLines(text) && !storedKept.empty()) return 0;
        if (!text.empty() && g.NotesCount + LinesNeeded(lines) > kMaxNotes) {
            MsgBox(kNotesTableFull);
            return -1;
        }
    }

    std::string last = " ";
    for (int32_t n = 1; n <= g.NotesCount; ++n) {
        NoteRec& r = g.Notes[n];
        if (!OwnsLine(r, k, recNo)) continue;
        if (replace)
            r.nOwner = 0;
        else
            last = TrimBlanks(LineText(r));
    }

    if (text.empty()) {
        // No notes left: the owner's flag says so (appending nothing changes nothing).
        if (replace) {
            if (k == "I")
                g.Indiv[recNo].iNoteFlg = "N";
            else
                g.Famil[recNo].fNoteFlg = "N";
        }
        return 0;
    }
    if (k == "I")
        g.Indiv[recNo].iNoteFlg = "Y";
    else
        g.Famil[recNo].fNoteFlg = "Y";

    if (!replace) {
        if (AlreadyStored(lines, OwnerTextLines(k, recNo))) return 0;
        if (Utf8Length(last) > 1) lines.insert(lines.begin(), {"   ", "---"});
    }

    int32_t added = 0;
    std::string prefix = "1 NOTE";
    for (const std::string& line : lines) {
        if (line.empty()) continue;
        const int length = static_cast<int>(Utf8Length(line));
        if (length < 90) {
            if (!AppendNoteLine(k, recNo, prefix, line)) return added;
            ++added;
        } else {
            const std::vector<std::size_t> starts = CodePointStarts(line);
            int pos = 1;
            int len = length;
            do {
                ConcSplitLenAt(line, starts, pos, len);
                if (len < 1) break;
                std::string piece = line.substr(starts[pos - 1], starts[pos - 1 + len] - starts[pos - 1]);
                if (!AppendNoteLine(k, recNo, prefix, piece)) return added;
                ++added;
                prefix = "2 CONC";
                pos += len;
            } while (pos <= length);
        }
        prefix = "2 CONT";
    }
    return added;
}

void LoadEditNotes() {
    g.IndivNoteText.clear();
    g.FamilNoteText.clear();
    Port().SetBusy(true);
    // The whole text is shown: a cut would lose the rest at the next save.
    g.IndivNoteText = GatherText("I", g.CurIndiv);
    LoadFamilyNotes();
    Editor().ShowNotes(g.IndivNoteText, "Show Family Notes",
                              TrimBlanks(g.IndivNoteText).empty() ? "Notes" : "Notes*");
    g.IndivNoteChanged = "N";
    Port().SetBusy(false);
}

void LoadFamilyNotes() {
    g.FamilNoteText = GatherText("F", g.CurFamil);
    g.FamilNoteOwner = g.CurFamil > 0 && g.CurFamil <= g.FamilCount ? g.CurFamil : 0;
    g.FamilNoteChanged = "N";
}

}  // namespace lintora
