#include "record_store/undo.h"

#include <algorithm>
#include <exception>
#include <string>
#include <vector>

#include "lintora_version.h"
#include "platform/platform.h"
#include "record_store/program_state.h"
#include "record_store/tables.h"
#include "record_store/trees.h"
#include "record_store/window_port.h"

namespace lintora {

namespace {

constexpr int kUndoToolButton = 9;
// Larger snapshots show their progress while they are put back.
constexpr int32_t kProgressAbove = 1200;
constexpr int32_t kProgressStep = 100;

// Records 0..count of a table (entry 0 holds nothing).
template <typename Rec>
std::vector<Rec> CopyOf(const std::vector<Rec>& table, int32_t count) {
    count = std::clamp<int32_t>(count, 0, static_cast<int32_t>(table.size()) - 1);
    return std::vector<Rec>(table.begin(), table.begin() + count + 1);
}

// A full-size table holding the snapshot's records 1..count; the records past
// count are blank. position follows the copy for the failure message.
template <typename Rec>
std::vector<Rec> Rebuilt(const std::vector<Rec>& snap, int32_t count, int32_t capacity,
                         bool progress, const char* label, int32_t& position) {
    if (progress) {
        Port().ProgressStart(count);
        Port().ProgressSet(0);
        Windows().SetProgressLabel(label);
    }
    std::vector<Rec> table;
    table.reserve(static_cast<std::size_t>(capacity) + 1);
    table.emplace_back();
    for (position = 1; position <= count; ++position) {
        if (progress && position % kProgressStep == 0) Port().ProgressSet(position);
        table.push_back(snap.at(static_cast<std::size_t>(position)));
    }
    table.resize(static_cast<std::size_t>(capacity) + 1);
    return table;
}

// The about window's label goes back to the version once the restore is over.
void EndProgress() {
    Port().ProgressEnd();
    Windows().SetProgressLabel("Version " + std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor));
}

// A record number that no longer names a record becomes 0.
void KeepInRange(int32_t& number, int32_t count) {
    if (number < 0 || number > count) number = 0;
}

}  // namespace

void InitUndo() {
    try {
        // The copies are complete before anything of the old snapshot is
        // replaced and before undo is offered.
        std::vector<IndivRec> indiv = CopyOf(g.Indiv, g.IndivCount);
        std::vector<FamilRec> famil = CopyOf(g.Famil, g.FamilCount);
        std::vector<NoteRec> notes = CopyOf(g.Notes, g.NotesCount);
        std::string status = TrimBlanks(Windows().StatusPanel(4));

        g.IndivUndo.swap(indiv);
        g.FamilUndo.swap(famil);
        g.NotesUndo.swap(notes);
        g.IndivUndoCount = static_cast<int32_t>(g.IndivUndo.size()) - 1;
        g.FamilUndoCount = static_cast<int32_t>(g.FamilUndo.size()) - 1;
        g.NotesUndoCount = static_cast<int32_t>(g.NotesUndo.size()) - 1;
        g.UndoTreeCount = static_cast<int16_t>(std::clamp<int32_t>(g.TreeCount, 0, INT16_MAX));
        g.SavedRoot = g.TreeSlot[0];
        g.UndoChanged = g.DataChanged;
        g.UndoStatusText = std::move(status);
        g.UndoReady = true;
    } catch (const std::exception& e) {
        // An old snapshot would no longer match what the caller changes next.
        g.UndoReady = false;
        Windows().SetEditorUndoEnabled(false);
        Windows().SetToolButtonEnabled(kUndoToolButton, false);
        ShowProblem(std::string("Problem with initialize UnDo: ") + e.what());
        return;
    }
    Windows().SetEditorUndoEnabled(true);
    Windows().SetToolButtonEnabled(kUndoToolButton, true);
    Windows().ClearIndivList();
    Windows().ClearMarriageList();
}

