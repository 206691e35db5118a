#pragma once
// The main window: the 31-box pedigree with its "more" buttons and the
// selected-person pop-up panel, menus, tool bar, paste and search buttons,
// message line and status bar. It is the core's main window port. The
// lists, panels, search window and Preferences are plugged in from outside
// (InstallListWindow, InstallPanel, hooks); the editor is reached through
// its own port. Until they are there, their commands do nothing visible.
//
// Handlers are public, named after the controls, and do what a click
// would; tests call them directly.
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <QMainWindow>

#include "platform/platform.h"
#include "record_store/pedigree_view.h"
#include "platform/window_ports.h"

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QScrollArea;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QStatusBar;
class QTimer;
class QToolBar;

namespace lintora {

class frmAboutLintora;

// The maker's support page, opened by Help > Help.
inline constexpr const char* kSupportPage = "https://www.corvesta.com/lintora/support";

// Colours as the design gives them (0xBBGGRR).
inline constexpr uint32_t kBoxBack = 0xFFFFFF;
inline constexpr uint32_t kBoxText = 0x800000;
inline constexpr uint32_t kSelectedBack = 0xC0FFFF;
inline constexpr uint32_t kSelectedText = 0x000000;
inline constexpr uint32_t kHighlightBack = 0xFFFF00;

// What the other windows and panels do for the main window's commands.
// Every hook is optional; an empty one does nothing.
struct MainWindowHooks {
    // Lists (individuals and marriages in the list frame).
    std::function<void(const std::string&)> setListMessage;  // lblListMessage
    std::function<void()> toggleIndivList, toggleMarrList;
    std::function<void()> clearIndivList, clearMarriageList;
    std::function<void()> refreshLists;  // after an undo, while a list is open
    std::function<int32_t()> listedPerson;  // the open list's highlighted person, or 0
    // Panels.
    std::function<void()> loadPlaceList;    // Edit > Edit Places, after the undo snapshot
    std::function<void()> refreshPlaceList; // after an undo, while the place list is open
    std::function<void()> editSources;      // Edit > Edit Sources
    std::function<void()> refreshSources;   // with the status bar: the open source panel's count
    std::function<void()> loadParentPickList, hideParentPickList;
    // Other windows.
    std::function<void(bool forGedSave)> showPreferences;  // GED save: returns at once
    std::function<void()> hidePreferences;
    std::function<void()> showDescList, hideDescList;
    std::function<void()> showSearchWindow;  // prepared for CurIndiv, modal
    std::function<bool()> searchWindowVisible;
    std::function<void()> hideSearchWindow;  // remembers its list positions
    std::function<void()> unloadSearchWindow;
};

class Lintora : public QMainWindow, public MainWindowPort {
    Q_OBJECT
public:
    explicit Lintora(QWidget* parent = nullptr);
    ~Lintora() override;

    // ---- Start-up and shut-down ----
    // The load sequence: settings and data files (ReadProgramSettings), then
    // OpenStartFile. The program starts through Program::Start, which
    // builds the windows between the two.
    void Form_Load(const std::string& appPath, const std::string& commandLine);
    // Empty tables, then the work file named on the command line (whole,
    // trimmed) or remembered; starts the paste watch.
    void OpenStartFile(const std::string& commandLine);
    // Once the window shows: what start-up tells of other stopped saves.
    void TellAfterShown();
    // The close sequence; false when the window must stay open because the
    // editor stayed open, or the user dismissed the save question, or chose
    // to save and the save did not complete.
    bool Form_Unload();
    // The about window (splash, about box, progress display).
    frmAboutLintora& About();
    // Ends the program when the window closes (the real program only).
    bool quitOnClose = false;

    // ---- Paste ----
    void Command6_Click();
    void Timer1_Timer();

