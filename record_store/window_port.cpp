#include "record_store/window_port.h"

namespace lintora {

namespace {
WindowPort* installed = nullptr;
}

WindowPort& Windows() {
    static WindowPort none;
    return installed ? *installed : none;
}

void InstallWindows(WindowPort* w) { installed = w; }

}  // namespace lintora
