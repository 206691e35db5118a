#pragma once
// The about window: start-up splash, the Help menu's about box and the
// progress display of long file operations. Built in code; the handlers are
// public so that tests call them as the controls would.
#include <functional>
#include <string>

#include <QDialog>

#include "platform/window_ports.h"

class QFrame;
class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace lintora {

// The maker's home page, opened by a click on the notice line.
inline constexpr const char* kMakerHomePage = "https://www.corvesta.com/";

class frmAboutLintora : public QDialog, public ProgressDisplay {
    Q_OBJECT
public:
    explicit frmAboutLintora(QWidget* parent = nullptr);

    // "Version 1.1".
    static std::string VersionLine();

    // Splash start: shows itself, runs showMain (which loads and shows the
    // main window) and arms the one-second timer. A failure of the load is
    // reported and the returned false tells the caller to end the program.
    bool Form_Load(const std::function<void()>& showMain);
    // The timer: hides the splash; on a run that started without a
    // remembered work file, and still has none, it runs firstRun (the
    // search window), else the main window takes the keyboard unless a
    // window opened meanwhile holds the program.
    void Timer1_Timer();
    void Command1_Click();
    void lblCopyright_Click();
    // The list of page formats the program reads.
    static void InfoMsg2();

    // Progress display of the file operations and the undo: shows itself
    // with the bar; the end puts the version line back and hides it.
    void Start(int maximum) override;
    void Set(int value) override;
    void SetLabel(const std::string& text) override;
    void End() override;

    std::function<void()> firstRun;

    QLabel* lblTitle;
    QLabel* Picture1;
    QFrame* Frame1;
    QLabel* lblVersion;
    QProgressBar* ProgressBar1;
    QLabel* lblCopyright;
    QPushButton* Command1;
    QTimer* Timer1;

private:
    static bool NoWorkFileRemembered();
    // No work file was remembered when the program started.
    bool noFileAtStart_ = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace lintora
