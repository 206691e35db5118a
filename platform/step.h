#pragma once
// One statement of a command that may fail without stopping the command:
// its error is passed over and the next statement runs, so a command that
// touches several windows or tables always comes to its end.
#include <utility>

namespace lintora {

template <typename F>
void Step(F&& f) noexcept {
    try {
        std::forward<F>(f)();
    } catch (...) {
    }
}

}  // namespace lintora
