#include "io/codec/ImageSourceFileApng.h"

#include <cstring>
#include <memory>
#include <string>

#include "io/ImageIoExc.h"
#include "io/LoopCount.h"
#include "io/codec/BlockTarget.h"
#include "io/codec/ByteReader.h"
#include "io/codec/ImageSourceFilePng.h"
#include "io/codec/PngChunks.h"

namespace loom {

namespace {

const uint8_t SIGNATURE[8] = {137, 'P', 'N', 'G', '\r', '\n', 26, '\n'};
enum : uint8_t { DISPOSE_NONE = 0, DISPOSE_BACKGROUND = 1, DISPOSE_PREVIOUS = 2 };
enum : uint8_t { BLEND_SOURCE = 0, BLEND_OVER = 1 };

[[noreturn]] void fail(const std::string& why) { throw ImageIoFailedLoadExc("PNG: " + why); }

bool isType(const uint8_t* type, const char* name) { return std::memcmp(type, name, 4) == 0; }

void appendChunk(std::vector<uint8_t>& out, const char* type, const uint8_t* data, size_t size) {
    uint8_t word[4];
    putBigEndian32(word, uint32_t(size));
    out.insert(out.end(), word, word + 4);
    out.insert(out.end(), type, type + 4);
    if (size > 0) out.insert(out.end(), data, data + size);
    putBigEndian32(word, pngChunkCrc(type, data, size));
    out.insert(out.end(), word, word + 4);
}

// Composes a row of RGBA pixels over another, both unpremultiplied, as alpha compositing does.
template <typename T>
void blendOver(T* canvas, const T* frame, int32_t width) {
    constexpr uint64_t MAX = T(~T(0));
    for (int32_t x = 0; x < width; ++x, canvas += 4, frame += 4) {
        const uint64_t sa = frame[3], da = canvas[3];
        if (sa == MAX) {
            std::memcpy(canvas, frame, 4 * sizeof(T));
        } else if (sa > 0) {
            const uint64_t u = sa * MAX, v = (MAX - sa) * da, a = u + v;
            for (int c = 0; c < 3; ++c) canvas[c] = T((frame[c] * u + canvas[c] * v) / a);
            canvas[3] = T(a / MAX);
        }
    }
}

}  // namespace

bool ImageSourceFileApng::isAnimated(const Buffer& bytes) {
    ByteReader file(static_cast<const uint8_t*>(bytes.getData()), size_t(bytes.getDataSize()), "PNG");
    if (file.size() < 8 || std::memcmp(file.take(8), SIGNATURE, 8) != 0) return false;
    while (file.remaining() >= 12) {
        const size_t length = file.u32be();
        const uint8_t* type = file.take(4);
        if (isType(type, "acTL")) return true;
        if (isType(type, "IDAT") || isType(type, "IEND")) return false;
        if (length > file.remaining() - 4) return false;
        file.skip(length + 4);
    }
    return false;
}

ImageSourceFileApng::ImageSourceFileApng(DataSourceRef dataSource, const Options& options)
    : ImageSourceDecoded(options) {
    // The whole file's header read as a still picture: its size, limits and sample type.
    const ImageSourceFilePng still(dataSource, {});
    bytes_ = dataSource->getBuffer();
    type_ = still.getDataType();
    readChunks();
    allocatePixels(still.getWidth(), still.getHeight(), RGB, type_, RGBA);
    std::memset(getPixels(), 0, size_t(getRowBytes()) * size_t(getHeight()));
    setFrameCount(int32_t(frames_.size()));
    if (options.index < 0 || size_t(options.index) >= frames_.size())
        fail("there is no frame " + std::to_string(options.index));
    drawFrame();
    while (frameIndex_ < options.index) nextFrame();
}

void ImageSourceFileApng::readChunks() {
    ByteReader file(static_cast<const uint8_t*>(bytes_.getData()), size_t(bytes_.getDataSize()), "PNG");
    file.seek(16);  // the still picture's reading checked the signature and the header
    const int64_t canvasWidth = file.u32be(), canvasHeight = file.u32be();
    file.seek(8);
    uint32_t sequence = 0;
    bool seenIdat = false, headerFirst = false;
    while (!file.atEnd()) {
        if (file.remaining() < 12) fail("truncated data");
        const bool first = file.position() == 8;
        const size_t length = file.u32be();
        const uint8_t* type = file.take(4);
        const std::string name(reinterpret_cast<const char*>(type), 4);
        for (char c : name)
            if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))) fail("not a valid chunk");
        if (length > file.remaining() - 4) fail("truncated " + name + " chunk");
        ByteReader body = file.sub(length);
        if (pngChunkCrc(name.c_str(), body.data(), length) != file.u32be())
            fail("damaged " + name + " chunk (its CRC does not match)");
        const auto nextSequence = [&] {
            if (length < 4 || body.u32be() != sequence) fail("frames out of order");
            ++sequence;
        };
        if (isType(type, "IHDR")) {
            header_ = body.data();
            headerFirst = first;
        } else if (isType(type, "PLTE") || isType(type, "tRNS")) {
            appendChunk(tables_, name.c_str(), body.data(), length);
        } else if (isType(type, "acTL") && length == 8) {
            announcedFrames_ = body.u32be();
            const uint32_t plays = body.u32be();
            // Played once is our "not repeated"; otherwise the count, 0 being for ever.
            loopCount_ = repeatsFromShowings(plays);
        } else if (isType(type, "fcTL")) {
            if (length != 26) fail("bad frame control chunk");
            nextSequence();
            if (frames_.size() >= announcedFrames_)
                fail("more frames than the " + std::to_string(announcedFrames_) + " announced");
            Frame frame;
            const int64_t width = body.u32be(), height = body.u32be();
            const int64_t left = body.u32be(), top = body.u32be();
            if (width == 0 || height == 0 || left + width > canvasWidth || top + height > canvasHeight)
                fail("frame " + std::to_string(frames_.size() + 1) + " (" + std::to_string(width) +
                     " x " + std::to_string(height) + " at " + std::to_string(left) + ", " +
                     std::to_string(top) + ") lies outside the " + std::to_string(canvasWidth) + " x " +
                     std::to_string(canvasHeight) + " canvas");
            frame.width = int32_t(width), frame.height = int32_t(height);
            frame.left = int32_t(left), frame.top = int32_t(top);
            frame.delayNumerator = body.u16be();
            frame.delayDenominator = body.u16be();
            frame.dispose = body.u8(), frame.blend = body.u8();
            if (frame.dispose > DISPOSE_PREVIOUS || frame.blend > BLEND_OVER)
                fail("bad disposal or blending in frame " + std::to_string(frames_.size() + 1));
            frame.fromIdat = frames_.empty() && !seenIdat;
            frames_.push_back(std::move(frame));
        } else if (isType(type, "IDAT")) {
            seenIdat = true;
            if (frames_.size() == 1 && frames_[0].fromIdat)
                frames_[0].pieces.push_back({body.data(), length});
        } else if (isType(type, "fdAT")) {
            nextSequence();
            if (frames_.empty() || frames_.back().fromIdat) fail("frame data before its frame control");
            frames_.back().pieces.push_back({body.take(length - 4), length - 4});
        } else if (isType(type, "IEND")) {
            break;
        }
    }
    if (!header_ || !headerFirst) fail("no header chunk first");
    if (announcedFrames_ == 0) fail("an animation without frames");
    if (frames_.size() != announcedFrames_)
        fail("the animation announces " + std::to_string(announcedFrames_) + " frames but holds " +
             std::to_string(frames_.size()));
    for (size_t i = 0; i < frames_.size(); ++i)
        if (frames_[i].pieces.empty()) fail("frame " + std::to_string(i + 1) + " has no pixels");
}

