// ImageSourceFileWebp: WebP decoding (libwebp). A still image reads as RGB or RGBA; an animation
// (libwebp's demuxing decoder) reads as the frame the load options' index names, composed as a
// viewer shows it, RGBA when any pixel is transparent and RGBX otherwise, and can then be walked
// frame by frame with nextFrame().
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "io/codec/ImageSourceDecoded.h"

struct WebPAnimDecoder;

namespace loom {

struct WebpAnimDecoderDeleter {
    void operator()(WebPAnimDecoder* decoder) const;
};

class ImageSourceFileWebp : public ImageSourceDecoded {
public:
    ImageSourceFileWebp(DataSourceRef dataSource, const Options& options);
    static ImageSourceRef create(DataSourceRef dataSource, Options options);

    bool nextFrame() override;
    int32_t getFrameDelayMs() const override;
    int32_t getLoopCount() const override { return loopCount_; }

private:
    void openAnimation(int64_t width, int64_t height, int32_t index);
    // Composes the next frame onto the pixel block and takes its duration.
    void readFrame();

    Buffer bytes_;  // the demuxer reads the file where it lies
    std::unique_ptr<WebPAnimDecoder, WebpAnimDecoderDeleter> decoder_;
    int32_t frameIndex_ = -1;
    std::vector<int32_t> durations_;  // each frame's, from the file's frame headers
    int32_t loopCount_ = -1;
};

}  // namespace loom
