#include "io/codec/ImageSourceFileWebp.h"

#include <webp/decode.h>
#include <webp/demux.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "image/ImageLimits.h"
#include "io/ImageIoExc.h"
#include "io/LoopCount.h"

namespace loom {

namespace {

// The least an animation frame takes: its ANMF chunk header and frame header, then the image
// chunk's header and the shortest bitstream header (VP8L's five bytes).
constexpr int64_t MIN_FRAME_BYTES = 8 + 16 + 8 + 5;

}  // namespace

void WebpAnimDecoderDeleter::operator()(WebPAnimDecoder* decoder) const {
    WebPAnimDecoderDelete(decoder);
}

ImageSourceFileWebp::ImageSourceFileWebp(DataSourceRef dataSource, const Options& options)
    : ImageSourceDecoded(options), bytes_(dataSource->getBuffer()) {
    const auto* data = static_cast<const uint8_t*>(bytes_.getData());
    const size_t size = size_t(bytes_.getDataSize());
    if (size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WEBP", 4) != 0)
        throw ImageIoNotThisFormatExc("not a WebP file");
    WebPBitstreamFeatures features;
    if (WebPGetFeatures(data, size, &features) != VP8_STATUS_OK)
        throw ImageIoFailedLoadExc("WebP: broken header");
    if (features.has_animation) {
        openAnimation(features.width, features.height, options.index);
        return;
    }
    const bool alpha = features.has_alpha != 0;
    allocatePixels(features.width, features.height, RGB, UINT8, alpha ? RGBA : RGB_ORDER);
    const size_t total = size_t(getRowBytes()) * size_t(getHeight());
    const uint8_t* done = alpha ? WebPDecodeRGBAInto(data, size, getPixels(), total, getRowBytes())
                                : WebPDecodeRGBInto(data, size, getPixels(), total, getRowBytes());
    if (!done) throw ImageIoFailedLoadExc("WebP: broken or truncated data");
}

void ImageSourceFileWebp::openAnimation(int64_t width, int64_t height, int32_t index) {
    // The decoder makes two canvases of its own at once: the size is checked before it exists.
    if (!withinImageLimits(width, height))
        throw ImageIoFailedLoadExc(std::string("WebP: ") + ImageTooLargeExc(width, height).what());
    requireWithinLimits(width, height);
    WebPAnimDecoderOptions options;
    if (!WebPAnimDecoderOptionsInit(&options))
        throw ImageIoFailedLoadExc("WebP: library version mismatch");
    options.color_mode = MODE_RGBA;
    options.use_threads = 0;
    const WebPData data{static_cast<const uint8_t*>(bytes_.getData()), size_t(bytes_.getDataSize())};
    decoder_.reset(WebPAnimDecoderNew(&data, &options));
    if (!decoder_) throw ImageIoFailedLoadExc("WebP: broken or truncated animation");
    WebPAnimInfo info;
    if (!WebPAnimDecoderGetInfo(decoder_.get(), &info))
        throw ImageIoFailedLoadExc("WebP: broken or truncated animation");
    if (info.canvas_width != width || info.canvas_height != height)
        throw ImageIoFailedLoadExc("WebP: the animation's canvas differs from its header's size");
    if (info.frame_count < 1 || int64_t(info.frame_count) * MIN_FRAME_BYTES > int64_t(data.size))
        throw ImageIoFailedLoadExc("WebP: " + std::to_string(info.frame_count) +
                                   " frames are more than the file's " + std::to_string(data.size) +
                                   " bytes could hold");
    if (index < 0 || uint32_t(index) >= info.frame_count)
        throw ImageIoFailedLoadExc("WebP: there is no frame " + std::to_string(index));
    setFrameCount(int32_t(info.frame_count));
    loopCount_ = repeatsFromShowings(info.loop_count);
    allocatePixels(width, height, RGB, UINT8, RGBA);
    while (frameIndex_ < index) readFrame();
}

bool ImageSourceFileWebp::nextFrame() {
    if (frameIndex_ + 1 >= getFrameCount()) return false;
    readFrame();
    return true;
}

void ImageSourceFileWebp::readFrame() {
    uint8_t* canvas = nullptr;
    int endMs = 0;
    if (!WebPAnimDecoderGetNext(decoder_.get(), &canvas, &endMs))
        throw ImageIoFailedLoadExc("WebP: frame " + std::to_string(frameIndex_ + 1) +
                                   " is broken or truncated");
    // The decoder gives each frame's end: the time it stops showing.
    delay_ = std::max(0, endMs - endMs_);
    endMs_ = endMs;
    ++frameIndex_;
    const size_t canvasRowBytes = size_t(getWidth()) * 4;
    for (int32_t y = 0; y < getHeight(); ++y)
        std::memcpy(getRow(y), canvas + size_t(y) * canvasRowBytes, canvasRowBytes);
    describeTransparency();
}

ImageSourceRef ImageSourceFileWebp::create(DataSourceRef dataSource, Options options) {
    return std::make_shared<ImageSourceFileWebp>(std::move(dataSource), options);
}

}  // namespace loom
