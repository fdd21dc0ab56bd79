// ImageSourceFileGif: GIF decoding (giflib). The frame the load options' index names (0, the
// first, by default), composed over the frames before it as their disposal modes say; RGBA when
// any pixel is transparent, RGBX otherwise. Transparent pixels keep a colour: the one their
// transparent index names where they lie over nothing, and the first frame's transparent colour
// (black when it has none) on canvas no frame has drawn or a disposal cleared. A file without any
// colour table is read with a grey ramp (index i is (i, i, i)), as viewers do. An animation can then be
// walked frame by frame with nextFrame(), each frame composed as a viewer shows it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "io/codec/ImageSourceDecoded.h"

struct GifFileType;

namespace loom {

// What giflib reads through: the file's bytes in memory, and the handle's closing.
struct GifMemoryReader {
    const uint8_t* data;
    size_t size;
    size_t position;
};
struct GifFileCloser {
    void operator()(GifFileType* gif) const;
};

class ImageSourceFileGif : public ImageSourceDecoded {
public:
    ImageSourceFileGif(DataSourceRef dataSource, const Options& options);
    static ImageSourceRef create(DataSourceRef dataSource, Options options);

    // Composes the frame after the current one onto the canvas; false, with the canvas
    // unchanged, when the current frame is the last.
    bool nextFrame() override;
    // GIF counts in hundredths of a second.
    int32_t getFrameDelayMs() const override { return delay_ * 10; }
    int32_t getLoopCount() const override { return loopCount_; }

private:
    // Reads up to the next frame's pixels and draws them; false at the end of the file.
    bool readFrame();
    // Clears or restores the current frame's area as its disposal mode asks.
    void disposeFrame();

    Buffer bytes_;
    GifMemoryReader reader_;
    std::unique_ptr<GifFileType, GifFileCloser> gif_;
    // The current frame's graphic control: giflib's disposal mode and the delay.
    int disposal_ = 0;
    int32_t delay_ = 0;
    int frameLeft_ = 0, frameTop_ = 0, frameRight_ = 0, frameBottom_ = 0;  // clipped to the canvas
    std::vector<uint8_t> underFrame_;       // the canvas under the frame, for "restore previous"
    uint8_t background_[4] = {0, 0, 0, 0};  // undrawn canvas: RGBA
    int32_t frameIndex_ = 0;
    int32_t loopCount_ = -1;
};

}  // namespace loom
