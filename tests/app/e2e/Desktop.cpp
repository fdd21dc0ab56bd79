#include "Desktop.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "tools/XTools.h"

extern char** environ;

namespace e2e {

using loom::testtools::waitUntil;

namespace {

pid_t spawn(const std::vector<std::string>& argv, posix_spawn_file_actions_t* actions) {
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = -1;
    const int err = posix_spawnp(&pid, args[0], actions, nullptr, args.data(), environ);
    if (err != 0) throw std::runtime_error("cannot start " + argv[0]);
    return pid;
}

void endChild(pid_t pid) {
    if (pid <= 0) return;
    kill(pid, SIGTERM);
    for (int i = 0; i < 40; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (!line.empty()) out.push_back(line);
    return out;
}

// "P6 w h 255" then RGB bytes.
Image parsePpm(const std::string& data) {
    std::istringstream in(data);
    std::string magic;
    int w = 0, h = 0, maxValue = 0;
    in >> magic >> w >> h >> maxValue;
    in.get();
    Image image;
    if (magic != "P6" || w <= 0 || h <= 0 || maxValue != 255) return image;
    const size_t offset = size_t(in.tellg());
    if (data.size() < offset + size_t(w) * size_t(h) * 3) return image;
    image.width = w;
    image.height = h;
    image.channels = 3;
    image.pixels.assign(data.begin() + long(offset), data.begin() + long(offset) + w * h * 3);
    return image;
}

}  // namespace

Process::Process(const std::vector<std::string>& argv, const std::string& stdoutPath,
                 const std::string& stderrPath) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO,
                                     stdoutPath.empty() ? "/dev/null" : stdoutPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (!stderrPath.empty())
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, stderrPath.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
    try {
        pid_ = spawn(argv, &actions);
    } catch (...) {
        posix_spawn_file_actions_destroy(&actions);
        throw;
    }
    posix_spawn_file_actions_destroy(&actions);
}

Process::~Process() {
    if (!ended_) endChild(pid_);
}

bool Process::running() {
    if (ended_) return false;
    if (waitpid(pid_, &status_, WNOHANG) == pid_) ended_ = true;
    return !ended_;
}

int Process::exitStatus() {
    if (running()) return -1;
    return WIFEXITED(status_) ? WEXITSTATUS(status_) : -1;
}

std::string runCapture(const std::vector<std::string>& argv, int* status) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    // Probing commands complain while a file or window is not there yet; the status says enough.
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid;
    try {
        pid = spawn(argv, &actions);
    } catch (...) {
        posix_spawn_file_actions_destroy(&actions);
        close(fds[0]);
        close(fds[1]);
        throw;
    }
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    std::string out;
    char chunk[65536];
    for (ssize_t n; (n = read(fds[0], chunk, sizeof chunk)) != 0;) {
        if (n < 0) {
            if (errno == EINTR) continue;
            break;
        }
        out.append(chunk, size_t(n));
    }
    close(fds[0]);
    int waitStatus = 0;
    waitpid(pid, &waitStatus, 0);
    if (status) *status = WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : -1;
    return out;
}

Image readImageFile(const std::string& path) {
    Image image;
    int status = 0;
    const std::string size = runCapture({"identify", "-format", "%w %h", path + "[0]"}, &status);
    if (status != 0) return image;
    std::istringstream(size) >> image.width >> image.height;
    image.channels = 4;
    image.pixels = std::vector<uint8_t>();
    const std::string data =
        runCapture({"convert", path + "[0]", "-alpha", "on", "-depth", "8", "rgba:-"}, &status);
    if (status != 0 || data.size() != size_t(image.width) * size_t(image.height) * 4)
        return Image();
    image.pixels.assign(data.begin(), data.end());
    return image;
}

