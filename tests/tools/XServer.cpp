#include "tools/XServer.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <stdexcept>

#include "tools/WaitUntil.h"

namespace loom::testtools {

namespace {

// Removes the file with the object.
struct TempFile {
    std::string path;
    TempFile() {
        char pattern[] = "/tmp/loom-xvfb-XXXXXX";
        const int fd = mkstemp(pattern);
        if (fd < 0) throw std::runtime_error("cannot make a temporary file");
        close(fd);
        path = pattern;
    }
    ~TempFile() { unlink(path.c_str()); }
};

}  // namespace

XServer::XServer() {
    if (const char* d = std::getenv("DISPLAY")) {
        hadDisplay_ = true;
        oldDisplay_ = d;
    }
    // Xvfb picks a free display and writes its number to the descriptor given by -displayfd, here
    // its standard output. Without -noreset it would reset whenever its last client leaves, which
    // can happen between a probe and a window manager's connection.
    TempFile numberFile;
    server_ = std::make_unique<Process>(
        std::vector<std::string>{"Xvfb", "-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten",
                                 "tcp", "-noreset"},
        numberFile.path);
    // Written once the server accepts connections; a line is complete with its newline.
    std::string number;
    bool written = false;
    waitUntil(
        [&] {
            std::ifstream in(numberFile.path);
            written = std::getline(in, number) && !in.eof() && !number.empty();
            return written || !server_->running();
        },
        std::chrono::seconds(20));
    if (!written || !server_->running()) throw std::runtime_error("Xvfb did not start");
    display_ = ":" + number;
    setenv("DISPLAY", display_.c_str(), 1);
    setenv("SDL_VIDEODRIVER", "x11", 1);
    // zenity and GTK stay quiet without a session bus or accessibility bridge.
    setenv("GSETTINGS_BACKEND", "memory", 1);
    setenv("NO_AT_BRIDGE", "1", 1);
}

XServer::~XServer() {
    windowManager_.reset();
    server_.reset();
    if (hadDisplay_)
        setenv("DISPLAY", oldDisplay_.c_str(), 1);
    else
        unsetenv("DISPLAY");
}

void XServer::startWindowManager() {
    windowManager_ = std::make_unique<Process>(std::vector<std::string>{"openbox"});
    // It announces itself on the root window once it manages the screen.
    const bool ready = waitUntil([this] {
        return !windowManager_->running() ||
               run({"xprop", "-root", "_NET_SUPPORTING_WM_CHECK"}).output.find("window id") !=
                   std::string::npos;
    });
    if (!ready || !windowManager_->running())
        throw std::runtime_error("the window manager did not start");
}

}  // namespace loom::testtools
