#include "record_store/undo.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <stdexcept>
#include <utility>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/window_ports.h"
#include "record_store/clear.h"
#include "record_store/program_state.h"
#include "record_store/tables.h"
#include "record_store/trees.h"

namespace lintora {

namespace {

// Larger snapshots show their progress while they are put back.
constexpr int32_t kProgressAbove = 1200;

// A record number that no longer names a record becomes 0.
void KeepInRange(int32_t& number, int32_t count) {
    if (number < 0 || number > count) number = 0;
}

// The number a record had before the last renumbering, from the map of new
// numbers to old; 0 for a record made since, or none.
int32_t NumberBeforeRenumbering(const std::vector<int32_t>& oldOfNew, int32_t number) {
    return number > 0 && number < static_cast<int32_t>(oldOfNew.size()) ? oldOfNew[static_cast<std::size_t>(number)]
                                                                          : 0;
}

// Sources and repositories are the user's, written to the user file as
// they are saved: they stay as they are now (in current). Only their
// citation counts go back, to those of the snapshot's records (in g); one
// made since the snapshot is cited by none of them.
void KeepSourcesAndRepositories(WorkTables& current) {
    for (int32_t s = 1; s <= current.SourceCount; ++s)
        current.Source[s].sCitations = s <= g.SourceCount ? g.Source[s].sCitations : 0;
    for (int32_t r = 1; r <= current.RepositoryCount; ++r)
        current.Repository[r].rCitations = r <= g.RepositoryCount ? g.Repository[r].rCitations : 0;
    std::swap(g.Source, current.Source);
    std::swap(g.SourceCount, current.SourceCount);
    std::swap(g.SourceUB, current.SourceUB);
    std::swap(g.Repository, current.Repository);
    std::swap(g.RepositoryCount, current.RepositoryCount);
    std::swap(g.RepositoryUB, current.RepositoryUB);
}

}  // namespace

void InitUndo(const std::string& undoTip) {
    try {
        // Undo is off until the copy is complete; the snapshot's storage is
        // kept from paste to paste, so only the records in use are copied.
        g.UndoReady = false;
        // A copy of the program state may share the old one: it is left alone.
        if (!g.UndoTables || g.UndoTables.use_count() > 1) g.UndoTables = std::make_shared<WorkTables>();
        g.UndoTables->CopyInUse(g);
        std::string status = TrimBlanks(MainWindow().StatusPanel(4));

        g.UndoTreeCount = static_cast<int16_t>(std::clamp<int32_t>(g.TreeCount, 0, INT16_MAX));
        g.SavedRoot = g.TreeSlot[0];
        g.UndoChanged = g.DataChanged;
        g.UndoSavedGeneration = g.SavedGeneration;
        g.UndoSurnameCase = g.SurnameCase;
        g.UndoPageMainIndiv = g.PageMainIndiv;
        g.UndoRenumberings = g.Renumberings;
        g.UndoStatusText = std::move(status);
        g.UndoReady = true;
    } catch (const std::exception& e) {
        // An old snapshot would no longer match what the caller changes next.
        g.UndoReady = false;
        g.UndoTables.reset();
        Editor().SetUndoEnabled(false);
        MainWindow().SetToolButtonEnabled(kUndoToolButton, false);
        MainWindow().SetToolButtonTip(kUndoToolButton, "");
        ShowProblem(std::string("Problem with initialize UnDo: ") + e.what());
        return;
    }
    Editor().SetUndoEnabled(true);
    MainWindow().SetToolButtonEnabled(kUndoToolButton, true);
    MainWindow().SetToolButtonTip(kUndoToolButton, undoTip);
    MainWindow().ClearIndivList();
    MainWindow().ClearMarriageList();
}

void LeaveOutOfUndo(int32_t indiv) {
    if (!g.UndoReady || !g.UndoTables) return;
    WorkTables& snapshot = *g.UndoTables;
    if (indiv <= 0 || indiv != snapshot.IndivCount) return;
    snapshot.DropCitation(snapshot.Indiv[indiv].iSource);
    snapshot.Indiv[indiv] = IndivRec{};
    --snapshot.IndivCount;
}

void RestoreUndo() {
    if (!g.UndoReady || !g.UndoTables) return;
    // Kept alive here: a failed re-copy drops the program's hold on it.
    const std::shared_ptr<WorkTables> held = g.UndoTables;
    WorkTables& snapshot = *held;
    const bool progress = snapshot.IndivCount > kProgressAbove;
    try {
        // The question it asks belongs to a page that is being undone.
        MainWindow().HideParentPickList();
        const bool editorVisible = Editor().Visible();
        const int editorTab = editorVisible ? Editor().Tab() : 0;

        if (progress) {
            Progress().Start(snapshot.IndivCount);
            Progress().SetLabel("Restoring individuals...");
        }
        // Everything that can fail comes before the swap: a failure leaves
        // the work as it was.
        if (!snapshot.CountsFit()) throw std::out_of_range(" the snapshot names records it does not hold");
        std::vector<TreeRec> trees = g.Trees;
        trees.resize(static_cast<std::size_t>(g.UndoTreeCount) + 1);

        std::swap(static_cast<WorkTables&>(g), snapshot);
        KeepSourcesAndRepositories(snapshot);
        g.Trees.swap(trees);
        g.TreeCount = g.UndoTreeCount;
        // Unchanged only when the snapshot was what the file last saved or
        // opened still holds: a save since then holds the undone work.
        g.DataChanged = g.UndoChanged == "N" && g.UndoSavedGeneration == g.SavedGeneration ? "N" : "Y";
        g.SurnameCase = g.UndoSurnameCase;
        ForgetFirstPageOfEmptyWork();
        if (progress) Progress().Set(g.IndivCount);
        // Restored once: a second undo would throw away what was done since.
        // The undone tables stay as the storage of the next snapshot.
        g.UndoReady = false;

        // Numbers chosen in the undone work name the same records again. A
        // prune takes its snapshot right before it renumbers, so one
        // renumbering at most lies between.
        if (g.Renumberings != g.UndoRenumberings) {
            for (int32_t* number : {&g.CurIndiv, &g.LastIndiv, &g.PruneIndiv})
                *number = NumberBeforeRenumbering(g.IndivNewNo, *number);
            for (int32_t* number : {&g.CurFamil, &g.LastFamil})
                *number = NumberBeforeRenumbering(g.FamilNewNo, *number);
            g.Renumberings = g.UndoRenumberings;
        }
        // The last individual processed is the snapshot's, as its status text is.
        g.PageMainIndiv = g.UndoPageMainIndiv;
        // Numbers that named records of the undone work no longer do.
        const int32_t root = (g.SavedRoot >= 0 && g.SavedRoot <= g.IndivCount) ? g.SavedRoot : 0;
        if (g.CurIndiv < 0 || g.CurIndiv > g.IndivCount) g.CurIndiv = root;
        KeepInRange(g.LastIndiv, g.IndivCount);
        KeepInRange(g.PageMainIndiv, g.IndivCount);
        KeepInRange(g.PruneIndiv, g.IndivCount);
        KeepInRange(g.CurFamil, g.FamilCount);
        KeepInRange(g.LastFamil, g.FamilCount);

        MainWindow().SetToolButtonEnabled(kUndoToolButton, false);
        MainWindow().SetToolButtonTip(kUndoToolButton, "");
        Editor().SetUndoEnabled(false);

        if (progress) Progress().SetLabel("Rebuilding trees...");
        BuildNameIndex();
        LoadGenTree();
        MainWindow().ClearTree();
        g.TreeSlot.fill(0);
        g.TreeSlot[0] = root;
        MainWindow().BuildTree();
        if (progress) Progress().End();

        MainWindow().SetStatusLabel("UnDo complete.");
        // The status bar as its own routine shows the restored work; with
        // people in it, the person the snapshot showed and, for a single
        // tree, the file.
        MainWindow().UpdateStatusBar();
        if (g.IndivCount > 0) {
            MainWindow().SetStatusPanel(4, TrimBlanks(g.UndoStatusText));
            if (g.TreeCount <= 1 && !TrimBlanks(g.FileName).empty()) MainWindow().SetStatusPanel(7, g.FileName);
        }

        if (editorVisible) {
            Editor().Hide();
            if (g.CurIndiv > 0) Editor().Load(editorTab);
        }
        MainWindow().ClearIndivList();
        MainWindow().ClearMarriageList();
    } catch (const std::exception& e) {
        if (progress) Progress().End();
        ShowProblem("Problem with UnDo: " + std::to_string(snapshot.IndivCount) + "-" +
                    std::to_string(snapshot.FamilCount) + " " + e.what());
    }
}

}  // namespace lintora
