// The pipeline's decisions, with fake steps and a fake clock: which steps rerun in each situation,
// the label text, and what a failing step leaves behind.
#include <gtest/gtest.h>

#include <array>
#include <new>
#include <optional>
#include <stdexcept>
#include <vector>

#include "app/work/ProcessingPipeline.h"

using loom::CornerQuad;
using loom::Surface;
using loom::Vec2f;
using loom::app::PipelineRun;
using loom::app::PipelineWork;
using loom::app::ProcessingPipeline;

namespace {

// Records every step; upscale makes an image `factor` times larger per upscaler id 1..3.
class FakeWork : public PipelineWork {
public:
    Surface upscale(const Surface& source, int id, loom::PixelMatch match,
                    const loom::SheetLayout& layout) override {
        layouts.push_back(layout);
        upscales.push_back(id);
        matches.push_back(match);
        if (failUpscale) throw std::bad_alloc();
        const int f = id >= 1 && id <= 3 ? id + 1 : 1;
        return Surface(source.getWidth() * f, source.getHeight() * f, true);
    }
    Surface warp(int transformId, const Surface& upscaled, int upscalerId,
                 const std::array<Vec2f, 4>&) override {
        warps.push_back(transformId);
        warpedUpscalers.push_back(upscalerId);
        if (failWarp) throw std::runtime_error("warp refused");
        return Surface(upscaled.getWidth() + 1, upscaled.getHeight() + 1, true);
    }
    void show(const Surface&, const Surface& result) override {
        if (failShow) throw std::runtime_error("texture too large");
        shown.push_back(result);
        now += stepSeconds;
    }
    double seconds() override { return now; }

    std::vector<int> upscales, warps, warpedUpscalers;
    std::vector<loom::PixelMatch> matches;
    std::vector<loom::SheetLayout> layouts;
    std::vector<Surface> shown;
    double now = 10.0;
    double stepSeconds = 0.0;
    bool failUpscale = false, failWarp = false, failShow = false;
};

struct PipelineLoaded : ::testing::Test {
    void SetUp() override {
        ASSERT_TRUE(pipeline.process(source, quad, work).ran);
        work = FakeWork();
    }
    ProcessingPipeline pipeline;
    CornerQuad quad;
    FakeWork work;
    Surface source{10, 5, true};
};

}  // namespace

TEST(Pipeline, DoesNothingWithoutAnImage) {
    ProcessingPipeline p;
    CornerQuad quad;
    FakeWork work;
    p.upscaler = 3;
    EXPECT_FALSE(p.process(Surface(), quad, work).ran);
    EXPECT_TRUE(work.upscales.empty());
    EXPECT_EQ(p.currentUpscaler, 0) << "ids are not updated when there is nothing to process";
}

TEST_F(PipelineLoaded, FirstRunUpscalesAndSharesPixelsForNoTransform) {
    EXPECT_TRUE(pipeline.resultSurface.sharesPixelsWith(pipeline.upscaledSurface));
    EXPECT_EQ(pipeline.resultSurface.getWidth(), 10);
}

TEST_F(PipelineLoaded, UnchangedSelectionsWithAResultDoNothing) {
    pipeline.upscaler = 0;  // the same upscaler chosen again
    const PipelineRun run = pipeline.process(source, quad, work);
    EXPECT_FALSE(run.ran);
    EXPECT_TRUE(work.upscales.empty());
    EXPECT_TRUE(work.warps.empty());
    EXPECT_TRUE(work.shown.empty());
}

TEST_F(PipelineLoaded, TransformChangeWarpsTheCachedUpscaleOnly) {
    pipeline.upscaler = 1;
    pipeline.process(source, quad, work);
    const Surface cached = pipeline.upscaledSurface;
    work = FakeWork();

    pipeline.transform = 1;
    PipelineRun run = pipeline.process(source, quad, work);
    EXPECT_TRUE(run.ran);
    EXPECT_FALSE(run.upscaled);
    EXPECT_TRUE(work.upscales.empty());
    EXPECT_EQ(work.warps, std::vector<int>{1});
    EXPECT_TRUE(pipeline.upscaledSurface.sharesPixelsWith(cached));

    pipeline.transform = 2;  // Projective to Bilinear
    run = pipeline.process(source, quad, work);
    EXPECT_TRUE(work.upscales.empty());
    EXPECT_EQ(work.warps, (std::vector<int>{1, 2}));
    EXPECT_EQ(pipeline.currentTransform, 2);
    EXPECT_EQ(pipeline.resultSurface.getWidth(), 21);
}

