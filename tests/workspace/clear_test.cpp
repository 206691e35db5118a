#include "workspace/workspace.h"

#include <filesystem>
#include <stdexcept>

#include "record_store/clear.h"
#include "record_store/program_state.h"
#include "record_store/tables.h"
#include "record_store/undo.h"
#include "platform/window_ports.h"
#include "tests/files/files_fixture.h"

namespace lintora {
namespace {

namespace fs = std::filesystem;

// Records every call in order, as "name" or "name:argument".
class CallLog : public MainWindowPort, public EditorPort, public SearchWindowPort {
public:
    std::vector<std::string> calls;
    bool clipboard = false;
    void Log(std::string s) { calls.push_back(std::move(s)); }
    void SetStatusLabel(const std::string& s) override { Log("label:" + s); }
    void UpdateStatusBar() override { Log("statusbar:" + std::to_string(g.SourceCount)); }
    void ClearTree() override { Log("cleartree"); }
    void SetToolButtonEnabled(int i, bool on) override { Log("button" + std::to_string(i) + (on ? ":on" : ":off")); }
    void SetToolButtonTip(int i, const std::string& t) override { Log("tip" + std::to_string(i) + ":" + t); }
    void SetInetButtonTip(const std::string& t) override { Log("inettip:" + t); }
    void SetMenuItemEnabled(const std::string& m, int i, bool on) override {
        Log(m + std::to_string(i) + (on ? ":on" : ":off"));
    }
    void SetPasteEnabled(bool on) override { Log(on ? "paste:on" : "paste:off"); }
    bool ClipboardHasText() const override { return clipboard; }
    void ClearIndivList() override { Log("indivlist"); }
    void ClearMarriageList() override { Log("marrlist"); }
    void HideListWindow() override { Log("hidelist"); }
    void HidePanels() override { Log("hidepanels"); }
    void SetUndoEnabled(bool on) override { Log(on ? "editundo:on" : "editundo:off"); }
    void ResetRanges() override { Log("ranges"); }

