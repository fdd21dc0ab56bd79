#include "framework/desktop/InotifyFileWatch.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

namespace loom::framework::desktop {

InotifyFileWatch::InotifyFileWatch() : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {}

InotifyFileWatch::~InotifyFileWatch() {
    if (fd_ >= 0) close(fd_);
}

void InotifyFileWatch::follow(const std::string& path) {
    if (fd_ < 0) return;
    if (watch_ >= 0) inotify_rm_watch(fd_, watch_);
    const std::filesystem::path file(path);
    const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
    name_ = file.filename().string();
    watch_ = inotify_add_watch(fd_, folder.c_str(), IN_CLOSE_WRITE | IN_MOVED_TO);
    changed();  // what happened before is not news
}

bool InotifyFileWatch::changed() {
    if (fd_ < 0) return false;
    bool rewritten = false;
    alignas(inotify_event) char buffer[16 * 1024];
    for (;;) {
        const ssize_t length = read(fd_, buffer, sizeof buffer);
        if (length <= 0) return rewritten;
        for (ssize_t at = 0; at < length;) {
            inotify_event event;
            std::memcpy(&event, buffer + at, sizeof event);
            const char* name = buffer + at + sizeof event;  // NUL-padded to event.len
            // Events of a watch already replaced by follow() are stale.
            if (event.wd == watch_ && event.len > 0 && name_ == name) rewritten = true;
            at += ssize_t(sizeof event + event.len);
        }
    }
}

}  // namespace loom::framework::desktop
