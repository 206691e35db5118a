#include "page_import/pedigree_table.h"

#include <array>
#include <exception>
#include <string_view>
#include <vector>

#include "page_import/line_cursor.h"
#include "page_import/report_filing.h"
#include "platform/platform.h"
#include "platform/window_ports.h"
#include "record_store/fixed_text.h"
#include "record_store/linking.h"
#include "record_store/page_scratch.h"
#include "record_store/program_state.h"
#include "record_store/text_routines.h"

namespace lintora {

namespace {

constexpr int32_t kBoxes = 32;  // boxes 1..31 are drawn; 32 is read but never filed

struct Box {
    std::string name, bDate, bPlace, cDate, cPlace, mDate, mPlace, dDate, dPlace;
};

struct LineRecord {
    std::array<std::string, 4> cell;  // cells 1..3
    int32_t box1 = 0, box2 = 0;
};

bool BoxNumber(std::string_view word, int32_t low, int32_t high, int32_t& n) {
    int32_t v = 0;
    if (!ReadWholeNumber(word, v) || v < low || v > high) return false;
    n = v;
    return true;
}

std::string Body(const std::string& f) { return Utf8Left(f, f.empty() ? 0 : Utf8Length(f) - 1); }
std::string Label(const std::string& f) { return Utf8Right(f, 1); }

std::string Cleaned(const std::string& text) {
    const std::string s = ReplaceAll(TrimBlanks(text), "*", "");
    return ReplaceAll(s, "WFT Est.", "");
}

// The line cut into up to three cells at its colons.
LineRecord Cells(const std::string& line) {
    LineRecord r;
    const std::vector<std::string> f = SplitFields(line, ":");
    const std::size_t m = f.size() - 1;
    const bool wide = Utf8Length(f[0]) > 2;
    if (m == 0) {
        r.cell[1] = line;
    } else if (m == 1) {
        if (wide) {
            r.cell[1] = Body(f[0]);
            r.cell[2] = Label(f[0]) + ": " + f[1];
        } else {
            r.cell[1] = f[0] + ": " + f[1];
        }
    } else if (m == 2) {
        r.cell[1] = wide ? Body(f[0]) : f[0] + ": " + Body(f[1]);
        r.cell[2] = Label(f[1]) + ": " + f[2];
    } else {
        r.cell[1] = wide ? Body(f[0]) : f[0] + ":" + Body(f[1]);
        r.cell[2] = Label(f[1]) + ": " + Body(f[2]);
        r.cell[3] = Label(f[2]) + ": " + f[3];
    }
    return r;
}

void LeadingBox(LineRecord& r) {
    std::string& c1 = r.cell[1];
    if (TrimBlanks(c1).empty()) return;
    const std::vector<std::string> words = SplitFields(c1, " ");
    int32_t n = 0;
    if (!BoxNumber(words[0], 1, kBoxes, n)) return;
    r.box1 = n;
    // What follows the number (and its blank) is the box's text.
    const std::string rest = TrimLeftBlanks(std::string_view(c1).substr(words[0].size()));
    const std::size_t colon = rest.find(':');
    if (colon != std::string::npos) {
        r.cell[3] = r.cell[2];
        r.cell[2] = TrimLeftBlanks(std::string_view(rest).substr(colon == 0 ? 0 : colon - 1));
        c1 = TrimLeftBlanks(std::string_view(rest).substr(0, colon == 0 ? 0 : colon - 1));
    } else if (words.size() > 1) {
        c1 = rest;
    } else {
        c1 = " ";
    }
}

void EmbeddedBoxes(LineRecord& r) {
    std::string before, after;
    int32_t own = 0, next = 0;
    if (!TrimBlanks(r.cell[1]).empty()) {
        ParsePtbDateLine(r.cell[1], before, after, own, next);
        r.cell[1] = before;
        if (!TrimBlanks(after).empty() || next > 0) {
            r.cell[3] = r.cell[2];
            r.cell[2] = after;
        }
        if (own > 0) r.box1 = own;
        if (next > 0) r.box2 = next;
    }
    if (!TrimBlanks(r.cell[2]).empty()) {
        ParsePtbDateLine(r.cell[2], before, after, own, next);
        r.cell[2] = before;
        if (!TrimBlanks(after).empty()) r.cell[3] = after;
        if (own > 0) r.box2 = own;
    }
}

class PedigreeTable {
public:
    void Read(const PageLineCursor& page) {
        std::ptrdiff_t start = -1;
        for (std::ptrdiff_t i = 1; i <= page.Last() && start < 0; ++i) {
            const std::string& l = page.At(i);
            if (l.find(':') == std::string::npos && !l.empty() && l[0] == '8') start = i;
        }
        if (start < 0) start = 33;
        for (std::ptrdiff_t i = start; i <= page.Last(); ++i) {
            const std::string line = page.Trimmed(i);
            if (line.rfind("--------", 0) == 0 || line.rfind("Index", 0) == 0) break;
            LineRecord r = Cells(line);
            LeadingBox(r);
            EmbeddedBoxes(r);
            records_.push_back(std::move(r));
        }
        MissingBoxes();
        Distribute();
    }

