#include "record_store/undo.h"

#include <map>
#include <string>
#include <vector>

#include "record_store/notes.h"
#include "record_store/program_state.h"
#include "record_store/tables.h"
#include "record_store/trees.h"
#include "platform/window_ports.h"
#include "tests/support/scripted_platform.h"

namespace lintora {
namespace {

using testing::CleanState;

// Watches what undo does to the windows.
class UndoWindows : public MainWindowPort, public EditorPort {
public:
    std::map<int, std::string> panels;
    std::map<int, bool> buttons;
    std::map<int, std::string> tips;
    std::string label;
    bool editorUndo = false;
    bool editorVisible = false;
    int editorTab = 0;
    int reloadedTab = -1;
    int pickListHidden = 0, listsCleared = 0, treeCleared = 0, treeBuilt = 0;
    bool snapshotCompleteWhenEnabled = false;

    // The counts the status bar routine last saw; it marks every panel as its own.
    std::vector<int32_t> statusBarCounts;
    void UpdateStatusBar() override {
        statusBarCounts = {g.IndivCount, g.FamilCount, g.TreeCount};
        for (int p = 1; p <= 7; ++p) panels[p] = "(status bar)";
    }
    void SetStatusLabel(const std::string& s) override { label = s; }
    void SetStatusPanel(int p, const std::string& s) override { panels[p] = s; }
    std::string StatusPanel(int p) const override {
        auto it = panels.find(p);
        return it == panels.end() ? std::string() : it->second;
    }
    void SetToolButtonEnabled(int i, bool on) override {
        buttons[i] = on;
        if (i == 9 && on)
            snapshotCompleteWhenEnabled = g.UndoReady && g.UndoTables && g.UndoTables->IndivCount == g.IndivCount &&
                                          g.UndoTables->NotesCount == g.NotesCount &&
                                          g.UndoTables->Indiv[g.IndivCount] == g.Indiv[g.IndivCount] &&
                                          g.UndoTables->Notes[g.NotesCount] == g.Notes[g.NotesCount];
    }
    void SetToolButtonTip(int i, const std::string& s) override { tips[i] = s; }
    void SetUndoEnabled(bool on) override { editorUndo = on; }
    void HideParentPickList() override { ++pickListHidden; }
    void ClearIndivList() override { ++listsCleared; }
    void ClearTree() override { ++treeCleared; }
    void BuildTree() override { ++treeBuilt; }
    bool Visible() const override { return editorVisible; }
    int Tab() const override { return editorTab; }
    void Hide() override { editorVisible = false; }
    void Load(int tab) override {
        editorVisible = true;
        reloadedTab = tab;
    }
};

class UndoTest : public CleanState {
protected:
    UndoWindows w;
    void SetUp() override {
        CleanState::SetUp();
        InstallWindowFakes(&w);
    }
    void TearDown() override {
        RemoveWindowFakes();
        CleanState::TearDown();
    }
    void ExpectUntouched(const ProgramState& before) {
        EXPECT_EQ(g.IndivCount, before.IndivCount);
        EXPECT_TRUE(g.Indiv == before.Indiv);
        EXPECT_TRUE(g.Notes == before.Notes);
        EXPECT_EQ(w.label, "");
    }
    // A small family with notes, numbered into trees.
    void Gather(int people) {
        for (int i = 0; i < people; ++i) {
            int32_t n = AddIndiv();
            g.Indiv[n].iSurn = "Surname" + std::to_string(n % 7);
            g.Indiv[n].iGivn = "Given" + std::to_string(n);
        }
        for (int32_t h = 1; h + 1 <= people; h += 4) {
            int32_t f = FindOrAddFamil(h, h + 1);
            if (h + 2 <= people) g.Indiv[h + 2].iFamc = f;
        }
        g.IndivNoteText = "a note\r\nsecond line";
        StoreNotes("I", 1, "N");
        BuildNameIndex();
        LoadGenTree();
    }
};

TEST_F(UndoTest, RestoreAfterChangesGivesTheTablesBack) {
    Gather(9);
    g.TreeSlot[0] = 3;
    g.DataChanged = "N";
    w.panels[4] = "  Given3 Surname3 ";
    const ProgramState before = g;

    InitUndo("UnDo previous paste");
    EXPECT_TRUE(w.snapshotCompleteWhenEnabled);
    EXPECT_EQ(w.tips[9], "UnDo previous paste");
    EXPECT_TRUE(w.editorUndo);
    EXPECT_GE(w.listsCleared, 1);

    // A paste-like change: new people, a new family, changed and re-linked records, notes.
    int32_t s = AddSource();
    g.PasteSource = static_cast<int16_t>(s);
    int32_t added = AddIndiv();
    g.Indiv[added].iSurn = "Newman";
    g.Indiv[2].ibDate = "1 Jan 1900";
    g.Indiv[9].iFamc = FindOrAddFamil(added, 9);
    g.IndivNoteText = "pasted";
    StoreNotes("I", 4, "N");
    g.FamilNoteText = "family";
    StoreNotes("F", 1, "Y");
    LoadGenTree();
    g.DataChanged = "Y";
    g.CurIndiv = added;
    g.CurFamil = g.FamilCount;
    g.LastIndiv = added;
    g.PageMainIndiv = added;
    g.TreeSlot[0] = added;
    g.TreeSlot[5] = added;

    RestoreUndo();
    EXPECT_EQ(g.IndivCount, before.IndivCount);
    EXPECT_EQ(g.FamilCount, before.FamilCount);
    EXPECT_EQ(g.NotesCount, before.NotesCount);
    EXPECT_EQ(g.LastNote, before.NotesCount);
    EXPECT_TRUE(g.Indiv == before.Indiv);
    EXPECT_TRUE(g.Famil == before.Famil);
    EXPECT_TRUE(g.Notes == before.Notes);
    EXPECT_EQ(g.NameIdx, before.NameIdx);
    EXPECT_EQ(g.TreeCount, before.TreeCount);
    EXPECT_EQ(g.Trees, before.Trees);
    EXPECT_EQ(g.DataChanged, "N");
    // Current-record numbers name records again.
    EXPECT_EQ(g.CurIndiv, 3);
    EXPECT_EQ(g.CurFamil, 0);
    EXPECT_EQ(g.LastIndiv, 0);
    EXPECT_EQ(g.PageMainIndiv, 0);
    EXPECT_EQ(g.TreeSlot[0], 3);
    EXPECT_EQ(g.TreeSlot[5], 0);
    // A source made since stays (the user file holds it); its citation goes
    // with the record that made it.
    ASSERT_EQ(g.SourceCount, before.SourceCount + 1);
    EXPECT_EQ(g.Source[s].sCitations, 0);
    // Windows.
    EXPECT_EQ(w.pickListHidden, 1);
    EXPECT_FALSE(w.buttons[9]);
    EXPECT_EQ(w.tips[9], "");
    EXPECT_FALSE(w.editorUndo);
    EXPECT_EQ(w.treeCleared, 1);
    EXPECT_EQ(w.treeBuilt, 1);
    EXPECT_EQ(w.label, "UnDo complete.");
    // The status bar shows the restored work, with the person the snapshot showed.
    EXPECT_EQ(w.statusBarCounts, (std::vector<int32_t>{9, 2, g.TreeCount}));
    EXPECT_EQ(w.panels[4], "Given3 Surname3");
    EXPECT_EQ(w.panels[5], "(status bar)");
    EXPECT_EQ(w.panels[7], "(status bar)");
    EXPECT_TRUE(progress.values.empty());
}

TEST_F(UndoTest, EmptySnapshotRestoresEmptyTables) {
    // A name left in the status bar and a file name belong to no one in it.
    w.panels[4] = "John Henry WHITLOCK";
    g.FileName = "family.lnt";
    InitUndo("UnDo previous paste");
    Gather(5);
    g.CurIndiv = 2;
    RestoreUndo();
    EXPECT_EQ(g.IndivCount, 0);
    EXPECT_EQ(g.FamilCount, 0);
    EXPECT_EQ(g.NotesCount, 0);
    EXPECT_EQ(g.TreeCount, 0);
    EXPECT_EQ(g.CurIndiv, 0);
    EXPECT_EQ(g.Indiv[1], IndivRec{});
    // As at a fresh start: the status bar's own texts for empty work.
    EXPECT_EQ(w.statusBarCounts, (std::vector<int32_t>{0, 0, 0}));
    for (int p = 1; p <= 7; ++p) EXPECT_EQ(w.panels[p], "(status bar)") << p;
}

TEST_F(UndoTest, FileNameShowsForASingleTree) {
    Gather(3);
    g.FileName = "family.lnt";
    InitUndo("UnDo previous paste");
    RestoreUndo();
    EXPECT_EQ(g.TreeCount, 1);
    EXPECT_EQ(w.panels[7], "family.lnt");
}

TEST_F(UndoTest, ProgressShowsOnlyAboveTwelveHundred) {
    struct Case {
        int people;
        bool shows;
    } cases[] = {{1200, false}, {1201, true}};
    for (const Case& c : cases) {
        ResetProgramState();
        progress.labels.clear();
        progress.values.clear();
        Gather(c.people);
        InitUndo("UnDo previous paste");
        RestoreUndo();
        if (!c.shows) {
            EXPECT_TRUE(progress.labels.empty());
            EXPECT_TRUE(progress.values.empty());
            continue;
        }
        EXPECT_EQ(progress.labels, (std::vector<std::string>{"Restoring individuals...", "Rebuilding trees..."}));
        EXPECT_EQ(progress.ends, 1);
        ASSERT_FALSE(progress.values.empty());
        EXPECT_EQ(progress.values.front(), -c.people);  // started with the individuals' count
        EXPECT_EQ(w.label, "UnDo complete.");
    }
}

TEST_F(UndoTest, OpenEditorIsReopenedOnTheSameTab) {
    Gather(4);
    g.CurIndiv = 2;
    InitUndo("UnDo previous paste");
    w.editorVisible = true;
    w.editorTab = 1;
    RestoreUndo();
    EXPECT_EQ(w.reloadedTab, 1);
    EXPECT_TRUE(w.editorVisible);
    EXPECT_EQ(g.CurIndiv, 2);

    // With nobody left to show, the editor stays closed.
    ResetProgramState();
    w = UndoWindows{};
    InitUndo("UnDo previous paste");
    Gather(2);
    g.CurIndiv = 2;
    w.editorVisible = true;
    RestoreUndo();
    EXPECT_FALSE(w.editorVisible);
    EXPECT_EQ(w.reloadedTab, -1);
}

TEST_F(UndoTest, NothingHappensWithoutASnapshot) {
    Gather(3);
    const ProgramState before = g;
    RestoreUndo();
    ExpectUntouched(before);
}

TEST_F(UndoTest, BrokenSnapshotLeavesTheWorkAsItWas) {
    Gather(3);
    InitUndo("UnDo previous paste");
    AddIndiv();
    const ProgramState before = g;
    g.UndoTables->IndivCount = kMaxIndiv + 5;  // past the records held
    ui.Answer(MsgResult::Ok);
    RestoreUndo();
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text.rfind("Problem with UnDo: 10005-1", 0), 0u) << ui.boxes[0].text;
    EXPECT_EQ(ui.boxes[0].icon, MsgIcon::Exclamation);
    ExpectUntouched(before);
}

TEST_F(UndoTest, ASmallerSnapshotInTheSameStorageLeavesNoOldRecords) {
    Gather(9);
    InitUndo("UnDo previous paste");
    g.IndivCount = 2;  // fewer people now, as after a load
    g.FamilCount = 0;
    InitUndo("UnDo previous paste");
    AddIndiv();
    RestoreUndo();
    EXPECT_EQ(g.IndivCount, 2);
    // The snapshot held the records in use only.
    EXPECT_EQ(g.Indiv.size(), 3u);
    EXPECT_EQ(g.Famil.size(), 1u);
    for (int32_t i = 3; i <= 9; ++i) EXPECT_EQ(g.Indiv[i], IndivRec{}) << i;
    EXPECT_EQ(g.Famil[1], FamilRec{});
}

TEST_F(UndoTest, NewSnapshotReplacesTheOld) {
    Gather(2);
    InitUndo("UnDo previous paste");
    AddIndiv();
    InitUndo("UnDo previous paste");
    AddIndiv();
    RestoreUndo();
    EXPECT_EQ(g.IndivCount, 3);
    // A snapshot is put back once: what is done after the undo stays.
    EXPECT_FALSE(g.UndoReady);
    AddIndiv();
    RestoreUndo();
    EXPECT_EQ(g.IndivCount, 4);
}

}  // namespace
}  // namespace lintora
