#include "record_store/trees.h"

#include <algorithm>
#include <random>
#include <vector>

#include "record_store/program_state.h"
#include "record_store/tables.h"
#include "tests/support/scripted_platform.h"

namespace lintora {
namespace {

using testing::CleanState;

// The numbering done the slow way, step by step as first written down: a
// queue scanned for duplicates, and whole-table scans for siblings, own
// families and children. Two changes are shared with the fast version: live
// trees skip number 99, and the children of a removed family reached through
// a live spouse join the tree being flooded.
class ReferenceNumbering {
public:
    void Run() {
        for (int32_t i = 1; i <= g.IndivCount; ++i)
            if (g.Indiv[i].iTree != 99) g.Indiv[i].iTree = g.Indiv[i].iGen = 0;
        for (int32_t f = 1; f <= g.FamilCount; ++f)
            if (g.Famil[f].fTree != 99) g.Famil[f].fTree = g.Famil[f].fGen = 0;
        g.Trees.assign(1, TreeRec{});
        g.PrevTreeCount = g.TreeCount;
        g.TreeCount = 0;
        for (int32_t i = 1; i <= g.IndivCount; ++i) {
            if (g.Indiv[i].iTree != 0) continue;
            ++g.TreeCount;
            if (g.TreeCount == 99) {
                g.Trees.push_back(TreeRec{});
                ++g.TreeCount;
            }
            g.Trees.push_back(TreeRec{static_cast<int16_t>(g.TreeCount), g.Indiv[i].iRIN});
            queue_.clear();
            Bump(g.Indiv[i].iRIN, static_cast<int16_t>(g.TreeCount), 0);
            for (std::size_t k = 0; k < queue_.size(); ++k) Rel(k);
        }
    }
private:
    struct Entry {
        int32_t indiv;
        int16_t tree, level;
    };
    std::vector<Entry> queue_;

