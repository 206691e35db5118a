#pragma once
// The port through which the core reaches the user and the machine. The GUI
// installs the Qt implementation; tests install a scripted one.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace lintora {

// YesNoDefaultNo: Yes and No, No the button Enter presses.
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, YesNoDefaultNo };
enum class MsgIcon { None, Information, Exclamation, Question, Critical };
// Dismissed: the box was closed by Escape or its close button without a
// button of its own that means that (see DismissedAnswer).
enum class MsgResult { Ok, Cancel, Yes, No, Retry, Dismissed };

// What a box answers when it is dismissed: Cancel when it has a Cancel
// button, Ok when OK is its only button, else (Yes and No) Dismissed, which
// is neither: a question about unsaved work then keeps the work.
MsgResult DismissedAnswer(MsgButtons buttons);

// A close-match decision: the pending person's values (shown above the
// list) and the candidate rows; a row with indiv 0 is a blank padding row.
struct MatchCandidateRow {
    std::string name, birth, death, spouse, father, mother;
    int32_t indiv = 0;
};
struct MatchRequest {
    std::string name, birth, death, spouse, father, mother;
    std::vector<MatchCandidateRow> rows;
};

struct FileDialogRequest {
    std::string title;
    std::string filter;      // e.g. "GEDCOM files (*.ged)"
    std::string initialDir;
    std::string fileName;    // proposed name
};

struct LocalTime {
    int year = 2000, month = 1, day = 1;  // month 1..12
    int hour = 0, minute = 0, second = 0;
};

class Platform {
public:
    virtual ~Platform() = default;

    // A modal message box; returns the button pressed, or
    // DismissedAnswer(buttons) when it was dismissed. An empty title means
    // the program's default title. Details, where not empty, are shown only
    // when the user asks for them, in a part of their own that scrolls: a
    // long list there leaves the box and its buttons on the screen.
    virtual MsgResult MsgBox(const std::string& text, MsgButtons buttons, MsgIcon icon, const std::string& title,
                             const std::string& details) = 0;
    // The busy pointer while the single thread works. Status lines and
    // progress belong to the windows (platform/window_ports.h).
    virtual void SetBusy(bool busy) = 0;
    // Local clock, for creation stamps.
    virtual LocalTime Now() = 0;
    // The match selection: the chosen candidate's record number, or 0 when
    // the person is not a match (the window's close box counts as that).
    virtual int32_t ChooseMatch(const MatchRequest& request) = 0;
    // File dialogs: the chosen path, or empty when cancelled.
    virtual std::string SaveFileDialog(const FileDialogRequest& request) = 0;
    virtual std::string OpenFileDialog(const FileDialogRequest& request) = 0;
    // Starts the user's browser on a web address and returns at once, the
    // windows going on meanwhile: "" once the launcher is started, else why
    // it could not be. A started open is ended once, later: ended gets why
    // the launcher failed (it said so by its exit status), or "" when it
    // did its work or is still busy after a while (a browser kept in its
    // foreground). What ended asks belongs to the window that asked for the
    // open while that is still shown, else to the main window. Without a
    // desktop nothing is started.
    using OpenEnded = std::function<void(const std::string& problem)>;
    std::string OpenAddress(const std::string& address, OpenEnded ended);

    // An open started and not yet ended: asker is the AskingWindow at its
    // start; tellIn gives, at its end, the window what it tells belongs to
    // (nullptr: the main window's).
    struct PendingOpen {
        int id = 0;
        std::string address;
        const void* asker = nullptr;
        std::function<const void*()> tellIn;
        OpenEnded ended;
    };
    // The opens not yet ended, oldest first.
    const std::vector<PendingOpen>& PendingOpens() const { return opens_; }

protected:
    // Starts the launcher for the open numbered id: "" once it runs, else
    // why it could not be started. The platform ends each started open
    // once with EndOpen. Without a desktop nothing is started.
    virtual std::string StartOpen(int id, const std::string& address);
    // Made as an open starts (asker as in PendingOpen): at its end, the
    // window that asked while that is still shown, else the main window.
    virtual std::function<const void*()> WindowAtEnd(const void* asker);
    // Ends the open numbered id if it has not ended yet: "" opened, else why
    // the launcher failed.
    void EndOpen(int id, const std::string& problem);

private:
    std::vector<PendingOpen> opens_;
    int lastOpen_ = 0;
};

// Questions, messages and file dialogs shown while an AskingWindow lives
// belong to its window (a handle that only the installed platform reads; on
// Qt it is made by AskingWidget), so that window stays in front. Scopes nest;
// the innermost counts. Without one they belong to the main window.
class AskingWindow {
public:
    explicit AskingWindow(const void* window);
    ~AskingWindow();
    AskingWindow(const AskingWindow&) = delete;
    AskingWindow& operator=(const AskingWindow&) = delete;

private:
    const void* outer_;
};
// The window asking now; nullptr for none.
const void* CurrentAsker();

// The platform in use. Without an installed one a quiet headless platform
// answers every box with its first button.
Platform& Port();
// Installs p (not owned); nullptr goes back to the headless platform.
void InstallPlatform(Platform* p);

// Conveniences over Port().MsgBox.
MsgResult MsgBox(const std::string& text, MsgButtons buttons = MsgButtons::Ok,
                 MsgIcon icon = MsgIcon::None, const std::string& title = "", const std::string& details = "");
void ShowInfo(const std::string& text);      // information icon, OK
void ShowProblem(const std::string& text);   // exclamation icon, OK
bool AskYesNo(const std::string& text, MsgIcon icon = MsgIcon::Question);
MsgResult AskYesNoCancel(const std::string& text, MsgIcon icon = MsgIcon::Question);

}  // namespace lintora