void ImageSourceFileApng::drawFrame() {
    const Frame& frame = frames_[size_t(frameIndex_)];
    std::vector<uint8_t> png(SIGNATURE, SIGNATURE + 8);
    uint8_t header[13];
    std::memcpy(header, header_, sizeof(header));
    putBigEndian32(header, uint32_t(frame.width));
    putBigEndian32(header + 4, uint32_t(frame.height));
    appendChunk(png, "IHDR", header, sizeof(header));
    png.insert(png.end(), tables_.begin(), tables_.end());
    std::vector<uint8_t> pixels;
    for (const Piece& piece : frame.pieces)
        pixels.insert(pixels.end(), piece.data, piece.data + piece.size);
    appendChunk(png, "IDAT", pixels.data(), pixels.size());
    appendChunk(png, "IEND", nullptr, 0);

    const size_t pixelBytes = type_ == UINT16 ? 8 : 4;
    const size_t spanBytes = size_t(frame.width) * pixelBytes;
    try {
        // Checks the frame's size against its data before making room for its pixels.
        const auto decoder = std::make_shared<ImageSourceFilePng>(
            makeBufferSource(Buffer(png.data(), int32_t(png.size()))), Options());
        pixels.assign(spanBytes * size_t(frame.height), 0);
        decoder->load(std::make_shared<BlockTarget>(pixels.data(), frame.width, frame.height,
                                                    int32_t(spanBytes), type_));
    } catch (const ImageIoExc& e) {
        throw ImageIoFailedLoadExc("frame " + std::to_string(frameIndex_ + 1) + ": " + e.what());
    }

    underFrame_.clear();
    if (frame.dispose == DISPOSE_PREVIOUS && frameIndex_ > 0)
        for (int32_t y = frame.top; y < frame.top + frame.height; ++y) {
            const uint8_t* span = getRow(y) + size_t(frame.left) * pixelBytes;
            underFrame_.insert(underFrame_.end(), span, span + spanBytes);
        }
    for (int32_t y = 0; y < frame.height; ++y) {
        uint8_t* out = getRow(frame.top + y) + size_t(frame.left) * pixelBytes;
        const uint8_t* in = pixels.data() + size_t(y) * spanBytes;
        if (frame.blend == BLEND_SOURCE)
            std::memcpy(out, in, spanBytes);
        else if (type_ == UINT16)
            blendOver(reinterpret_cast<uint16_t*>(out), reinterpret_cast<const uint16_t*>(in),
                      frame.width);
        else
            blendOver(out, in, frame.width);
    }
    if (type_ == UINT8) describeTransparency();
}

