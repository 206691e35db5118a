#include "record_store/prune.h"

#include <exception>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/step.h"
#include "record_store/matching.h"
#include "record_store/program_state.h"
#include "record_store/tables.h"
#include "record_store/trees.h"
#include "platform/window_ports.h"

namespace lintora {

namespace {

PrunePanelView g_quietPanel;
PrunePanelView* g_panel = &g_quietPanel;

bool LiveIndiv(int32_t i) { return i > 0 && i <= g.IndivCount && g.Indiv[i].iTree != kRemovedTree; }
bool InFamilies(int32_t f) { return f > 0 && f <= g.FamilCount; }

void MarkIndivRemoved(IndivRec& r) {
    if (r.iTree != kRemovedTree) g.DropCitation(r.iSource);
    r.iTree = kRemovedTree;
    r.iAFN = "";
    r.iCDno = 0;
    r.iPIDno = 0;
    r.iFamsCount = 0;
    r.iFamc = 0;
}

void MarkFamilRemoved(FamilRec& f) {
    f.fTree = kRemovedTree;
    f.fHusb = 0;
    f.fWife = 0;
}

// Marks every individual and family of tree t as removed; returns the
// individuals that were not removed before.
int32_t RemoveTree(int16_t t) {
    int32_t count = 0;
    for (int32_t i = 1; i <= g.IndivCount; ++i) {
        IndivRec& r = g.Indiv[i];
        if (r.iTree != t) continue;
        if (r.iTree != kRemovedTree) ++count;
        MarkIndivRemoved(r);
    }
    for (int32_t f = 1; f <= g.FamilCount; ++f)
        if (g.Famil[f].fTree == t) MarkFamilRemoved(g.Famil[f]);
    return count;
}

// Spouse and child counts as the links say, for the live records.
void RecountFamilyLinks() {
    for (int32_t i = 1; i <= g.IndivCount; ++i) g.Indiv[i].iFamsCount = 0;
    for (int32_t f = 1; f <= g.FamilCount; ++f) {
        FamilRec& F = g.Famil[f];
        F.fChilCount = 0;
        if (F.fTree == kRemovedTree) continue;
        if (LiveIndiv(F.fHusb)) ++g.Indiv[F.fHusb].iFamsCount;
        if (LiveIndiv(F.fWife) && F.fWife != F.fHusb) ++g.Indiv[F.fWife].iFamsCount;
    }
    for (int32_t i = 1; i <= g.IndivCount; ++i) {
        const int32_t fc = g.Indiv[i].iFamc;
        if (LiveIndiv(i) && InFamilies(fc) && g.Famil[fc].fTree != kRemovedTree) ++g.Famil[fc].fChilCount;
    }
}

// A new "<unknown>" in the target's place; 0 when the table is full.
int32_t Placeholder() {
    const int32_t p = CreateIndivFromPage("<unknown>", "", "", 0, 0, "");
    // Made by the prune, not by a paste: the next paste report must not
    // count him as updated, and he cites no page.
    if (p > 0) {
        g.Indiv[p].iTouched = 0;
        g.DropCitation(g.Indiv[p].iSource);
        g.Indiv[p].iSource = 0;
    }
    return p;
}

}  // namespace

PrunePanelView& PrunePanel() { return *g_panel; }
void InstallPrunePanel(PrunePanelView* p) { g_panel = p ? p : &g_quietPanel; }

bool PrunableIndiv(int32_t t) { return LiveIndiv(t); }

PrunePanelCaptions PruneCaptions(int32_t t) {
    PrunePanelCaptions c;
    const std::string person = LiveIndiv(t) ? g.Indiv[t].iGivn.trimmed() + " " + g.Indiv[t].iSurn.trimmed() : "";
    c.identity = "Remove " + person + " and...";
    c.descendants = "all descendants";
    c.ancestors = "all ancestors";
    c.personOnly = person + " only";
    c.all = "all ancestors and descendants";
    return c;
}

void PruneTree(PruneOption option) {
    try {
        const int32_t t = g.PruneIndiv;
        if (!LiveIndiv(t)) return;
        const std::string name = g.Indiv[t].iName.trimmed();

        int32_t pruneFamc = g.Indiv[t].iFamc;
        if (!InFamilies(pruneFamc)) pruneFamc = 0;
        MarkIndivRemoved(g.Indiv[t]);
        g.DataChanged = "Y";

        std::vector<int32_t> pruneFams;
        for (int32_t f = 1; f <= g.FamilCount; ++f) {
            if (g.Famil[f].fHusb == t) pruneFams.push_back(f);
            if (g.Famil[f].fWife == t) pruneFams.push_back(f);
        }

        // A family keeps the target's place when a live person is its child.
        std::vector<bool> hasChildren(static_cast<std::size_t>(g.FamilCount) + 1, false);
        for (int32_t i = 1; i <= g.IndivCount; ++i)
            if (LiveIndiv(i) && InFamilies(g.Indiv[i].iFamc)) hasChildren[g.Indiv[i].iFamc] = true;
        for (int32_t f : pruneFams) {
            FamilRec& F = g.Famil[f];
            if (!hasChildren[f]) {
                MarkFamilRemoved(F);
                continue;
            }
            if (F.fWife == t) F.fWife = Placeholder();
            if (F.fHusb == t) F.fHusb = Placeholder();
        }

        LoadGenTree();

        auto finish = [](const std::string& text) {
            RecountFamilyLinks();
            ShowInfo(text);
        };
        if (option == PruneOption::PersonOnly) return finish(name + " removed.");
        if (g.TreeCount == 1) {
            if (option == PruneOption::Ancestors)
                return finish(name + " removed,\n but ancestors could not be removed");
            if (option == PruneOption::Descendants)
                return finish(name + " removed,\nbut descendants could not be removed");
            return finish(name + " removed,\n but ancestors/descendants could not be removed");
        }

        bool ancestors = false, descendants = false;
        int32_t ancestorCount = 0, descendantCount = 0;
        if (option != PruneOption::Descendants) {
            const int16_t tree = pruneFamc > 0 ? g.Famil[pruneFamc].fTree : 0;
            if (tree != 1) {
                ancestors = true;
                ancestorCount = RemoveTree(tree);
            }
        }
        if (option != PruneOption::Ancestors) {
            for (int32_t f : pruneFams) {
                const int16_t tree = g.Famil[f].fTree;
                if (tree == 1) continue;
                descendants = true;
                descendantCount += RemoveTree(tree);
            }
        }

        const std::string ca = std::to_string(ancestorCount), cd = std::to_string(descendantCount);
        std::string text;
        if (option == PruneOption::Ancestors) {
            text = ancestors ? name + " and " + ca + " ancestors removed."
                             : name + " removed.\nAncestors are connected to the main tree and could not be removed";
        } else if (option == PruneOption::Descendants) {
            text = descendants
                       ? name + " and " + cd + " descendants removed."
                       : name + " removed.\nDescendants are connected to the main tree and could not be removed";
        } else if (!ancestors && !descendants) {
            text = name + " removed.\nAncestors and descendants connected to the main tree could not be removed";
        } else if (!ancestors) {
            text = name + " and " + cd +
                   " descendants removed.\nAncestors connected to the main tree could not be removed";
        } else if (!descendants) {
            text = name + " and " + ca +
                   " ancestors removed.\nDescendants connected to the main tree could not be removed";
        } else {
            text = name + ", " + ca + " ancestors, and " + cd + " descendants removed.";
        }
        finish(text);
    } catch (const std::exception&) {
        Step(RecountFamilyLinks);
        ShowProblem("Problem pruning Tree: ");
    }
}

}  // namespace lintora
