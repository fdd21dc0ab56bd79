// The peak memory of work done in a child process, for ceilings on what a hostile file may cost.
// Sanitizers keep memory of their own, so ceilings are skipped under them.
#pragma once

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <functional>

namespace loom::test {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool UNDER_SANITIZER = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
constexpr bool UNDER_SANITIZER = true;
#else
constexpr bool UNDER_SANITIZER = false;
#endif
#else
constexpr bool UNDER_SANITIZER = false;
#endif

// The child's peak resident memory in bytes; -1 when work returned false, threw or the child died.
inline int64_t childPeakBytes(const std::function<bool()>& work) {
    const pid_t pid = fork();
    if (pid == 0) {
        bool done = false;
        try {
            done = work();
        } catch (...) {
        }
        _exit(done ? 0 : 1);
    }
    int status = 0;
    rusage usage{};
    if (pid < 0 || wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0)
        return -1;
    return int64_t(usage.ru_maxrss) * 1024;
}

}  // namespace loom::test
