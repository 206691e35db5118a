#pragma once
// Shared by the prune tests of the core and of the workspace commands: the
// windows and the prune panel as the prune sees them, and small builders.
#include <string>
#include <utility>
#include <vector>

#include "platform/window_ports.h"
#include "record_store/matching.h"
#include "record_store/notes.h"
#include "record_store/program_state.h"
#include "record_store/prune.h"
#include "record_store/tables.h"
#include "record_store/trees.h"
#include "tests/support/scripted_platform.h"
#include "tests/support/table_checks.h"

namespace lintora::testing {

// The windows as the prune sees them: status label and tool tips.
class PruneWindows : public MainWindowPort {
public:
    std::string label;
    std::vector<std::pair<int, std::string>> tips;
    void SetStatusLabel(const std::string& s) override { label = s; }
    void SetToolButtonTip(int index, const std::string& tip) override { tips.emplace_back(index, tip); }
    void FindTreePointer(int32_t indiv) override { g.TreeSlot[0] = indiv; }
};

// A prune panel that remembers what it was asked to show.
class RecordingPanel : public PrunePanelView {
public:
    int shown = 0, hidden = 0;
    PrunePanelCaptions captions;
    PruneOption selected = PruneOption::All;
    void Show(const PrunePanelCaptions& c, PruneOption s) override {
        ++shown;
        captions = c;
        selected = s;
    }
    void Hide() override { ++hidden; }
};

class PruneTest : public CleanState {
protected:
    PruneWindows windows;
    RecordingPanel panel;

    void SetUp() override {
        CleanState::SetUp();
        InstallWindowFakes(&windows);
        InstallPrunePanel(&panel);
    }
    void TearDown() override {
        InstallPrunePanel(nullptr);
        RemoveWindowFakes();
        CleanState::TearDown();
    }

    static int32_t Person(const std::string& name, const char* sex) {
        const int32_t i = CreateIndivFromPage(name, "", "", 0, 0, "");
        EXPECT_GT(i, 0);
        g.Indiv[i].iSex = sex;
        g.Indiv[i].iTouched = 0;
        return i;
    }
    static int32_t Couple(int32_t h, int32_t w, std::initializer_list<int32_t> children = {}) {
        const int32_t f = FindOrAddFamil(h, w);
        EXPECT_GT(f, 0);
        for (int32_t c : children) g.Indiv[c].iFamc = f;
        g.Famil[f].fTouched = 0;
        return f;
    }
    static int32_t ByName(const std::string& name) {
        for (int32_t i = 1; i <= g.IndivCount; ++i)
            if (g.Indiv[i].iName.trimmed() == name) return i;
        return 0;
    }
    static void Note(int32_t who, const std::string& text) {
        g.IndivNoteText = text;
        StoreNotes("I", who, "N");
    }
    // Record numbers run 1..n with no gap, nothing is marked removed.
    static void ExpectCompact() {
        for (int32_t i = 1; i <= g.IndivCount; ++i) {
            EXPECT_EQ(g.Indiv[i].iRIN, i);
            EXPECT_EQ(g.Indiv[i].iXref.value(), std::to_string(i));
            EXPECT_NE(g.Indiv[i].iTree, kRemovedTree);
        }
        for (int32_t f = 1; f <= g.FamilCount; ++f) {
            EXPECT_EQ(g.Famil[f].fRIN, f);
            EXPECT_NE(g.Famil[f].fTree, kRemovedTree);
        }
        ExpectTablesConsistent();
    }
};

}  // namespace lintora::testing
