#include "app/document/ResultSaving.h"

#include <iostream>
#include <memory>

#include "app/work/ResultSteps.h"
#include "image/UpscalerCatalogue.h"
#include "io/ImageSourceSurface.h"
#include "io/codec/AnimationWriter.h"
#include "pipeline/MakeResult.h"
#include "pipeline/ResultWithAtlasTarget.h"
#include "pipeline/ScaledAtlas.h"
#include "pipeline/WriteResult.h"

namespace loom::app {

namespace {

// Every frame made with the selections of the result shown, and written with the file's delays.
void saveAnimation(AnimationWriter& writer, const Document& document, const ProcessingPipeline& pipeline,
                   const CornerQuad& quad, UpscaledFrameCache& frames) {
    const Animation& animation = document.animation;
    for (int32_t i = 0; i < animation.frameCount(); ++i) {
        ResultSteps steps(frames, {i, true, document.id, document.atlasFrames});
        const Surface upscaled =
            steps.upscale(animation.frameAt(i), pipeline.currentUpscaler,
                          PixelMatch(pipeline.currentCompare), pipeline.currentLayout());
        writer.addFrame(
            std::make_shared<ImageSourceSurface>(warpResult(upscaled, pipeline.currentUpscaler,
                                                            pipeline.currentTransform, quad.corners())),
            animation.fileDelayMs(i));
    }
    writer.finish();
}

}  // namespace

std::string saveShownResult(const std::string& path, const Document& document,
                            const ProcessingPipeline& pipeline, const CornerQuad& quad,
                            UpscaledFrameCache& frames) {
    const Animation& animation = document.animation;
    std::string note;
    if (animation.animated()) {
        if (const std::unique_ptr<AnimationWriter> writer =
                openAnimationWriter(path, animation.loopCount(), document.palette)) {
            saveAnimation(*writer, document, pipeline, quad, frames);
            return writer->note();
        }
        note = "Saved frame " + std::to_string(animation.index() + 1) + " of " +
               std::to_string(animation.frameCount()) + " only: the format holds no animation";
    }
    ResultOptions options;
    options.palette = document.palette;
    // The atlas goes with the sheet it describes, both or neither; a warped sheet has none.
    const std::string written =
        document.atlas && pipeline.currentTransform == 0
            ? writeResult(
                  std::make_shared<ResultWithAtlasTarget>(
                      path, scaledAtlas(document.atlas->document,
                                        upscalerById(pipeline.currentUpscaler).factor, fileName(path))),
                  pipeline.resultSurface, options)
            : writeResult(path, pipeline.resultSurface, options);
    if (!written.empty()) std::cerr << "QuennetApp: " << path << ": " << written << '\n';
    return note;
}

}  // namespace loom::app
