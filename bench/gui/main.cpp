// The windows' benchmarks: one QApplication for the whole run, made before
// the first benchmark and ended after the last one, once the windows the
// benchmarks made are gone (never among the exit handlers).
#include <benchmark/benchmark.h>

#include <cstdlib>

#include <QApplication>
#include <QList>
#include <QPointer>
#include <QWidget>

#include "platform/window_ports.h"

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    lintora::InstallMainWindow(nullptr);
    lintora::InstallEditor(nullptr);
    lintora::InstallProgress(nullptr);
    QList<QPointer<QWidget>> windows;
    for (QWidget* w : QApplication::topLevelWidgets()) windows.append(w);
    for (const QPointer<QWidget>& w : windows)
        if (w && !w->parentWidget()) delete w.data();
    return 0;
}