    // ---- Menus and tool bar ----
    void mnuFileItem_Click(int index);
    void mnuEditItem_Click(int index);
    void mnuListItem_Click(int index);
    void mnuInet_Click();
    void mnuHelpItem_Click(int index);
    void mnuPrefs_Click();
    void mnuPopup1Item_Click(int index);
    void Toolbar1_ButtonClick(int button);
    void InetButton_Click();
    // The Undo command (the tool bar's, and the editor's UnDo): the last
    // snapshot back, an open list or place list refilled, and the source
    // panel's count brought up to date.
    void Undo();
    // Chooses from the pedigree pop-up menu at the pointer: the item index,
    // or -1 when closed without a choice. Tests replace it.
    std::function<int()> choosePopupItem;
    // The pop-up menu's key of item index: the item for the person the user
    // sees chosen: while the list covers the pedigree its highlighted row's,
    // else the selected box's, else the open prune panel's; with none of
    // them nothing.
    void PopupKey(int index);

    // ---- Pedigree ----
    void lblTree_MouseUp(int index, int button);  // button 1 left, 2 right, 4 middle
    void Command1_Click(int index);
    void Command2_Click();
    void SpousesCBox_Click(int row);
    void SpousesCBox_DblClick(int row);
    void ChildrenLBox_DblClick(int row);
    void HighlightTreeLabel(int button, int box);
    void HidePopupMenu();
    // Redraws around the same root.
    void RedrawTree();
    // Makes the next box click be ignored (a double-click elsewhere that
    // re-rooted under the pointer); the flag lasts one turn of the event loop.
    void SkipNextTreeClick();
    bool BoxSelected(int box) const;
    uint32_t BoxBack(int box) const;
    uint32_t BoxText(int box) const;

    // ---- Plugging in ----
    MainWindowHooks hooks;
    // Makes w the list frame: it covers the pedigree area while shown.
    void InstallListWindow(QWidget* w);
    // Adds a panel (place, prune, parent pick, source) over the pedigree
    // area, hidden, at the pedigree's top right unless it was placed
    // already; HidePanels hides all of them. Where the window shows only
    // part of the pedigree, the list frame covers that part and the panels
    // are moved into it, made smaller where it is smaller than they are.
    void InstallPanel(const std::string& name, QWidget* w);
    QWidget* Panel(const std::string& name) const;
    void ShowPanel(const std::string& name);
    // Pedigree area, the parent of the boxes, panels and list frame.
    QWidget* PedigreeArea() const { return pedigreeArea_; }

    // ---- Window port ----
    void SetStatusLabel(const std::string& text) override;
    std::string StatusLabel() const override;
    void SetFileNote(const std::string& text) override;
    std::string FileNote() const override;
    void UpdateStatusBar() override;
    void SetStatusPanel(int panel, const std::string& text) override;
    std::string StatusPanel(int panel) const override;
    void SetMainCaption(const std::string& caption) override;
    void FindTreePointer(int32_t indiv) override;
    void ClearTree() override;
    void BuildTree() override;
    void EnableDataCommands() override;
    void SetToolButtonEnabled(int index, bool enabled) override;
    void SetToolButtonTip(int index, const std::string& tip) override;
    std::string ToolButtonTip(int index) const;
    void SetInetButtonTip(const std::string& tip) override;
    void SetMenuItemEnabled(const std::string& menu, int index, bool enabled) override;
    void SetPasteEnabled(bool enabled) override;
    bool ClipboardHasText() const override;
    void ClearIndivList() override;
    void ClearMarriageList() override;
    void HideListWindow() override;
    void HidePanels() override;
    void LoadParentPickList() override;
    void HideParentPickList() override;
    void HidePreferences() override;

    // ---- State of the window ----
    std::string SkipTreeClick = "N";
    int32_t PanelIndiv = 0;
    std::vector<int32_t> SpouseNums;  // entry k-1 behind row k-1 of SpousesCBox
    std::vector<int32_t> ChildNums;   // entry k-1 behind row k-1 of ChildrenLBox
    std::vector<char> ChildHasFam;

