// XServer: an X server of the test's own (Xvfb, one 1280 x 1024 screen), for tests that change what
// every other window would see (full screen needs a window manager to happen at all) or that run
// whole programs. While it lives, DISPLAY names it for this process and its children; the server
// and the window manager it may start end with it, and DISPLAY is put back.
#pragma once

#include <memory>
#include <string>

#include "tools/Process.h"

namespace loom::testtools {

class XServer {
public:
    // Throws std::runtime_error when Xvfb does not start.
    XServer();
    ~XServer();
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    const std::string& display() const { return display_; }
    // openbox; returns once it manages the screen, throws std::runtime_error when it does not.
    void startWindowManager();

private:
    bool hadDisplay_ = false;
    std::string oldDisplay_;
    std::string display_;
    std::unique_ptr<Process> server_;
    std::unique_ptr<Process> windowManager_;  // declared last: ends before the server
};

}  // namespace loom::testtools
