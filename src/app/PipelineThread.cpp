#include "app/PipelineThread.h"

namespace loom::app {

PipelineThread::PipelineThread() : thread_([this] { loop(); }) {}

PipelineThread::~PipelineThread() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
        waiting_.reset();
    }
    wake_.notify_one();
    thread_.join();
}

void PipelineThread::post(PipelineJob job, std::shared_ptr<PipelineWork> work) {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        waiting_ = Posted{std::move(job), std::move(work)};
    }
    wake_.notify_one();
}

std::vector<PipelineOutcome> PipelineThread::take() {
    const std::lock_guard<std::mutex> lock(mutex_);
    std::vector<PipelineOutcome> made;
    made.swap(made_);
    return made;
}

void PipelineThread::loop() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || waiting_; });
        if (stopping_) return;
        Posted posted = std::move(*waiting_);
        waiting_.reset();
        lock.unlock();
        PipelineOutcome outcome = ProcessingPipeline::run(std::move(posted.job), *posted.work);
        posted.work.reset();  // what it holds goes before the next job
        lock.lock();
        made_.push_back(std::move(outcome));
    }
}

}  // namespace loom::app
