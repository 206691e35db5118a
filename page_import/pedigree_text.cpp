#include "page_import/pedigree_text.h"

#include <cstdint>
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

constexpr int32_t kNone = -1;     // known to have nobody there
constexpr int32_t kUnknown = 0;   // not worked out (yet)

struct Entry {
    std::string text;
    std::string sex;      // "M" father branch, "F" mother branch, " " the chosen person
    std::size_t position;  // column of the branch mark, 0 for the chosen person
    int32_t father = kUnknown, mother = kUnknown, child = kUnknown;
};

// The entry a line holds behind its first branch mark, if any.
bool BranchEntry(const std::string& x, Entry& e) {
    struct Mark {
        std::string_view text;
        const char* sex;
    };
    for (const Mark& m : {Mark{" \\", "F"}, Mark{" /", "M"}, Mark{"\\", "F"}, Mark{"/", "M"}}) {
        const std::size_t at = x.find(m.text);
        if (at == std::string::npos) continue;
        e.text = x.substr(at + m.text.size());
        e.sex = m.sex;
        e.position = at + m.text.size();  // 1-based column of the slash
        return true;
    }
    return false;
}

class PedigreeText {
public:
    explicit PedigreeText(const PageLineCursor& raw) : raw_(raw) {}

    void Read() {
        bool started = false, chosen = false;
        for (std::ptrdiff_t i = 1; i <= raw_.Last(); ++i) {
            std::string line = raw_.At(i);
            if (TrimRightBlanks(line).rfind("# ", 0) == 0) line = line.substr(2);
            if (line.ends_with("=>")) line.resize(line.size() - 2);
            if (!started) {
                started = line.rfind("Display pedigree", 0) == 0;
                continue;
            }
            Entry e;
            if (BranchEntry(line, e)) entries_.push_back(e);
            const std::string trimmed = TrimBlanks(line);
            if (!entries_.empty() && (trimmed.empty() || trimmed.rfind("Index", 0) == 0)) break;
            if (!entries_.empty() && !line.empty() && line[0] != ' ' && !chosen) {
                entries_.push_back(Entry{line, " ", 0});
                chosen = true;
            }
        }
    }

    void Link() {
        const std::size_t count = entries_.size();
        for (std::size_t i = 0; i < count; ++i) {
            Entry& e = entries_[i];
            if (i + 1 < count) {
                Entry& next = entries_[i + 1];
                if (next.position < e.position && e.sex == "M") {
                    next.father = Id(i);
                    e.child = Id(i + 1);
                }
                if (e.position < next.position && next.sex == "F") {
                    e.mother = Id(i + 1);
                    next.child = Id(i);
                }
                if (i == 0) e.father = kNone;
                if (next.position < e.position) e.mother = kNone;
                if (i >= 1 && entries_[i - 1].position < e.position) e.father = kNone;
            } else {
                e.mother = kNone;
                if (i >= 1 && entries_[i - 1].position < e.position) e.father = kNone;
            }
            if (e.position == 0) e.child = kNone;
        }
        // A father whose child is not the next line: the nearest less
        // indented entry below him without a father.
        for (std::size_t i = 0; i < count; ++i) {
            Entry& e = entries_[i];
            if (e.child != kUnknown || e.sex != "M") continue;
            for (std::size_t j = i + 1; j < count; ++j) {
                if (entries_[j].father == kUnknown && entries_[j].position < e.position) {
                    entries_[j].father = Id(i);
                    e.child = Id(j);
                    break;
                }
            }
        }
        // A mother likewise, above her.
        for (std::size_t i = 0; i < count; ++i) {
            Entry& e = entries_[i];
            if (e.child != kUnknown || e.sex != "F") continue;
            for (std::size_t j = i; j-- > 0;) {
                if (entries_[j].mother == kUnknown && entries_[j].position < e.position) {
                    entries_[j].mother = Id(i);
                    e.child = Id(j);
                    break;
                }
            }
        }
    }

