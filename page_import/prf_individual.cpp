#include "page_import/prf_individual.h"

#include <charconv>
#include <string>

#include "page_import/line_cursor.h"
#include "page_import/parse_support.h"
#include "page_import/splitters.h"
#include "platform/platform.h"
#include "record_store/fixed_text.h"
#include "record_store/program_state.h"
#include "record_store/text_routines.h"
#include "platform/window_ports.h"

namespace lintora {

namespace {

template <typename Int>
bool ReadNumber(const std::string& text, Int& out) {
    const std::string t = TrimBlanks(text);
    Int v = 0;
    const auto [p, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (t.empty() || ec != std::errc() || p != t.data() + t.size()) return false;
    out = v;
    return true;
}

}  // namespace

bool ParsePRFNameLine(std::string& text, std::string& name, int16_t& cdNo, int32_t& pidNo, std::string& afn) {
    afn.clear();
    name.clear();
    cdNo = 0;
    pidNo = 0;
    const std::size_t close = InStrLast(text, ")");
    if (close > 2) {
        const std::string before = text.substr(0, close - 1);
        const std::size_t open = InStrLast(before, "(AFN:");
        // A ")" without an AFN belongs to the name (a nickname) and stays.
        if (open > 0) {
            afn = TrimBlanks(Utf8Left(std::string_view(before).substr(open - 1 + 5), 20));
            text = TrimBlanks(std::string_view(before).substr(0, open - 1));
        }
    }
    const std::size_t pin = InStrLast(text, "Pin #");
    if (pin > 2) {
        if (!ReadNumber(Utf8Left(std::string_view(text).substr(pin - 1 + 5), 12), pidNo)) return false;
        text = TrimBlanks(std::string_view(text).substr(0, pin - 1));
    }
    const std::size_t disc = InStrLast(text, "Disc #");
    if (disc > 2) {
        if (!ReadNumber(Utf8Left(std::string_view(text).substr(disc - 1 + 6), 4), cdNo)) return false;
        text = TrimBlanks(std::string_view(text).substr(0, disc - 1));
        const std::size_t compact = InStrLast(text, "Compact");
        if (compact > 0) text = TrimBlanks(std::string_view(text).substr(0, compact - 1));
    }
    name = TrimBlanks(text);
    return true;
}

void ProcessIndPRF() {
    MainWindow().SetStatusLabel("Processing...");
    Port().SetBusy(true);
    PageScratchRec& P = g.PageScratch;
    SkippedEntries skipped;
    ParentSetLines sets(skipped);
    bool spouseSkipped = false;
    int badNumbers = 0;
    try {
        const PageLineCursor page(g.PageLines);
        auto person = [&badNumbers](std::string text, std::string& name, int16_t& cd, int32_t& pid,
                                    std::string& afn) {
            if (!ParsePRFNameLine(text, name, cd, pid, afn)) ++badNumbers;
        };
        for (std::ptrdiff_t i = 1; i <= page.Last(); ++i) {
            const std::string& raw = page.At(i);
            if (Utf8Length(raw) <= 2) continue;
            const std::string line = page.Trimmed(i);
            g.LineFields = SplitFields(line, " ");
            g.LineLabel = FieldAt(g.LineFields, 0);
            const std::string& label = g.LineLabel;
            std::string name, afn;
            int16_t cd = 0;
            int32_t pid = 0;

            if (label == "Sex:") {
                person(i <= 1 ? std::string(" ") : page.At(i - 1), name, cd, pid, afn);
                P.pgName = name;
                P.pgAFN = afn;
                P.pgCDno = cd;
                P.pgPIDno = pid;
                const std::string f1 = TrimBlanks(FieldAt(g.LineFields, 1));
                const std::string f2 = TrimBlanks(FieldAt(g.LineFields, 2));
                // A "Sex:" line without a value leaves the sex empty.
                P.pgSex = !f1.empty() ? f1 : !f2.empty() ? f2 : TrimBlanks(Utf8Mid(line, 5, 4));
            } else if (label == "Birth:" || label == "Death:" || label == "Christened:" || label == "Burial:") {
                std::string text = line, date, place;
                SplitDatePlace(text, date, place);
                date = TrimBlanks(date);
                place = TrimBlanks(place);
                if (label == "Birth:") P.pgbDate = date, P.pgbPlace = place;
                else if (label == "Death:") P.pgdDate = date, P.pgdPlace = place;
                else if (label == "Christened:") P.pgcDate = date, P.pgcPlace = place;
                else P.pgblDate = date, P.pgblPlace = place;
            } else if (label == "Father:" || label == "Mother:") {
                const bool father = label == "Father:";
                const int16_t s = father ? sets.Father() : sets.Mother(true);
                person(Utf8Mid(line, 9, 120), name, cd, pid, afn);
                if (s == 0 || name.empty()) continue;
                PageParentSet& set = P.PageParentSets[s];
                if (father) {
                    set.psFatherName = name;
                    set.psFatherAFN = afn;
                    set.psFatherCDno = cd;
                    set.psFatherPIDno = pid;
                } else {
                    set.psMotherName = name;
                    set.psMotherAFN = afn;
                    set.psMotherCDno = cd;
                    set.psMotherPIDno = pid;
                }
            } else if (label == "Spouse:") {
                person(Utf8Mid(line, 9, 120), name, cd, pid, afn);
                // A spouse line without a name adds nobody.
                if (name.empty()) continue;
                const int16_t k = P.AddSpouse();
                spouseSkipped = (k == 0);
                if (k == 0) {
                    skipped.Add();
                    continue;
                }
                PageSpouse& sp = P.PageSpouses[k];
                sp.spName = name;
                sp.spAFN = afn;
                sp.spCDno = cd;
                sp.spPIDno = pid;
            } else if (label == "Marriage:") {
                std::string text = line, date, place;
                SplitDatePlace(text, date, place);
                if (date == place) continue;
                if (P.PageSpouseCount <= 0 || spouseSkipped) continue;
                PageSpouse& sp = P.PageSpouses[P.PageSpouseCount];
                sp.spmDate = TrimBlanks(date);
                sp.spmPlace = TrimBlanks(place);
            } else if (label == "Submission") {
                P.pgSubmNo = TrimBlanks(Utf8Mid(line, 20));
            }
        }
    } catch (...) {
        // The parse ends quietly; what it gathered is filed.
    }
    Port().SetBusy(false);
    if (badNumbers > 0)
        ShowProblem(badNumbers == 1 ? std::string("Problem parsing Name/Disc/Pid#")
                                    : "Problem parsing Name/Disc/Pid# (" + std::to_string(badNumbers) + " lines)");
    skipped.Report();
}

}  // namespace lintora
