#include "cli/ConvertFile.h"

#include <array>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <utility>

#include "image/UpscalerCatalogue.h"
#include "io/ImageFile.h"
#include "io/ImageSourceSurface.h"
#include "io/Paths.h"
#include "io/codec/AnimationWriter.h"
#include "io/codec/BuiltInCodecs.h"
#include "pipeline/Atlas.h"
#include "pipeline/AtlasUpscale.h"
#include "pipeline/MakeResult.h"
#include "pipeline/ResultWithAtlasTarget.h"
#include "pipeline/ScaledAtlas.h"
#include "pipeline/WriteResult.h"

namespace loom::cli {

namespace {

// Every frame of an animation made into a result, one frame at a time, and written by writer
// with the same delays; what the format could not hold is the note.
std::string convertAnimation(const ImageSourceRef& animation, AnimationWriter& writer,
                             const CliOptions& options, const std::array<Vec2f, 4>& quad) {
    do {
        const Surface result =
            makeResult(Surface(animation), options.upscaler, options.transform, quad, options.result);
        writer.addFrame(std::make_shared<ImageSourceSurface>(result), animation->getFrameDelayMs());
    } while (animation->nextFrame());
    writer.finish();
    return writer.note();
}

// The input, at the picture --frame names when it is given (a frame of an animation, composed as
// a viewer shows it, or a picture of a file holding several, such as an icon's sizes), and only
// the frames of --tag when that is given. A picture whose result would be too large is refused
// before it is decoded.
ImageSourceRef loadInput(const std::string& inputPath, const CliOptions& options) {
    const std::optional<int>& frame = options.frame;
    ImageSource::Options load;
    if (frame) load.setPage(*frame - 1);
    load.setTag(options.tag);
    load.setScale(upscalerById(options.upscaler).factor);
    ImageSourceRef input = loadImage(inputPath, load);
    if (!frame) return input;
    if (input->getFrameCount() > 1) {
        if (*frame > input->getFrameCount())
            throw std::runtime_error("there is no frame " + std::to_string(*frame) +
                                     ": the animation has " + std::to_string(input->getFrameCount()));
        for (int i = 1; i < *frame; ++i) input->nextFrame();
        return input;
    }
    if (*frame > input->getPageCount())
        throw std::runtime_error("there is no picture " + std::to_string(*frame) + ": the file holds " +
                                 std::to_string(input->getPageCount()));
    return input;
}

// The sheet upscaled by the frames of the atlas, written with the atlas scaled to it, both or
// neither. The atlas is checked against the sheet before anything is upscaled or written. An
// animated sheet written to a format that holds animations keeps every frame, each cut by the
// atlas alike.
std::string convertAtlas(ImageSourceRef input, const Atlas& atlas, const std::string& outputPath,
                         const CliOptions& options) {
    ResultOptions resultOptions = options.result;
    resultOptions.palette = input->getPalette();
    const int factor = upscalerById(options.upscaler).factor;
    const std::vector<AtlasFrame> frames =
        framesOnSheet(atlas, input->getWidth(), input->getHeight(), factor);
    const auto target = std::make_shared<ResultWithAtlasTarget>(
        outputPath,
        scaledAtlas(atlas.document, factor, std::filesystem::path(outputPath).filename().string()));
    const auto byFrames = [&](const Surface& sheet) {
        return upscaleByFrames(sheet, frames, options.upscaler, resultOptions.match,
                               resultOptions.layout.edges);
    };
    const std::unique_ptr<AnimationWriter> animation =
        input->getFrameCount() > 1 && !options.frame
            ? openAnimationWriter(target, input->getLoopCount(), input->getPalette())
            : nullptr;
    if (!animation) return writeResult(target, byFrames(Surface(std::move(input))), resultOptions);
    do
        animation->addFrame(std::make_shared<ImageSourceSurface>(byFrames(Surface(input))),
                            input->getFrameDelayMs());
    while (input->nextFrame());
    animation->finish();
    return animation->note();
}

}  // namespace

std::string convertFile(const std::string& inputPath, const std::string& outputPath,
                        const CliOptions& options) {
    const std::string extension = getPathExtension(outputPath);
    if (!builtInCodecs().hasTarget(extension))
        throw ImageIoUnknownExtensionExc("cannot write images of type \"" + extension + "\"");
    std::error_code ignored;
    if (!options.force && std::filesystem::exists(outputPath, ignored))
        throw std::runtime_error(outputPath + " exists (use --force to overwrite)");

    if (!options.atlas.empty() && !options.force &&
        std::filesystem::exists(atlasPathFor(outputPath), ignored))
        throw std::runtime_error(atlasPathFor(outputPath) + " exists (use --force to overwrite)");

    // A broken atlas is refused before the sheet is decoded.
    const std::optional<Atlas> atlas =
        options.atlas.empty() ? std::nullopt : std::optional<Atlas>(readAtlas(options.atlas));
    ImageSourceRef input = loadInput(inputPath, options);
    if (atlas) return convertAtlas(std::move(input), *atlas, outputPath, options);
    const int32_t frames = options.frame ? 1 : input->getFrameCount();  // one picked: a still
    const float w = float(input->getWidth());
    const float h = float(input->getHeight());
    const std::array<Vec2f, 4> quad =
        options.quad ? *options.quad
                     : std::array<Vec2f, 4>{Vec2f(0, 0), Vec2f(w, 0), Vec2f(w, h), Vec2f(0, h)};
    if (frames > 1) {
        if (const std::unique_ptr<AnimationWriter> writer =
                openAnimationWriter(outputPath, input->getLoopCount(), input->getPalette())) {
            return convertAnimation(input, *writer, options, quad);
        }
    }
    ResultOptions resultOptions = options.result;
    resultOptions.palette = input->getPalette();
    std::string note;
    if (const auto& cells = resultOptions.layout.cells) {
        const std::string leftover = leftoverOf(*cells, input->getWidth(), input->getHeight());
        if (!leftover.empty())
            note = "past the last whole cell: " + leftover + ", enlarged as plain blocks";
    }
    // Handing over the only handle lets the decoded source go as soon as it is upscaled.
    const Surface result =
        makeResult(Surface(std::move(input)), options.upscaler, options.transform, quad, resultOptions);
    const std::string written = writeResult(outputPath, result, resultOptions);
    if (!written.empty()) note += std::string(note.empty() ? "" : "; ") + written;
    if (frames > 1)
        note += std::string(note.empty() ? "" : "; ") + "only the first of its " +
                std::to_string(frames) +
                " frames was written (a .gif, .png or .webp output keeps the animation)";
    return note;
}

}  // namespace loom::cli
