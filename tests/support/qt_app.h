#pragma once
// The one QApplication of a Qt test program, made on first use.
#include <QApplication>

namespace lintora::testing {

inline void EnsureApp() {
    static int argc = 1;
    static char name[] = "lintora_test";
    static char* argv[] = {name, nullptr};
    if (!QApplication::instance()) new QApplication(argc, argv);
}

}  // namespace lintora::testing
