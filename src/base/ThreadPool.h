// ThreadPool: the worker threads of the process, one per core, shared by every layer (row bands,
// PNG pieces, batch conversions, the window's jobs). Work is handed to it through a TaskGroup.
//
// A thread that cannot be started (a process limit, a container) is not an error: the pool keeps
// the workers it has, possibly none, and the work runs on fewer threads; with none, a task runs on
// the thread that hands it over.
//
// Priority: a worker takes the oldest urgent task first, and takes a background task only while
// another worker stays free, so urgent work (the picture on screen) never waits behind background
// work (frames made ahead) for a worker. Hence with a single worker background tasks run only when
// their group is waited for. A task's own groups inherit its priority.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace loom {

enum class TaskPriority { URGENT, BACKGROUND };

// The priority of the task the calling thread runs; URGENT outside the pool's tasks.
TaskPriority currentTaskPriority();

class TaskGroup;

class ThreadPool {
public:
    // Starts a thread running body; throws std::system_error when it cannot.
    using ThreadStarter = std::function<std::thread(std::function<void()> body)>;
    static std::thread startThread(std::function<void()> body);

    // Tries to start `workers` threads with start, keeping those that started.
    explicit ThreadPool(unsigned workers, const ThreadStarter& start = startThread);
    // Every group using the pool must be gone first.
    ~ThreadPool();
    ThreadPool(const ThreadPool&) = delete;
    ThreadPool& operator=(const ThreadPool&) = delete;

    // The process's pool of one worker per core, started on first use.
    static ThreadPool& shared();

    // How many workers started.
    unsigned workers() const { return unsigned(threads_.size()); }

private:
    friend class TaskGroup;
    struct Task {
        std::function<void()> run;
        TaskGroup* group;
    };

    // All of these are called with mutex_ held.
    void enqueue(Task task, TaskPriority priority);
    std::optional<Task> takeQueuedOf(const TaskGroup& group);
    void dropQueuedOf(const TaskGroup& group);

    // Runs a task taken from the queue (mutex_ not held) and reports it to its group.
    void execute(Task task, TaskPriority priority);
    void work();

    std::mutex mutex_;  // guards the queues and every group's state
    std::condition_variable wake_;
    std::deque<Task> urgent_, background_;
    unsigned free_ = 0;  // workers waiting for a task
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

// TaskGroup: tasks handed to a pool and waited for together. A thread waiting for a group runs its
// queued tasks itself, so groups nest (a task waiting for tasks of its own) without deadlock however
// few workers there are.
class TaskGroup {
public:
    explicit TaskGroup(TaskPriority priority = currentTaskPriority(),
                       ThreadPool& pool = ThreadPool::shared());
    // Drops the tasks not started and waits for those running; their exceptions are lost.
    ~TaskGroup();
    TaskGroup(const TaskGroup&) = delete;
    TaskGroup& operator=(const TaskGroup&) = delete;

    // Queues task, or runs it here when the pool has no workers.
    void run(std::function<void()> task);
    // Returns once every task has run; rethrows the first exception one threw since the last wait.
    void wait();
    // No task is queued or running.
    bool idle() const;

private:
    friend class ThreadPool;
    // Called with the pool's mutex held: the task ended, having thrown failure if not null.
    void finished(std::exception_ptr failure);

    ThreadPool& pool_;
    const TaskPriority priority_;
    std::condition_variable changed_;  // a task ended
    size_t unfinished_ = 0;            // queued or running
    std::exception_ptr failure_;
};

}  // namespace loom
