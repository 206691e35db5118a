#include "record_store/trees.h"

#include <exception>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "record_store/program_state.h"

namespace lintora {

namespace {

// Lists of record numbers grouped by a key 1..keys, each list in increasing
// record order (compressed rows: list of key k is items[first[k]..first[k+1])).
struct Grouped {
    std::vector<int32_t> first;
    std::vector<int32_t> items;

    template <typename KeysOf>
    void Build(int32_t keys, int32_t records, KeysOf keysOf) {
        first.assign(static_cast<std::size_t>(keys) + 2, 0);
        int32_t k[2];
        for (int32_t r = 1; r <= records; ++r)
            for (int n = keysOf(r, k), i = 0; i < n; ++i) ++first[k[i] + 1];
        for (int32_t key = 1; key <= keys + 1; ++key) first[key] += first[key - 1];
        items.assign(first[keys + 1], 0);
        std::vector<int32_t> fill(first.begin(), first.end() - 1);
        for (int32_t r = 1; r <= records; ++r)
            for (int n = keysOf(r, k), i = 0; i < n; ++i) items[fill[k[i]]++] = r;
    }
    const int32_t* begin(int32_t key) const { return items.data() + first[key]; }
    const int32_t* end(int32_t key) const { return items.data() + first[key + 1]; }
};

struct QueueEntry {
    int32_t indiv;
    int16_t tree;
    int16_t level;
};

class Flood {
public:
    Flood() {
        const int32_t ni = g.IndivCount, nf = g.FamilCount;
        children_.Build(nf, ni, [nf](int32_t i, int32_t* k) {
            int32_t fc = g.Indiv[i].iFamc;
            if (fc < 1 || fc > nf) return 0;
            k[0] = fc;
            return 1;
        });
        spouseFams_.Build(ni, nf, [ni](int32_t f, int32_t* k) {
            const FamilRec& F = g.Famil[f];
            int n = 0;
            if (F.fHusb >= 1 && F.fHusb <= ni) k[n++] = F.fHusb;
            if (F.fWife >= 1 && F.fWife <= ni && F.fWife != F.fHusb) k[n++] = F.fWife;
            return n;
        });
        queued_.assign(static_cast<std::size_t>(ni) + 1, false);
        childrenQueued_.assign(static_cast<std::size_t>(nf) + 1, false);
        queue_.reserve(static_cast<std::size_t>(ni));
    }

    // Floods one tree from individual start; a queue only ever holds one tree.
    void Run(int32_t start, int16_t tree) {
        queue_.clear();
        Bump(start, tree, 0);
        for (std::size_t k = 0; k < queue_.size(); ++k) {
            position_ = static_cast<int32_t>(k) + 1;
            Expand(queue_[k]);
        }
    }

    int32_t QueueCount() const { return static_cast<int32_t>(queue_.size()); }
    int32_t Position() const { return position_; }

private:
    void Bump(int32_t indiv, int16_t tree, int32_t level) {
        if (indiv < 1 || indiv > g.IndivCount || queued_[indiv] || g.Indiv[indiv].iTree != 0) return;
        queued_[indiv] = true;
        queue_.push_back({indiv, tree, static_cast<int16_t>(level)});
    }

    // Children of family f; once every child has been offered to the queue,
    // offering them again changes nothing.
    void BumpChildren(int32_t f, int16_t tree, int32_t level) {
        if (childrenQueued_[f]) return;
        childrenQueued_[f] = true;
        for (const int32_t* j = children_.begin(f); j != children_.end(f); ++j) Bump(*j, tree, level);
    }

    void Expand(QueueEntry e) {
        const int32_t p = e.indiv;
        const int16_t t = e.tree;
        const int32_t L = e.level;
        IndivRec& P = g.Indiv[p];
        if (P.iTree == 0) {
            P.iTree = t;
            P.iGen = static_cast<int16_t>(L);
        }
        const int32_t fc = P.iFamc;
        if (fc >= 1 && fc <= g.FamilCount) {
            FamilRec& F = g.Famil[fc];
            F.fTree = t;
            F.fGen = static_cast<int16_t>(L + 1);
            if (F.fHusb > 0) Bump(F.fHusb, t, L + 1);
            if (F.fWife > 0) Bump(F.fWife, t, L + 1);
            BumpChildren(fc, t, L);
        }
        for (const int32_t* f = spouseFams_.begin(p); f != spouseFams_.end(p); ++f) {
            FamilRec& F = g.Famil[*f];
            if (F.fHusb == p) OwnFamily(F, *f, F.fWife, t, L);
            if (F.fWife == p) OwnFamily(F, *f, F.fHusb, t, L);
        }
    }

    void OwnFamily(FamilRec& F, int32_t f, int32_t spouse, int16_t t, int32_t L) {
        if (F.fTree == 0) {
            F.fTree = t;
            F.fGen = static_cast<int16_t>(L);
        }
        if (spouse > 0) Bump(spouse, t, L);
        // A removed family reached through a live spouse must not hand its
        // removed mark on to the children: they join the tree being flooded.
        if (F.fTree == kRemovedTree)
            BumpChildren(f, t, L - 1);
        else
            BumpChildren(f, F.fTree, F.fGen - 1);
    }

    Grouped children_;    // by family: individuals whose iFamc it is
    Grouped spouseFams_;  // by individual: families where he is husband or wife
    std::vector<bool> queued_;
    std::vector<bool> childrenQueued_;
    std::vector<QueueEntry> queue_;
    int32_t position_ = 0;
};

}  // namespace

void LoadGenTree() {
    int32_t queueCount = 0, position = 0;
    try {
        for (int32_t i = 1; i <= g.IndivCount; ++i) {
            IndivRec& r = g.Indiv[i];
            if (r.iTree != kRemovedTree) r.iTree = r.iGen = 0;
        }
        for (int32_t f = 1; f <= g.FamilCount; ++f) {
            FamilRec& r = g.Famil[f];
            if (r.fTree != kRemovedTree) r.fTree = r.fGen = 0;
        }
        g.Trees.assign(1, TreeRec{});
        g.PrevTreeCount = g.TreeCount;
        g.TreeCount = 0;

        Flood flood;
        for (int32_t i = 1; i <= g.IndivCount; ++i) {
            if (g.Indiv[i].iTree != 0) continue;
            int32_t number = g.TreeCount + 1;
            if (number == kRemovedTree) {
                g.Trees.push_back(TreeRec{});  // the removed mark is never a live tree
                ++number;
            }
            g.TreeCount = number;
            g.Trees.push_back(TreeRec{static_cast<int16_t>(number), g.Indiv[i].iRIN});
            flood.Run(i, static_cast<int16_t>(number));
            queueCount = flood.QueueCount();
            position = flood.Position();
        }
    } catch (const std::exception&) {
        ShowProblem("Problem loading GenTree: " + std::to_string(queueCount) + " - " +
                    std::to_string(position));
    }
}

}  // namespace lintora
