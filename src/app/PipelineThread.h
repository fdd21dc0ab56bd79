// PipelineThread: makes the pipeline's jobs on a thread of its own, so that the window never waits
// for an upscale or a warp. One job runs at a time and at most one waits: a job posted while
// another waits replaces it, since only the newest can still be shown. Outcomes are collected on
// the main thread with take().
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "app/ProcessingPipeline.h"

namespace loom::app {

class PipelineThread {
public:
    PipelineThread();
    // Waits for the job running, if any; a waiting one is dropped.
    ~PipelineThread();
    PipelineThread(const PipelineThread&) = delete;
    PipelineThread& operator=(const PipelineThread&) = delete;

    // work makes the job's steps on the thread: it must not touch what the main thread changes.
    void post(PipelineJob job, std::shared_ptr<PipelineWork> work);
    // The outcomes made since the last call, oldest first.
    std::vector<PipelineOutcome> take();

private:
    struct Posted {
        PipelineJob job;
        std::shared_ptr<PipelineWork> work;
    };
    void loop();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::optional<Posted> waiting_;
    std::vector<PipelineOutcome> made_;
    bool stopping_ = false;
    std::thread thread_;  // last: it starts once everything it uses exists
};

}  // namespace loom::app
