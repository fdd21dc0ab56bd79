// Gate: holds work shut on another thread until the test opens it, so that a test can act while the
// work is under way. OpenedAtEnd opens it when the test ends, even on a failed assertion, so that
// the destruction of what runs the work never waits on a gate left shut: declare it after that.
#pragma once

#include <condition_variable>
#include <mutex>

namespace loom::testtools {

class Gate {
public:
    void open() {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            open_ = true;
        }
        opened_.notify_all();
    }
    void pass() {
        std::unique_lock<std::mutex> lock(mutex_);
        opened_.wait(lock, [this] { return open_; });
    }

private:
    std::mutex mutex_;
    std::condition_variable opened_;
    bool open_ = false;
};

struct OpenedAtEnd {
    Gate& gate;
    ~OpenedAtEnd() { gate.open(); }
};

}  // namespace loom::testtools
