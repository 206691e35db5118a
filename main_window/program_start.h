#pragma once
// The program's start-up, one routine for the program's main and for the
// window tests: the settings and data files are read, then the windows are
// built and installed as the ports, then (with the about window standing as
// the splash) the work file is opened and the main window shown. Ending the
// program object takes the ports down again.
#include <functional>
#include <memory>
#include <string>

class QWidget;

namespace lintora {

class Lintora;

struct StartOptions {
    std::string appPath;      // the program's folder
    std::string commandLine;  // taken whole, as one path
    bool quitOnClose = false; // the real program ends when its window closes
    // Runs once the windows are built, before anything is opened (the real
    // program makes the main window the owner of its dialogs here).
    std::function<void(Lintora&)> windowsBuilt;
};

// Reads what start-up needs before any window exists: the program folder,
// the settings and the site and user data files.
void ReadProgramSettings(const std::string& appPath);

class Program {
public:
    Program();
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // The start-up sequence. False when the load failed and was reported:
    // the program should end.
    bool Start(const StartOptions& options);
    // The main window, once Start has built it.
    Lintora& Window() const { return *window_; }

private:
    std::unique_ptr<Lintora> window_;
};

}  // namespace lintora
