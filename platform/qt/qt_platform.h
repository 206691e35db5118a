#pragma once
// The platform port on Qt Widgets: message boxes, the busy pointer, file
// dialogs and the local clock. The match choice is passed to a hook (the
// match selection dialog lives in its own library; see UseMatchSelectDialog).
#include <functional>
#include <memory>
#include <string>

#include <QObject>

#include "platform/platform.h"

class QWidget;

namespace lintora {

// Questions asked while it lives belong to window w.
class AskingWidget : public AskingWindow {
public:
    explicit AskingWidget(const QWidget* w) : AskingWindow(w) {}
};

// A window put away (a closed box, a hidden dialog) hands the activation
// back to the window it belongs to: a display without a window manager, and
// some managers, leave it to nobody, and then neither keys nor tool tips
// (the whole text of a cut caption) work until a click.
void ReturnActivation(QWidget* owner);
// The same for a window shown and put away again and again: when the
// program hides it, the window that was active when it was shown is active
// again, or, where none was or it is gone, the window's owner (its parent
// unless owner names another).
void ReturnActivationOnHide(QWidget* window, std::function<QWidget*()> owner = {});

// Title of every message box that names none.
inline constexpr const char* kProgramTitle = "Lintora";

class QtPlatform : public Platform {
public:
    QtPlatform() = default;
    ~QtPlatform() override;

    MsgResult MsgBox(const std::string& text, MsgButtons buttons, MsgIcon icon, const std::string& title,
                     const std::string& details = "") override;
    void SetBusy(bool busy) override;
    LocalTime Now() override;
    // Without a chooser installed nobody can be asked: the person counts as new.
    int32_t ChooseMatch(const MatchRequest& request) override;
    std::string SaveFileDialog(const FileDialogRequest& request) override;
    std::string OpenFileDialog(const FileDialogRequest& request) override;

    // The program that hands an address to the desktop's browser.
    std::string launcher = "xdg-open";
    // How long the launcher's answer is awaited, in milliseconds.
    int openWaitMs = 3000;

    // The window that owns the dialogs nobody else asks for (the main
    // window); none = the active one.
    QWidget* dialogParent = nullptr;
    std::function<int32_t(const MatchRequest&)> chooseMatch;

protected:
    // Runs the launcher with the address as its one argument, never
    // through a shell, and returns once it has started; the user's clicks
    // and keys go on to the windows as ever. Its end, or the wait running
    // out first (it counts as started then), ends the open.
    std::string StartOpen(int id, const std::string& address) override;
    // The window in use at the start (Parent), while it is still shown;
    // else dialogParent, never another window up at the end.
    std::function<const void*()> WindowAtEnd(const void* asker) override;

private:
    // The owner of a box or dialog: the asking window while it is up, else a
    // modal window in front (the user works in it), else dialogParent.
    QWidget* Parent() const;
    bool busy_ = false;
    // Holds the launchers' connections: none outlives the platform.
    std::unique_ptr<QObject> openWatch_ = std::make_unique<QObject>();
    // The clock's last second and how it reads.
    long long speltSecs_ = -1;
    LocalTime now_{};
};

}  // namespace lintora
