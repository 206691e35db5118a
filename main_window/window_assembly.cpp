#include "main_window/window_assembly.h"

#include <memory>

#include <QPointer>

#include "main_window/desc_list_window.h"
#include "main_window/main_window.h"
#include "main_window/parent_pick.h"
#include "main_window/place_panel.h"
#include "main_window/preferences_window.h"
#include "main_window/record_lists.h"
#include "main_window/source_panel.h"
#include "main_window/status_texts.h"
#include "platform/window_ports.h"
#include "editor/editor_window.h"
#include "internet_search/gui/search_window.h"
#include "main_window/prune_panel.h"
#include "record_store/prune.h"
#include "workspace/workspace.h"
#include "record_store/program_state.h"
#include "record_store/trees.h"

namespace lintora {

void PlugInWindows(Lintora& w) {
    auto* lists = new ListFrame(&w);
    w.InstallListWindow(lists);
    lists->openPerson = [](int32_t indiv) { OpenEditor(indiv, 0); };
    lists->linkSpouse = [](int32_t indiv) { LinkSpouse(indiv); };
    lists->linkParents = [](int32_t famil) { LinkParents(famil); };
    lists->reopenEditor = [] { CancelLinkMode(); };
    lists->showStatus = [&w](const QString& text) { w.SetStatusLabel(text.toStdString()); };
    w.hooks.setListMessage = [lists](const std::string& m) { lists->SetHint(QString::fromStdString(m)); };
    w.hooks.toggleIndivList = [lists] { lists->ToggleIndivList(); };
    w.hooks.toggleMarrList = [lists] { lists->ToggleMarrList(); };
    w.hooks.clearIndivList = [lists] { lists->ClearIndivList(); };
    w.hooks.clearMarriageList = [lists] { lists->ClearMarrList(); };
    w.hooks.refreshLists = [lists] { lists->Refresh(); };
    w.hooks.listedPerson = [lists] { return lists->HighlightedPerson(); };

    auto* places = new PlaceListFrame;
    w.InstallPanel("place", places);
    w.hooks.loadPlaceList = [places] { places->Open(); };
    w.hooks.refreshPlaceList = [places] { places->Refresh(); };

    auto* sources = new SourceEditFrame;
    w.InstallPanel("source", sources);
    w.hooks.editSources = [sources] { sources->Open(); };
    w.hooks.refreshSources = [sources] { sources->ShowCitations(); };

    auto* pick = new ParentPickPanel;
    w.InstallPanel("parents", pick);
    w.hooks.loadParentPickList = [pick] { pick->LoadParentPickList(); };
    w.hooks.hideParentPickList = [pick] { pick->hide(); };
    // A chosen set is linked; either way the paste ends with the trees
    // renumbered, the pedigree redrawn and the status bar brought up to date.
    auto finish = [&w] {
        LoadGenTree();
        const std::string message = w.StatusLabel();
        w.RedrawTree();
        w.SetStatusLabel(message);
        w.UpdateStatusBar();
    };
    pick->pickSet = [finish](int set) {
        PickParentSet(static_cast<int16_t>(set));
        finish();
    };
    pick->cancelPick = [finish] {
        CancelParentPick();
        finish();
    };

    auto* prune = new PruneFrame;
    w.InstallPanel("prune", prune);
    InstallPrunePanel(prune);
    // The open place list counts the pruned people's places no more.
    prune->afterPrune = [places] { places->Refresh(); };

    w.hooks.showSearchWindow = [&w] { ShowSearchWindow(g.CurIndiv, &w); };
    EditorHost host;
    host.showIndividualList = [&w, lists](const std::string& hint) {
        w.HidePopupMenu();
        lists->SetHint(QString::fromStdString(hint));
        lists->ToggleIndivList();
    };
    host.showMarriageList = [&w, lists](const std::string& hint) {
        w.HidePopupMenu();
        lists->SetHint(QString::fromStdString(hint));
        lists->ToggleMarrList();
    };
    host.searchInternet = [&w] { ShowSearchWindow(g.CurIndiv, &w); };
    host.undo = [&w] { w.Undo(); };
    host.owner = &w;
    SetEditorHost(host);

    // Built on first use, so that it shows the preferences read at start-up
    // whenever the windows were built; afterwards only hidden, so that the
    // boxes keep what was typed.
    auto prefs = std::make_shared<QPointer<LintoraPreferences>>();
    w.hooks.showPreferences = [&w, prefs](bool forGed) {
        if (!*prefs) *prefs = new LintoraPreferences(&w);
        forGed ? (*prefs)->ShowForGedSave() : (*prefs)->ShowFromMenu();
    };
    w.hooks.hidePreferences = [prefs] {
        if (*prefs) (*prefs)->hide();
    };

    auto* desc = new LintoraDescList(&w);
    desc->reRoot = [&w](int32_t indiv) {
        w.SkipNextTreeClick();
        g.TreeSlot[0] = indiv;
        w.RedrawTree();
        w.UpdateStatusBar();
    };
    w.hooks.showDescList = [desc] { desc->ShowDescList(); };
    w.hooks.hideDescList = [desc] { desc->hide(); };
}

}  // namespace lintora