Desktop::Desktop() {
    if (const char* d = std::getenv("DISPLAY")) {
        hadDisplay_ = true;
        oldDisplay_ = d;
    }
    // Xvfb writes its display number to fd 3. Both ends are close-on-exec and kept above 3, so
    // the child's dup2 makes the only inheritable copy.
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
    int fds[2] = {fcntl(pipeFds[0], F_DUPFD_CLOEXEC, 10), fcntl(pipeFds[1], F_DUPFD_CLOEXEC, 10)};
    close(pipeFds[0]);
    close(pipeFds[1]);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 3);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    server_ = spawn(
        {"Xvfb", "-displayfd", "3", "-screen", "0", "1280x1024x24", "-nolisten", "tcp", "-noreset"},
        &actions);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    std::string number;
    pollfd pfd{fds[0], POLLIN, 0};
    char c;
    while (::poll(&pfd, 1, 20000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    close(fds[0]);
    if (number.empty()) {
        endChild(server_);
        throw std::runtime_error("Xvfb did not start");
    }
    display_ = ":" + number;
    setenv("DISPLAY", display_.c_str(), 1);
    setenv("SDL_VIDEODRIVER", "x11", 1);
    setenv("GSETTINGS_BACKEND", "memory", 1);
    setenv("NO_AT_BRIDGE", "1", 1);
}

Desktop::~Desktop() {
    for (pid_t helper : helpers_) endChild(helper);
    endChild(server_);
    if (hadDisplay_)
        setenv("DISPLAY", oldDisplay_.c_str(), 1);
    else
        unsetenv("DISPLAY");
}

void Desktop::startWindowManager() {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    helpers_.push_back(spawn({"openbox"}, &actions));
    posix_spawn_file_actions_destroy(&actions);
    // openbox owns the WM_S0 selection once it manages the screen.
    waitUntil([] {
        return runCapture({"xprop", "-root", "_NET_SUPPORTING_WM_CHECK"}).find("window id") !=
               std::string::npos;
    });
}

// xwininfo rather than xdotool: xdotool does not match titles stored as UTF8_STRING WM_NAME, which
// is how SDL titles its message boxes.
std::vector<std::string> Desktop::findWindows(const std::string& titleRegex) {
    static const std::regex line(R"re(^\s*(0x[0-9a-f]+) "(.*)":)re");
    const std::regex title(titleRegex);
    std::vector<std::string> found;
    for (const std::string& text : lines(runCapture({"xwininfo", "-root", "-tree"}))) {
        std::smatch m;
        if (!std::regex_search(text, m, line) || !std::regex_search(m[2].str(), title)) continue;
        const std::string id = m[1].str();
        if (runCapture({"xwininfo", "-id", id}).find("IsViewable") != std::string::npos)
            found.push_back(std::to_string(std::stoul(id, nullptr, 16)));
    }
    return found;
}

std::vector<std::string> Desktop::findWindowsOfClass(const std::string& classRegex) {
    return lines(runCapture({"xdotool", "search", "--onlyvisible", "--class", classRegex}));
}

std::string Desktop::waitForWindow(const std::string& titleRegex, double timeoutSeconds) {
    std::string found;
    waitUntil(
        [&] {
            const auto ids = findWindows(titleRegex);
            if (!ids.empty()) found = ids.back();
            return !ids.empty();
        },
        std::chrono::milliseconds(long(timeoutSeconds * 1000)));
    return found;
}

std::string Desktop::waitForWindowOfClass(const std::string& classRegex, double timeoutSeconds) {
    std::string found;
    waitUntil(
        [&] {
            const auto ids = findWindowsOfClass(classRegex);
            if (!ids.empty()) found = ids.back();
            return !ids.empty();
        },
        std::chrono::milliseconds(long(timeoutSeconds * 1000)));
    return found;
}

bool Desktop::waitForWindowGone(const std::string& wid, double timeoutSeconds) {
    return waitUntil(
        [&] {
            int status = 0;
            runCapture({"xdotool", "getwindowname", wid}, &status);
            if (status != 0) return true;  // destroyed
            const std::string state = runCapture({"xwininfo", "-id", wid});
            return state.find("IsViewable") == std::string::npos;
        },
        std::chrono::milliseconds(long(timeoutSeconds * 1000)));
}

std::array<int, 2> Desktop::windowSize(const std::string& wid) {
    std::array<int, 2> size{0, 0};
    for (const std::string& line :
         lines(runCapture({"xdotool", "getwindowgeometry", "--shell", wid}))) {
        if (line.rfind("WIDTH=", 0) == 0) size[0] = std::atoi(line.c_str() + 6);
        if (line.rfind("HEIGHT=", 0) == 0) size[1] = std::atoi(line.c_str() + 7);
    }
    return size;
}

void Desktop::xdotool(const std::vector<std::string>& args) {
    std::vector<std::string> argv = {"xdotool"};
    argv.insert(argv.end(), args.begin(), args.end());
    int status = 0;
    runCapture(argv, &status);
    if (status != 0) throw std::runtime_error("xdotool " + args.front() + " failed");
}

void Desktop::moveMouse(const std::string& wid, int x, int y) {
    xdotool({"mousemove", "--sync", "--window", wid, std::to_string(x), std::to_string(y)});
}

void Desktop::click(const std::string& wid, int x, int y, int button) {
    moveMouse(wid, x, y);
    xdotool({"click", std::to_string(button)});
}

void Desktop::drag(const std::string& wid, int fromX, int fromY, int toX, int toY, int button) {
    moveMouse(wid, fromX, fromY);
    xdotool({"mousedown", std::to_string(button)});
    const int steps = 8;
    for (int i = 1; i <= steps; ++i)
        moveMouse(wid, fromX + (toX - fromX) * i / steps, fromY + (toY - fromY) * i / steps);
    xdotool({"mouseup", std::to_string(button)});
}

void Desktop::focus(const std::string& wid) { xdotool({"windowfocus", "--sync", wid}); }

void Desktop::key(const std::string& wid, const std::string& keys) {
    focus(wid);
    xdotool({"key", "--clearmodifiers", keys});
}

void Desktop::keyDown(const std::string& wid, const std::string& keys) {
    focus(wid);
    xdotool({"keydown", keys});
}

void Desktop::keyUp(const std::string& wid, const std::string& keys) {
    focus(wid);
    xdotool({"keyup", keys});
}

void Desktop::type(const std::string& wid, const std::string& text) {
    focus(wid);
    xdotool({"type", "--delay", "20", text});
}

Image Desktop::grab(const std::string& wid) {
    return parsePpm(runCapture({"import", "-window", wid, "-depth", "8", "ppm:-"}));
}

}  // namespace e2e
