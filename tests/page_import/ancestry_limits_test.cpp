// The Ancestry and RootsWeb pages pasted into nearly full tables: each
// stops filing after the one table-full message and leaves the tables
// consistent.
#include <string>

#include "page_import/paste.h"
#include "record_store/program_state.h"
#include "record_store/tables.h"
#include "record_store/trees.h"
#include "tests/page_import/page_support.h"
#include "tests/support/scripted_platform.h"
#include "tests/support/table_checks.h"

namespace lintora {
namespace {

using testing::CleanState;
using testing::ReadPage;

class AncestryLimits : public CleanState, public ::testing::WithParamInterface<const char*> {
protected:
    void FillAllButThree() {
        g.IndivCount = kMaxIndiv - 3;
        for (int32_t i = 1; i <= g.IndivCount; ++i) {
            g.Indiv[i].iRIN = i;
            g.Indiv[i].iName = "Filler ELLIS";
            g.Indiv[i].iGivn = "Filler";
            g.Indiv[i].iSurn = "ELLIS";
        }
        g.FamilCount = kMaxFamil - 1;
        for (int32_t f = 1; f <= g.FamilCount; ++f) g.Famil[f].fRIN = f;
        BuildNameIndex();
        LoadGenTree();
    }
};

TEST_P(AncestryLimits, OneMessageThenTheFilingStops) {
    FillAllButThree();
    for (int k = 0; k < 20; ++k) ui.Answer(MsgResult::Ok);
    ProcessClipboard(ReadPage(GetParam()));
    int indivFull = 0, familFull = 0;
    for (const auto& box : ui.boxes) {
        indivFull += box.text.rfind("Individual table is full", 0) == 0;
        familFull += box.text.rfind("Family table is full", 0) == 0;
        EXPECT_EQ(box.text.rfind("Problem", 0), std::string::npos) << box.text;
    }
    // Whichever table fills first ends the filing; each says so once.
    EXPECT_LE(indivFull, 1);
    EXPECT_LE(familFull, 1);
    EXPECT_EQ(indivFull + familFull >= 1, true);
    EXPECT_LE(g.IndivCount, kMaxIndiv);
    EXPECT_LE(g.FamilCount, kMaxFamil);
    EXPECT_TRUE(g.IndivCount == kMaxIndiv || g.FamilCount == kMaxFamil);
    // Every box asked for: at most the two table messages and the new-tree note.
    EXPECT_LE(ui.boxes.size(), 3u);
    ui.answers.clear();
    testing::ExpectTablesConsistent();
}

INSTANTIATE_TEST_SUITE_P(Pages, AncestryLimits,
                         ::testing::Values("anc_individual.txt", "anc_register.txt", "anc_ahnentafel.txt",
                                           "anc_descendants.txt", "anc_pedigree_table.txt", "anc_pedigree_text.txt"));

}  // namespace
}  // namespace lintora