void ImageSourceFileApng::disposeFrame() {
    const Frame& frame = frames_[size_t(frameIndex_)];
    const size_t pixelBytes = type_ == UINT16 ? 8 : 4;
    const size_t spanBytes = size_t(frame.width) * pixelBytes;
    // "Previous" on the first frame has nothing before it: the cleared canvas.
    const bool restore = frame.dispose == DISPOSE_PREVIOUS && frameIndex_ > 0;
    if (frame.dispose == DISPOSE_NONE) return;
    for (int32_t y = 0; y < frame.height; ++y) {
        uint8_t* span = getRow(frame.top + y) + size_t(frame.left) * pixelBytes;
        if (restore)
            std::memcpy(span, underFrame_.data() + size_t(y) * spanBytes, spanBytes);
        else
            std::memset(span, 0, spanBytes);
    }
}

bool ImageSourceFileApng::nextFrame() {
    if (size_t(frameIndex_) + 1 >= frames_.size()) return false;
    disposeFrame();
    ++frameIndex_;
    drawFrame();
    return true;
}

int32_t ImageSourceFileApng::getFrameDelayMs() const {
    const Frame& frame = frames_[size_t(frameIndex_)];
    const uint64_t denominator = frame.delayDenominator ? frame.delayDenominator : 100;
    return int32_t((uint64_t(frame.delayNumerator) * 1000 + denominator / 2) / denominator);
}

}  // namespace loom
