#include "tools/Process.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "tools/WaitUntil.h"

extern char** environ;

namespace loom::testtools {

namespace {

// The redirections of one child, freed with the object.
class FileActions {
public:
    FileActions() { posix_spawn_file_actions_init(&actions_); }
    ~FileActions() { posix_spawn_file_actions_destroy(&actions_); }
    FileActions(const FileActions&) = delete;
    FileActions& operator=(const FileActions&) = delete;

    void open(int fd, const std::string& path, int flags) {
        posix_spawn_file_actions_addopen(&actions_, fd, path.c_str(), flags, 0644);
    }
    void dup(int from, int to) { posix_spawn_file_actions_adddup2(&actions_, from, to); }
    posix_spawn_file_actions_t* get() { return &actions_; }

private:
    posix_spawn_file_actions_t actions_;
};

pid_t spawn(const std::vector<std::string>& argv, FileActions& actions) {
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawnp(&pid, args[0], actions.get(), nullptr, args.data(), environ) != 0)
        throw std::runtime_error("cannot start " + argv[0]);
    return pid;
}

int exitStatusOf(int waitStatus) { return WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : -1; }

// Reads both pipes until both are closed, so that neither child stream can fill up and block.
void readUntilClosed(int outFd, int errFd, std::string& out, std::string& err) {
    pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
    std::string* sinks[2] = {&out, &err};
    int open = 2;
    char chunk[65536];
    while (open > 0) {
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0) continue;
            const ssize_t n = read(fds[i].fd, chunk, sizeof chunk);
            if (n > 0) {
                sinks[i]->append(chunk, size_t(n));
            } else if (n == 0 || errno != EINTR) {
                fds[i].fd = -1;
                --open;
            }
        }
    }
}

}  // namespace

CommandResult run(const std::vector<std::string>& argv) {
    int out[2];
    int err[2];
    if (pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
    if (pipe2(err, O_CLOEXEC) != 0) {
        close(out[0]);
        close(out[1]);
        throw std::runtime_error("pipe");
    }
    pid_t pid = -1;
    {
        FileActions actions;
        actions.open(STDIN_FILENO, "/dev/null", O_RDONLY);
        actions.dup(out[1], STDOUT_FILENO);
        actions.dup(err[1], STDERR_FILENO);
        try {
            pid = spawn(argv, actions);
        } catch (...) {
            for (int fd : {out[0], out[1], err[0], err[1]}) close(fd);
            throw;
        }
    }
    close(out[1]);
    close(err[1]);
    CommandResult result;
    readUntilClosed(out[0], err[0], result.output, result.errors);
    close(out[0]);
    close(err[0]);
    int waitStatus = 0;
    waitpid(pid, &waitStatus, 0);
    result.status = exitStatusOf(waitStatus);
    return result;
}

Process::Process(const std::vector<std::string>& argv, const std::string& stdoutPath,
                 const std::string& stderrPath) {
    FileActions actions;
    const int writeFlags = O_WRONLY | O_CREAT | O_TRUNC;
    actions.open(STDIN_FILENO, "/dev/null", O_RDONLY);
    actions.open(STDOUT_FILENO, stdoutPath.empty() ? "/dev/null" : stdoutPath, writeFlags);
    actions.open(STDERR_FILENO, stderrPath.empty() ? "/dev/null" : stderrPath, writeFlags);
    pid_ = spawn(argv, actions);
}

Process::~Process() {
    if (!running()) return;
    kill(pid_, SIGTERM);
    if (waitUntil([this] { return !running(); }, std::chrono::seconds(5))) return;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
}

bool Process::running() {
    if (!ended_ && waitpid(pid_, &status_, WNOHANG) == pid_) ended_ = true;
    return !ended_;
}

int Process::exitStatus() { return running() ? -1 : exitStatusOf(status_); }

double Process::cpuSeconds() const {
    std::ifstream stat("/proc/" + std::to_string(pid_) + "/stat");
    std::string line;
    if (!std::getline(stat, line)) throw std::runtime_error("the process has ended");
    // The name in parentheses may hold spaces: count the fields after its closing one. utime and
    // stime are the 14th and 15th fields, the 12th and 13th after the state.
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string field;
    for (int i = 0; i < 11; ++i) fields >> field;
    long long utime = 0, stime = 0;
    fields >> utime >> stime;
    return double(utime + stime) / double(sysconf(_SC_CLK_TCK));
}

}  // namespace loom::testtools
