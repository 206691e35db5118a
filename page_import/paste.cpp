#include "page_import/paste.h"

#include <algorithm>
#include <array>
#include <exception>
#include <string>
#include <string_view>

#include "page_import/af_family.h"
#include "page_import/af_individual.h"
#include "page_import/af_pedigree.h"
#include "page_import/ahnentafel_report.h"
#include "page_import/anc_individual.h"
#include "page_import/descendants_list.h"
#include "page_import/gencircles_individual.h"
#include "page_import/gencircles_pedigree.h"
#include "page_import/igi_family.h"
#include "page_import/igi_individual.h"
#include "page_import/igi_pedigree.h"
#include "page_import/mytrees_family.h"
#include "page_import/mytrees_individual.h"
#include "page_import/mytrees_pedigree.h"
#include "page_import/prf_individual.h"
#include "page_import/page_recognition.h"
#include "page_import/pedigree_table.h"
#include "page_import/pedigree_text.h"
#include "page_import/register_report.h"
#include "platform/platform.h"
#include "platform/step.h"
#include "record_store/fixed_text.h"
#include "record_store/linking.h"
#include "record_store/page_scratch.h"
#include "record_store/program_state.h"
#include "record_store/trees.h"
#include "record_store/undo.h"
#include "platform/window_ports.h"

