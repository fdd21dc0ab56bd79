// PrivateXServer: an Xvfb of the test's own, optionally with the openbox window manager, for tests
// that change what every other window would see (full screen needs a window manager to happen at
// all). Both processes end with the object. The display name is empty when the server did not
// start.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tools/XTools.h"

extern char** environ;

namespace loom::testtools {

class PrivateXServer {
public:
    explicit PrivateXServer(bool withWindowManager) {
        int fds[2];
        if (pipe(fds) != 0) return;
        // Xvfb writes the display number it picked to the descriptor given by -displayfd. Without
        // -noreset it would reset whenever its last client leaves, which can happen between a
        // readiness probe and the window manager's connection, and the manager would then fail.
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        // Close the read end first: it may itself be descriptor 3.
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        posix_spawn_file_actions_adddup2(&actions, fds[1], 3);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        std::vector<std::string> args = {"Xvfb",         "-displayfd", "3",   "-screen", "0",
                                         "1280x1024x24", "-nolisten",  "tcp", "-noreset"};
        xvfb_ = spawn(args, &actions);
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        std::string number;
        char c;
        while (xvfb_ > 0 && read(fds[0], &c, 1) == 1 && c != '\n') number += c;
        close(fds[0]);
        if (number.empty()) return;
        display_ = ":" + number;
        if (withWindowManager && !startWindowManager()) display_.clear();
    }

    ~PrivateXServer() {
        stop(windowManager_);
        stop(xvfb_);
    }
    PrivateXServer(const PrivateXServer&) = delete;
    PrivateXServer& operator=(const PrivateXServer&) = delete;

    const std::string& display() const { return display_; }

private:
    static pid_t spawn(const std::vector<std::string>& args, posix_spawn_file_actions_t* actions) {
        std::vector<char*> argv;
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        pid_t pid = 0;
        if (posix_spawnp(&pid, argv[0], actions, nullptr, argv.data(), environ) != 0) return 0;
        return pid;
    }

    static void stop(pid_t pid) {
        if (pid <= 0) return;
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }

    bool startWindowManager() {
        std::string command = "DISPLAY=" + display_ + " exec openbox >/dev/null 2>&1";
        windowManager_ = spawn({"sh", "-c", command}, nullptr);
        // Ready once it has announced itself on the root window; given up if it exits.
        bool exited = false;
        bool ready = windowManager_ > 0 && waitUntil([this, &exited] {
                         exited = waitpid(windowManager_, nullptr, WNOHANG) == windowManager_;
                         return exited || runCommand("DISPLAY=" + display_ +
                                                     " xprop -root _NET_SUPPORTING_WM_CHECK "
                                                     "2>/dev/null")
                                                  .output.find("window id") != std::string::npos;
                     });
        if (exited) windowManager_ = 0;
        return ready && !exited;
    }

    pid_t xvfb_ = 0;
    pid_t windowManager_ = 0;
    std::string display_;
};

}  // namespace loom::testtools
