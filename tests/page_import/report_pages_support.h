#pragma once
// Shared by the tests of the Ancestry and RootsWeb page parsers: a clean
// state with the recording main window, and finding who a paste filed.
#include <string>

#include "page_import/paste.h"
#include "record_store/program_state.h"
#include "tests/page_import/page_support.h"
#include "tests/support/scripted_platform.h"
#include "tests/support/table_checks.h"

namespace lintora::testing {

class ReportPageTest : public CleanState {
protected:
    RecordingWindows windows;

    void SetUp() override {
        CleanState::SetUp();
        InstallMainWindow(&windows);
    }
    void TearDown() override {
        InstallMainWindow(nullptr);
        CleanState::TearDown();
    }

    // The nth person of that name; 0, and a failure, when there is none.
    static int32_t ByName(const std::string& name, int nth = 1) {
        for (int32_t i = 1; i <= g.IndivCount; ++i)
            if (g.Indiv[i].iName.trimmed() == name && --nth == 0) return i;
        ADD_FAILURE() << "nobody named " << name;
        return 0;
    }
    static const IndivRec& Person(const std::string& name) { return g.Indiv[ByName(name)]; }
    // A page naming the child's mother and an unnamed father ("?"), and
    // nothing else of her: pasted twice, the second time the user takes the
    // mother and her unnamed husband follows her.
    void ExpectUnnamedFatherFoundAgain(const std::string& page, const std::string& child, const std::string& mother,
                                       int32_t individuals, int32_t families) {
        ProcessClipboard(page);
        ASSERT_EQ(g.IndivCount, individuals);
        ASSERT_EQ(g.FamilCount, families);
        const int32_t parents = Person(child).iFamc;
        ASSERT_GT(parents, 0);
        const int32_t wife = ByName(mother), unnamed = ByName("<unknown>");
        EXPECT_EQ(g.Famil[parents].fWife, wife);
        EXPECT_EQ(g.Famil[parents].fHusb, unnamed);

        ui.Answer(MsgResult::Yes);
        ui.matchAnswers.push_back(wife);
        ProcessClipboard(page);
        ASSERT_EQ(ui.matchRequests.size(), 1u);
        EXPECT_EQ(ui.matchRequests[0].name, mother);
        EXPECT_EQ(g.IndivCount, individuals);
        EXPECT_EQ(g.FamilCount, families);
        EXPECT_EQ(Person(child).iFamc, parents);
        EXPECT_EQ(g.Indiv[unnamed].iFamsCount, 1);
        ExpectTablesConsistent();
    }
    // The family of the two named persons, husband first; -1, and a failure, when none.
    static int32_t Couple(const std::string& husband, const std::string& wife) {
        const int32_t h = ByName(husband), w = ByName(wife);
        for (int32_t f = 1; f <= g.FamilCount; ++f)
            if (g.Famil[f].fHusb == h && g.Famil[f].fWife == w) return f;
        ADD_FAILURE() << "no family " << husband << " + " << wife;
        return -1;
    }
};

}  // namespace lintora::testing
