#include "io/codec/GifEncoder.h"

#include <gif_lib.h>

#include "io/ImageIoExc.h"

namespace loom {

namespace {

std::string gifError(int code) {
    const char* reason = GifErrorString(code);
    return std::string("GIF: ") + (reason ? reason : "encoding failed");
}

struct MapFree {
    void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};

}  // namespace

void GifEncoder::Closer::operator()(GifFileType* gif) const {
    int ignored;
    EGifCloseFile(gif, &ignored);
}

GifEncoder::GifEncoder(OStream& out, int32_t width, int32_t height) : out_(out) {
    // giflib is C: the stream's exceptions are caught here and reported as a failed write.
    const OutputFunc write = [](GifFileType* gif, const GifByteType* data, int size) {
        auto* self = static_cast<GifEncoder*>(gif->UserData);
        try {
            self->out_.writeData(data, size_t(size));
            return size;
        } catch (const std::exception& e) {
            self->streamError_ = e.what();
            return 0;
        }
    };
    int error = 0;
    gif_.reset(EGifOpen(this, write, &error));
    if (!gif_) throw ImageIoFailedLoadExc(gifError(error));
    EGifSetGifVersion(gif_.get(), true);
    if (EGifPutScreenDesc(gif_.get(), width, height, 8, 0, nullptr) == GIF_ERROR) fail();
}

GifEncoder::~GifEncoder() = default;

void GifEncoder::fail() const {
    if (!streamError_.empty()) throw ImageIoFailedLoadExc(streamError_);
    throw ImageIoFailedLoadExc(gifError(gif_->Error));
}

void GifEncoder::putLoopCount(int32_t loopCount) {
    static const GifByteType application[] = "NETSCAPE2.0";
    const GifByteType count[3] = {1, GifByteType(loopCount & 0xFF), GifByteType(loopCount >> 8 & 0xFF)};
    if (EGifPutExtensionLeader(gif_.get(), APPLICATION_EXT_FUNC_CODE) == GIF_ERROR ||
        EGifPutExtensionBlock(gif_.get(), 11, application) == GIF_ERROR ||
        EGifPutExtensionBlock(gif_.get(), 3, count) == GIF_ERROR ||
        EGifPutExtensionTrailer(gif_.get()) == GIF_ERROR)
        fail();
}

void GifEncoder::putFrame(GifIndexedFrame& frame, int32_t delayCentiseconds, int disposal) {
    const ColorPalette& palette = frame.getPalette();
    int bits = 1;  // giflib's tables hold a power of two colours, at least two
    while ((1 << bits) < palette.size()) ++bits;
    GifColorType colors[ColorPalette::MAX_COLORS] = {};
    for (int i = 0; i < palette.size(); ++i) {
        const auto c = palette.color(i);
        colors[i] = GifColorType{c[0], c[1], c[2]};
    }
    const std::unique_ptr<ColorMapObject, MapFree> map(GifMakeMapObject(1 << bits, colors));
    if (!map) throw ImageIoFailedLoadExc("GIF: out of memory");

    const int transparent = frame.getTransparentIndex();
    if (transparent >= 0 || delayCentiseconds > 0 || disposal != DISPOSAL_UNSPECIFIED) {
        const GraphicsControlBlock control{disposal, false, delayCentiseconds,
                                           transparent >= 0 ? transparent : NO_TRANSPARENT_COLOR};
        GifByteType block[4];
        const size_t length = EGifGCBToExtension(&control, block);
        if (EGifPutExtension(gif_.get(), GRAPHICS_EXT_FUNC_CODE, int(length), block) == GIF_ERROR)
            fail();
    }
    const int width = frame.getWidth();
    if (EGifPutImageDesc(gif_.get(), 0, 0, width, frame.getHeight(), false, map.get()) == GIF_ERROR)
        fail();
    for (int32_t y = 0; y < frame.getHeight(); ++y)
        if (EGifPutLine(gif_.get(), frame.getIndexRow(y), width) == GIF_ERROR) fail();
}

void GifEncoder::finish() {
    int error = 0;
    const int result = EGifCloseFile(gif_.release(), &error);
    if (!streamError_.empty()) throw ImageIoFailedLoadExc(streamError_);
    if (result == GIF_ERROR) throw ImageIoFailedLoadExc(gifError(error));
}

}  // namespace loom