TEST_F(PipelineLoaded, UpscalerChangeRedoesUpscaleAndWarp) {
    pipeline.transform = 1;
    pipeline.process(source, quad, work);
    work = FakeWork();
    pipeline.upscaler = 2;
    const PipelineRun run = pipeline.process(source, quad, work);
    EXPECT_TRUE(run.upscaled);
    EXPECT_EQ(work.upscales, std::vector<int>{2});
    EXPECT_EQ(work.warps, std::vector<int>{1});
    EXPECT_EQ(work.warpedUpscalers, std::vector<int>{2}) << "the warp is told the new upscaler";
    EXPECT_EQ(pipeline.currentUpscaler, 2);
    EXPECT_EQ(pipeline.upscaledSurface.getWidth(), 30);
}

TEST_F(PipelineLoaded, TheComparisonRuleRedoesTheUpscaleAndRevertsWithAFailure) {
    EXPECT_EQ(pipeline.currentCompare, int(loom::PixelMatch::Seen))
        << "pixels are compared as seen at first";
    pipeline.compare = int(loom::PixelMatch::ColourAndAlpha);
    EXPECT_TRUE(pipeline.process(source, quad, work).upscaled);
    EXPECT_EQ(work.matches.back(), loom::PixelMatch::ColourAndAlpha);
    EXPECT_FALSE(pipeline.process(source, quad, work).ran) << "nothing changed since";

    work.failUpscale = true;
    pipeline.compare = int(loom::PixelMatch::Colour);
    EXPECT_THROW(pipeline.process(source, quad, work), std::bad_alloc);
    EXPECT_EQ(pipeline.compare, int(loom::PixelMatch::ColourAndAlpha))
        << "the group goes back to what the shown picture was made with";
}

TEST_F(PipelineLoaded, TheWrapBoxWrapsAsTheCommandLineSaidOrBothWays) {
    for (auto [given, expected] : {std::pair{loom::EdgeRule::Clamp, loom::EdgeRule::Wrap},
                                   std::pair{loom::EdgeRule::WrapY, loom::EdgeRule::WrapY}}) {
        pipeline.layout.edges = given;
        pipeline.wrapEdges = true;
        EXPECT_TRUE(pipeline.process(source, quad, work).upscaled);
        EXPECT_EQ(work.layouts.back().edges, expected);
        pipeline.wrapEdges = false;
        EXPECT_TRUE(pipeline.process(source, quad, work).upscaled);
        EXPECT_EQ(work.layouts.back().edges, loom::EdgeRule::Clamp);
    }
}

TEST_F(PipelineLoaded, MovedCornersRewarpWithoutUpscaling) {
    pipeline.transform = 2;
    pipeline.process(source, quad, work);
    work = FakeWork();
    quad.restoreCorners({Vec2f(1, 1), Vec2f(9, 0), Vec2f(10, 5), Vec2f(0, 5)});  // a corner was dragged
    EXPECT_TRUE(pipeline.process(source, quad, work).ran);
    EXPECT_TRUE(work.upscales.empty());
    EXPECT_EQ(work.warps, std::vector<int>{2});
    EXPECT_EQ(work.shown.size(), 1u);
}

TEST_F(PipelineLoaded, NewImageRedoesEverything) {
    Surface other(3, 3, false);
    const PipelineRun run = pipeline.process(other, quad, work);
    EXPECT_TRUE(run.upscaled);
    EXPECT_EQ(pipeline.resultSurface.getWidth(), 3);
}

TEST_F(PipelineLoaded, TimesTheWorkAndTruncatesTheMilliseconds) {
    work.stepSeconds = 0.0019999;
    pipeline.upscaler = 1;
    EXPECT_EQ(pipeline.process(source, quad, work).milliseconds, 1);
    work.stepSeconds = 0.0004;
    pipeline.upscaler = 2;
    EXPECT_EQ(pipeline.process(source, quad, work).milliseconds, 0);
    EXPECT_EQ(ProcessingPipeline::perfText(12), "Perf: 12 ms");
    EXPECT_EQ(ProcessingPipeline::perfText(0), "Perf: 0 ms");
}

TEST_F(PipelineLoaded, FailedUpscaleKeepsThePictureAndRevertsTheSelection) {
    const Surface shown = pipeline.resultSurface;
    work.failUpscale = true;
    pipeline.upscaler = 3;
    EXPECT_THROW(pipeline.process(source, quad, work), std::bad_alloc);
    EXPECT_EQ(pipeline.currentUpscaler, 0) << "the id still names the upscaler that is shown";
    EXPECT_EQ(pipeline.upscaler, 0) << "the panel goes back to the shown upscaler";
    EXPECT_TRUE(pipeline.resultSurface.sharesPixelsWith(shown));

    work = FakeWork();
    EXPECT_FALSE(pipeline.process(source, quad, work).ran) << "a failure is not retried every frame";
}