    int32_t File() {
        int32_t main = 0;
        SayTablesFull();
        for (int32_t n = 1; n <= 15; ++n) {
            // With a full table each box still files what fits.
            const int32_t linked = FileBox(n);
            if (main == 0 && linked > 0) main = linked;
        }
        return main;
    }

private:
    std::vector<LineRecord> records_;
    std::array<Box, kBoxes + 1> boxes_{};
    std::array<int32_t, kBoxes + 1> filed_{};  // the record each box was filed as

    void MissingBoxes() {
        for (int32_t b = 1; b <= 15; ++b) {
            bool carried = false;
            for (const LineRecord& r : records_) carried = carried || r.box1 == b || r.box2 == b;
            if (carried) continue;
            for (LineRecord& r : records_) {
                const std::string& c1 = r.cell[1];
                if (c1.size() < 2 || c1[1] != ':' || c1[0] == 'P') continue;
                std::string left, right;
                SplitAtMonthName(b, c1, left, right);
                if (TrimBlanks(right).empty()) continue;
                r.cell[3] = r.cell[2];
                r.cell[2] = right;
                r.cell[1] = left;
                r.box2 = b;
                break;
            }
        }
    }

    void Event(int32_t box, const std::string& label, const std::string& value, bool place) {
        Box& b = boxes_[static_cast<std::size_t>(box)];
        std::string* field = nullptr;
        if (label == "B:") field = place ? &b.bPlace : &b.bDate;
        else if (label == "C:") field = place ? &b.cPlace : &b.cDate;
        else if (label == "M:") field = place ? &b.mPlace : &b.mDate;
        else if (label == "D:") field = place ? &b.dPlace : &b.dDate;
        if (field != nullptr) *field = value;
    }

    void Distribute() {
        std::array<int32_t, 4> box{};
        std::array<std::string, 4> label{};
        for (const LineRecord& r : records_) {
            if (r.box1 > 0) {
                box[3] = box[2];
                box[2] = box[1];
                label[3] = label[2];
                label[2] = label[1];
                box[1] = r.box1;
                label[1] = " ";
                boxes_[static_cast<std::size_t>(r.box1)].name = TrimBlanks(r.cell[1]);
            }
            if (r.box2 > 0) {
                box[3] = box[2];
                label[3] = label[2];
                box[2] = r.box2;
                label[2] = " ";
                boxes_[static_cast<std::size_t>(r.box2)].name = TrimBlanks(r.cell[2]);
            }
            for (int c = 1; c <= 3; ++c) {
                const std::string& cell = r.cell[static_cast<std::size_t>(c)];
                const std::string head = cell.substr(0, 2);
                if (head == "B:" || head == "C:" || head == "M:" || head == "D:") {
                    label[c] = head;
                    Event(box[c], head, TrimBlanks(cell.substr(2)), false);
                }
            }
            for (int c = 1; c <= 3; ++c) {
                const std::string& cell = r.cell[static_cast<std::size_t>(c)];
                if (cell.rfind("P:", 0) != 0) continue;
                Event(box[c], label[c], TrimBlanks(cell.substr(2)), true);
                if (c == 3 && label[3] == "D:") {
                    box[3] = 0;
                    label[3] = " ";
                }
            }
            if (r.cell[2].rfind("P:", 0) == 0 && label[2] == "D:") {
                box[2] = box[3];
                label[2] = label[3];
            }
            if (r.cell[1].rfind("P:", 0) == 0 && label[1] == "D:") {
                box[1] = box[2];
                box[2] = box[3];
                label[1] = label[2];
                label[2] = label[3];
            }
        }
    }

