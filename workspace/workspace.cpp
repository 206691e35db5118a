#include "workspace/workspace.h"

#include <algorithm>
#include <exception>
#include <functional>

#include "files/data_files.h"
#include "files/file_loading.h"
#include "files/file_saving.h"
#include "files/unfinished_save.h"
#include "page_import/paste.h"
#include "platform/disk/file_reading.h"
#include "platform/disk/system_calls.h"
#include "platform/platform.h"
#include "platform/step.h"
#include "platform/window_ports.h"
#include "record_store/clear.h"
#include "record_store/linking.h"
#include "record_store/page_scratch.h"
#include "record_store/pedigree_view.h"
#include "record_store/prune.h"
#include "record_store/program_state.h"
#include "record_store/renumber.h"
#include "record_store/tables.h"
#include "record_store/trees.h"
#include "record_store/undo.h"
#include "record_store/utf8_text.h"

namespace lintora {

namespace {

// The pick list is closed: the paste's result is counted again with what
// the choice added and updated (the paste's own updates were counted at its
// report, and their marks are gone), and the touched marks go, so that the
// next paste neither counts these parents as updated nor keeps them off its
// close-match lists.
void EndParentPick() {
    Step([] { LoadGenTree(); });
    g.PasteReported = false;
    ReportPasteResults(g.IndivUpdated, g.FamilUpdated);
}

}  // namespace

void ClearAllData() {
    ClearWorkWindows();
    ClearWorkTables();
    Step([] { LoadDatFile("Limited"); });
    Step([] { MainWindow().UpdateStatusBar(); });
}

bool ClearWorkArea() {
    if (!AskYesNo("Remove all data and start from scratch?")) return false;  // caption and file stay
    ClearAllData();
    // The work comes from no file now: nothing may name the last one.
    g.LastWorkFile.clear();
    g.FilePath.clear();
    g.FileName.clear();
    g.FileDir.clear();
    Step([] { MainWindow().SetMainCaption("Lintora"); });
    Step([] { MainWindow().SetFileNote(""); });
    return true;
}

void PasteText(const std::string& text) { ProcessClipboard(text); }

bool OpenFile(const std::string& path) {
    if (path.empty()) return false;
    return LoadFile(path);
}

void OpenWorkFileAtStart(const std::string& commandLine) {
    const std::string line = TrimBlanks(commandLine);
    const std::string path = TrimBlanks(line.empty() ? g.LastWorkFile : line);
    const bool workFile = path.ends_with(".lnt") || path.ends_with(".LNT");
    // Says why it cannot. A remembered file taken from its folder is told
    // once; one out of reach (a drive not plugged in, a folder the user may
    // not open) stays remembered for the next start.
    // Records of saves that cannot be read are left to the one box after the window shows.
    if (workFile && !LoadFile(path, RealSystem(), true) && line.empty() && MissingFromItsFolder(path)) {
        g.LastWorkFile.clear();
        g.datFilename = " ";
        SaveStartupSettings({{"datFilename", " "}, {"datPos", "0"}});
    }
    if (workFile && g.datPos > g.IndivCount) g.datPos = 1;
}

void TellLeftSavesAtStart() {
    // The user's other saves that did not finish, whatever their files (the
    // file open now was asked about at its open), and what old scratch
    // names left: once, and never on an open's way.
    Step([] { TellUnfinishedSaves(RealSystem(), g.FilePath); });
}

bool OpenWorkFile() {
    // The work is replaced only once it is saved, when the user asked to save
    // it; a dismissed question opens nothing.
    if (g.DataChanged == "Y") {
        const MsgResult answer = MsgBox("Do you wish to save your changes?", MsgButtons::YesNo, MsgIcon::Question);
        if (answer == MsgResult::Dismissed) return false;
        if (answer == MsgResult::Yes && !SaveFile(kAskForName, "LNT")) return false;
    }
    FileDialogRequest req;
    req.title = "Open Workfile";
    req.filter = "Lintora Workfiles (*.lnt *.LNT);;All Files (*.*);;Text Files (*.txt)";
    req.initialDir = TrimBlanks(g.InitDirWRK);
    const std::string path = Port().OpenFileDialog(req);
    return OpenFile(path);
}

bool WorkToSave() {
    for (int32_t i = 1; i <= g.IndivCount; ++i)
        if (LiveIndiv(i)) return true;
    return false;
}

bool HaveWorkToSave(const std::string& kind) {
    if (WorkToSave()) return true;
    MsgBox(kind == "GED" ? "No file data to save!" : "No work data to save!", MsgButtons::Ok, MsgIcon::Exclamation);
    return false;
}

bool SaveWorkFile() {
    if (!HaveWorkToSave("LNT")) return false;
    const bool saved = SaveFile(kAskForName, "LNT");
    SaveUserFile();
    return saved;
}

bool SaveGedcomFile() { return HaveWorkToSave("GED") && SaveFile(kAskForName, "GED"); }

void RecaseLastNames(bool upper) {
    Step([upper] { InitUndo(upper ? "UnDo Last Names Upper case" : "UnDo Last Names Proper case"); });
    for (int32_t i = 1; i <= g.IndivCount; ++i) {
        IndivRec& I = g.Indiv[i];
        if (upper) {
            I.iSurn = UpperCase(I.iSurn.value());
            continue;
        }
        // A surname written with small letters is kept as written.
        const std::string surname = I.iSurn.value();
        if (!HasSmallLetter(surname)) I.iSurn = ProperCase(surname);
        I.iGivn = ProperCase(I.iGivn.value());
    }
    g.SurnameCase = upper ? "U" : "P";
    g.DataChanged = "Y";
}

void UndoLastChange() {
    if (!g.UndoReady) return;
    // A prune waiting for its OK names a person by a number of the work
    // being undone.
    if (g.PrunePending == "Y") CancelPrune();
    RestoreUndo();
    // The pedigree comes back with no box selected: the prune button's person
    // was chosen in the undone work.
    g.PruneIndiv = 0;
    Step([] {
        MainWindow().SetToolButtonEnabled(kPruneToolButton, false);
        MainWindow().SetToolButtonTip(kPruneToolButton, "");
    });
    InitPrep();
    g.LastPaste.clear();
    if (!WorkToSave()) DisableDataCommands();
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

bool PruneSetup(int32_t indiv) {
    g.PruneIndiv = indiv;
    Step([] { MainWindow().SetToolButtonEnabled(kPruneToolButton, false); });
    if (!PrunableIndiv(indiv)) return false;
    if (indiv == 1 && g.TreeCount == 1) {
        ShowInfo("Sorry! Unable to prune root individual in file.");
        return false;
    }
    if (g.DataChanged == "Y") {
        const MsgResult r = MsgBox("Backup work before pruning?", MsgButtons::YesNoCancel, MsgIcon::None, "Warning!");
        if (r == MsgResult::Cancel) return false;
        if (r == MsgResult::Yes) {
            // A cancelled or failed save has shown its own message; the prune goes on.
            Step([] { SaveFile(kAskForName, "LNT"); });
            Step([] { SaveUserFile(); });
        }
    }
    Step([] { Editor().Hide(); });
    g.PrunePending = "Y";
    PrunePanel().Show(PruneCaptions(indiv), PruneOption::PersonOnly);
    return true;
}

void RunPrune(int option) {
    Port().SetBusy(true);
    Step([] { PrunePanel().Hide(); });
    const int32_t t = g.PruneIndiv;
    // An undo or a load may have come between the panel and its OK.
    if (PrunableIndiv(t) && option >= 0 && option <= 3) {
        const PruneOption what = static_cast<PruneOption>(option);
        const std::string name = g.Indiv[t].iName.trimmed();
        const char* phrase = what == PruneOption::Ancestors     ? " and ancestors"
                             : what == PruneOption::Descendants ? " and descendants"
                             : what == PruneOption::All         ? " and all relations"
                                                                : "";
        MsgResult answer = MsgResult::Cancel;
        Step([&] {
            answer = MsgBox(name + phrase + " will be removed.", MsgButtons::OkCancel, MsgIcon::None, "Are you sure?");
        });
        if (answer == MsgResult::Ok) {
            // The snapshot is taken only once the user has confirmed.
            Step([&] { InitUndo("UnDo Delete of " + name); });
            const int32_t savedRoot = g.TreeSlot[0];
            // The tree he was in, before the prune marks him removed.
            const int16_t prunedTree = g.Indiv[t].iTree;
            // The root pruned alone or with his descendants: his father, or
            // his mother when no father is known, takes his place.
            int32_t candidate = 1;
            const int32_t famc = g.Indiv[t].iFamc;
            if (t == savedRoot && (what == PruneOption::Descendants || what == PruneOption::PersonOnly) && famc > 0 &&
                famc <= g.FamilCount) {
                const FamilRec& parents = g.Famil[famc];
                candidate = parents.fHusb != t && PrunableIndiv(parents.fHusb) ? parents.fHusb : parents.fWife;
            }
            Step([&] { PruneTree(what); });

            int32_t newRoot = 0;
            for (int32_t c : {savedRoot, candidate, 1})
                if (newRoot == 0 && PrunableIndiv(c)) newRoot = c;
            for (int32_t i = 1; newRoot == 0 && i <= g.IndivCount; ++i)
                if (PrunableIndiv(i)) newRoot = i;

            Step([] {
                RenumberTables();
                ForgetFirstPageOfEmptyWork();
            });
            Step([] { BuildNameIndex(); });
            Step([] { MainWindow().ClearTree(); });
            g.TreeSlot.fill(0);
            Step([] { LoadGenTree(); });
            for (int32_t k = 1; newRoot > 0 && k < static_cast<int32_t>(g.IndivNewNo.size()); ++k)
                if (g.IndivNewNo[static_cast<std::size_t>(k)] == newRoot) g.TreeSlot[0] = k;
            if (g.TreeSlot[0] != 0) Step([] { MainWindow().BuildTree(); });
            const std::string removed = "Prune removed " + std::to_string(g.PrunedIndivs) + " Individuals and " +
                                        std::to_string(g.PrunedFamils) + " Families";
            Step([&] { MainWindow().SetStatusLabel(removed + " from Tree #" + std::to_string(prunedTree)); });
            Step([] { MainWindow().UpdateStatusBar(); });
        }
    }
    g.PrunePending.assign(1, 'N');
    Port().SetBusy(false);
}

void CancelPrune() {
    g.PrunePending.assign(1, 'N');
    g.PruneIndiv = 0;
    Step([] { PrunePanel().Hide(); });
}

}  // namespace lintora
