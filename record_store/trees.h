#pragma once
// Connected-tree numbering: every live individual and every family reached
// from one gets the number of its tree (individuals joined by parent, child
// and spouse links) and a generation level inside it.
#include <cstdint>

namespace lintora {

// Tree number that marks a record removed by pruning; live trees skip it.
inline constexpr int16_t kRemovedTree = 99;

struct TreeRec {
    int16_t tNo = 0;     // the tree's number, equal to its index in g.Trees
    int32_t tStart = 0;  // iRIN of the individual the tree was flooded from

    bool operator==(const TreeRec&) const = default;
};

// Renumbers all trees from scratch: iTree/iGen of every live individual,
// fTree/fGen of every family reached, g.Trees, g.TreeCount (the highest tree
// number) and g.PrevTreeCount. Trees are flooded breadth first from the
// lowest-numbered individual not yet numbered.
void LoadGenTree();

}  // namespace lintora
