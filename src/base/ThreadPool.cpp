#include "base/ThreadPool.h"

#include <algorithm>
#include <system_error>
#include <utility>

namespace loom {

namespace {

thread_local TaskPriority runningPriority = TaskPriority::URGENT;

// The calling thread runs tasks of this priority while it lives.
class PriorityScope {
public:
    explicit PriorityScope(TaskPriority priority) : before_(std::exchange(runningPriority, priority)) {}
    ~PriorityScope() { runningPriority = before_; }
    PriorityScope(const PriorityScope&) = delete;
    PriorityScope& operator=(const PriorityScope&) = delete;

private:
    TaskPriority before_;
};

}  // namespace

TaskPriority currentTaskPriority() { return runningPriority; }

std::thread ThreadPool::startThread(std::function<void()> body) { return std::thread(std::move(body)); }

ThreadPool::ThreadPool(unsigned workers, const ThreadStarter& start) {
    threads_.reserve(workers);
    for (unsigned i = 0; i < workers; ++i) {
        try {
            threads_.push_back(start([this] { work(); }));
        } catch (const std::system_error&) {
            break;  // the limit that refused this one refuses the next
        }
    }
}

ThreadPool::~ThreadPool() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    for (std::thread& thread : threads_) thread.join();
}

ThreadPool& ThreadPool::shared() {
    static ThreadPool pool(std::max(1u, std::thread::hardware_concurrency()));
    return pool;
}

void ThreadPool::enqueue(Task task, TaskPriority priority) {
    (priority == TaskPriority::URGENT ? urgent_ : background_).push_back(std::move(task));
    wake_.notify_one();
}

std::optional<ThreadPool::Task> ThreadPool::takeQueuedOf(const TaskGroup& group) {
    for (std::deque<Task>* queue : {&urgent_, &background_}) {
        const auto found =
            std::find_if(queue->begin(), queue->end(), [&](const Task& t) { return t.group == &group; });
        if (found != queue->end()) {
            Task task = std::move(*found);
            queue->erase(found);
            return task;
        }
    }
    return std::nullopt;
}

void ThreadPool::dropQueuedOf(const TaskGroup& group) {
    while (std::optional<Task> task = takeQueuedOf(group)) --task->group->unfinished_;
}

void ThreadPool::execute(Task task, TaskPriority priority) {
    std::exception_ptr failure;
    {
        const PriorityScope scope(priority);
        try {
            task.run();
        } catch (...) {
            failure = std::current_exception();
        }
        task.run = nullptr;  // what it holds goes before its group may end
    }
    const std::lock_guard<std::mutex> lock(mutex_);
    task.group->finished(failure);
}

void ThreadPool::work() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        ++free_;
        // free_ counts this worker: a background task needs one more left free.
        wake_.wait(lock, [this] {
            return stopping_ || !urgent_.empty() || (!background_.empty() && free_ > 1);
        });
        --free_;
        std::deque<Task>& queue = !urgent_.empty() ? urgent_ : background_;
        if (queue.empty() || (&queue == &background_ && free_ == 0)) return;  // stopping
        Task task = std::move(queue.front());
        queue.pop_front();
        const TaskPriority priority =
            &queue == &urgent_ ? TaskPriority::URGENT : TaskPriority::BACKGROUND;
        lock.unlock();
        execute(std::move(task), priority);
        lock.lock();
    }
}

TaskGroup::TaskGroup(TaskPriority priority, ThreadPool& pool) : pool_(pool), priority_(priority) {}

TaskGroup::~TaskGroup() {
    std::unique_lock<std::mutex> lock(pool_.mutex_);
    // Again on every wake: a running task may still hand this group more.
    changed_.wait(lock, [this] {
        pool_.dropQueuedOf(*this);
        return unfinished_ == 0;
    });
}

void TaskGroup::run(std::function<void()> task) {
    {
        const std::lock_guard<std::mutex> lock(pool_.mutex_);
        if (pool_.workers() > 0) {
            pool_.enqueue({std::move(task), this}, priority_);
            ++unfinished_;
            return;
        }
        ++unfinished_;
    }
    pool_.execute({std::move(task), this}, priority_);
}

void TaskGroup::wait() {
    std::unique_lock<std::mutex> lock(pool_.mutex_);
    for (;;) {
        if (std::optional<ThreadPool::Task> task = pool_.takeQueuedOf(*this)) {
            lock.unlock();
            pool_.execute(std::move(*task), priority_);
            lock.lock();
        } else if (unfinished_ == 0) {
            break;
        } else {
            changed_.wait(lock);
        }
    }
    if (std::exception_ptr failure = std::exchange(failure_, nullptr)) std::rethrow_exception(failure);
}

bool TaskGroup::idle() const {
    const std::lock_guard<std::mutex> lock(pool_.mutex_);
    return unfinished_ == 0;
}

void TaskGroup::finished(std::exception_ptr failure) {
    --unfinished_;
    if (failure && !failure_) failure_ = std::move(failure);
    changed_.notify_all();
}

}  // namespace loom
