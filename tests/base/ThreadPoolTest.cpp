// The pool with few, many or no workers, threads that fail to start, nested waits, failures and
// priorities. Waits on other threads have a generous limit so that a fault fails instead of hanging.
#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <system_error>
#include <vector>

#include "base/ThreadPool.h"

using loom::TaskGroup;
using loom::TaskPriority;
using loom::ThreadPool;

namespace {

constexpr auto PATIENCE = std::chrono::seconds(60);

// A count other threads raise, and that tasks may be held on until it is opened.
class Gate {
public:
    void arrive() {
        std::unique_lock<std::mutex> lock(mutex_);
        ++arrived_;
        changed_.notify_all();
        changed_.wait(lock, [this] { return open_; });
    }
    void open() {
        const std::lock_guard<std::mutex> lock(mutex_);
        open_ = true;
        changed_.notify_all();
    }
    bool awaitArrivals(int count) {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, PATIENCE, [&] { return arrived_ >= count; });
    }
    int arrived() {
        const std::lock_guard<std::mutex> lock(mutex_);
        return arrived_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    int arrived_ = 0;
    bool open_ = false;
};

// Starts threads until the failing-th (counted from 1), which fails as a process limit would.
ThreadPool::ThreadStarter failingAt(unsigned failing) {
    return [failing, started = 0u](std::function<void()> body) mutable {
        if (++started == failing) throw std::system_error(EAGAIN, std::generic_category());
        return ThreadPool::startThread(std::move(body));
    };
}

// Runs count tasks in a group of pool and returns how many times each ran.
std::vector<int> runEach(ThreadPool& pool, int count) {
    std::vector<std::atomic<int>> runs(static_cast<size_t>(count));
    TaskGroup group(TaskPriority::URGENT, pool);
    for (std::atomic<int>& r : runs) group.run([&r] { ++r; });
    group.wait();
    return std::vector<int>(runs.begin(), runs.end());
}

}  // namespace

TEST(ThreadPool, RunsEveryTaskOnceWithAnyNumberOfWorkers) {
    for (unsigned workers : {0u, 1u, 6u}) {
        ThreadPool pool(workers);
        EXPECT_EQ(pool.workers(), workers);
        EXPECT_EQ(runEach(pool, 200), std::vector<int>(200, 1)) << workers << " workers";
    }
}

TEST(ThreadPool, AThreadThatCannotStartLeavesTheOthersToDoTheWork) {
    for (unsigned failing : {1u, 2u, 3u}) {
        ThreadPool pool(4, failingAt(failing));
        EXPECT_EQ(pool.workers(), failing - 1);
        EXPECT_EQ(runEach(pool, 50), std::vector<int>(50, 1)) << "thread " << failing << " failed";
    }
}

TEST(ThreadPool, NestedWaitsFinishWithOneWorker) {
    ThreadPool pool(1);
    std::atomic<int> leaves{0};
    TaskGroup outer(TaskPriority::URGENT, pool);
    for (int i = 0; i < 4; ++i)
        outer.run([&] {
            TaskGroup middle(TaskPriority::URGENT, pool);
            for (int j = 0; j < 4; ++j)
                middle.run([&] {
                    TaskGroup inner(TaskPriority::URGENT, pool);
                    for (int k = 0; k < 4; ++k) inner.run([&] { ++leaves; });
                    inner.wait();
                });
            middle.wait();
        });
    outer.wait();
    EXPECT_EQ(leaves, 64);
}

TEST(ThreadPool, TheFirstExceptionReachesTheWaiterAfterTheOtherTasksRan) {
    for (unsigned workers : {0u, 3u}) {
        ThreadPool pool(workers);
        TaskGroup group(TaskPriority::URGENT, pool);
        std::atomic<int> ran{0};
        for (int i = 0; i < 20; ++i)
            group.run([&ran, i] {
                ++ran;
                if (i == 7) throw std::runtime_error("task 7 failed");
            });
        EXPECT_THROW(group.wait(), std::runtime_error) << workers << " workers";
        EXPECT_EQ(ran, 20);
        group.run([] {});
        EXPECT_NO_THROW(group.wait()) << "a failure is reported once";
    }
}

TEST(ThreadPool, AnUrgentTaskRunsWhileBackgroundWorkHoldsEveryOtherWorker) {
    ThreadPool pool(3);
    Gate held;
    TaskGroup background(TaskPriority::BACKGROUND, pool);
    std::atomic<int> inheritedUrgent{0};
    for (int i = 0; i < 5; ++i)
        background.run([&] {
            TaskGroup nested(loom::currentTaskPriority(), pool);
            nested.run([&] { inheritedUrgent += loom::currentTaskPriority() == TaskPriority::URGENT; });
            nested.wait();
            held.arrive();
        });
    ASSERT_TRUE(held.awaitArrivals(2));

    Gate urgentRan;
    urgentRan.open();
    TaskGroup urgent(TaskPriority::URGENT, pool);
    urgent.run([&] { urgentRan.arrive(); });
    EXPECT_TRUE(urgentRan.awaitArrivals(1)) << "the urgent task waited behind background work";
    EXPECT_EQ(held.arrived(), 2) << "background work took the last free worker";

    held.open();
    background.wait();
    urgent.wait();
    EXPECT_EQ(inheritedUrgent, 0) << "a background task's own tasks ran as urgent";
}

TEST(ThreadPool, ABackgroundTaskNeverTakesTheOnlyWorkerAndIsDroppedUnstarted) {
    ThreadPool pool(1);
    std::atomic<bool> ran{false};
    {
        TaskGroup background(TaskPriority::BACKGROUND, pool);
        background.run([&] { ran = true; });
        EXPECT_FALSE(background.idle());
    }
    EXPECT_FALSE(ran);
    TaskGroup waited(TaskPriority::BACKGROUND, pool);
    waited.run([&] { ran = true; });
    waited.wait();
    EXPECT_TRUE(ran) << "a waiter runs its own background task";
}
