#include "io/codec/ApngAnimationWriter.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "io/ImageIoExc.h"
#include "io/LoopCount.h"
#include "io/codec/BlockTarget.h"
#include "io/codec/PngChunks.h"
#include "io/codec/PngImageData.h"
#include "io/codec/PngRowFormat.h"

namespace loom {

ApngAnimationWriter::ApngAnimationWriter(const std::string& path, int32_t loopCount)
    : ApngAnimationWriter(openFileTarget(path, false), loopCount) {}

ApngAnimationWriter::ApngAnimationWriter(DataTargetRef target, int32_t loopCount)
    : dataTarget_(std::move(target)), loopCount_(loopCount) {}

void ApngAnimationWriter::writeAnimationControl(OStream& out) const {
    uint8_t control[8];
    putBigEndian32(control, frames_);
    putBigEndian32(control + 4, showingsFromRepeats(loopCount_));
    writePngChunk(out, "acTL", control, sizeof(control));
}

void ApngAnimationWriter::addFrame(const ImageSourceRef& frame, int32_t delayMs) {
    if (!frame) throw ImageIoExc("there is no image to write");
    if (frames_ > 0 && (frame->getWidth() != width_ || frame->getHeight() != height_))
        throw ImageIoExc("the frames of an animation differ in size");
    const int32_t width = frame->getWidth(), height = frame->getHeight();
    const size_t rowBytes = size_t(width) * 4;
    // A frame without alpha leaves it unwritten: opaque.
    std::vector<uint8_t> pixels(rowBytes * size_t(height), 255);
    frame->load(std::make_shared<BlockTarget>(pixels.data(), width, height, int32_t(rowBytes)));

    OStream& out = *dataTarget_->getStream();
    PngRowFormat format = PngRowFormat::rgba8(width);
    if (frames_ == 0) {
        width_ = width, height_ = height;
        writePngSignature(out);
        writePngHeader(out, width, height, format);
        controlAt_ = out.tell();
        writeAnimationControl(out);
    }
    const uint32_t ms = uint32_t(std::max(0, delayMs));
    const bool inMs = ms <= 0xFFFF;
    uint8_t control[26] = {};
    putBigEndian32(control, sequence_++);
    putBigEndian32(control + 4, uint32_t(width));
    putBigEndian32(control + 8, uint32_t(height));
    // Offsets 0, 0; disposal none and blending source (the last two bytes) stay 0.
    const uint32_t numerator = inMs ? ms : std::min<uint32_t>((ms + 5) / 10, 0xFFFF);
    control[20] = uint8_t(numerator >> 8), control[21] = uint8_t(numerator);
    control[22] = inMs ? 1000 >> 8 : 0, control[23] = uint8_t(inMs ? 1000 & 0xFF : 100);
    writePngChunk(out, "fcTL", control, sizeof(control));

    const auto rowAt = [&](int32_t y) { return pixels.data() + size_t(y) * rowBytes; };
    std::vector<uint8_t> frameData;
    writePngRows(format, height, rowAt, [&](const uint8_t* data, size_t size) {
        if (frames_ == 0) return writePngChunk(out, "IDAT", data, size);
        // Later frames' data: the same stream after a sequence number.
        frameData.resize(4 + size);
        putBigEndian32(frameData.data(), sequence_++);
        std::copy(data, data + size, frameData.begin() + 4);
        writePngChunk(out, "fdAT", frameData.data(), frameData.size());
    });
    ++frames_;
}

void ApngAnimationWriter::finish() {
    if (frames_ == 0) throw ImageIoExc("an animation needs at least one frame");
    OStream& out = *dataTarget_->getStream();
    writePngChunk(out, "IEND", nullptr, 0);
    // The frame count is known only now.
    out.seekAbsolute(controlAt_);
    writeAnimationControl(out);
    dataTarget_->commit();
}

}  // namespace loom