    void Bump(int32_t indiv, int16_t tree, int level) {
        if (indiv == 0) return;
        for (const Entry& e : queue_)
            if (e.indiv == indiv) return;
        if (g.Indiv[indiv].iTree != 0) return;
        queue_.push_back({indiv, tree, static_cast<int16_t>(level)});
    }
    void Rel(std::size_t k) {
        const Entry e = queue_[k];
        IndivRec& p = g.Indiv[e.indiv];
        if (p.iTree == 0) {
            p.iTree = e.tree;
            p.iGen = e.level;
        }
        if (p.iFamc > 0) {
            FamilRec& fc = g.Famil[p.iFamc];
            fc.fTree = e.tree;
            fc.fGen = static_cast<int16_t>(e.level + 1);
            if (fc.fHusb > 0) Bump(fc.fHusb, e.tree, e.level + 1);
            if (fc.fWife > 0) Bump(fc.fWife, e.tree, e.level + 1);
            for (int32_t j = 1; j <= g.IndivCount; ++j)
                if (g.Indiv[j].iFamc == fc.fRIN) Bump(g.Indiv[j].iRIN, e.tree, e.level);
        }
        for (int32_t f = 1; f <= g.FamilCount; ++f) {
            FamilRec& F = g.Famil[f];
            if (F.fHusb == p.iRIN) Own(F, F.fWife, e);
            if (F.fWife == p.iRIN) Own(F, F.fHusb, e);
        }
    }
    void Own(FamilRec& F, int32_t spouse, const Entry& e) {
        if (F.fTree == 0) {
            F.fTree = e.tree;
            F.fGen = e.level;
        }
        if (spouse > 0) Bump(spouse, e.tree, e.level);
        Child(F.fRIN, e);
    }
    void Child(int32_t fam, const Entry& e) {
        if (fam == 0 || g.Famil[fam].fRIN == 0) return;
        const FamilRec& F = g.Famil[fam];
        const bool removed = F.fTree == 99;
        for (int32_t j = 1; j <= g.IndivCount; ++j)
            if (g.Indiv[j].iFamc == F.fRIN)
                Bump(g.Indiv[j].iRIN, removed ? e.tree : F.fTree, removed ? e.level - 1 : F.fGen - 1);
    }
};

struct Numbers {
    std::vector<std::pair<int16_t, int16_t>> indiv, famil;
    std::vector<TreeRec> trees;
    int32_t count, prev;
    bool operator==(const Numbers&) const = default;
};

Numbers Capture() {
    Numbers n;
    for (int32_t i = 1; i <= g.IndivCount; ++i) n.indiv.push_back({g.Indiv[i].iTree, g.Indiv[i].iGen});
    for (int32_t f = 1; f <= g.FamilCount; ++f) n.famil.push_back({g.Famil[f].fTree, g.Famil[f].fGen});
    n.trees = g.Trees;
    n.count = g.TreeCount;
    n.prev = g.PrevTreeCount;
    return n;
}

class TreesTest : public CleanState {
protected:
    int32_t Person(int32_t famc = 0) {
        int32_t i = AddIndiv();
        g.Indiv[i].iFamc = famc;
        return i;
    }
    int32_t Family(int32_t husb, int32_t wife) {
        int32_t f = AddFamil();
        g.Famil[f].fHusb = husb;
        g.Famil[f].fWife = wife;
        return f;
    }
    // A random family graph: couples, children, loops, cross-generation
    // marriages, a person married to himself, and some removed records.
    void RandomGraph(std::mt19937& rng, int people, int families) {
        g.IndivCount = g.FamilCount = 0;  // every add writes its whole record
        std::uniform_int_distribution<int> anyone(0, people), pct(0, 99);
        for (int i = 0; i < people; ++i) Person();
        for (int f = 0; f < families; ++f) {
            int h = anyone(rng), w = anyone(rng);
            if (pct(rng) < 3) w = h;
            Family(h, w);
        }
        std::uniform_int_distribution<int> anyFamily(1, std::max(families, 1));
        for (int i = 1; i <= people; ++i) {
            if (families > 0 && pct(rng) < 60) g.Indiv[i].iFamc = anyFamily(rng);
            if (pct(rng) < 5) g.Indiv[i].iTree = 99;
        }
        for (int f = 1; f <= families; ++f) {
            if (pct(rng) < 5) {
                g.Famil[f].fTree = 99;
                g.Famil[f].fGen = static_cast<int16_t>(pct(rng) - 50);
            }
        }
    }
};

TEST_F(TreesTest, MatchesTheStepByStepNumberingOnRandomGraphs) {
    std::mt19937 rng(20261207);
    struct Shape {
        int people, families, runs;
    } shapes[] = {{0, 0, 1}, {1, 0, 2}, {8, 3, 200}, {40, 15, 200}, {120, 60, 80}, {300, 60, 10}};
    for (const Shape& s : shapes) {
        for (int run = 0; run < s.runs; ++run) {
            RandomGraph(rng, s.people, s.families);
            g.TreeCount = run;  // carried into PrevTreeCount
            const std::vector<IndivRec> people(g.Indiv.begin(), g.Indiv.begin() + s.people + 1);
            const std::vector<FamilRec> families(g.Famil.begin(), g.Famil.begin() + s.families + 1);
            ReferenceNumbering ref;
            ref.Run();
            const Numbers want = Capture();
            std::copy(people.begin(), people.end(), g.Indiv.begin());
            std::copy(families.begin(), families.end(), g.Famil.begin());
            g.TreeCount = run;
            LoadGenTree();
            ASSERT_EQ(Capture(), want) << s.people << " people, run " << run;
            for (int32_t i = 1; i <= g.IndivCount; ++i) {
                if (people[i].iTree != 99) {
                    ASSERT_NE(g.Indiv[i].iTree, 99);
                }
            }
        }
    }
}

TEST_F(TreesTest, LevelsFollowGenerations) {
    // Grandparents 1+2, parents 3+4, child 5.
    auto build = [&](bool childFirst) {
        ResetProgramState();
        std::vector<int32_t> ids(6);
        if (childFirst) ids[5] = Person();
        for (int n = 1; n <= 4; ++n) ids[n] = Person();
        if (!childFirst) ids[5] = Person();
        int32_t gp = Family(ids[1], ids[2]);
        g.Indiv[ids[3]].iFamc = gp;
        int32_t p = Family(ids[3], ids[4]);
        g.Indiv[ids[5]].iFamc = p;
        LoadGenTree();
        return std::pair{ids, std::pair{gp, p}};
    };
    {
        auto [ids, fams] = build(true);
        EXPECT_EQ(g.TreeCount, 1);
        EXPECT_EQ(g.Indiv[ids[5]].iGen, 0);
        EXPECT_EQ(g.Indiv[ids[3]].iGen, 1);
        EXPECT_EQ(g.Indiv[ids[4]].iGen, 1);  // spouse at the person's level
        EXPECT_EQ(g.Indiv[ids[1]].iGen, 2);
        EXPECT_EQ(g.Indiv[ids[2]].iGen, 2);
        EXPECT_EQ(g.Famil[fams.second].fGen, 1);
        EXPECT_EQ(g.Famil[fams.first].fGen, 2);
        EXPECT_EQ(g.Trees[1].tStart, ids[5]);
    }
    {
        auto [ids, fams] = build(false);
        EXPECT_EQ(g.Indiv[ids[1]].iGen, 0);
        EXPECT_EQ(g.Indiv[ids[2]].iGen, 0);
        EXPECT_EQ(g.Indiv[ids[3]].iGen, -1);
        EXPECT_EQ(g.Indiv[ids[5]].iGen, -2);
        EXPECT_EQ(g.Famil[fams.second].fGen, -1);
    }
}

TEST_F(TreesTest, SeparateGroupsAndLoneRecords) {
    // Empty tables.
    g.TreeCount = 4;
    LoadGenTree();
    EXPECT_EQ(g.TreeCount, 0);
    EXPECT_EQ(g.PrevTreeCount, 4);
    EXPECT_EQ(g.Trees.size(), 1u);

    int32_t a = Person(), b = Person(), lone = Person(), c = Person(), d = Person();
    int32_t f1 = Family(a, c), f2 = Family(b, d), empty = Family(0, 0);
    LoadGenTree();
    EXPECT_EQ(g.TreeCount, 3);
    EXPECT_EQ(g.Indiv[a].iTree, 1);
    EXPECT_EQ(g.Indiv[c].iTree, 1);
    EXPECT_EQ(g.Famil[f1].fTree, 1);
    EXPECT_EQ(g.Indiv[b].iTree, 2);
    EXPECT_EQ(g.Famil[f2].fTree, 2);
    EXPECT_EQ(g.Indiv[lone].iTree, 3);
    EXPECT_EQ(g.Indiv[lone].iGen, 0);
    EXPECT_EQ(g.Famil[empty].fTree, 0);
    EXPECT_EQ((std::vector<TreeRec>{{}, {1, a}, {2, b}, {3, lone}}), g.Trees);

    const Numbers once = Capture();
    LoadGenTree();
    Numbers twice = Capture();
    EXPECT_EQ(twice.prev, twice.count);
    twice.prev = once.prev;
    EXPECT_EQ(twice, once);
}

TEST_F(TreesTest, RemovedPersonKeepsItsMarkAndJoinsNothing) {
    // Husband 1 and wife 3 are linked only through removed child 2's family.
    int32_t h = Person(), removed = Person(), w = Person();
    int32_t f1 = Family(h, 0), f2 = Family(0, w);
    g.Indiv[removed].iTree = 99;
    g.Indiv[removed].iFamc = f1;
    int32_t f3 = Family(removed, 0);
    g.Indiv[w].iFamc = f3;
    g.Famil[f3].fTree = 99;
    LoadGenTree();
    EXPECT_EQ(g.Indiv[removed].iTree, 99);
    EXPECT_EQ(g.TreeCount, 2);
    EXPECT_EQ(g.Indiv[h].iTree, 1);
    EXPECT_EQ(g.Indiv[w].iTree, 2);
    EXPECT_EQ(g.Famil[f2].fTree, 2);
    // A removed family reached as a live person's family as child takes its tree.
    EXPECT_EQ(g.Famil[f3].fTree, 2);
}

TEST_F(TreesTest, ChildrenOfARemovedFamilyStayLive) {
    int32_t father = Person(), child = Person();
    int32_t f = Family(father, 0);
    g.Famil[f].fTree = 99;
    g.Famil[f].fGen = 40;
    g.Indiv[child].iFamc = f;
    g.Indiv[child].iGen = 7;
    // Reached through the father first: the child joins tree 1 below him.
    LoadGenTree();
    EXPECT_EQ(g.Indiv[child].iTree, 1);
    EXPECT_EQ(g.Indiv[child].iGen, -1);
}

TEST_F(TreesTest, LiveTreesSkipTheRemovedMark) {
    for (int i = 0; i < 120; ++i) Person();
    LoadGenTree();
    EXPECT_EQ(g.Indiv[98].iTree, 98);
    EXPECT_EQ(g.Indiv[99].iTree, 100);
    EXPECT_EQ(g.Indiv[120].iTree, 121);
    EXPECT_EQ(g.TreeCount, 121);
    ASSERT_EQ(g.Trees.size(), 122u);
    EXPECT_EQ(g.Trees[99], TreeRec{});
    EXPECT_EQ(g.Trees[100], (TreeRec{100, 99}));
    for (int32_t i = 1; i <= g.IndivCount; ++i) EXPECT_NE(g.Indiv[i].iTree, 99);
}

TEST_F(TreesTest, LinksOutsideTheTablesAreIgnored) {
    int32_t a = Person(), b = Person();
    g.Indiv[a].iFamc = 7;   // past FamilCount
    g.Indiv[b].iFamc = -3;
    int32_t f = Family(a, 50);  // wife past IndivCount
    g.Famil[f + 1].fHusb = b;  // record past FamilCount is not a family
    g.Indiv[50].iFamc = f;      // nor is a record past IndivCount a person
    LoadGenTree();
    EXPECT_EQ(g.TreeCount, 2);
    EXPECT_EQ(g.Indiv[50].iTree, 0);
    EXPECT_EQ(g.Famil[f + 1].fTree, 0);
    EXPECT_EQ(g.Famil[f].fTree, 1);
}

}  // namespace
}  // namespace lintora
