// Lintora: start-up. Until the main window exists this shows a placeholder.
#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLabel label("Lintora\n\nThe main window is not built yet.");
    label.setAlignment(Qt::AlignCenter);
    label.resize(420, 160);
    label.setWindowTitle("Lintora");
    label.show();
    return app.exec();
}
