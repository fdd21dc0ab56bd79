#include "tools/XWindows.h"

#include <cstdlib>
#include <functional>
#include <regex>
#include <sstream>
#include <stdexcept>

#include "tools/Process.h"
#include "tools/WaitUntil.h"

namespace loom::testtools {

namespace {

std::vector<std::string> words(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string word; in >> word;) out.push_back(word);
    return out;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (!line.empty()) out.push_back(line);
    return out;
}

// Runs an X tool, bounded to 10 s; throws with the command and what it said when it fails.
std::string xTool(const std::vector<std::string>& argv) {
    std::vector<std::string> bounded = {"timeout", "10"};
    bounded.insert(bounded.end(), argv.begin(), argv.end());
    const CommandResult result = run(bounded);
    if (result.status == 0) return result.output;
    std::string command;
    for (const std::string& a : argv) command += a + " ";
    throw std::runtime_error(command + "failed: " + result.errors);
}

void xdotool(std::vector<std::string> args) {
    args.insert(args.begin(), "xdotool");
    xTool(args);
}

// Our Python helpers (they need python3-xlib, so the system's Python).
void pythonTool(const std::string& script, std::vector<std::string> args) {
    args.insert(args.begin(), {"/usr/bin/python3", LOOM_TEST_TOOLS_DIR "/" + script});
    const CommandResult result = run(args);
    if (result.status != 0) throw std::runtime_error(script + " failed: " + result.errors);
}

bool viewable(const std::string& window) {
    return run({"xwininfo", "-id", window}).output.find("IsViewable") != std::string::npos;
}

std::string waitForFirst(const std::function<std::vector<std::string>()>& find,
                         std::chrono::milliseconds timeout) {
    std::string found;
    waitUntil(
        [&] {
            const std::vector<std::string> ids = find();
            if (!ids.empty()) found = ids.back();
            return !ids.empty();
        },
        timeout);
    return found;
}

// The value of NAME=value in xdotool's --shell output; 0 when absent.
int shellValue(const std::string& output, const std::string& name) {
    for (const std::string& line : lines(output))
        if (line.rfind(name + "=", 0) == 0) return std::atoi(line.c_str() + name.size() + 1);
    return 0;
}

std::string windowGeometry(const std::string& window) {
    return xTool({"xdotool", "getwindowgeometry", "--shell", window});
}

// Real key events go to the focused window: sending them to the window by id would fail on the
// release of a key that closes it.
void sendKeys(const std::string& window, std::vector<std::string> command, const std::string& keys) {
    focus(window);
    for (const std::string& k : words(keys)) command.push_back(k);
    xdotool(command);
}

}  // namespace

std::vector<std::string> findWindows(const std::string& titleRegex) {
    static const std::regex line(R"re(^\s*(0x[0-9a-f]+) "(.*)":)re");
    const std::regex title(titleRegex);
    std::vector<std::string> found;
    for (const std::string& text : lines(run({"xwininfo", "-root", "-tree"}).output)) {
        std::smatch m;
        if (!std::regex_search(text, m, line) || !std::regex_match(m[2].str(), title)) continue;
        const std::string id = m[1].str();
        if (viewable(id)) found.push_back(std::to_string(std::stoul(id, nullptr, 16)));
    }
    return found;
}

std::string waitForWindow(const std::string& titleRegex, std::chrono::milliseconds timeout) {
    return waitForFirst([&] { return findWindows(titleRegex); }, timeout);
}

std::string waitForWindowOfClass(const std::string& classRegex, std::chrono::milliseconds timeout) {
    return waitForFirst(
        [&] {
            return lines(run({"xdotool", "search", "--onlyvisible", "--class", classRegex}).output);
        },
        timeout);
}

bool waitForWindowGone(const std::string& window, std::chrono::milliseconds timeout) {
    return waitUntil(
        [&] {
            const bool destroyed = run({"xdotool", "getwindowname", window}).status != 0;
            return destroyed || !viewable(window);
        },
        timeout);
}

std::array<int, 2> windowSize(const std::string& window) {
    const std::string geometry = windowGeometry(window);
    return {shellValue(geometry, "WIDTH"), shellValue(geometry, "HEIGHT")};
}

std::array<int, 2> windowOrigin(const std::string& window) {
    const std::string geometry = windowGeometry(window);
    return {shellValue(geometry, "X"), shellValue(geometry, "Y")};
}

void moveWindow(const std::string& window, int x, int y) {
    xdotool({"windowmove", "--sync", window, std::to_string(x), std::to_string(y)});
}

void focus(const std::string& window) { xdotool({"windowfocus", "--sync", window}); }

void focusRoot() {
    static const std::regex id(R"(Window id: (0x[0-9a-f]+))");
    std::smatch m;
    const std::string info = xTool({"xwininfo", "-root"});
    if (!std::regex_search(info, m, id)) throw std::runtime_error("no root window id");
    xdotool({"windowfocus", m[1].str()});
}

void moveMouse(const std::string& window, int x, int y) {
    // In root coordinates: xdotool would take a negative window-relative position for an option.
    const std::array<int, 2> origin = windowOrigin(window);
    const int rootX = origin[0] + x, rootY = origin[1] + y;
    // --sync waits for a motion event, which a move onto the pointer's own place never sends.
    const std::string where = xTool({"xdotool", "getmouselocation", "--shell"});
    if (shellValue(where, "X") == rootX && shellValue(where, "Y") == rootY) return;
    xdotool({"mousemove", "--sync", std::to_string(rootX), std::to_string(rootY)});
}

void pressButton(int button) { xdotool({"mousedown", std::to_string(button)}); }
void releaseButton(int button) { xdotool({"mouseup", std::to_string(button)}); }
void clickButton(int button) { xdotool({"click", std::to_string(button)}); }

void click(const std::string& window, int x, int y, int button) {
    moveMouse(window, x, y);
    clickButton(button);
}

void drag(const std::string& window, int fromX, int fromY, int toX, int toY, int button) {
    moveMouse(window, fromX, fromY);
    pressButton(button);
    const int steps = 8;
    for (int i = 1; i <= steps; ++i)
        moveMouse(window, fromX + (toX - fromX) * i / steps, fromY + (toY - fromY) * i / steps);
    releaseButton(button);
}

void key(const std::string& window, const std::string& keys) {
    sendKeys(window, {"key", "--clearmodifiers"}, keys);
}
void keyDown(const std::string& window, const std::string& keys) { sendKeys(window, {"keydown"}, keys); }
void keyUp(const std::string& window, const std::string& keys) { sendKeys(window, {"keyup"}, keys); }

void type(const std::string& window, const std::string& text) {
    focus(window);
    xdotool({"type", "--delay", "20", text});
}

bool requestClose(const std::string& titleRegex, std::chrono::milliseconds timeout) {
    return waitUntil(
        [&] {
            const std::vector<std::string> windows = findWindows(titleRegex);
            return !windows.empty() &&
                   run({"/usr/bin/python3", LOOM_TEST_TOOLS_DIR "/close_window.py", windows.back()})
                           .status == 0;
        },
        timeout);
}

void dropFiles(const std::string& window, int x, int y, const std::vector<std::string>& files) {
    std::vector<std::string> args = {window, std::to_string(x), std::to_string(y)};
    args.insert(args.end(), files.begin(), files.end());
    pythonTool("xdnd_drop.py", args);
}

}  // namespace loom::testtools