    int32_t File() {
        int32_t chosen = 0;
        SayTablesFull();
        // With a full table each entry still files what fits.
        for (std::size_t i = 0; i < entries_.size(); ++i) {
            MainWindow().SetStatusLabel("Processing..." + std::to_string(i + 1));
            const Entry& e = entries_[i];
            InitPrep();
            PageScratchRec& P = g.PageScratch;
            std::string c;
            ParsePtxPersonText(e.text, P.pgName, P.pgbDate, c, P.pgdDate);
            P.pgcDate = c;
            P.pgSex = e.sex;
            P.PageParentSetCount = 0;
            if (e.father != e.mother) {
                P.PageParentSetCount = 1;
                PageParentSet& set = P.PageParentSets[1];
                set.psFatherName = "<unknown>";
                set.psMotherName = "<unknown>";
                std::string name, b, cd, d;
                if (const Entry* f = At(e.father)) {
                    ParsePtxPersonText(f->text, name, b, cd, d);
                    if (!name.empty()) set.psFatherName = name;
                    set.psFatherbDate = Utf8Left(b, 30);
                }
                if (const Entry* m = At(e.mother)) {
                    ParsePtxPersonText(m->text, name, b, cd, d);
                    if (!name.empty()) set.psMotherName = name;
                    set.psMotherbDate = Utf8Left(b, 30);
                }
            }
            P.PageSpouseCount = 0;
            // Married only to the other parent of the same child on the chart.
            if (At(e.child) != nullptr) {
                const Entry* spouse = nullptr;
                if (e.sex != "M") {
                    for (std::size_t j = 0; j < i && spouse == nullptr; ++j)
                        if (entries_[j].child == e.child) spouse = &entries_[j];
                } else {
                    for (std::size_t j = i + 1; j < entries_.size() && spouse == nullptr; ++j)
                        if (entries_[j].child == e.child) spouse = &entries_[j];
                }
                if (spouse != nullptr) {
                    std::string name, b, cd, d;
                    ParsePtxPersonText(spouse->text, name, b, cd, d);
                    P.PageSpouseCount = 1;
                    P.PageSpouses[1].spName = name;
                    P.PageSpouses[1].spbDate = b;
                }
            }
            if (TrimBlanks(P.pgName).empty()) continue;
            LinkPageFamily();
            if (e.position < 2) chosen = g.PageMainIndiv;
        }
        return chosen;
    }

    std::size_t Count() const { return entries_.size(); }

private:
    const PageLineCursor& raw_;
    std::vector<Entry> entries_;

    static int32_t Id(std::size_t index) { return static_cast<int32_t>(index) + 1; }
    const Entry* At(int32_t id) const {
        return id >= 1 && static_cast<std::size_t>(id) <= entries_.size() ? &entries_[static_cast<std::size_t>(id) - 1]
                                                                          : nullptr;
    }
};

}  // namespace

void ParsePtxPersonText(const std::string& text, std::string& name, std::string& bDate, std::string& cDate,
                        std::string& dDate) {
    name.clear();
    bDate.clear();
    cDate.clear();
    dDate.clear();
    std::string s = ReplaceAll(TrimBlanks(text), "*", "");
    if (TrimBlanks(s).empty()) return;
    s = ReplaceAll(s, "WFT Est.", "");
    // Each date runs to the next mark, in whatever order the marks stand.
    for (;;) {
        std::size_t last = std::string::npos;
        std::string* date = nullptr;
        for (auto [mark, field] : {std::pair<std::string_view, std::string*>{"d:", &dDate}, {"b:", &bDate}, {"c:", &cDate}}) {
            const std::size_t at = s.find(mark);
            if (at != std::string::npos && (last == std::string::npos || at > last) && field->empty()) {
                last = at;
                date = field;
            }
        }
        if (date == nullptr) break;
        *date = TrimBlanks(std::string_view(s).substr(last + 2));
        s.resize(last);
    }
    name = TrimBlanks(s);
}

void ProcessPtxANC() {
    MainWindow().SetStatusLabel("Processing...");
    Port().SetBusy(true);
    try {
        // The chart needs the indentation, so it is read from the raw lines.
        const PageLineCursor raw(g.PageRawLines);
        PedigreeText chart(raw);
        chart.Read();
        chart.Link();
        g.PageMainIndiv = chart.File();
    } catch (const std::exception& e) {
        ShowProblem(std::string("Problem encountered processing Pedigree text (") + e.what() + ").");
    }
    Port().SetBusy(false);
}

}  // namespace lintora
