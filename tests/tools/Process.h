// Child processes for the GUI tests: a program run to its end with its output collected, and a
// program that runs beside the test and is always ended with it. Programs are started without a
// shell, from the PATH, with standard input on /dev/null.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace loom::testtools {

struct CommandResult {
    int status = -1;  // the exit status, or -1 when the program was killed by a signal
    std::string output;
    std::string errors;
};

// Runs argv to its end. Throws std::runtime_error when the program cannot be started.
CommandResult run(const std::vector<std::string>& argv);

// A running program; asked to end (TERM, then KILL after 5 s) when destroyed. Its output goes to
// the files named, or to /dev/null, so that it never holds the test runner's pipes open.
class Process {
public:
    // Throws std::runtime_error when the program cannot be started.
    explicit Process(const std::vector<std::string>& argv, const std::string& stdoutPath = "",
                     const std::string& stderrPath = "");
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool running();
    // The exit status once it has ended; -1 while it runs or when a signal ended it.
    int exitStatus();
    // Processor time used so far, user and system (from /proc); throws once it has ended.
    double cpuSeconds() const;

private:
    pid_t pid_ = -1;
    bool ended_ = false;
    int status_ = 0;
};

}  // namespace loom::testtools
