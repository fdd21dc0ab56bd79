#include "framework/desktop/ProcessFileDialog.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

extern char** environ;

namespace loom::framework::desktop {

namespace {

const char* toolProgram(DialogTool tool) { return tool == DialogTool::ZENITY ? "zenity" : "kdialog"; }

bool onPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
    size_t start = 0;
    while (start <= dirs.size()) {
        size_t end = dirs.find(':', start);
        if (end == std::string::npos) end = dirs.size();
        std::string dir = dirs.substr(start, end - start);
        if (dir.empty()) dir = ".";
        if (access((dir + "/" + program).c_str(), X_OK) == 0) return true;
        start = end + 1;
    }
    return false;
}

std::string patternList(const std::vector<std::string>& extensions) {
    std::string patterns;
    for (const std::string& ext : extensions) {
        std::string upper = ext;
        for (char& c : upper)
            if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
        if (!patterns.empty()) patterns += ' ';
        patterns += "*." + ext;
        if (upper != ext) patterns += " *." + upper;
    }
    return patterns.empty() ? "*" : patterns;
}

}  // namespace

std::vector<std::string> fileDialogCommand(DialogTool tool, FileDialogKind kind,
                                           const std::string& initialPath,
                                           const std::vector<std::string>& extensions) {
    const std::string filterName = extensions.empty() ? "All" : "Supported Types";
    const std::string patterns = patternList(extensions);
    const bool save = kind == FileDialogKind::SAVE;
    const std::string title = save ? "Save the result" : "Open an image";
    if (tool == DialogTool::ZENITY) {
        std::vector<std::string> args = {"zenity", "--file-selection", "--title=" + title};
        if (save) args.insert(args.end(), {"--save", "--confirm-overwrite"});
        if (!initialPath.empty()) args.push_back("--filename=" + initialPath);
        args.push_back("--file-filter=" + filterName + " | " + patterns);
        return args;
    }
    // kdialog confirms an overwrite by itself in save mode.
    const char* mode = save ? "--getsavefilename" : "--getopenfilename";
    return {"kdialog", "--title", title, mode, initialPath, patterns + "|" + filterName};
}

std::string parseFileDialogAnswer(int exitStatus, const std::string& output) {
    if (exitStatus != 0) return "";
    std::string path = output;
    if (!path.empty() && path.back() == '\n') path.pop_back();
    return path;
}

std::optional<DialogTool> findDialogTool() {
    if (onPath("zenity")) return DialogTool::ZENITY;
    if (onPath("kdialog")) return DialogTool::KDIALOG;
    return std::nullopt;
}

ProcessFileDialog::ProcessFileDialog(FileDialogKind kind, const std::string& initialPath,
                                     const std::vector<std::string>& extensions)
    : kind_(kind) {
    const std::optional<DialogTool> tool = findDialogTool();
    if (!tool) throw std::runtime_error("no file dialog available: install zenity or kdialog");
    const std::vector<std::string> args = fileDialogCommand(*tool, kind, initialPath, extensions);

    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        throw std::runtime_error(std::string("cannot open the file dialog: ") + std::strerror(errno));
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const int spawned = posix_spawnp(&child_, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (spawned != 0) {
        close(fds[0]);
        child_ = -1;
        throw std::runtime_error(std::string("cannot start ") + toolProgram(*tool) + ": " +
                                 std::strerror(spawned));
    }
    outputFd_ = fds[0];
    fcntl(outputFd_, F_SETFL, fcntl(outputFd_, F_GETFL) | O_NONBLOCK);
}

ProcessFileDialog::~ProcessFileDialog() {
    if (child_ > 0) {
        kill(child_, SIGTERM);
        waitpid(child_, nullptr, 0);
    }
    if (outputFd_ >= 0) close(outputFd_);
}

void ProcessFileDialog::readOutput() {
    char chunk[4096];
    for (;;) {
        const ssize_t n = read(outputFd_, chunk, sizeof chunk);
        if (n > 0) {
            output_.append(chunk, size_t(n));
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            return;  // no more for now (EAGAIN) or end of output
        }
    }
}

std::string ProcessFileDialog::finish(int waitStatus) {
    child_ = -1;
    readOutput();
    const int exitStatus = WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : -1;
    answer_ = parseFileDialogAnswer(exitStatus, output_);
    return *answer_;
}

std::optional<std::string> ProcessFileDialog::poll() {
    if (answer_) return answer_;
    readOutput();  // keep the pipe drained so the child never blocks writing
    int status = 0;
    const pid_t done = waitpid(child_, &status, WNOHANG);
    if (done == child_) return finish(status);
    if (done < 0 && errno != EINTR) return finish(-1);
    return std::nullopt;
}

}  // namespace loom::framework::desktop
