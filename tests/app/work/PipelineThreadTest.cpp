// The pipeline's thread under stress, with fake steps: jobs posted faster than they are made, steps
// that throw, and the thread destroyed while a job runs. Also built for ThreadSanitizer.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <stdexcept>
#include <thread>
#include <vector>

#include "app/work/PipelineThread.h"
#include "tools/Gate.h"
#include "tools/WaitUntil.h"

using loom::Surface;
using loom::app::PipelineJob;
using loom::app::PipelineOutcome;
using loom::app::PipelineThread;
using loom::app::PipelineWork;
using loom::testtools::Gate;
using loom::testtools::OpenedAtEnd;
using loom::testtools::waitUntil;
using namespace std::chrono_literals;

namespace {

// Generous: a loaded machine or ThreadSanitizer slows every step.
constexpr auto kPatience = 60s;

// What the fake steps tell the test, shared by every job's work.
struct Record {
    std::atomic<int> upscales{0};
    std::atomic<int> liveWorks{0};  // works not yet destroyed
    std::atomic<bool> inside{false};
};

// One job's steps: an upscale that may wait at a gate and may throw; the work counts itself alive.
class FakeWork : public PipelineWork {
public:
    FakeWork(Record& record, bool fails, Gate* gate = nullptr)
        : record_(record), fails_(fails), gate_(gate) {
        ++record_.liveWorks;
    }
    ~FakeWork() override { --record_.liveWorks; }
    Surface upscale(const Surface&, int, loom::PixelMatch, const loom::SheetLayout&) override {
        ++record_.upscales;
        record_.inside = true;
        if (gate_) gate_->pass();
        if (fails_) throw std::runtime_error("upscaler failed");
        return Surface(2, 2, true);
    }
    Surface warp(int, const Surface& upscaled, int, const std::array<loom::Vec2f, 4>&) override {
        return upscaled;
    }
    void show(const Surface&, const Surface&) override {}
    double seconds() override { return 0.0; }

private:
    Record& record_;
    const bool fails_;
    Gate* const gate_;
};

PipelineJob job(uint64_t id) {
    PipelineJob made;
    made.id = id;
    made.key.source = Surface(2, 2, true);
    return made;
}

// Takes outcomes until the one of job `last` comes; all of them, oldest first.
std::vector<PipelineOutcome> takeThrough(PipelineThread& thread, uint64_t last,
                                         std::vector<PipelineOutcome> taken = {}) {
    waitUntil(
        [&] {
            for (PipelineOutcome& outcome : thread.take()) taken.push_back(std::move(outcome));
            return !taken.empty() && taken.back().job.id == last;
        },
        kPatience);
    return taken;
}

}  // namespace

TEST(PipelineThread, AJobPostedWhileOneRunsReplacesTheOneWaiting) {
    Record record;
    Gate gate;
    PipelineThread thread;
    const OpenedAtEnd opener{gate};
    thread.post(job(1), std::make_shared<FakeWork>(record, false, &gate));
    ASSERT_TRUE(waitUntil([&] { return record.inside.load(); }, kPatience));
    for (uint64_t id = 2; id <= 1000; ++id)
        thread.post(job(id), std::make_shared<FakeWork>(record, false));
    gate.open();

    const std::vector<PipelineOutcome> taken = takeThrough(thread, 1000);
    ASSERT_EQ(taken.size(), 2u);
    EXPECT_EQ(taken[0].job.id, 1u);
    EXPECT_EQ(taken[1].job.id, 1000u);
    EXPECT_EQ(record.upscales, 2) << "a superseded job ran";
    EXPECT_EQ(record.liveWorks, 0) << "a superseded job's work is kept";
}

// Posted as fast as they come, every third job failing, outcomes taken between posts: each outcome
// is of a job posted, none twice, oldest first; every job made is taken; the newest is made.
TEST(PipelineThread, ThousandsOfJobsPostedQuicklyLoseAndRepeatNothing) {
    constexpr uint64_t kJobs = 5000;
    const auto fails = [](uint64_t id) { return id % 3 == 0; };
    Record record;
    std::vector<PipelineOutcome> taken;
    {
        PipelineThread thread;
        for (uint64_t id = 1; id <= kJobs; ++id) {
            thread.post(job(id), std::make_shared<FakeWork>(record, fails(id)));
            if (id % 7 == 0)
                for (PipelineOutcome& outcome : thread.take()) taken.push_back(std::move(outcome));
        }
        taken = takeThrough(thread, kJobs, std::move(taken));
    }
    ASSERT_FALSE(taken.empty());
    EXPECT_EQ(taken.back().job.id, kJobs) << "the newest job was not made";
    EXPECT_EQ(int(taken.size()), record.upscales.load()) << "a job made was lost";
    EXPECT_EQ(record.liveWorks, 0);
    uint64_t previous = 0;
    for (const PipelineOutcome& outcome : taken) {
        EXPECT_GT(outcome.job.id, previous) << "out of order or twice";
        previous = outcome.job.id;
        EXPECT_EQ(bool(outcome.error), fails(outcome.job.id)) << "job " << outcome.job.id;
        EXPECT_EQ(bool(outcome.result), !fails(outcome.job.id)) << "job " << outcome.job.id;
    }
}

TEST(PipelineThread, DestructionWaitsForTheRunningJobAndDropsTheWaitingOne) {
    Record record;
    Gate gate;
    auto thread = std::make_unique<PipelineThread>();
    const OpenedAtEnd opener{gate};
    thread->post(job(1), std::make_shared<FakeWork>(record, false, &gate));
    ASSERT_TRUE(waitUntil([&] { return record.inside.load(); }, kPatience));
    thread->post(job(2), std::make_shared<FakeWork>(record, false));

    std::atomic<bool> destroyed{false};
    std::thread destroyer([&] {
        thread.reset();
        destroyed = true;
    });
    // The waiting job's work goes as destruction begins; the running one holds its own.
    EXPECT_TRUE(waitUntil([&] { return record.liveWorks == 1; }, kPatience));
    EXPECT_FALSE(destroyed) << "destruction did not wait for the running job";
    gate.open();
    destroyer.join();
    EXPECT_EQ(record.upscales, 1) << "the waiting job ran";
    EXPECT_EQ(record.liveWorks, 0);
}