namespace lintora {

namespace {

using Parser = void (*)();

// One row of the dispatch: the site group ("LDS", "ANC" for Ancestry and
// RootsWeb alike, "GC", "MYT"), the page type, the parser (nullptr while the
// page cannot be processed yet) and whether the paste entry files the
// scratch record afterwards.
struct Dispatch {
    std::string_view site;
    std::string_view type;
    Parser parser;
    bool linkAfter;
};

constexpr std::array<Dispatch, 18> kDispatch = {{
    {"LDS", "IndANC", &ParseAFIndividual, true},
    {"LDS", "FamANC", &ParseAFFamilyGroup, true},
    {"LDS", "IndPRF", &ProcessIndPRF, true},
    {"LDS", "IndIGI", &ProcessIndIGI, true},
    {"LDS", "FamIGI", &ProcessFamIGI, true},
    {"LDS", "PedANC", &ParseAFPedigree, false},
    {"LDS", "PedIGI", &ProcessPedIGI, false},
    {"ANC", "Ind", &ProcessIndANC, false},
    {"ANC", "Reg", &ProcessRegANC, false},
    {"ANC", "Des", &ProcessDesANC, false},
    {"ANC", "Ptx", &ProcessPtxANC, false},
    {"ANC", "Ptb", &ProcessPtbANC, false},
    {"ANC", "Ahn", &ProcessAhnANC, false},
    {"GC", "Ind", &ProcessIndGNC, false},
    {"GC", "Ped", &ProcessPedGNC, false},
    {"MYT", "Ind", &ProcessIndKK, true},
    {"MYT", "Fam", &ProcessFamKK, true},
    {"MYT", "Ped", &ProcessPedKK, false},
}};

const Dispatch* FindDispatch(const std::string& site, const std::string& type) {
    std::string group = TrimBlanks(site);
    if (group == "RW") group = "ANC";
    const std::string t = TrimBlanks(type);
    for (const auto& d : kDispatch)
        if (d.site == group && d.type == t) return &d;
    return nullptr;
}

// Pages of several persons count as data even without a page person.
bool MultiPersonReport(const std::string& type) {
    static constexpr std::array<std::string_view, 8> kReports = {"Reg", "Ahn", "Ped", "Ptx",
                                                                 "Ptb", "Des", "PedANC", "PedIGI"};
    const std::string t = TrimBlanks(type);
    return std::find(kReports.begin(), kReports.end(), t) != kReports.end();
}

// The list of what a site's pages can be, for a page of a known site whose
// kind was not recognised.
std::string FormatsMessage(const std::string& site) {
    std::string msg = "Sorry! Lintora does not process copied text with this format.";
    const std::string s = TrimBlanks(site);
    auto at = [](std::string_view domain) {
        return "\nLintora can recognize the following formats at " + std::string(domain) + ":";
    };
    if (s == "LDS") {
        msg += "\nLintora can recognize the following formats in LDS:";
        msg += "\n   Ancestry File records - Individual, Family, and Pedigree";
        msg += "\n   IGI records - Individual, Family, and Pedigree";
        msg += "\n   Pedigree Resource records - Individual";
    } else if (s == "ANC" || s == "RW") {
        msg += at(SiteDomain(s));
        msg += "\n   Individual records\n   Descendancy Register\n   Pedigree (Text and Table)\n   Ahnentafel";
    } else if (s == "GC") {
        msg += at(SiteDomain(s));
        msg += "\n   Individual records\n   Pedigree";
    } else if (s == "MYT") {
        msg += at(SiteDomain(s));
        msg += "\n   Individual records\n   Family records\n   Pedigree";
    }
    return msg;
}

// A mark says "taken by this paste": one left from before (a paste that
// found nothing, a stand-in made by an unlink) would keep its person from
// being offered as a match, and would count him as updated.
void ForgetTouchedMarks() {
    for (int32_t i = 1; i <= g.IndivCount; ++i) g.Indiv[i].iTouched = 0;
    for (int32_t f = 1; f <= g.FamilCount; ++f) g.Famil[f].fTouched = 0;
}

}  // namespace

void SplitPageText(const std::string& text) {
    g.PageLines.clear();
    g.PageRawLines.clear();
    std::size_t start = 0;
    for (;;) {
        std::size_t lf = text.find('\n', start);
        std::string piece = text.substr(start, lf == std::string::npos ? std::string::npos : lf - start);
        if (!piece.empty() && piece.back() == '\r') piece.pop_back();
        if (piece.find_first_not_of(" \r") == std::string::npos) piece.clear();
        g.PageRawLines.push_back(piece);
        if (g.PageLines.empty()) {
            // The first line stays as copied.
            g.PageLines.push_back(piece);
        } else {
            // Tabs become blanks before the trim, so a tab-led line loses its
            // markers like any other.
            std::string line = piece;
            std::replace(line.begin(), line.end(), '\t', ' ');
            line = TrimBlanks(line);
            if (line.rfind("# ", 0) == 0) line.erase(0, 2);
            if (line.rfind("* ", 0) == 0) line.erase(0, 2);
            g.PageLines.push_back(TrimBlanks(line));
        }
        if (lf == std::string::npos) break;
        start = lf + 1;
    }
}

void ProcessClipboard(const std::string& text) {
    if (text == g.LastPaste) {
        MsgResult r = MsgResult::No;
        Step([&] {
            r = MsgBox("Clipboard data unchanged and already processed.\nWould you like to re-process anyway?",
                       MsgButtons::YesNo, MsgIcon::None);
        });
        // Nothing is processed: an open parent pick list still waits for its pick.
        if (r != MsgResult::Yes) return;
    }
    // The parent pick list offers the parents of the page before; a new
    // paste replaces that page, so the list goes without linking.
    Step([] { MainWindow().HideParentPickList(); });
    g.LastPaste = text;

    Step([&] { SplitPageText(text); });
    Step([] { MainWindow().SetStatusLabel(""); });
    const std::string firstType = g.FirstType;
    Step([] { IdentifyPage(); });

    if (TrimBlanks(g.PageSite).empty()) {
        Step([] { ShowInfo("Sorry! Lintora is unable to recognize this format. Cannot process!"); });
        return;
    }
    if (TrimBlanks(g.PageType).empty()) {
        Step([] { ShowInfo(FormatsMessage(g.PageSite)); });
        return;
    }
    const Dispatch* route = FindDispatch(g.PageSite, g.PageType);
    if (route == nullptr || route->parser == nullptr) {
        // Handled like a page of a known site whose kind is not recognised:
        // the same refusal, and a page that files nothing does not fix the
        // work's first record set.
        g.FirstType = firstType;
        Step([] { ShowInfo(FormatsMessage(g.PageSite)); });
        return;
    }

    Step([] { UpdateMixedSources(); });
    Step([] { InitPrep(); });
    Step([] { ForgetTouchedMarks(); });
    g.PasteStartIndivCount = g.IndivCount;
    g.PasteStartFamilCount = g.FamilCount;
    g.PasteReported = false;
    Step([] { InitUndo("UnDo previous paste"); });
    Step([] { ChoosePasteSource(); });

    Step([&] { route->parser(); });

    // Whatever was filed is reported and numbered into a tree.
    const bool filed = g.IndivCount != g.PasteStartIndivCount || g.FamilCount != g.PasteStartFamilCount;
    const bool data = !TrimBlanks(g.PageScratch.pgName).empty() || MultiPersonReport(g.PageType) || filed;
    if (data) {
        if (route->linkAfter) Step([] { LinkPageFamily(); });
        Step([] { LoadGenTree(); });
        Step([] { ReportPasteResults(); });
        if (g.TreeCount > g.PrevTreeCount && g.TreeCount != 1)
            Step([] { ShowInfo("Unable to link all individuals to previous entries - new tree(s) started..."); });
    } else {
        // Nothing found, nothing marked.
        Step([] { ForgetTouchedMarks(); });
        Step([] { MainWindow().SetStatusLabel(""); });
        Step([] {
            ShowInfo("Lintora unable to extract any data from copied text. Try again using Select All, then Copy...");
        });
    }
    // Whatever follows (a pick or a cancel of the parent pick list) belongs
    // to this paste, which has had its one report.
    g.PasteReported = true;
    Step([] { Port().SetBusy(false); });
}

void ReportPasteResults(int32_t indivUpdatedBefore, int32_t familUpdatedBefore) {
    if (g.PasteReported) return;
    g.PasteReported = true;
    try {
        for (int32_t i = 1; i <= g.IndivCount; ++i) g.Indiv[i].iFamsCount = 0;

        // A mark on a record that existed before the paste is an update;
        // marks on new records are already counted as added.
        int32_t famUpdated = familUpdatedBefore;
        for (int32_t f = 1; f <= g.FamilCount; ++f) {
            FamilRec& F = g.Famil[f];
            F.fChilCount = 0;
            if (F.fTouched != 0 && f <= g.PasteStartFamilCount) ++famUpdated;
            F.fTouched = 0;
            if (F.fHusb > 0 && F.fHusb <= g.IndivCount) ++g.Indiv[F.fHusb].iFamsCount;
            if (F.fWife > 0 && F.fWife <= g.IndivCount && F.fWife != F.fHusb) ++g.Indiv[F.fWife].iFamsCount;
        }
        int32_t indUpdated = indivUpdatedBefore;
        for (int32_t i = 1; i <= g.IndivCount; ++i) {
            IndivRec& I = g.Indiv[i];
            if (I.iFamc > 0 && I.iFamc <= g.FamilCount) ++g.Famil[I.iFamc].fChilCount;
            if (I.iTouched != 0 && i <= g.PasteStartIndivCount) ++indUpdated;
            I.iTouched = 0;
        }

        if (g.PageMainIndiv > 0 && g.PageMainIndiv <= g.IndivCount) MainWindow().FindTreePointer(g.PageMainIndiv);
        MainWindow().EnableDataCommands();
        g.DataChanged = "Y";

        g.IndivAdded = static_cast<int16_t>(std::max(0, g.IndivCount - g.PasteStartIndivCount));
        g.FamilAdded = static_cast<int16_t>(std::max(0, g.FamilCount - g.PasteStartFamilCount));
        g.IndivUpdated = static_cast<int16_t>(indUpdated);
        g.FamilUpdated = static_cast<int16_t>(famUpdated);

        const int32_t root = g.TreeSlot[0];
        const int tree = (root > 0 && root <= g.IndivCount) ? g.Indiv[root].iTree : 0;
        MainWindow().SetStatusLabel(std::to_string(g.IndivAdded) + " Individuals added, " +
                                 std::to_string(g.IndivUpdated) + " updated; " + std::to_string(g.FamilAdded) +
                                 " Families added, " + std::to_string(g.FamilUpdated) + " updated (Tree #" +
                                 std::to_string(tree) + ")");
        MainWindow().UpdateStatusBar();
    } catch (const std::exception& e) {
        ShowProblem(std::string("Problem reporting paste results: ") + e.what());
    }
}

}  // namespace lintora
