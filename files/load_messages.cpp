#include "files/load_messages.h"

#include "files/file_open.h"
#include "files/gedcom_reader.h"
#include "files/work_lines.h"
#include "platform/platform.h"
#include "platform/window_ports.h"
#include "record_store/program_state.h"

namespace lintora {

namespace {

std::string Plural(int32_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

void ShowProgress(bool shown, int value) {
    if (shown) Progress().Set(value);
}

void ProgressStage(bool shown, std::uint64_t maximum, const std::string& label) {
    if (!shown) return;
    StartProgress(maximum);
    Progress().SetLabel(label);
}

void ResetProgress() { Progress().End(); }

void TellCannotOpen(const std::string& name, const std::string& why) {
    ShowProblem(name + " cannot be opened: " + why);
}

void TellRefusedName() { FileErrors(64); }

void TellUnreadable(const std::string& path, bool opening) {
    ShowProblem((opening ? "Problem opening " : "Problem reading ") + path + ": the file cannot be read.");
}

void TellEmptyFile() { MsgBox("File is empty!", MsgButtons::Ok, MsgIcon::Exclamation); }

void TellNoRecords() { MsgBox("No GED data in file!", MsgButtons::Ok, MsgIcon::Exclamation); }

void TellUnknownCharSet(const std::string& set) {
    ShowProblem("The character set \"" + set + "\" named in " + g.FileName +
                " is not known: its text was read as Windows-1252 (as UTF-8 where it is UTF-8).");
}

void TellCutShort(const std::string& name) {
    ShowProblem(name + " ends before its last line (0 TRLR): it may be incomplete. " +
                "Saving over it would lose what is missing.");
}

void TellRecordsAfter(const std::string& name) {
    ShowProblem(name + " holds records after its last line (0 TRLR): they were loaded with the rest.");
}

void TellSkipsAndBadLines(const GedReader& reader) {
    const auto& r = reader.GedRead;
    if (r.skippedIndivs || r.skippedFamils || r.skippedNotes)
        ShowProblem("The tables are full: " + Plural(r.skippedIndivs, "individual", "individuals") + ", " +
                    Plural(r.skippedFamils, "family", "families") + " and " +
                    Plural(r.skippedNotes, "note line", "note lines") + " of " + g.FileName +
                    " were skipped.");
    if (r.badLines) {
        std::string at;
        for (std::size_t k = 0; k < r.badLineNos.size(); ++k)
            at += (k ? ", " : "") + std::to_string(r.badLineNos[k]);
        if (r.badLines > static_cast<int32_t>(r.badLineNos.size())) at += ", ...";
        ShowProblem("Problem reading " + g.FileName + ": " +
                    Plural(r.badLines, "line was", "lines were") + " not understood and skipped (line " +
                    at + ").\n" + r.firstBadLine);
    }
}

void TellNotRecognizable(const std::string& path, const std::exception& e) {
    const auto* bad = dynamic_cast<const BadWorkLine*>(&e);
    MsgBox("Error: Input file " + path + " format not recognizable to Lintora" +
               (bad ? std::string("\n") + bad->what() : std::string()),
           MsgButtons::Ok, MsgIcon::Exclamation);
}

}  // namespace lintora