    // Files box n with his parents (2n, 2n + 1) and spouse; returns the
    // record LinkPageFamily left, or 0 for an empty box.
    int32_t FileBox(int32_t n) {
        const Box& b = boxes_[static_cast<std::size_t>(n)];
        InitPrep();
        PageScratchRec& P = g.PageScratch;
        P.pgName = b.name;
        P.pgSex = n == 1 ? "U" : n % 2 == 0 ? "M" : "F";
        P.pgbDate = b.bDate;
        P.pgdDate = b.dDate;
        P.pgcDate = b.cDate;
        P.pgbPlace = b.bPlace;
        P.pgdPlace = b.dPlace;
        P.pgcPlace = b.cPlace;

        const Box& father = boxes_[static_cast<std::size_t>(2 * n)];
        const Box& mother = boxes_[static_cast<std::size_t>(2 * n + 1)];
        P.PageParentSetCount = 0;
        if (TrimBlanks(father.name) != TrimBlanks(mother.name)) {
            P.PageParentSetCount = 1;
            PageParentSet& set = P.PageParentSets[1];
            // "<unknown>" stands in for a missing parent here only: the
            // empty box itself is never filed as a person.
            auto named = [](const std::string& name) {
                const std::string t = TrimBlanks(name);
                return t.empty() || t == "?" ? std::string("<unknown>") : t;
            };
            set.psFatherName = named(father.name);
            set.psFatherbDate = Utf8Left(father.bDate, 30);
            set.psMotherName = named(mother.name);
            set.psMotherbDate = Utf8Left(mother.bDate, 30);
        }
        P.PageSpouseCount = 0;
        if (n > 1) {
            const int32_t other = n % 2 == 0 ? n + 1 : n - 1;
            const Box& spouse = boxes_[static_cast<std::size_t>(other)];
            const Box& husband = boxes_[static_cast<std::size_t>(n % 2 == 0 ? n : other)];
            const std::string spouseName = TrimBlanks(spouse.name);
            if (!spouseName.empty() && spouseName != "?") {
                P.PageSpouseCount = 1;
                PageSpouse& sp = P.PageSpouses[1];
                sp.spName = spouseName;
                sp.spbDate = spouse.bDate;
                sp.spmDate = husband.mDate;
                sp.spmPlace = husband.mPlace;
            }
        }
        // A box without a name, or with "?", is nobody to file.
        if (TrimBlanks(P.pgName).empty() || TrimBlanks(P.pgName) == "?") return 0;
        LinkPageFamily();
        filed_[static_cast<std::size_t>(n)] = g.PageMainIndiv;
        if (n % 2 == 0 && P.PageSpouseCount == 0) KeepMarriageWithoutWife(n);
        return g.PageMainIndiv;
    }

    // A father whose wife's box is empty: his marriage goes to the family
    // his child's box was filed into (its mother "<unknown>").
    void KeepMarriageWithoutWife(int32_t n) {
        const Box& b = boxes_[static_cast<std::size_t>(n)];
        const int32_t father = filed_[static_cast<std::size_t>(n)];
        const int32_t child = filed_[static_cast<std::size_t>(n / 2)];
        if (father <= 0 || father > g.IndivCount || child <= 0 || child > g.IndivCount) return;
        const int32_t f = g.Indiv[child].iFamc;
        if (f <= 0 || f > g.FamilCount || g.Famil[f].fHusb != father) return;
        if (!TrimBlanks(b.mDate).empty()) g.Famil[f].fmDate = TrimBlanks(b.mDate);
        if (!TrimBlanks(b.mPlace).empty()) g.Famil[f].fmPlace = TrimBlanks(b.mPlace);
    }
};

}  // namespace

void ParsePtbDateLine(const std::string& text, std::string& before, std::string& after, int32_t& ownBox,
                      int32_t& nextBox) {
    before = text;
    after.clear();
    ownBox = nextBox = 0;
    const std::string s = Cleaned(text);
    if (TrimBlanks(s).empty()) return;
    const std::vector<std::string> words = SplitFields(s, " ");
    int32_t n = 0;
    if (BoxNumber(words.back(), 1, 15, n)) {
        nextBox = n;
        before = s.substr(0, s.size() - words.back().size());
        return;
    }
    if (s.find(':') != std::string::npos && s.find("P:") == std::string::npos) return;
    std::size_t at = 0;
    for (std::size_t k = 0; k < words.size(); at += words[k].size() + 1, ++k) {
        const std::string& w = words[k];
        if (w.empty() || at == 0 || !BoxNumber(w, 1, kBoxes, n)) continue;
        before = s.substr(0, at);
        // What follows the number and its blank, whatever the number's width.
        const std::size_t from = at + w.size() + 1;
        if (from >= s.size()) {
            ownBox = n;
        } else {
            after = s.substr(from);
            nextBox = n;
        }
        return;
    }
}

void SplitAtMonthName(int32_t box, const std::string& text, std::string& left, std::string& right) {
    left.clear();
    right.clear();
    const std::string t = Cleaned(text);
    if (TrimBlanks(t).empty()) return;
    std::size_t p = std::string::npos;
    for (const auto* names : {&MonthsUC, &Months}) {
        for (int m = 0; m < 12 && p == std::string::npos; ++m) p = t.find((*names)[m]);
        if (p != std::string::npos) break;
    }
    if (p == std::string::npos) p = 0;
    const std::string key = " " + std::to_string(box) + " ";
    const std::size_t q = t.find(key, p);
    if (q == std::string::npos) return;
    left = t.substr(0, q);
    right = t.substr(q + key.size());
}

void ProcessPtbANC() {
    MainWindow().SetStatusLabel("Processing...");
    Port().SetBusy(true);
    try {
        // A box that continues on another part of the chart ends in "=>".
        std::vector<std::string> lines = g.PageLines;
        for (std::string& line : lines)
            if (line.ends_with("=>")) line = TrimBlanks(line.substr(0, line.size() - 2));
        PedigreeTable chart;
        chart.Read(PageLineCursor(lines));
        g.PageMainIndiv = chart.File();
    } catch (const std::exception& e) {
        ShowProblem(std::string("Problem encountered processing Pedigree (") + e.what() + ").");
    }
    Port().SetBusy(false);
}

}  // namespace lintora
