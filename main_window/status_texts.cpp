#include "main_window/status_texts.h"

#include <string_view>

#include "page_import/page_recognition.h"
#include "record_store/pedigree_view.h"
#include "record_store/program_state.h"

namespace lintora {

const std::array<const char*, kStatusPanels> kStatusPanelTips = {
    "Clipboard Source ",          "Clipboard Data Type",       "Last Record Type Processed",
    "Last Individual Processed",  "Total Individual Records ", "Total Family Records",
    "Total Trees"};

namespace {

struct TypeWords {
    std::string_view type, set, kind;
};

constexpr TypeWords kLdsWords[] = {
    {"IndANC", "Ancestral File", "Individual"},     {"FamANC", "Ancestral File", "Family"},
    {"IndIGI", "International Index", "Individual"}, {"FamIGI", "International Index", "Family"},
    {"IndPRF", "Pedigree File", "Individual"},       {"PedANC", "Ancestral File", "Pedigree"}};
constexpr TypeWords kAncestryWords[] = {{"Ind", "Individual", " "},
                                        {"Reg", "Descendant", "Register"},
                                        {"Des", "Descendancy", "List"},
                                        {"Ahn", "Ahnentafel", "List"}};
constexpr TypeWords kGenCirclesWords[] = {{"Ind", "Individual", "Record"}, {"Ped", "Pedigree", " "}};

template <std::size_t N>
void Words(const TypeWords (&table)[N], std::array<std::string, kStatusPanels>& out) {
    for (const auto& w : table)
        if (w.type == g.PageType) {
            out[1] = w.set;
            out[2] = w.kind;
        }
}

}  // namespace

std::array<std::string, kStatusPanels> StatusBarTexts() {
    std::array<std::string, kStatusPanels> out;
    // Where the work came from: with nobody in it (a prune of everyone)
    // there is nothing to tell, as at a fresh start.
    const std::string site = g.IndivCount > 0 ? g.FirstSite : std::string();
    if (site == "LDS") {
        out[0] = "LDS Family Search";
        Words(kLdsWords, out);
    } else if (site == "ANC" || site == "RW") {
        out[0] = std::string(SiteDomain(site));
        Words(kAncestryWords, out);
    } else if (site == "GC") {
        out[0] = std::string(SiteDomain(site));
        Words(kGenCirclesWords, out);
    }
    if (g.PageMainIndiv > 0 && g.PageMainIndiv <= g.IndivCount) {
        const IndivRec& I = g.Indiv[g.PageMainIndiv];
        out[3] = I.iGivn.trimmed() + " " + I.iSurn.trimmed();
    }
    out[4] = "Individuals: " + std::to_string(g.IndivCount);
    out[5] = "Families: " + std::to_string(g.FamilCount);
    if (g.IndivCount > 0) {
        const int32_t root = g.TreeSlot[0];
        const int tree = (root > 0 && root <= g.IndivCount) ? g.Indiv[root].iTree : 0;
        out[6] = "Tree " + std::to_string(tree) + " of " + std::to_string(g.TreeCount);
    }
    return out;
}

}  // namespace lintora
