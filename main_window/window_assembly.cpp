#include "main_window/window_assembly.h"

#include "main_window/desc_list_window.h"
#include "main_window/main_window.h"
#include "main_window/parent_pick.h"
#include "main_window/place_panel.h"
#include "main_window/preferences_window.h"
#include "main_window/record_lists.h"
#include "main_window/source_panel.h"
#include "main_window/status_texts.h"
#include "platform/window_ports.h"
#include "record_store/linking.h"
#include "record_store/program_state.h"
#include "record_store/trees.h"

namespace lintora {

namespace {

// The parent set the user picked for the page person; other numbers do nothing.
void LinkChosenSet(int set) {
    if (set < 1 || set > g.PageScratch.PageParentSetCount) return;
    g.ParentSetChoice = static_cast<int16_t>(set);
    if (LinkChildToParents(static_cast<int16_t>(set)) > 0) g.DataChanged.assign(1, 'Y');
}

}  // namespace

void PlugInWindows(Lintora& w) {
    auto* lists = new ListFrame(&w);
    w.InstallListWindow(lists);
    lists->openPerson = [](int32_t indiv) {
        g.CurIndiv = indiv;
        Editor().Load(0);
    };
    lists->reopenEditor = [] { Editor().Load(1); };
    lists->showStatus = [&w](const QString& text) { w.SetStatusLabel(text.toStdString()); };
    w.hooks.setListMessage = [lists](const std::string& m) { lists->SetHint(QString::fromStdString(m)); };
    w.hooks.toggleIndivList = [lists] { lists->ToggleIndivList(); };
    w.hooks.toggleMarrList = [lists] { lists->ToggleMarrList(); };
    w.hooks.clearIndivList = [lists] { lists->ClearIndivList(); };
    w.hooks.clearMarriageList = [lists] { lists->ClearMarrList(); };

    auto* places = new PlaceListFrame;
    w.InstallPanel("place", places);
    w.hooks.loadPlaceList = [places] { places->Open(); };

    auto* sources = new SourceEditFrame;
    w.InstallPanel("source", sources);
    w.hooks.editSources = [sources] { sources->Open(); };

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
        LinkChosenSet(set);
        finish();
    };
    pick->cancelPick = finish;

    auto* prefs = new LintoraPreferences(&w);
    w.hooks.showPreferences = [prefs](bool forGed) { forGed ? prefs->ShowForGedSave() : prefs->ShowFromMenu(); };
    w.hooks.hidePreferences = [prefs] { prefs->hide(); };

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