TEST_F(PipelineLoaded, FailedWarpAfterADragRestoresTheShownResult) {
    pipeline.transform = 1;
    pipeline.process(source, quad, work);
    const Surface shown = pipeline.resultSurface;
    quad.restoreCorners({Vec2f(1, 1), Vec2f(9, 0), Vec2f(10, 5), Vec2f(0, 5)});
    work.failWarp = true;
    EXPECT_THROW(pipeline.process(source, quad, work), std::runtime_error);
    EXPECT_TRUE(pipeline.resultSurface.sharesPixelsWith(shown));
    EXPECT_EQ(pipeline.transform, 1);
    EXPECT_EQ(pipeline.currentTransform, 1);
}

TEST_F(PipelineLoaded, FailedWarpAfterADragPutsTheCornersBackAndEndsTheDrag) {
    quad.setView(100, 100, 1);
    quad.placeOnImage(10, 5);
    pipeline.transform = 1;
    pipeline.process(source, quad, work);
    const std::array<Vec2f, 4> shownCorners = quad.corners();

    ASSERT_TRUE(quad.hover(45, 47));  // corner 0
    quad.press(45, 47, true, false);
    ASSERT_TRUE(quad.drag(30, 30));
    work.failWarp = true;
    EXPECT_THROW(pipeline.process(source, quad, work), std::runtime_error);
    EXPECT_EQ(quad.corners(), shownCorners) << "the outline matches the picture shown";

    work = FakeWork();
    work.failWarp = true;
    EXPECT_FALSE(quad.drag(20, 20)) << "the button still held drags nothing";
    EXPECT_FALSE(pipeline.process(source, quad, work).ran) << "the failing warp is not asked again";
    EXPECT_TRUE(work.warps.empty());
}

TEST_F(PipelineLoaded, FailedUploadChangesNoSelection) {
    work.failShow = true;
    pipeline.upscaler = 2;
    pipeline.transform = 2;
    EXPECT_THROW(pipeline.process(source, quad, work), std::runtime_error);
    EXPECT_EQ(pipeline.currentUpscaler, 0);
    EXPECT_EQ(pipeline.currentTransform, 0);
    EXPECT_EQ(pipeline.upscaler, 0);
    EXPECT_EQ(pipeline.transform, 0);

    work.failShow = false;
    pipeline.upscaler = 2;
    pipeline.process(source, quad, work);
    EXPECT_EQ(work.upscales.back(), 2) << "a later attempt works normally";
    EXPECT_EQ(pipeline.currentUpscaler, 2);
}

// Jobs made elsewhere: one for the same selections and corners is asked once, a newer one
// supersedes an older one whose outcome is then dropped, and what is shown is said to match only
// once the latest is in.
TEST_F(PipelineLoaded, ANewerJobSupersedesOneThatIsOut) {
    EXPECT_TRUE(pipeline.shows(source, quad.corners()));
    pipeline.upscaler = 1;
    std::optional<loom::app::PipelineJob> first = pipeline.nextJob(source, quad);
    ASSERT_TRUE(first);
    EXPECT_FALSE(pipeline.nextJob(source, quad)) << "already asked";
    EXPECT_TRUE(pipeline.busy());
    EXPECT_FALSE(pipeline.shows(source, quad.corners()));

    pipeline.upscaler = 2;
    std::optional<loom::app::PipelineJob> second = pipeline.nextJob(source, quad);
    ASSERT_TRUE(second);
    const loom::app::PipelineOutcome late = ProcessingPipeline::run(*first, work);
    EXPECT_FALSE(pipeline.finish(late, quad, work).ran);
    EXPECT_TRUE(work.shown.empty()) << "a superseded outcome is never shown";
    EXPECT_EQ(pipeline.currentUpscaler, 0);

    EXPECT_TRUE(pipeline.finish(ProcessingPipeline::run(*second, work), quad, work).upscaled);
    EXPECT_EQ(pipeline.currentUpscaler, 2);
    EXPECT_FALSE(pipeline.busy());
    EXPECT_TRUE(pipeline.shows(source, quad.corners()));
}

// A picture dropped before its result came (a file superseded while opening): its outcome is never
// shown, and the picture shown is not asked again for what it shows already.
TEST_F(PipelineLoaded, AnAbandonedJobIsNeverShownAndNothingIsAskedAgain) {
    const Surface dropped(4, 4, true);
    std::optional<loom::app::PipelineJob> job = pipeline.nextJob(dropped, quad);
    ASSERT_TRUE(job);
    pipeline.abandonJob();
    EXPECT_FALSE(pipeline.busy());
    EXPECT_FALSE(pipeline.finish(ProcessingPipeline::run(*job, work), quad, work).ran);
    EXPECT_TRUE(work.shown.empty()) << "the dropped picture's result was shown";
    EXPECT_FALSE(pipeline.nextJob(source, quad)) << "the picture shown is made again";
    EXPECT_TRUE(pipeline.nextJob(dropped, quad)) << "the dropped picture, opened again, is not made";
}
