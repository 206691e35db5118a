#include "workspace/workspace.h"

#include <algorithm>
#include <exception>
#include <functional>

#include "files/data_files.h"
#include "files/file_loading.h"
#include "files/file_saving.h"
#include "page_import/paste.h"
#include "platform/platform.h"
#include "platform/window_ports.h"
#include "record_store/clear.h"
#include "record_store/linking.h"
#include "record_store/page_scratch.h"
#include "record_store/program_state.h"
#include "record_store/trees.h"
#include "record_store/undo.h"

namespace lintora {

namespace {

// A window element that fails never stops a command.
void Step(const std::function<void()>& step) {
    try {
        step();
    } catch (const std::exception&) {
    }
}

// The pick list is closed: the paste's result is counted again with what
// the choice added, and the touched marks go, so that the next paste
// neither counts these parents as updated nor keeps them off its
// close-match lists.
void EndParentPick() {
    Step([] { LoadGenTree(); });
    g.PasteReported = false;
    ReportPasteResults();
}

}  // namespace

void ClearAllData() {
    ClearWorkWindows();
    ClearWorkTables();
    Step([] { LoadDatFile("Limited"); });
    Step([] { MainWindow().UpdateStatusBar(); });
}

bool ClearWorkArea() {
    const bool yes = AskYesNo("Remove all data and start from scratch?");
    if (yes) {
        ClearAllData();
        g.LastWorkFile.clear();
    }
    Step([] { MainWindow().SetMainCaption("Lintora"); });
    return yes;
}

void PasteText(const std::string& text) { ProcessClipboard(text); }

bool OpenFile(const std::string& path) {
    if (path.empty()) return false;
    g.FilePath = path;
    return LoadFile();
}

bool OpenWorkFile() {
    if (g.DataChanged == "Y" && AskYesNo("Do you wish to save your changes?")) SaveFile("Y", "LNT");
    FileDialogRequest req;
    req.title = "Open";
    req.filter = "Lintora Workfiles (*.lnt *.LNT);;All Files (*.*);;Text Files (*.txt)";
    req.initialDir = TrimBlanks(g.InitDirWRK);
    const std::string path = Port().OpenFileDialog(req);
    return OpenFile(path);
}

bool HaveWorkToSave() { return g.DataChanged != "N" || g.LastIndiv != 0; }

bool SaveWorkFile() {
    if (!HaveWorkToSave()) {
        MsgBox("No work data to save!", MsgButtons::Ok, MsgIcon::Exclamation);
        return false;
    }
    const bool saved = SaveFile("Y", "LNT");
    SaveUserFile();
    return saved;
}

bool SaveGedcomFile() { return SaveFile("Y", "GED"); }

void UndoLastChange() {
    RestoreUndo();
    InitPrep();
    g.LastPaste.clear();
}

void PickParentSet(int16_t set) {
    const PageScratchRec& ps = g.PageScratch;
    if (set < 1 || set > std::min(ps.PageParentSetCount, kMaxParentSets)) return;
    g.ParentSetChoice = set;
    LinkChildToParents(set);
    Step([] { MainWindow().HideParentPickList(); });
    EndParentPick();
}

void CancelParentPick() {
    Step([] { MainWindow().HideParentPickList(); });
    EndParentPick();
}

}  // namespace lintora
