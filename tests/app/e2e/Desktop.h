// A private X desktop for end-to-end tests: its own Xvfb (so a test may start a window manager
// without disturbing others), child processes that are always ended, real input through xdotool,
// and window pixels through ImageMagick. Every wait polls a condition with a time limit.
#pragma once

#include <sys/types.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace e2e {

// A child process; ended (TERM, then KILL) when destroyed. Output can go to files.
class Process {
public:
    explicit Process(const std::vector<std::string>& argv, const std::string& stdoutPath = "",
                     const std::string& stderrPath = "");
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool running();
    // The exit status once it has ended, -1 while it runs or when it was killed by a signal.
    int exitStatus();
    pid_t pid() const { return pid_; }

private:
    pid_t pid_ = -1;
    bool ended_ = false;
    int status_ = 0;
};

// Runs a program to its end and returns what it printed on stdout (its stderr is dropped);
// *status gets its exit status.
std::string runCapture(const std::vector<std::string>& argv, int* status = nullptr);

// An 8-bit RGB or RGBA picture, rows top to bottom.
struct Image {
    int width = 0;
    int height = 0;
    int channels = 0;
    std::vector<uint8_t> pixels;

    bool empty() const { return width == 0; }
    std::array<uint8_t, 3> rgb(int x, int y) const {
        const uint8_t* p = &pixels[(size_t(y) * size_t(width) + size_t(x)) * size_t(channels)];
        return {p[0], p[1], p[2]};
    }
    uint8_t alpha(int x, int y) const {
        return channels == 4 ? pixels[(size_t(y) * size_t(width) + size_t(x)) * 4 + 3] : 255;
    }
};

// Any image file ImageMagick reads, as RGBA.
Image readImageFile(const std::string& path);

// An X server of its own; DISPLAY points at it for this process and its children while it lives.
class Desktop {
public:
    Desktop();
    ~Desktop();
    Desktop(const Desktop&) = delete;
    Desktop& operator=(const Desktop&) = delete;

    const std::string& display() const { return display_; }
    // openbox, for full-screen changes (which need a window manager to take effect).
    void startWindowManager();

    // Visible windows whose title matches the regular expression, topmost last.
    std::vector<std::string> findWindows(const std::string& titleRegex);
    std::vector<std::string> findWindowsOfClass(const std::string& classRegex);
    // Waits for one to appear; "" when none did in time.
    std::string waitForWindow(const std::string& titleRegex, double timeoutSeconds = 15.0);
    std::string waitForWindowOfClass(const std::string& classRegex, double timeoutSeconds = 15.0);
    bool waitForWindowGone(const std::string& wid, double timeoutSeconds = 10.0);
    // Client size.
    std::array<int, 2> windowSize(const std::string& wid);

    // Input, in window pixels of wid.
    void moveMouse(const std::string& wid, int x, int y);
    void click(const std::string& wid, int x, int y, int button = 1);
    void drag(const std::string& wid, int fromX, int fromY, int toX, int toY, int button = 1);
    void focus(const std::string& wid);
    // Key names as xdotool knows them ("s", "space", "Return", "ctrl+a").
    void key(const std::string& wid, const std::string& keys);
    void keyDown(const std::string& wid, const std::string& keys);
    void keyUp(const std::string& wid, const std::string& keys);
    void type(const std::string& wid, const std::string& text);

    // The window's pixels as shown on the screen.
    Image grab(const std::string& wid);

private:
    void xdotool(const std::vector<std::string>& args);

    std::string oldDisplay_;
    bool hadDisplay_ = false;
    std::string display_;
    pid_t server_ = -1;
    std::vector<pid_t> helpers_;
};

}  // namespace e2e
