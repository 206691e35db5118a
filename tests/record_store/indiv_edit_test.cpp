#include "record_store/indiv_edit.h"

#include <string>
#include <vector>

#include "record_store/family_links.h"
#include "record_store/program_state.h"
#include "record_store/tables.h"
#include "record_store/trees.h"
#include "tests/support/scripted_platform.h"
#include "tests/support/table_checks.h"

namespace lintora {
namespace {

class IndivEditTest : public testing::CleanState {
protected:
    void SetUp() override {
        CleanState::SetUp();
        for (const char* sex : {"M", "F", "U", "U"}) {
            const int32_t i = AddIndiv();
            g.Indiv[i].iSex = sex;
            g.Indiv[i].iGivn = "P" + std::to_string(i);
            g.Indiv[i].iSurn = "Doe";
        }
        AddFamil();
        g.Famil[1].fHusb = 1;
        g.Famil[1].fWife = 2;
        g.Indiv[3].iFamc = 1;
        g.Famil[1].fChilCount = 1;
        g.Indiv[1].iFamsCount = g.Indiv[2].iFamsCount = 1;
    }
};

TEST_F(IndivEditTest, NumbersAreWholeAndWithinTheirField) {
    int64_t v = 0;
    const struct {
        const char* text;
        bool ok;
        int64_t value;
    } cases[] = {{" 12 ", true, 12}, {"2.5", true, 2}, {"3.5", true, 4}, {"-7", true, -7}, {"+4", true, 4},
                 {"1e3", true, 1000}, {"", false, 0}, {"12a", false, 0}, {"32768", false, 0}, {"nan", false, 0},
                 {"--1", false, 0}};
    for (const auto& c : cases) {
        v = -99;
        EXPECT_EQ(ReadWholeNumber(c.text, INT16_MIN, INT16_MAX, v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
        }
    }
}

TEST_F(IndivEditTest, ChangeDetectionAndStoringOutsideTheTables) {
    EditValues v = EditValuesOf(1, 1);
    EXPECT_EQ(v.givn, " P1");
    EXPECT_EQ(v.cdNo, " 0");
    EXPECT_EQ(v.sex, "M");
    EXPECT_FALSE(EditDiffers(v, 1, 1));
    v.source = -1;  // nothing picked is no change
    EXPECT_FALSE(EditDiffers(v, 1, 1));
    v.cdNo = "00";
    EXPECT_TRUE(EditDiffers(v, 1, 1));
    v.cdNo = " 0";
    v.mDate = " 1870";
    EXPECT_TRUE(EditDiffers(v, 1, 1));
    EXPECT_FALSE(EditDiffers(v, 1, 0));  // no marriage shown: its boxes do not count
    // Out of the table: nothing to compare, nothing stored, record 0 untouched.
    std::vector<std::string> kept;
    EXPECT_FALSE(EditDiffers(v, 0, 1));
    EXPECT_FALSE(StoreEditValues(v, 0, 1, false, kept));
    EXPECT_FALSE(StoreEditValues(v, g.IndivCount + 1, 1, false, kept));
    EXPECT_EQ(g.Indiv[0], IndivRec{});
    EXPECT_TRUE(StoreEditValues(v, 1, 0, false, kept));
    EXPECT_EQ(g.Famil[0], FamilRec{});
    EXPECT_EQ(g.Famil[1].fmDate.value(), "");
    // A removed person is still in the table the editor steps through.
    g.Indiv[4].iTree = kRemovedTree;
    EXPECT_TRUE(InIndivTable(4));
    EXPECT_FALSE(InIndivTable(g.IndivCount + 1));
    EXPECT_TRUE(InFamilTable(1));
    EXPECT_FALSE(InFamilTable(0));
    EXPECT_FALSE(InFamilTable(g.FamilCount + 1));
}

TEST_F(IndivEditTest, ChangingSexExchangesRolesInEveryFamily) {
    std::vector<std::string> kept;
    EditValues v = EditValuesOf(1, 1);
    v.sex = "F";
    StoreEditValues(v, 1, 1, false, kept);
    EXPECT_EQ(g.Famil[1].fHusb, 2);
    EXPECT_EQ(g.Famil[1].fWife, 1);
    EXPECT_EQ(g.Indiv[2].iSex.value(), "M");
    // Back to M from the wife's side; a U changes no family.
    v.sex = "M";
    StoreEditValues(v, 1, 1, false, kept);
    EXPECT_EQ(g.Famil[1].fHusb, 1);
    EXPECT_EQ(g.Famil[1].fWife, 2);
    EXPECT_EQ(g.Indiv[2].iSex.value(), "F");
    v.sex = "U";
    StoreEditValues(v, 1, 1, false, kept);
    EXPECT_EQ(g.Famil[1].fHusb, 1);
    // Anything else is kept out of the record.
    v.sex = "m";
    StoreEditValues(v, 1, 1, false, kept);
    EXPECT_EQ(g.Indiv[1].iSex.value(), "U");
    EXPECT_EQ(kept, std::vector<std::string>{"Sex must be either M, F, or U"});
    // The key: first given name and surname, 10 blanks for no given name.
    v.givn = " ";
    v.surn = " Smith";
    kept.clear();
    StoreEditValues(v, 1, 1, false, kept);
    EXPECT_EQ(g.Indiv[1].iNameKey.padded().substr(0, 10), std::string(10, ' '));
    EXPECT_EQ(g.Indiv[1].iName.value(), "Smith");
}

TEST_F(IndivEditTest, AWifeMadeMaleBecomesTheHusbandOfEachOfHerFamilies) {
    // P2 is the wife of P1 (their child P3) and, later, of nobody known
    // (her child P4).
    const int32_t second = AddFamil();
    g.Famil[second].fWife = 2;
    g.Indiv[4].iFamc = second;
    g.Indiv[2].iFamsCount = 2;
    std::vector<std::string> kept;
    EditValues v = EditValuesOf(2, 1);
    v.sex = "M";
    ASSERT_TRUE(StoreEditValues(v, 2, 1, false, kept));
    EXPECT_TRUE(kept.empty());
    EXPECT_EQ(g.Indiv[2].iSex.value(), "M");
    EXPECT_EQ(g.Famil[1].fHusb, 2);
    EXPECT_EQ(g.Famil[1].fWife, 1);
    EXPECT_EQ(g.Indiv[1].iSex.value(), "F");
    EXPECT_EQ(g.Famil[second].fHusb, 2);
    EXPECT_EQ(g.Famil[second].fWife, 0);
    // Children and counts stay as they were.
    EXPECT_EQ(g.Indiv[3].iFamc, 1);
    EXPECT_EQ(g.Indiv[4].iFamc, second);
    EXPECT_EQ(g.Indiv[1].iFamsCount, 1);
    EXPECT_EQ(g.Indiv[2].iFamsCount, 2);
    testing::ExpectTablesConsistent();
}

TEST_F(IndivEditTest, LinkRefusalsAndCountsThatNeverGoNegative) {
    // Himself, out of range, removed, his own parent or child.
    EXPECT_EQ(LinkNewSpouse(1, 1), 0);
    EXPECT_EQ(LinkNewSpouse(1, 0), 0);
    EXPECT_EQ(LinkNewSpouse(1, 99), 0);
    g.Indiv[4].iTree = kRemovedTree;
    EXPECT_EQ(LinkNewSpouse(1, 4), 0);
    EXPECT_EQ(LinkNewSpouse(3, 1), 0);
    EXPECT_EQ(LinkNewSpouse(1, 3), 0);
    EXPECT_EQ(LinkToParents(1, 1), 0);  // his own marriage
    EXPECT_EQ(LinkToParents(1, 2), 0);
    EXPECT_EQ(g.FamilCount, 1);
    // Two persons of sex U: the current one is the husband.
    g.Indiv[4].iTree = 0;
    const int32_t f = LinkNewSpouse(3, 4);
    ASSERT_EQ(f, 2);
    EXPECT_EQ(g.Famil[f].fHusb, 3);
    // Counts already at 0 stay there.
    g.Indiv[3].iFamsCount = 0;
    g.Famil[1].fChilCount = 0;
    EXPECT_TRUE(UnlinkFromParents(3));
    EXPECT_EQ(g.Famil[1].fChilCount, 0);
    EXPECT_FALSE(UnlinkFromParents(3));
    EXPECT_TRUE(UnlinkSpouseFamily(3, f, true));
    EXPECT_EQ(g.Indiv[3].iFamsCount, 0);
    EXPECT_FALSE(UnlinkSpouseFamily(3, f, true));  // removed already
    EXPECT_FALSE(UnlinkSpouseFamily(2, 0, true));
    EXPECT_FALSE(UnlinkSpouseFamily(4, 1, true));  // not a partner
    testing::ExpectTablesConsistent();

    // Links that already go round (as a damaged file may hold them) still
    // give an answer: 3 is 1's child and 1's father at once.
    g.Indiv[3].iFamc = 1;
    const int32_t round = AddFamil();
    g.Famil[round].fHusb = 3;
    g.Indiv[1].iFamc = round;
    EXPECT_TRUE(IsDescendant(3, 1));
    EXPECT_TRUE(IsDescendant(1, 1));
    EXPECT_FALSE(IsDescendant(4, 1));
    EXPECT_FALSE(IsDescendant(1, 4));
    EXPECT_EQ(LinkToParents(2, round), 0);  // her son's marriage
    EXPECT_EQ(LinkToParents(4, round), round);
}

}  // namespace
}  // namespace lintora