void RestoreUndo() {
    if (!g.UndoReady) return;
    int32_t indivPos = 0, familPos = 0, notesPos = 0;
    const bool progress = g.IndivUndoCount > kProgressAbove;
    try {
        // The question it asks belongs to a page that is being undone.
        Windows().HideParentPickList();
        const bool editorVisible = Windows().EditorVisible();
        const int editorTab = editorVisible ? Windows().EditorTab() : 0;

        // Whole tables are built first and swapped in only when all three
        // are complete: a failure leaves the work as it was.
        std::vector<IndivRec> indiv = Rebuilt(g.IndivUndo, g.IndivUndoCount, kMaxIndiv, progress,
                                              "Restoring individuals...", indivPos);
        std::vector<FamilRec> famil = Rebuilt(g.FamilUndo, g.FamilUndoCount, kMaxFamil, progress,
                                              "Restoring families...", familPos);
        std::vector<NoteRec> notes = Rebuilt(g.NotesUndo, g.NotesUndoCount, kMaxNotes, progress,
                                             "Restoring notes...", notesPos);
        std::vector<TreeRec> trees = g.Trees;
        trees.resize(static_cast<std::size_t>(g.UndoTreeCount) + 1);

        g.Indiv.swap(indiv);
        g.Famil.swap(famil);
        g.Notes.swap(notes);
        g.Trees.swap(trees);
        g.IndivCount = g.IndivUndoCount;
        g.FamilCount = g.FamilUndoCount;
        g.NotesCount = g.NotesUndoCount;
        g.LastNote = g.NotesUndoCount;
        g.TreeCount = g.UndoTreeCount;
        g.DataChanged = g.UndoChanged;

        // Numbers that named records of the undone work no longer do.
        const int32_t root = (g.SavedRoot >= 0 && g.SavedRoot <= g.IndivCount) ? g.SavedRoot : 0;
        if (g.CurIndiv < 0 || g.CurIndiv > g.IndivCount) g.CurIndiv = root;
        KeepInRange(g.LastIndiv, g.IndivCount);
        KeepInRange(g.PageMainIndiv, g.IndivCount);
        KeepInRange(g.PruneIndiv, g.IndivCount);
        KeepInRange(g.CurFamil, g.FamilCount);
        KeepInRange(g.LastFamil, g.FamilCount);

        Windows().SetToolButtonEnabled(kUndoToolButton, false);
        Windows().SetToolButtonTip(kUndoToolButton, "");
        Windows().SetEditorUndoEnabled(false);

        if (progress) Windows().SetProgressLabel("Rebuilding trees...");
        BuildNameIndex();
        LoadGenTree();
        Windows().ClearTree();
        g.TreeSlot.fill(0);
        g.TreeSlot[0] = root;
        Windows().BuildTree();
        if (progress) EndProgress();

        Windows().SetStatusLabel("UnDo complete.");
        Windows().SetStatusPanel(4, TrimBlanks(g.UndoStatusText));
        Windows().SetStatusPanel(5, "Individuals: " + std::to_string(g.IndivCount));
        Windows().SetStatusPanel(6, "Families: " + std::to_string(g.FamilCount));
        if (g.TreeCount <= 1 && !TrimBlanks(g.FileName).empty())
            Windows().SetStatusPanel(7, g.FileName);
        else
            Windows().SetStatusPanel(7, "Tree " + std::to_string(root > 0 ? g.Indiv[root].iTree : 0) +
                                            " of " + std::to_string(g.TreeCount));

        if (editorVisible) {
            Windows().HideEditor();
            if (g.CurIndiv > 0) Windows().LoadIndivEdit(editorTab);
        }
        Windows().ClearIndivList();
        Windows().ClearMarriageList();
    } catch (const std::exception& e) {
        if (progress) EndProgress();
        ShowProblem("Problem with UnDo: " + std::to_string(indivPos) + "-" + std::to_string(familPos) +
                    e.what());
    }
}

}  // namespace lintora
