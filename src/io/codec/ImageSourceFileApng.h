// ImageSourceFileApng: animated PNG. libpng knows no animation chunks, so they are read here:
// each frame's compressed data is wrapped as a PNG of its own (the file's header with the frame's
// size, its palette and transparency, the data as IDAT), decoded by ImageSourceFilePng and
// composed onto a canvas (RGBA, 8 or 16 bits as the file's samples) with the frame's disposal and
// blending. An image that no frame control chunk precedes is the picture for viewers without
// animation, not a frame.
//
// Every chunk's length and CRC, the frame count, the sequence numbers and each frame's place on
// the canvas are checked when the file is opened, before anything is made for a frame.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "io/codec/ImageSourceDecoded.h"

namespace loom {

class ImageSourceFileApng : public ImageSourceDecoded {
public:
    // Whether bytes are a PNG announcing an animation (an acTL chunk before the pixels); reads
    // only the heads of the chunks before the first IDAT.
    static bool isAnimated(const Buffer& bytes);

    ImageSourceFileApng(DataSourceRef dataSource, const Options& options);

    bool nextFrame() override;
    // The frame's delay is a fraction of a second; a zero denominator means hundredths.
    int32_t getFrameDelayMs() const override;
    int32_t getLoopCount() const override { return loopCount_; }

private:
    struct Piece {
        const uint8_t* data;
        size_t size;
    };
    struct Frame {
        int32_t width = 0, height = 0, left = 0, top = 0;
        uint16_t delayNumerator = 0, delayDenominator = 0;
        uint8_t dispose = 0, blend = 0;
        bool fromIdat = false;      // its data is the IDAT image's
        std::vector<Piece> pieces;  // its compressed data, in order
    };

    // Reads every chunk, checking it, into the frames; throws on any fault.
    void readChunks();
    // Decodes the current frame and composes it onto the canvas.
    void drawFrame();
    // Clears or restores the current frame's area as its disposal asks.
    void disposeFrame();

    Buffer bytes_;
    const uint8_t* header_ = nullptr;  // IHDR's data
    std::vector<uint8_t> tables_;      // the PLTE and tRNS chunks, whole, as in the file
    std::vector<Frame> frames_;
    uint32_t announcedFrames_ = 0;
    int32_t loopCount_ = -1;
    int32_t frameIndex_ = 0;
    DataType type_ = UINT8;
    std::vector<uint8_t> underFrame_;  // the canvas under the frame, for "previous"
};

}  // namespace loom
