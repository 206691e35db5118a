#pragma once
// Shared by the tests of the FamilySearch page parsers: parse a page into the
// scratch record, or paste it whole, and find what it filed.
#include <string>

#include "page_import/paste.h"
#include "record_store/program_state.h"
#include "tests/page_import/page_support.h"
#include "tests/support/scripted_platform.h"
#include "tests/support/table_checks.h"

namespace lintora::testing {

class FSPageTest : public CleanState {
protected:
    RecordingWindows windows;
    PageScratchRec& P = g.PageScratch;

    void SetUp() override {
        CleanState::SetUp();
        InstallWindowFakes(&windows);
    }
    void TearDown() override {
        RemoveWindowFakes();
        CleanState::TearDown();
    }

    // The page into PageLines and through one parser, as the paste entry runs it.
    void Parse(void (*parser)(), const std::string& text) {
        SplitPageText(text);
        InitPrep();
        parser();
    }

    static int32_t ByName(const std::string& name) {
        int32_t found = 0;
        for (int32_t i = 1; i <= g.IndivCount; ++i)
            if (g.Indiv[i].iName.trimmed() == name) {
                EXPECT_EQ(found, 0) << name << " filed twice";
                found = i;
            }
        EXPECT_GT(found, 0) << name << " not filed";
        return found;
    }
    static int32_t FamilyOf(int32_t h, int32_t w) {
        for (int32_t f = 1; f <= g.FamilCount; ++f)
            if (g.Famil[f].fHusb == h && g.Famil[f].fWife == w) return f;
        return 0;
    }
    // The page person of both Ancestral File sample pages and his parents.
    void ExpectAFSamplePerson() {
        EXPECT_EQ(P.pgName, "John Henry WHITLOCK");
        EXPECT_EQ(P.pgAFN, "1B2C-3DF");
        EXPECT_EQ(P.pgSex, "M");
        EXPECT_EQ(P.pgbDate, "12 Mar 1832");
        EXPECT_EQ(P.pgbPlace, "Wellsville, Allegany, New York");
        EXPECT_EQ(P.pgdDate, "4 Nov 1899");
        EXPECT_EQ(P.pgdPlace, "Provo, Utah, Utah");
        EXPECT_EQ(P.pgblDate, "7 Nov 1899");
        EXPECT_EQ(P.pgblPlace, "Provo City Cemetery, Provo, Utah, Utah");
        ASSERT_EQ(P.PageParentSetCount, 1);
        const PageParentSet& ps = P.PageParentSets[1];
        EXPECT_EQ(ps.psFatherName.value(), "Samuel WHITLOCK");
        EXPECT_EQ(ps.psFatherAFN.value(), "9K7L-2MN");
        EXPECT_EQ(ps.psMotherName.value(), "Abigail MARSH");
        EXPECT_EQ(ps.psMotherAFN.value(), "9K7L-3PQ");
    }
    // The child's parents are exactly this couple.
    static void ExpectChildOf(const std::string& child, const std::string& father, const std::string& mother) {
        const int32_t c = ByName(child), h = ByName(father), w = ByName(mother);
        const int32_t f = FamilyOf(h, w);
        EXPECT_GT(f, 0) << father << " and " << mother << " are no couple";
        EXPECT_EQ(g.Indiv[c].iFamc, f) << child << " is not their child";
    }
};

}  // namespace lintora::testing
