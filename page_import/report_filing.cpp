#include "page_import/report_filing.h"

#include <exception>

#include "page_import/narrative_entry.h"
#include "page_import/paste.h"

#include "platform/platform.h"
#include "record_store/fixed_text.h"
#include "record_store/program_state.h"
#include "record_store/tables.h"
#include "record_store/text_routines.h"
#include "record_store/trees.h"
#include "platform/window_ports.h"

namespace lintora {

int32_t ReportFiling::Person(int32_t indiv) {
    if (indiv <= 0 || indiv > g.IndivCount) {
        if (g.IndivCount >= kMaxIndiv) throw TablesFull{};
        return 0;
    }
    persons_.push_back(indiv);
    return indiv;
}

int32_t ReportFiling::Family(int32_t famil) {
    if (famil <= 0 || famil > g.FamilCount) {
        if (g.FamilCount >= kMaxFamil) throw TablesFull{};
        return 0;
    }
    families_.push_back(famil);
    return famil;
}

void ReportFiling::ClearPageIds() const {
    for (int32_t i : persons_) {
        if (i <= 0 || i > g.IndivCount) continue;
        IndivRec& I = g.Indiv[i];
        int32_t number = 0;
        const bool bare = ReadWholeNumber(I.iGenID.trimmed(), number);
        if (bare || UpperCase(I.iGivn.trimmed()) != "LIVING") I.iGenID.clear();
    }
}

bool ReadWholeNumber(std::string_view text, int32_t& value) {
    std::string t = TrimBlanks(text);
    std::size_t at = 0;
    bool negative = false;
    if (!t.empty() && (t[0] == '-' || t[0] == '+')) {
        negative = t[0] == '-';
        at = 1;
    }
    if (at >= t.size() || t.size() - at > 9) return false;
    int32_t v = 0;
    for (std::size_t k = at; k < t.size(); ++k) {
        if (t[k] < '0' || t[k] > '9') return false;
        v = v * 10 + (t[k] - '0');
    }
    value = negative ? -v : v;
    return true;
}

void ReportParseProblem(const std::string& what, const std::string& why) {
    ShowProblem("Problem encountered processing " + what + " (" + why +
                ").\nSome data may or may not have been processed.");
}

void RunReportParse(const std::string& what, const ReportFiling& filing, const int32_t& mainPerson,
                    const std::function<void()>& run) {
    MainWindow().SetStatusLabel("Processing...");
    Port().SetBusy(true);
    bool finished = true;
    try {
        run();
    } catch (const TablesFull&) {
        // Already announced by the table; what was filed is tidied as usual.
    } catch (const std::exception& e) {
        finished = false;
        filing.ClearPageIds();
        ReportParseProblem(what, e.what());
        LoadGenTree();
        ReportPasteResults();
    }
    if (finished) {
        filing.ClearPageIds();
        InferSexFromSpouses(filing.Families());
        g.PageMainIndiv = mainPerson;
    }
    Port().SetBusy(false);
}

void SayTablesFull() {
    if (g.IndivCount >= kMaxIndiv) MsgBox(kIndivTableFull);
    if (g.FamilCount >= kMaxFamil) MsgBox(kFamilTableFull);
}

void ShowPersonsFiled(int persons) { MainWindow().SetStatusLabel("Processing..." + std::to_string(persons)); }

bool BeginsLiving(std::string_view text) { return UpperCase(Utf8Left(TrimBlanks(text), 6)) == "LIVING"; }

std::string Utf8Right(std::string_view s, std::size_t n) {
    const std::size_t len = Utf8Length(s);
    return len <= n ? std::string(s) : Utf8Mid(s, len - n + 1);
}

}  // namespace lintora

#include <unordered_set>

namespace lintora {

std::vector<std::string> WithoutRepeatedLines(const std::vector<std::string>& lines) {
    std::vector<std::string> out = lines;
    std::unordered_set<std::string> seen;
    seen.reserve(lines.size());
    for (std::size_t i = 1; i < out.size(); ++i) {
        std::string t = TrimBlanks(out[i]);
        if (i > 2 && Utf8Length(t) > 8 && seen.count(t) > 0) {
            out[i] = " ";
            continue;
        }
        seen.insert(std::move(t));
    }
    return out;
}

}  // namespace lintora
