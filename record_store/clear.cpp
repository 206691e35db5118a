#include "record_store/clear.h"

#include <exception>
#include <functional>

#include "platform/step.h"
#include "record_store/program_state.h"
#include "platform/window_ports.h"

namespace lintora {

namespace {

void ForgetFirstPage() {
    g.FirstSite.clear();
    g.FirstType.clear();
    g.MixedSources = "N";
}

}  // namespace

void ClearWorkTables() {
    g.Empty();
    ClearWorkState();
}

void ClearWorkState() {
    MarkWorkSaved();
    g.LastIndiv = 0;
    g.LastFamil = 0;
    g.TreeCount = 0;
    g.CurIndiv = 0;
    // Selections that would name records of the old work.
    g.CurFamil = 0;
    g.PageMainIndiv = 0;
    g.PruneIndiv = 0;
    g.PrunePending = "N";
    g.TreeSlot.fill(0);
    g.SurnameCase = " ";
    g.Trees.resize(1);
    g.LastPaste.clear();
    ForgetFirstPage();
    // A snapshot of the old work would bring it back over the new.
    g.UndoReady = false;
}

void ForgetFirstPageOfEmptyWork() {
    if (g.IndivCount == 0) ForgetFirstPage();
}

void ClearWorkWindows() {
    MainWindowPort& w = MainWindow();
    Step([&] { w.HideListWindow(); });
    Step([] { SearchWindow().ResetRanges(); });
    Step([&] { w.ClearIndivList(); });
    Step([&] { w.ClearMarriageList(); });
    Step([&] { w.ClearTree(); });
    Step([&] {
        w.SetToolButtonTip(kUndoToolButton, "");
        w.SetToolButtonTip(kPruneToolButton, "");
        w.SetInetButtonTip("Search Internet Sites");
    });
    DisableDataCommands();
    Step([&] { w.HidePanels(); });
    Step([&] { w.SetStatusLabel(""); });
    Step([&] {
        w.SetPasteEnabled(false);
        if (w.ClipboardHasText()) w.SetPasteEnabled(true);
    });
}

void DisableDataCommands() {
    MainWindowPort& w = MainWindow();
    Step([&] {
        for (int b : kDataToolButtons) w.SetToolButtonEnabled(b, false);
        w.SetToolButtonEnabled(kUndoToolButton, false);
        w.SetToolButtonEnabled(kPruneToolButton, false);
    });
    Step([&] {
        for (int i : {1, 2, 3}) w.SetMenuItemEnabled("File", i, false);
        for (int i : {0, 1}) w.SetMenuItemEnabled("List", i, false);
        for (int i : {0, 1, 2}) w.SetMenuItemEnabled("Edit", i, false);
        Editor().SetUndoEnabled(false);
    });
}

}  // namespace lintora
