#pragma once
// Checks shared by the tests that feed damaged input to the program: the
// record tables stay consistent, and a snapshot to compare them with.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "record_store/program_state.h"

namespace lintora::testing {

// The records in use with the counts, surname index sizes and tree count
// derived from them.
struct TablesInUse {
    std::vector<IndivRec> indiv;
    std::vector<FamilRec> famil;
    std::vector<NoteRec> notes;
    decltype(g.NameIdxCount) nameIdxCount;
    int32_t treeCount;

    static TablesInUse Now() {
        return {{g.Indiv.begin(), g.Indiv.begin() + g.IndivCount + 1},
                {g.Famil.begin(), g.Famil.begin() + g.FamilCount + 1},
                {g.Notes.begin(), g.Notes.begin() + g.NotesCount + 1},
                g.NameIdxCount,
                g.TreeCount};
    }
    bool operator==(const TablesInUse&) const = default;
};

// Every count within its table and every link naming a record that is
// there; nobody is both partners of a family or a child of his own marriage.
inline void ExpectTablesConsistent() {
    auto within = [](auto value, auto last) { return value >= 0 && value <= last; };
    ASSERT_TRUE(within(g.IndivCount, kMaxIndiv)) << g.IndivCount;
    ASSERT_TRUE(within(g.FamilCount, kMaxFamil)) << g.FamilCount;
    ASSERT_TRUE(within(g.NotesCount, kMaxNotes)) << g.NotesCount;
    ASSERT_TRUE(within(g.SourceCount, static_cast<int32_t>(g.Source.size()) - 1)) << g.SourceCount;
    ASSERT_TRUE(within(g.RepositoryCount, static_cast<int32_t>(g.Repository.size()) - 1)) << g.RepositoryCount;
    for (int32_t i = 1; i <= g.IndivCount; ++i) {
        const IndivRec& I = g.Indiv[i];
        ASSERT_TRUE(within(I.iFamc, g.FamilCount)) << "individual " << i << " child of " << I.iFamc;
        ASSERT_TRUE(within(I.iSource, g.SourceCount)) << "individual " << i << " cites " << I.iSource;
        if (I.iFamc > 0) {
            const FamilRec& F = g.Famil[I.iFamc];
            ASSERT_TRUE(F.fHusb != i && F.fWife != i) << "individual " << i << " is a child of his own marriage";
        }
    }
    for (int32_t f = 1; f <= g.FamilCount; ++f) {
        const FamilRec& F = g.Famil[f];
        ASSERT_TRUE(within(F.fHusb, g.IndivCount)) << "family " << f << " husband " << F.fHusb;
        ASSERT_TRUE(within(F.fWife, g.IndivCount)) << "family " << f << " wife " << F.fWife;
        ASSERT_FALSE(F.fHusb != 0 && F.fHusb == F.fWife) << "family " << f << " has one person as both partners";
        ASSERT_TRUE(within(F.fSource, g.SourceCount)) << "family " << f << " cites " << F.fSource;
    }
    for (int32_t n = 1; n <= g.NotesCount; ++n) {
        const NoteRec& N = g.Notes[n];
        const std::string kind = N.nKind.trimmed();
        const int32_t owners = kind == "I" ? g.IndivCount : kind == "F" ? g.FamilCount : 0;
        ASSERT_TRUE(within(N.nOwner, owners)) << "note line " << n << " of kind " << kind << " owner " << N.nOwner;
        ASSERT_TRUE(within(N.nLen, 120)) << "note line " << n << " length " << N.nLen;
    }
    for (int32_t s = 1; s <= g.SourceCount; ++s)
        ASSERT_TRUE(within(g.Source[s].sRepos, g.RepositoryCount)) << "source " << s;
}

}  // namespace lintora::testing
