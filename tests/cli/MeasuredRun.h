// A program run in a child process with the peak memory it used, for ceilings on what a hostile
// file may cost. Sanitizers change what memory a process uses: such tests skip under them
// (UNDER_SANITIZER).
#pragma once

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "io/ChildPeakMemory.h"

namespace loom::test {

struct MeasuredRun {
    int status = -1;         // the exit status, -1 when it did not exit
    long peakKilobytes = 0;  // its largest resident set
};

// Runs program with args, its standard error going to errorPath.
inline MeasuredRun runMeasured(const std::string& program, const std::vector<std::string>& args,
                               const std::string& errorPath) {
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        const int errors = open(errorPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (errors < 0 || dup2(errors, STDERR_FILENO) < 0) _exit(127);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    MeasuredRun run;
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child) return run;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.peakKilobytes = usage.ru_maxrss;
    return run;
}

}  // namespace loom::test
