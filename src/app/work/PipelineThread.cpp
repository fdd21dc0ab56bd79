#include "app/work/PipelineThread.h"

namespace loom::app {

PipelineThread::~PipelineThread() {
    const std::lock_guard<std::mutex> lock(mutex_);
    waiting_.reset();
}

void PipelineThread::post(PipelineJob job, std::shared_ptr<PipelineWork> work) {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        waiting_ = Posted{std::move(job), std::move(work)};
        if (making_) return;
        making_ = true;
    }
    running_.run([this] { makeWaiting(); });
}

std::vector<PipelineOutcome> PipelineThread::take() {
    const std::lock_guard<std::mutex> lock(mutex_);
    std::vector<PipelineOutcome> made;
    made.swap(made_);
    return made;
}

void PipelineThread::makeWaiting() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (waiting_) {
        Posted posted = std::move(*waiting_);
        waiting_.reset();
        lock.unlock();
        PipelineOutcome outcome = ProcessingPipeline::run(std::move(posted.job), *posted.work);
        posted.work.reset();  // what it holds goes before the next job
        lock.lock();
        made_.push_back(std::move(outcome));
    }
    making_ = false;
}

}  // namespace loom::app
