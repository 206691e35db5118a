#pragma once
// What the core asks of each window, one small interface per window. The
// windows install their own; without them every call does nothing, so the
// core runs and tests headless. A test fakes exactly the one it watches.
#include <cstdint>
#include <string>

namespace lintora {

// The tool-bar buttons by their place on the bar (1..12; 2, 5, 7 and 11 are
// separators). The tips of Undo and Prune tell what they would do.
constexpr int kExitToolButton = 1;
constexpr int kOpenToolButton = 3;
constexpr int kSaveWorkToolButton = 4;
constexpr int kSaveGedToolButton = 6;
constexpr int kListToolButton = 8;
constexpr int kUndoToolButton = 9;
constexpr int kPruneToolButton = 10;
constexpr int kClearToolButton = 12;
constexpr int kToolButtonCount = 12;
// The buttons that need work to act on. Undo needs a snapshot as well, and
// Prune a person chosen.
constexpr int kDataToolButtons[] = {kSaveWorkToolButton, kSaveGedToolButton, kListToolButton, kClearToolButton};

// The main window: status line, caption, pedigree, commands, lists, panels.
class MainWindowPort {
public:
    virtual ~MainWindowPort() = default;

    // Status label and status bar panels.
    virtual void SetStatusLabel(const std::string&) {}
    virtual std::string StatusLabel() const { return {}; }
    // A line about the file open now that stays until another file is
    // opened or the work is cleared ("" takes it away).
    virtual void SetFileNote(const std::string&) {}
    virtual std::string FileNote() const { return {}; }
    virtual void UpdateStatusBar() {}
    virtual void SetStatusPanel(int /*panel*/, const std::string&) {}
    virtual std::string StatusPanel(int /*panel*/) const { return {}; }
    // Caption ("Lintora (smith.lnt)").
    virtual void SetMainCaption(const std::string&) {}

    // Pedigree display.
    virtual void FindTreePointer(int32_t /*indiv*/) {}
    virtual void ClearTree() {}
    virtual void BuildTree() {}

    // Commands: tool-bar buttons by index (the k...ToolButton names above),
    // menu items, paste button.
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
    // The preferences window, opened from here: hidden at the end of a GEDCOM save.
    virtual void HidePreferences() {}
};

// The individual editor.
class EditorPort {
public:
    virtual ~EditorPort() = default;

    virtual bool Visible() const { return false; }
    virtual int Tab() const { return 0; }
    virtual void Hide() {}
    // Shows the current individual on the given tab.
    virtual void Load(int /*tab*/) {}
    virtual void SetUndoEnabled(bool) {}
    // Notes box text, caption of the notes switch button and of the Notes tab.
    virtual void ShowNotes(const std::string& /*notes*/, const std::string& /*switchCaption*/,
                           const std::string& /*tabCaption*/) {}
};

// The internet search window.
class SearchWindowPort {
public:
    virtual ~SearchWindowPort() = default;

    // Year ranges back to their first entry.
    virtual void ResetRanges() {}
    // Site and page lists emptied (they refill on use).
    virtual void ClearSiteLists() {}
};

// The progress display of a long task: a bar and the label under it.
class ProgressDisplay {
public:
    virtual ~ProgressDisplay() = default;

    virtual void Start(int /*maximum*/) {}
    virtual void Set(int /*value*/) {}
    virtual void SetLabel(const std::string&) {}
    // Bar and label back to their resting look.
    virtual void End() {}
};

// Progress().Start and Set for a count that may pass what an int holds (the
// bytes of a large file): such a count is shown in proportion, each value
// given with the total it belongs to.
void StartProgress(std::uint64_t total);
void SetProgress(std::uint64_t done, std::uint64_t total);

// The port in use; a do-nothing one until a window installs its own.
MainWindowPort& MainWindow();
EditorPort& Editor();
SearchWindowPort& SearchWindow();
ProgressDisplay& Progress();
// Install p (not owned); nullptr goes back to the do-nothing port.
void InstallMainWindow(MainWindowPort* p);
void InstallEditor(EditorPort* p);
void InstallSearchWindow(SearchWindowPort* p);
void InstallProgress(ProgressDisplay* p);

}  // namespace lintora
