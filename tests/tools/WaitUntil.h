// Bounded polling: the GUI tests wait for a condition (a window, a file, a pixel), never for a
// fixed time alone.
#pragma once

#include <chrono>
#include <functional>
#include <thread>

namespace loom::testtools {

// Polls pred every 10 ms until it holds or timeout passes; returns its last answer. The default is
// generous: a loaded machine, or a sanitizer, slows the program under test many times over, and
// only a failing test waits it out.
inline bool waitUntil(const std::function<bool()>& pred,
                      std::chrono::milliseconds timeout = std::chrono::seconds(30)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!pred()) {
        if (std::chrono::steady_clock::now() >= deadline) return pred();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

}  // namespace loom::testtools
