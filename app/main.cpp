// Lintora: start-up. The about window shows as the splash while the main
// window loads; the program ends when the main window closes.
#include <QApplication>

#include "editor/editor_window.h"
#include "main_window/about_window.h"
#include "main_window/main_window.h"
#include "main_window/window_assembly.h"
#include "platform/qt/qt_platform.h"
#include "record_store/gui/match_select.h"
#include "platform/window_ports.h"
#include "record_store/prune.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    lintora::QtPlatform platform;
    lintora::UseMatchSelectDialog(platform);
    lintora::InstallPlatform(&platform);

    // The command line is taken whole, as one path.
    std::string commandLine;
    for (int i = 1; i < argc; ++i) commandLine += (i > 1 ? " " : "") + std::string(argv[i]);

    int rc = 0;
    {
        lintora::Lintora window;
        window.quitOnClose = true;
        lintora::PlugInWindows(window);
        lintora::InstallMainWindow(&window);
        lintora::frmAboutLintora& about = window.About();
        lintora::InstallProgress(&about);
        lintora::InstallEditorPort();
        platform.dialogParent = &window;
        about.firstRun = [&] { window.InetButton_Click(); };
        const bool loaded = about.Form_Load([&] {
            window.Form_Load(QCoreApplication::applicationDirPath().toStdString(), commandLine);
            window.show();
        });
        if (loaded) rc = app.exec();
        platform.dialogParent = nullptr;
        lintora::InstallProgress(nullptr);
        lintora::InstallEditor(nullptr);
        lintora::InstallPrunePanel(nullptr);
        lintora::InstallMainWindow(nullptr);
    }
    lintora::InstallPlatform(nullptr);
    return rc;
}
