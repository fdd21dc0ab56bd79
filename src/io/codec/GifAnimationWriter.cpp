#include "io/codec/GifAnimationWriter.h"

#include <gif_lib.h>

#include <algorithm>
#include <string>

#include "io/ImageIoExc.h"

namespace loom {

GifAnimationWriter::GifAnimationWriter(const std::string& path, int32_t loopCount, Palette table)
    : GifAnimationWriter(openFileTarget(path, false), loopCount, std::move(table)) {}

GifAnimationWriter::GifAnimationWriter(DataTargetRef target, int32_t loopCount, Palette table)
    : dataTarget_(std::move(target)), loopCount_(loopCount), table_(std::move(table)) {}

void GifAnimationWriter::addFrame(const ImageSourceRef& frame, int32_t delayMs) {
    if (!frame) throw ImageIoExc("there is no image to write");
    // Indexed before the first byte is written, so a refused first frame leaves nothing.
    auto indexed = std::make_shared<GifIndexedFrame>(*frame, table_);
    frame->load(indexed);
    indexed->finalize();
    if (!encoder_) {
        width_ = frame->getWidth(), height_ = frame->getHeight();
        encoder_ = std::make_unique<GifEncoder>(*dataTarget_->getStream(), width_, height_);
        if (loopCount_ >= 0) encoder_->putLoopCount(loopCount_);
    } else if (frame->getWidth() != width_ || frame->getHeight() != height_) {
        throw ImageIoExc("the frames of an animation differ in size");
    }
    encoder_->putFrame(*indexed, gifDelay(delayMs), DISPOSE_BACKGROUND);
    if (hundredthsOf(delayMs) > MOST_HUNDREDTHS) {
        ++shortenedFrames_;
        longestShortenedMs_ = std::max(longestShortenedMs_, delayMs);
    }
}

std::string GifAnimationWriter::note() const {
    const std::string most = std::to_string(MOST_HUNDREDTHS * 10) + " ms, the longest a GIF holds";
    if (shortenedFrames_ == 0) return {};
    if (shortenedFrames_ == 1)
        return "a frame's delay of " + std::to_string(longestShortenedMs_) + " ms was shortened to " +
               most;
    return std::to_string(shortenedFrames_) + " frames' delays (up to " +
           std::to_string(longestShortenedMs_) + " ms) were shortened to " + most;
}

void GifAnimationWriter::finish() {
    if (!encoder_) throw ImageIoExc("an animation needs at least one frame");
    encoder_->finish();
    encoder_.reset();
    dataTarget_->commit();
}

}  // namespace loom