    bool Has(const std::string& s) const { return std::find(calls.begin(), calls.end(), s) != calls.end(); }
    std::size_t Pos(const std::string& s) const { return std::find(calls.begin(), calls.end(), s) - calls.begin(); }
};

class ClearTest : public testing::FilesTest {
protected:
    CallLog log;
    CallLog& windows = log;
    void SetUp() override {
        FilesTest::SetUp();
        fs::copy_file(testing::ProjectDir() / "files" / "Lintora11.dat", dir / "app" / "Lintora11.dat");
        Write(dir / "app" / "LINTORA.USR", "0!SOURCE!!!My own notes!MINE!Me!Home!\r\n");
        InstallWindowFakes(&log);
    }
    // A work area with records in every table and the paste state set.
    void FillWork() {
        for (int i = 0; i < 3; ++i) AddIndiv();
        g.Indiv[1].iSurn = "Old";
        AddFamil();
        AddNotes();
        AddSource();
        AddRepository();
        AddGedSource();
        AddGedRepository();
        g.CurIndiv = 2;
        g.CurFamil = 1;
        g.PageMainIndiv = 3;
        g.TreeCount = 1;
        g.Trees.resize(2);
        g.TreeSlot[0] = 2;
        BuildNameIndex();
        g.SurnameCase = "U";
        g.DataChanged = "Y";
        g.LastPaste = "text";
        g.FirstSite = "LDS";
        g.FirstType = "IndANC";
        g.MixedSources = "Y";
        g.UndoReady = true;
        InitUndo("UnDo previous paste");
    }
};

TEST_F(ClearTest, EmptiesTheWorkAndReloadsTheSources) {
    FillWork();
    ClearAllData();
    EXPECT_EQ(g.IndivCount, 0);
    EXPECT_EQ(g.FamilCount, 0);
    EXPECT_EQ(g.NotesCount, 0);
    EXPECT_EQ(g.LastNote, 0);
    EXPECT_EQ(g.LastIndiv, 0);
    EXPECT_EQ(g.LastFamil, 0);
    EXPECT_EQ(g.CurIndiv, 0);
    EXPECT_EQ(g.CurFamil, 0);
    EXPECT_EQ(g.PageMainIndiv, 0);
    EXPECT_EQ(g.GedSourceCount, 0);
    EXPECT_EQ(g.GedRepositoryCount, 0);
    EXPECT_EQ(g.GedSource.size(), 1u);
    EXPECT_EQ(g.GedRepository.size(), 1u);
    for (int b = 0; b < 5; ++b) EXPECT_EQ(g.NameIdxCount[b], 0);
    EXPECT_EQ(g.TreeCount, 0);
    EXPECT_EQ(g.Trees.size(), 1u);
    EXPECT_EQ(g.TreeSlot[0], 0);
    EXPECT_EQ(g.SurnameCase, " ");
    EXPECT_EQ(g.DataChanged, "N");
    EXPECT_EQ(g.LastPaste, "");
    EXPECT_EQ(g.FirstSite, "");
    EXPECT_EQ(g.FirstType, "");
    EXPECT_EQ(g.MixedSources, "N");
    // Sources and repositories as the data files hold them; the one made
    // during the run is gone, the user's own is back.
    ASSERT_EQ(g.SourceCount, 8);
    EXPECT_EQ(g.Source[1].sTitle.value(), "Ancestral File");
    EXPECT_EQ(g.Source[1].sFlag.value(), "I");
    EXPECT_EQ(g.Source[8].sTitle.value(), "My own notes");
    EXPECT_EQ(g.Source[8].sFlag.value(), "U");
    EXPECT_EQ(g.RepositoryCount, 5);
    EXPECT_EQ(g.SourceUB, 8);
    // The snapshot of the old work is forgotten with it.
    EXPECT_FALSE(g.UndoReady);
    // The tables give their records back, and the next add takes slot 1.
    EXPECT_EQ(g.Indiv.size(), 1u);
    EXPECT_EQ(g.Famil.size(), 1u);
    EXPECT_EQ(g.Notes.size(), 1u);
    EXPECT_EQ(AddIndiv(), 1);
    EXPECT_TRUE(g.Indiv[1].iSurn.blank());
}

TEST_F(ClearTest, WindowsReturnToTheirEmptyLook) {
    FillWork();
    ClearAllData();
    for (const char* call :
         {"hidelist", "ranges", "indivlist", "marrlist", "cleartree", "tip9:", "tip10:",
          "inettip:Search Internet Sites", "button4:off", "button6:off", "button8:off", "button9:off",
          "button10:off", "button12:off", "File1:off", "File2:off", "File3:off", "List0:off", "List1:off",
          "Edit0:off", "Edit1:off", "Edit2:off", "editundo:off", "hidepanels", "label:", "paste:off"})
        EXPECT_TRUE(windows.Has(call)) << call;
    for (const char* call : {"File0:off", "File4:off", "Edit3:off", "button1:off", "button3:off", "paste:on"})
        EXPECT_FALSE(windows.Has(call)) << call;
    // The status bar is refreshed last, after the sources were reloaded.
    EXPECT_EQ(windows.calls.back(), "statusbar:8");
}

TEST_F(ClearTest, PasteButtonFollowsTheClipboard) {
    windows.clipboard = true;
    ClearAllData();
    EXPECT_LT(windows.Pos("paste:off"), windows.Pos("paste:on"));
    EXPECT_TRUE(windows.Has("paste:on"));
}

TEST_F(ClearTest, ClearingAnEmptyWorkAreaChangesNothing) {
    ClearAllData();
    ProgramState first = g;
    ClearAllData();
    EXPECT_EQ(g.IndivCount, first.IndivCount);
    EXPECT_EQ(g.SourceCount, first.SourceCount);
    EXPECT_EQ(g.Source, first.Source);
    EXPECT_EQ(g.Repository, first.Repository);
    EXPECT_EQ(g.DataChanged, "N");
}

// Window elements that fail are passed over; the rest of the clearing still runs.
class FailingWindows : public CallLog {
public:
    void HideListWindow() override { throw std::runtime_error("no list window"); }
    void ClearTree() override { throw std::runtime_error("no pedigree"); }
    void SetMenuItemEnabled(const std::string&, int, bool) override { throw std::runtime_error("no menu"); }
};

TEST_F(ClearTest, FailingWindowElementsDoNotStopTheClearing) {
    FailingWindows failing;
    InstallWindowFakes(&failing);
    FillWork();
    ClearAllData();
    InstallWindowFakes(&log);
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(g.IndivCount, 0);
    EXPECT_EQ(g.FamilCount, 0);
    EXPECT_EQ(g.DataChanged, "N");
    EXPECT_EQ(g.SourceCount, 8);
    EXPECT_TRUE(failing.Has("button12:off"));
    EXPECT_TRUE(failing.Has("hidepanels"));
    EXPECT_EQ(failing.calls.back(), "statusbar:8");
}

TEST_F(ClearTest, AMissingSiteDataFileIsReportedAndTheCountsStillGo) {
    FillWork();
    fs::remove(dir / "app" / "Lintora11.dat");
    ui.Answer(MsgResult::Ok);
    ClearAllData();
    EXPECT_TRUE(ui.Showed("data file is missing"));
    EXPECT_EQ(g.IndivCount, 0);
    EXPECT_EQ(g.SourceCount, 0);
}

}  // namespace
}  // namespace lintora
