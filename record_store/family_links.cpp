#include "record_store/family_links.h"

#include <vector>

#include "record_store/matching.h"
#include "record_store/pedigree_view.h"
#include "record_store/program_state.h"
#include "record_store/tables.h"
#include "record_store/trees.h"

namespace lintora {

namespace {

void LessFams(int32_t i) {
    if (i > 0 && i <= g.IndivCount && g.Indiv[i].iFamsCount > 0) --g.Indiv[i].iFamsCount;
}

void MoreFams(int32_t i) {
    if (i > 0 && i <= g.IndivCount && g.Indiv[i].iFamsCount < INT16_MAX) ++g.Indiv[i].iFamsCount;
}

}  // namespace

int32_t CountChildren(int32_t fam) {
    if (fam <= 0 || fam > g.FamilCount) return 0;
    int32_t n = 0;
    for (int32_t i = 1; i <= g.IndivCount; ++i)
        if (g.Indiv[i].iFamc == fam && g.Indiv[i].iTree != kRemovedTree) ++n;
    return n;
}

bool IsDescendant(int32_t person, int32_t ancestor) {
    if (ancestor <= 0 || ancestor > g.IndivCount || person <= 0 || person > g.IndivCount) return false;
    // Children by family, and each person's own families, in one pass each.
    std::vector<std::vector<int32_t>> children(static_cast<std::size_t>(g.FamilCount) + 1);
    for (int32_t i = 1; i <= g.IndivCount; ++i) {
        const int32_t f = g.Indiv[i].iFamc;
        if (f > 0 && f <= g.FamilCount) children[static_cast<std::size_t>(f)].push_back(i);
    }
    std::vector<std::vector<int32_t>> families(static_cast<std::size_t>(g.IndivCount) + 1);
    for (int32_t f = 1; f <= g.FamilCount; ++f)
        for (const int32_t p : {g.Famil[f].fHusb, g.Famil[f].fWife})
            if (p > 0 && p <= g.IndivCount) families[static_cast<std::size_t>(p)].push_back(f);
    // Each person is visited once, so links that already loop still end.
    std::vector<char> seen(static_cast<std::size_t>(g.IndivCount) + 1, 0);
    std::vector<int32_t> queue{ancestor};
    seen[static_cast<std::size_t>(ancestor)] = 1;
    for (std::size_t k = 0; k < queue.size(); ++k)
        for (const int32_t f : families[static_cast<std::size_t>(queue[k])])
            for (const int32_t child : children[static_cast<std::size_t>(f)]) {
                if (child == person) return true;
                if (!seen[static_cast<std::size_t>(child)]) {
                    seen[static_cast<std::size_t>(child)] = 1;
                    queue.push_back(child);
                }
            }
    return false;
}

bool CanLinkSpouse(int32_t indiv, int32_t picked) {
    if (!LiveIndiv(indiv) || !LiveIndiv(picked) || indiv == picked) return false;
    // A person's own parent or child is no spouse for him.
    const int32_t fi = g.Indiv[indiv].iFamc, fp = g.Indiv[picked].iFamc;
    if (fi > 0 && fi <= g.FamilCount && (g.Famil[fi].fHusb == picked || g.Famil[fi].fWife == picked)) return false;
    if (fp > 0 && fp <= g.FamilCount && (g.Famil[fp].fHusb == indiv || g.Famil[fp].fWife == indiv)) return false;
    return true;
}

bool CanLinkParents(int32_t indiv, int32_t fam) {
    if (!LiveIndiv(indiv) || !LiveFamil(fam)) return false;
    // Neither his own marriage nor a descendant's: he would be his own forebear.
    for (const int32_t partner : {g.Famil[fam].fHusb, g.Famil[fam].fWife})
        if (partner == indiv || IsDescendant(partner, indiv)) return false;
    return true;
}

int32_t LinkNewSpouse(int32_t indiv, int32_t picked) {
    if (!CanLinkSpouse(indiv, picked)) return 0;
    const int32_t f = AddFamil();
    if (f == 0) return 0;
    const bool pickedIsHusband = g.Indiv[picked].iSex.trimmed() == "M" || g.Indiv[indiv].iSex.trimmed() == "F";
    g.Famil[f].fHusb = pickedIsHusband ? picked : indiv;
    g.Famil[f].fWife = pickedIsHusband ? indiv : picked;
    MoreFams(indiv);
    MoreFams(picked);
    LoadGenTree();
    return f;
}

bool UnlinkSpouseFamily(int32_t indiv, int32_t fam, bool withChildren) {
    if (indiv <= 0 || indiv > g.IndivCount || !LiveFamil(fam)) return false;
    FamilRec& F = g.Famil[fam];
    const bool husband = F.fHusb == indiv;
    if (!husband && F.fWife != indiv) return false;
    if (withChildren) {
        LessFams(F.fHusb);
        LessFams(F.fWife);
        for (int32_t i = 1; i <= g.IndivCount; ++i)
            if (g.Indiv[i].iFamc == fam) g.Indiv[i].iFamc = 0;
        F.fChilCount = 0;
        F.fHusb = 0;
        F.fWife = 0;
        F.fTree = kRemovedTree;
    } else {
        LessFams(indiv);
        // A full table leaves the place empty rather than filling it with someone else.
        const int32_t unknown = CreateIndivFromPage("<unknown>", "", "", 0, 0, "");
        if (unknown > 0) MoreFams(unknown);
        // The family may have moved while the new person was made.
        FamilRec& G = g.Famil[fam];
        (husband ? G.fHusb : G.fWife) = unknown;
    }
    LoadGenTree();
    return true;
}

int32_t LinkToParents(int32_t indiv, int32_t fam) {
    if (!CanLinkParents(indiv, fam)) return 0;
    FamilRec& F = g.Famil[fam];
    if (g.Indiv[indiv].iFamc == fam) return fam;
    g.Indiv[indiv].iFamc = fam;
    if (F.fChilCount < INT16_MAX) ++F.fChilCount;
    LoadGenTree();
    return fam;
}

bool UnlinkFromParents(int32_t indiv) {
    if (indiv <= 0 || indiv > g.IndivCount) return false;
    const int32_t f = g.Indiv[indiv].iFamc;
    if (f == 0) return false;
    g.Indiv[indiv].iFamc = 0;
    if (f > 0 && f <= g.FamilCount && g.Famil[f].fChilCount > 0) --g.Famil[f].fChilCount;
    LoadGenTree();
    return true;
}

int32_t UnlinkChildrenOf(int32_t fam) {
    if (fam <= 0 || fam > g.FamilCount) return 0;
    int32_t n = 0;
    for (int32_t i = 1; i <= g.IndivCount; ++i)
        if (g.Indiv[i].iFamc == fam) {
            g.Indiv[i].iFamc = 0;
            ++n;
        }
    g.Famil[fam].fChilCount = 0;
    LoadGenTree();
    return n;
}

}  // namespace lintora
