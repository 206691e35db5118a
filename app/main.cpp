// Lintora: the Qt application with its platform port around the start-up
// routine; the program ends when the main window closes.
#include <QApplication>

#include "main_window/main_window.h"
#include "main_window/program_start.h"
#include "platform/qt/qt_platform.h"
#include "record_store/gui/match_select.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    lintora::QtPlatform platform;
    lintora::UseMatchSelectDialog(platform);
    lintora::InstallPlatform(&platform);

    lintora::StartOptions options;
    options.appPath = QCoreApplication::applicationDirPath().toStdString();
    // The command line is taken whole, as one path.
    for (int i = 1; i < argc; ++i) options.commandLine += (i > 1 ? " " : "") + std::string(argv[i]);
    options.quitOnClose = true;
    options.windowsBuilt = [&platform](lintora::Lintora& window) { platform.dialogParent = &window; };

    int rc = 0;
    {
        lintora::Program program;
        if (program.Start(options)) rc = app.exec();
        platform.dialogParent = nullptr;
    }
    lintora::InstallPlatform(nullptr);
    return rc;
}
