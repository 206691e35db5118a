#pragma once
// Pruning: a person leaves the work, with his ancestors, his descendants or
// both as far as they are no longer tied to the main tree (tree 1).
// Removed records are marked with tree 99 and detached; RenumberTables then
// compacts the tables.
#include <cstdint>
#include <string>

namespace lintora {

// The prune panel's options, in the order its buttons stand.
enum class PruneOption { Ancestors = 0, Descendants = 1, PersonOnly = 2, All = 3 };

struct PrunePanelCaptions {
    std::string identity;     // "Remove John SMITH and..."
    std::string ancestors;    // "all ancestors"
    std::string descendants;  // "all descendants"
    std::string personOnly;   // "John SMITH only"
    std::string all;          // "all ancestors and descendants"
};

// The prune panel as the core sees it. The main window installs its own;
// until then the do-nothing one is used.
class PrunePanelView {
public:
    virtual ~PrunePanelView() = default;
    virtual void Show(const PrunePanelCaptions& /*captions*/, PruneOption /*selected*/) {}
    virtual void Hide() {}
};
PrunePanelView& PrunePanel();
// Installs p (not owned); nullptr goes back to the do-nothing panel.
void InstallPrunePanel(PrunePanelView* p);

// The prune panel's captions for individual t (given names and surname).
PrunePanelCaptions PruneCaptions(int32_t t);

// A live individual of the work (1..IndivCount, not removed).
bool PrunableIndiv(int32_t t);

// ---- Steps (the workspace's prune commands run them) ----

// Marks g.PruneIndiv and, by the option, the trees of his ancestors and
// descendants that are not the main tree as removed, puts an "<unknown>" in
// his place in each family with children, and tells the user what went.
// Spouse and child counts are recounted from the links at the end.
void PruneTree(PruneOption option);

}  // namespace lintora
