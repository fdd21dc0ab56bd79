// GifEncoder: giflib's writer over an output stream. A GIF89a file of one canvas, frames drawn
// over it whole, each with its own colour table.
#pragma once

#include <memory>
#include <string>

#include "io/Stream.h"
#include "io/codec/GifIndexedFrame.h"

struct GifFileType;

namespace loom {

class GifEncoder {
public:
    // Writes the header of a width x height canvas. Every failure of the encoder is an
    // ImageIoFailedLoadExc with the reason.
    GifEncoder(OStream& out, int32_t width, int32_t height);
    ~GifEncoder();
    GifEncoder(const GifEncoder&) = delete;
    GifEncoder& operator=(const GifEncoder&) = delete;

    // Makes the frames repeat loopCount times, 0 for ever; before the first frame.
    void putLoopCount(int32_t loopCount);
    // A frame covering the canvas, shown delayCentiseconds hundredths of a second, then disposed
    // of by giflib's disposal mode. A frame that says nothing of these gets no control block.
    void putFrame(GifIndexedFrame& frame, int32_t delayCentiseconds, int disposal);
    // Writes the end of the file.
    void finish();

private:
    struct Closer {
        void operator()(GifFileType* gif) const;
    };
    // Throws the stream's own failure when there was one, else giflib's.
    [[noreturn]] void fail() const;

    OStream& out_;
    std::string streamError_;
    std::unique_ptr<GifFileType, Closer> gif_;
};

}  // namespace loom
