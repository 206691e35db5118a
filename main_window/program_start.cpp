#include "main_window/program_start.h"

#include <exception>

#include "editor/editor_window.h"
#include "files/data_files.h"
#include "main_window/about_window.h"
#include "main_window/main_window.h"
#include "main_window/window_assembly.h"
#include "platform/window_ports.h"
#include "record_store/program_state.h"
#include "record_store/prune.h"

namespace lintora {

void ReadProgramSettings(const std::string& appPath) {
    g.AppPath = appPath;
    if (g.AppPath.size() > 1 && g.AppPath.back() == '/') g.AppPath.pop_back();
    // Each step is passed over when it fails; start-up goes on.
    try {
        ReadStartupSettings();
    } catch (const std::exception&) {
    }
    try {
        LoadDatFile("All");
    } catch (const std::exception&) {
    }
}

Program::Program() = default;

Program::~Program() {
    if (!window_) return;
    InstallProgress(nullptr);
    InstallEditor(nullptr);
    InstallPrunePanel(nullptr);
    InstallMainWindow(nullptr);
    SetEditorHost({});
    window_.reset();
}

bool Program::Start(const StartOptions& options) {
    ReadProgramSettings(options.appPath);

    window_ = std::make_unique<Lintora>();
    Lintora& window = *window_;
    window.quitOnClose = options.quitOnClose;
    PlugInWindows(window);
    InstallMainWindow(&window);
    frmAboutLintora& about = window.About();
    InstallProgress(&about);
    InstallEditorPort();
    about.firstRun = [&window] { window.InetButton_Click(); };
    if (options.windowsBuilt) options.windowsBuilt(window);

    return about.Form_Load([&] {
        window.OpenStartFile(options.commandLine);
        window.show();
        window.TellAfterShown();
    });
}

}  // namespace lintora
