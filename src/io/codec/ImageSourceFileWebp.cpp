#include "io/codec/ImageSourceFileWebp.h"

#include <webp/decode.h>
#include <webp/demux.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "io/ImageIoExc.h"
#include "io/LoopCount.h"

namespace loom {

namespace {

// The least an animation frame takes: its ANMF chunk header and frame header, then the image
// chunk's header and the shortest bitstream header (VP8L's five bytes).
constexpr int64_t MIN_FRAME_BYTES = 8 + 16 + 8 + 5;
// A canvas may reach past every frame (an encoder crops each frame to what changes, the first to
// what is not transparent), by at most this many pixels a byte of the file: a few bytes declaring
// a huge canvas that nothing draws on are refused before it is made.
constexpr int64_t MARGIN_PIXELS_PER_BYTE = 4096;

struct DemuxerDeleter {
    void operator()(WebPDemuxer* demuxer) const { WebPDemuxDelete(demuxer); }
};

// The animation as the file lays it out, read without decoding a pixel.
struct Layout {
    int64_t canvasWidth = 0, canvasHeight = 0;
    uint32_t loopCount = 0;
    std::vector<int32_t> durations;  // each frame's, in milliseconds
    // The smallest rectangle holding every frame.
    int64_t left = INT64_MAX, top = INT64_MAX, right = 0, bottom = 0;

    int64_t coveredPixels() const { return durations.empty() ? 0 : (right - left) * (bottom - top); }
};

Layout readLayout(const WebPData& data) {
    const std::unique_ptr<WebPDemuxer, DemuxerDeleter> demuxer(WebPDemux(&data));
    if (!demuxer) throw ImageIoFailedLoadExc("WebP: broken or truncated animation");
    Layout layout;
    layout.canvasWidth = WebPDemuxGetI(demuxer.get(), WEBP_FF_CANVAS_WIDTH);
    layout.canvasHeight = WebPDemuxGetI(demuxer.get(), WEBP_FF_CANVAS_HEIGHT);
    layout.loopCount = WebPDemuxGetI(demuxer.get(), WEBP_FF_LOOP_COUNT);
    WebPIterator frame;
    if (!WebPDemuxGetFrame(demuxer.get(), 1, &frame)) return layout;
    do {
        layout.durations.push_back(frame.duration);
        layout.left = std::min<int64_t>(layout.left, frame.x_offset);
        layout.top = std::min<int64_t>(layout.top, frame.y_offset);
        layout.right = std::max<int64_t>(layout.right, int64_t(frame.x_offset) + frame.width);
        layout.bottom = std::max<int64_t>(layout.bottom, int64_t(frame.y_offset) + frame.height);
    } while (WebPDemuxNextFrame(&frame));
    WebPDemuxReleaseIterator(&frame);
    return layout;
}

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
    requireWithinLimits(width, height);
    const WebPData data{static_cast<const uint8_t*>(bytes_.getData()), size_t(bytes_.getDataSize())};
    Layout layout = readLayout(data);
    if (layout.canvasWidth != width || layout.canvasHeight != height)
        throw ImageIoFailedLoadExc("WebP: the animation's canvas differs from its header's size");
    const size_t frames = layout.durations.size();
    if (frames < 1 || int64_t(frames) * MIN_FRAME_BYTES > int64_t(data.size))
        throw ImageIoFailedLoadExc("WebP: " + std::to_string(frames) +
                                   " frames are more than the file's " + std::to_string(data.size) +
                                   " bytes could hold");
    if (width * height - layout.coveredPixels() > int64_t(data.size) * MARGIN_PIXELS_PER_BYTE)
        throw ImageIoFailedLoadExc("WebP: not a valid animation: its " + std::to_string(width) + " x " +
                                   std::to_string(height) + " canvas is more than its frames (within " +
                                   std::to_string(layout.right - layout.left) + " x " +
                                   std::to_string(layout.bottom - layout.top) + ") and its " +
                                   std::to_string(data.size) + " bytes could fill (" +
                                   std::to_string(MARGIN_PIXELS_PER_BYTE) +
                                   " pixels a byte beyond the frames)");
    if (index < 0 || size_t(index) >= frames)
        throw ImageIoFailedLoadExc("WebP: there is no frame " + std::to_string(index));

    WebPAnimDecoderOptions options;
    if (!WebPAnimDecoderOptionsInit(&options))
        throw ImageIoFailedLoadExc("WebP: library version mismatch");
    options.color_mode = MODE_RGBA;
    options.use_threads = 0;
    decoder_.reset(WebPAnimDecoderNew(&data, &options));
    if (!decoder_) throw ImageIoFailedLoadExc("WebP: broken or truncated animation");
    setFrameCount(int32_t(frames));
    loopCount_ = repeatsFromShowings(layout.loopCount);
    durations_ = std::move(layout.durations);
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
    // The decoder's running time in an int is not used: the frames' durations are the delays.
    int ignoredTimestamp = 0;
    if (!WebPAnimDecoderGetNext(decoder_.get(), &canvas, &ignoredTimestamp))
        throw ImageIoFailedLoadExc("WebP: frame " + std::to_string(frameIndex_ + 1) +
                                   " is broken or truncated");
    ++frameIndex_;
    const size_t canvasRowBytes = size_t(getWidth()) * 4;
    for (int32_t y = 0; y < getHeight(); ++y)
        std::memcpy(getRow(y), canvas + size_t(y) * canvasRowBytes, canvasRowBytes);
    describeTransparency();
}

int32_t ImageSourceFileWebp::getFrameDelayMs() const {
    return frameIndex_ >= 0 ? durations_[size_t(frameIndex_)] : 0;
}

ImageSourceRef ImageSourceFileWebp::create(DataSourceRef dataSource, Options options) {
    return std::make_shared<ImageSourceFileWebp>(std::move(dataSource), options);
}

}  // namespace loom
