// Lintora: start-up. Until the main window exists this shows a placeholder.
#include <QApplication>
#include <QLabel>

#include "platform/qt/qt_platform.h"
#include "record_store/gui/match_select.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    lintora::QtPlatform platform;
    lintora::UseMatchSelectDialog(platform);
    lintora::InstallPlatform(&platform);

    QLabel label("Lintora\n\nThe main window is not built yet.");
    label.setAlignment(Qt::AlignCenter);
    label.resize(420, 160);
    label.setWindowTitle("Lintora");
    label.show();
    int rc = app.exec();
    lintora::InstallPlatform(nullptr);
    return rc;
}
