#include "io/codec/WebpAnimationWriter.h"

#include <webp/encode.h>
#include <webp/mux.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>

#include "image/Surface.h"
#include "io/ImageIoExc.h"
#include "io/LoopCount.h"
#include "io/codec/WebpLossless.h"

namespace loom {

namespace {

struct PictureGuard {
    WebPPicture picture;
    PictureGuard() { std::memset(&picture, 0, sizeof(picture)); }  // safe to free before init
    ~PictureGuard() { WebPPictureFree(&picture); }
};

struct AssembledGuard {
    WebPData data;
    AssembledGuard() { WebPDataInit(&data); }
    ~AssembledGuard() { WebPDataClear(&data); }
};

[[noreturn]] void fail(WebPAnimEncoder* encoder, const char* what) {
    const char* reason = encoder ? WebPAnimEncoderGetError(encoder) : nullptr;
    throw ImageIoExc(std::string("WebP: ") + what +
                     (reason && *reason ? std::string(": ") + reason : ""));
}

}  // namespace

void WebpAnimEncoderDeleter::operator()(WebPAnimEncoder* encoder) const {
    WebPAnimEncoderDelete(encoder);
}

WebpAnimationWriter::WebpAnimationWriter(const std::string& path, int32_t loopCount)
    : WebpAnimationWriter(openFileTarget(path, false), loopCount) {}

WebpAnimationWriter::WebpAnimationWriter(DataTargetRef target, int32_t loopCount)
    : dataTarget_(std::move(target)), loopCount_(loopCount) {}

void WebpAnimationWriter::addFrame(const ImageSourceRef& frame, int32_t delayMs) {
    if (!frame) throw ImageIoExc("there is no image to write");
    const int32_t width = frame->getWidth(), height = frame->getHeight();
    if (!encoder_) {
        if (width < 1 || height < 1 || width > WEBP_MAX_DIMENSION || height > WEBP_MAX_DIMENSION)
            throw ImageIoExc("WebP: cannot store an image of " + std::to_string(width) + " x " +
                             std::to_string(height) + " pixels");
        WebPAnimEncoderOptions options;
        if (!WebPAnimEncoderOptionsInit(&options)) throw ImageIoExc("WebP: library version mismatch");
        options.anim_params.loop_count = int(showingsFromRepeats(loopCount_));
        encoder_.reset(WebPAnimEncoderNew(width, height, &options));
        if (!encoder_) throw ImageIoExc("WebP: out of memory");
        width_ = width, height_ = height;
    } else if (width != width_ || height != height_) {
        throw ImageIoExc("the frames of an animation differ in size");
    }
    WebPConfig config = losslessWebpConfig();
    const int32_t delay = std::max(0, delayMs);
    if (int64_t(startMs_) + delay > INT_MAX) throw ImageIoExc("WebP: the animation is too long");
    const Surface rgba(frame, SurfaceConstraintsDefault(), true);
    PictureGuard guard;
    if (!WebPPictureInit(&guard.picture)) throw ImageIoExc("WebP: library version mismatch");
    guard.picture.use_argb = 1;
    guard.picture.width = width;
    guard.picture.height = height;
    if (!WebPPictureImportRGBA(&guard.picture, rgba.getData(), rgba.getRowBytes()))
        throw ImageIoExc("WebP: out of memory");
    if (!WebPAnimEncoderAdd(encoder_.get(), &guard.picture, startMs_, &config))
        fail(encoder_.get(), "encoding a frame failed");
    startMs_ += delay;
}

void WebpAnimationWriter::finish() {
    if (!encoder_) throw ImageIoExc("an animation needs at least one frame");
    // A last, empty frame gives the end of the last real one, and so its duration.
    if (!WebPAnimEncoderAdd(encoder_.get(), nullptr, startMs_, nullptr))
        fail(encoder_.get(), "ending the animation failed");
    AssembledGuard assembled;
    if (!WebPAnimEncoderAssemble(encoder_.get(), &assembled.data))
        fail(encoder_.get(), "assembling the animation failed");
    encoder_.reset();
    dataTarget_->getStream()->writeData(assembled.data.bytes, assembled.data.size);
    dataTarget_->commit();
}

}  // namespace loom