    // ---- Controls ----
    std::array<QLabel*, kTreeBoxes> lblTree{};
    std::array<QLabel*, kTreeBoxes> noteFlg1{};
    QLabel* notesFlg2 = nullptr;
    std::array<QPushButton*, kMoreButtons> Command1{};
    QPushButton* Command2 = nullptr;
    QFrame* popupFrame = nullptr;
    QLineEdit* BirthDtPlace = nullptr;
    QLineEdit* MarrDtPlace = nullptr;
    QLineEdit* DeathDtPlace = nullptr;
    QListWidget* SpousesCBox = nullptr;  // a list, so that a double-click reaches it
    QListWidget* ChildrenLBox = nullptr;
    QLabel* lblSpouses = nullptr;
    QLabel* lblChildren = nullptr;
    QLabel* lblDspMsg = nullptr;
    QLabel* fileNote_ = nullptr;  // about the file open; hidden while empty
    QPushButton* Command6 = nullptr;   // paste
    QPushButton* InetButton = nullptr;
    QTimer* Timer1 = nullptr;
    QWidget* ListFrame = nullptr;  // the list window once installed
    QStatusBar* StatusBar1 = nullptr;
    std::array<QLabel*, 7> statusPanels{};
    QToolBar* Toolbar1 = nullptr;
    std::array<QAction*, kToolButtonCount + 1> toolButtons{};  // 1..12; separators stay null
    QMenu* mnuPopup1 = nullptr;
    std::array<QAction*, 5> mnuFileItem{};
    std::array<QAction*, 5> mnuEditItem{};
    std::array<QAction*, 2> mnuListItem{};
    std::array<QAction*, 3> mnuHelpItem{};  // 0 and 2 (there is no item 1)
    std::array<QAction*, 4> mnuPopup1Item{};
    QAction* mnuInet = nullptr;
    QAction* mnuPrefs = nullptr;

    // Box geometry in pixels of the pedigree area.
    static QRect BoxRect(int box);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildMenus();
    void BuildToolBar();
    void BuildPedigree();
    void BuildPopupPanel();
    void BuildStatusBar();
    void SetBoxColours(int box, uint32_t back, uint32_t text);
    void ReRoot(int32_t root);
    // Saves the work file and the user data; false when it was not written.
    bool SaveWork();
    // Closes a visible editor as its close box does (its reminder first);
    // false when it stays open (the reminder dismissed, or a save refused).
    bool CloseEditorFirst();
    // "Do you wish to save your changes?" before the work goes: true when it
    // may go (saved, answered No, nothing to save); false keeps the program
    // and the work (dismissed, or a save that did not complete).
    bool OfferToSaveWork(MsgIcon icon);
    void OpenWorkfile();
    void AddNewIndividual();
    void Paste(const std::string& text);
    int RunPopupMenu();
    int32_t KeyedPerson() const;
    // The part of the pedigree area in view, in its own coordinates; all of
    // it while the window is not on screen.
    QRect PedigreeInView() const;
    // Puts the list frame and the panels over the part in view.
    void FitOverPedigree();

    QWidget* pedigreeArea_ = nullptr;
    QScrollArea* pedigreeScroll_ = nullptr;
    frmAboutLintora* about_ = nullptr;
    std::array<uint32_t, kTreeBoxes> back_{};
    std::array<uint32_t, kTreeBoxes> text_{};
    std::map<std::string, QWidget*> panels_;
    std::map<QWidget*, QRect> panelHome_;  // where each panel stands with the whole pedigree in view
    int32_t shownRoot_ = 0;                // the root of the pedigree last drawn
    bool popupOpen_ = false;               // the pop-up menu is up: its items are chosen in it
    std::array<std::string, kToolButtonCount + 1> toolTips_;  // an empty tip shows none
};

}  // namespace lintora
