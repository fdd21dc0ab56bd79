// PipelineThread: makes the pipeline's jobs as urgent work on the shared pool, so that the window
// never waits for an upscale or a warp, nor do its jobs wait behind background work. One job runs
// at a time and at most one waits: a job posted while another waits replaces it, since only the
// newest can still be shown. Outcomes are collected on the main thread with take().
#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "app/work/ProcessingPipeline.h"
#include "base/ThreadPool.h"

namespace loom::app {

class PipelineThread {
public:
    PipelineThread() = default;
    // Waits for the job running, if any; a waiting one is dropped.
    ~PipelineThread();
    PipelineThread(const PipelineThread&) = delete;
    PipelineThread& operator=(const PipelineThread&) = delete;

    // work makes the job's steps on the pool: it must not touch what the main thread changes.
    void post(PipelineJob job, std::shared_ptr<PipelineWork> work);
    // The outcomes made since the last call, oldest first.
    std::vector<PipelineOutcome> take();

private:
    struct Posted {
        PipelineJob job;
        std::shared_ptr<PipelineWork> work;
    };
    // Makes the waiting jobs one after another until none waits.
    void makeWaiting();

    std::mutex mutex_;
    std::optional<Posted> waiting_;
    std::vector<PipelineOutcome> made_;
    bool making_ = false;                      // a task of running_ is making jobs or about to
    TaskGroup running_{TaskPriority::URGENT};  // last: gone before anything its task uses
};

}  // namespace loom::app
