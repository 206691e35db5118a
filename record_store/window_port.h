#pragma once
// What the core asks of the windows (main window, editor, search window).
// The windows implement it; without them every call does nothing, so the
// core runs and tests headless. Tests override what they need to watch.
#include <cstdint>
#include <string>

namespace lintora {

class WindowPort {
public:
    virtual ~WindowPort() = default;

    // Main window status label and status bar.
    virtual void SetStatusLabel(const std::string&) {}
    virtual std::string StatusLabel() const { return {}; }
    virtual void UpdateStatusBar() {}
    virtual void SetStatusPanel(int /*panel*/, const std::string&) {}
    virtual std::string StatusPanel(int /*panel*/) const { return {}; }
    // Main window caption ("Lintora (smith.lnt)").
    virtual void SetMainCaption(const std::string&) {}
    // The about window as progress display of a long load: the text under
    // its progress bar ("Reading smith.ged (60000)", then the version again).
    virtual void SetProgressLabel(const std::string&) {}

    // Pedigree display.
    virtual void FindTreePointer(int32_t /*indiv*/) {}
    virtual void ClearTree() {}
    virtual void BuildTree() {}

    // Commands: tool-bar buttons by index (4 save work, 6 save GEDCOM,
    // 8 list individuals, 9 UnDo, 10 Prune, 12 Clear), menu items, paste button.
    virtual void EnableDataCommands() {}
    virtual void SetToolButtonEnabled(int /*index*/, bool) {}
    virtual void SetToolButtonTip(int /*index*/, const std::string&) {}
    virtual void SetInetButtonTip(const std::string&) {}
    virtual void SetMenuItemEnabled(const std::string& /*menu*/, int /*index*/, bool) {}
    virtual void SetPasteEnabled(bool) {}
    virtual bool ClipboardHasText() const { return false; }

    // Lists and panels.
    virtual void ClearIndivList() {}
    virtual void ClearMarriageList() {}
    virtual void HideListWindow() {}
    virtual void HidePanels() {}  // place, prune, parent pick and source panels
    virtual void LoadParentPickList() {}
    virtual void HideParentPickList() {}

    // Individual editor.
    virtual bool EditorVisible() const { return false; }
    virtual int EditorTab() const { return 0; }
    virtual void HideEditor() {}
    virtual void LoadIndivEdit(int /*tab*/) {}
    virtual void SetEditorUndoEnabled(bool) {}
    // Notes box text, caption of the notes switch button and of the Notes tab.
    virtual void ShowEditorNotes(const std::string& /*notes*/, const std::string& /*switchCaption*/,
                                 const std::string& /*tabCaption*/) {}

    // Search window: year ranges back to their first entry.
    virtual void ResetSearchRanges() {}
    // Search window: site and page lists emptied (a load refills them on use).
    virtual void ClearSearchSiteLists() {}

    // Preferences window: hidden at the end of a GEDCOM save.
    virtual void HidePreferences() {}
};

// The window port in use; a do-nothing one until the windows install theirs.
WindowPort& Windows();
// Installs w (not owned); nullptr goes back to the do-nothing port.
void InstallWindows(WindowPort* w);

}  // namespace lintora
