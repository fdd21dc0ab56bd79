// Helpers for GUI tests on a real X server: run a command and read its output, wait for a window
// by its title, send input with xdotool, take screenshots, and poll for a condition. Every wait is
// bounded. The tests run on the display in DISPLAY (scripts/test.sh starts a private Xvfb).
#pragma once

#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>

namespace loom::testtools {

struct CommandResult {
    int status = -1;  // the exit status, or -1 when the command could not run or was killed
    std::string output;
};

// Runs a shell command line and collects its standard output.
inline CommandResult runCommand(const std::string& command) {
    CommandResult result;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return result;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof(buffer), pipe)) > 0) result.output.append(buffer, n);
    int raw = pclose(pipe);
    result.status = (raw != -1 && WIFEXITED(raw)) ? WEXITSTATUS(raw) : -1;
    return result;
}

// Polls pred every 10 ms until it holds or timeout passes; returns its last answer.
inline bool waitUntil(const std::function<bool()>& pred,
                      std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!pred()) {
        if (std::chrono::steady_clock::now() >= deadline) return pred();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

// The X id of the visible window whose title is exactly title, or "" after timeoutSeconds. Each
// search is retried rather than left to xdotool's own waiting, since a window that vanishes while
// xdotool walks the tree (a window manager's frames come and go) makes it fail.
inline std::string waitForWindow(const std::string& title, int timeoutSeconds = 10) {
    std::string id;
    waitUntil(
        [&] {
            CommandResult found = runCommand("timeout 5 xdotool search --onlyvisible --name '^" +
                                             title + "$' 2>/dev/null");
            id = found.output.substr(0, found.output.find('\n'));
            return found.status == 0 && !id.empty();
        },
        std::chrono::seconds(timeoutSeconds));
    return id;
}

// Runs xdotool with the given arguments (bounded to 10 s); true when it succeeded.
inline bool xdotool(const std::string& arguments) {
    return runCommand("timeout 10 xdotool " + arguments + " 2>&1").status == 0;
}

// Gives the window the keyboard focus and waits until it has it (no window manager needed).
inline bool focusWindow(const std::string& windowId) {
    return xdotool("windowfocus --sync " + windowId);
}

// The window's top-left corner in root coordinates; false when xdotool cannot tell.
inline bool windowOrigin(const std::string& windowId, int& x, int& y) {
    CommandResult geometry =
        runCommand("timeout 10 xdotool getwindowgeometry --shell " + windowId + " 2>/dev/null");
    size_t at = geometry.output.find("X=");
    size_t atY = geometry.output.find("Y=");
    if (geometry.status != 0 || at == std::string::npos || atY == std::string::npos) return false;
    x = std::stoi(geometry.output.substr(at + 2));
    y = std::stoi(geometry.output.substr(atY + 2));
    return true;
}

// Moves the pointer to (x, y) relative to the window's top-left corner (which may lie outside the
// window) and waits until it is there.
inline bool movePointer(const std::string& windowId, int x, int y) {
    int originX = 0;
    int originY = 0;
    if (!windowOrigin(windowId, originX, originY)) return false;
    return xdotool("mousemove --sync " + std::to_string(originX + x) + " " +
                   std::to_string(originY + y));
}

// Writes the window's pixels to a PNG file (ImageMagick's import).
inline bool screenshot(const std::string& windowId, const std::string& path) {
    return runCommand("timeout 10 import -window " + windowId + " '" + path + "' 2>&1").status == 0;
}

}  // namespace loom::testtools
