#include "io/codec/ImageSourceFileGif.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "image/ImageLimits.h"
#include "io/ImageIoExc.h"

namespace loom {

namespace {

// An LZW code of b bits (at most 12) stands for fewer than 2^b pixels, so a byte of image data
// brings at most 4096 * 8 / 12 of them.
constexpr int64_t MAX_PIXELS_PER_BYTE = 4096 * 8 / 12 + 1;

int readFromMemory(GifFileType* gif, GifByteType* out, int count) {
    auto* reader = static_cast<GifMemoryReader*>(gif->UserData);
    const size_t n = std::min(size_t(count < 0 ? 0 : count), reader->size - reader->position);
    std::memcpy(out, reader->data + reader->position, n);
    reader->position += n;
    return int(n);
}

[[noreturn]] void fail(const GifFileType* gif) {
    const char* reason = GifErrorString(gif->Error);
    throw ImageIoFailedLoadExc(std::string("GIF: ") + (reason ? reason : "decoding failed"));
}

// A canvas or frame larger than the whole file could fill is refused before anything is made
// for it: a few bytes may declare gigabytes of pixels, and garbage after a GIF signature reads as
// a huge size.
void refuseUnfillable(int64_t width, int64_t height, size_t fileSize, const char* what) {
    if (width * height > int64_t(fileSize) * MAX_PIXELS_PER_BYTE)
        throw ImageIoFailedLoadExc("GIF: not a valid picture: its " + std::to_string(width) + " x " +
                                   std::to_string(height) + " " + what + " is more than its " +
                                   std::to_string(fileSize) + " bytes could fill");
}

// The frame's rows in file order; interlaced frames store rows 0, 8, 16, ... then 4, 12, ...,
// then 2, 6, ..., then 1, 3, ...
// Left uncleared: every row is read into it, and broken data fails before much is touched.
std::unique_ptr<uint8_t[]> readFrameIndices(GifFileType* gif, int width, int height) {
    std::unique_ptr<uint8_t[]> indices(new uint8_t[size_t(width) * size_t(height)]);
    auto readRow = [&](int y) {
        if (DGifGetLine(gif, indices.get() + size_t(y) * size_t(width), width) == GIF_ERROR) fail(gif);
    };
    if (gif->Image.Interlace) {
        static const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass)
            for (int y = start[pass]; y < height; y += step[pass]) readRow(y);
    } else {
        for (int y = 0; y < height; ++y) readRow(y);
    }
    return indices;
}

// The colour of an index: from the table, black past its end, a grey ramp without any table.
void colourOf(const ColorMapObject* map, int index, uint8_t* rgb) {
    if (!map) {
        rgb[0] = rgb[1] = rgb[2] = uint8_t(index);
    } else if (index < map->ColorCount) {
        rgb[0] = map->Colors[index].Red, rgb[1] = map->Colors[index].Green,
        rgb[2] = map->Colors[index].Blue;
    } else {
        rgb[0] = rgb[1] = rgb[2] = 0;
    }
}

// The table as the picture's colours: its transparent entry with alpha 0.
Palette paletteOf(const ColorMapObject* map, int transparent) {
    Palette table;
    for (int i = 0; map && i < map->ColorCount; ++i)
        table.push_back({map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue,
                         uint8_t(i == transparent ? 0 : 255)});
    return table;
}

void fillSpan(uint8_t* span, int pixels, const uint8_t* rgba) {
    for (int x = 0; x < pixels; ++x) std::memcpy(span + size_t(x) * 4, rgba, 4);
}

// Skips an extension's data blocks; false when the data is broken.
bool skipExtensionBlocks(GifFileType* gif, GifByteType* block) {
    while (block)
        if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) return false;
    return true;
}

struct Layout {
    int32_t frames = 0;
    int32_t loopCount = -1;
};

// The frames and the looping of the file, read without decoding a pixel. A broken part ends the
// walk with what was found before it, as the decoder would stop there too.
Layout readLayout(const uint8_t* data, size_t size) {
    Layout layout;
    GifMemoryReader reader{data, size, 0};
    int error = 0;
    const std::unique_ptr<GifFileType, GifFileCloser> gif(DGifOpen(&reader, readFromMemory, &error));
    if (!gif) return layout;
    for (;;) {
        GifRecordType record;
        if (DGifGetRecordType(gif.get(), &record) == GIF_ERROR || record == TERMINATE_RECORD_TYPE)
            return layout;
        if (record == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif.get(), &code, &block) == GIF_ERROR) return layout;
            const bool looping = code == APPLICATION_EXT_FUNC_CODE && block && block[0] == 11 &&
                                 std::memcmp(block + 1, "NETSCAPE2.0", 11) == 0;
            if (looping && DGifGetExtensionNext(gif.get(), &block) != GIF_ERROR && block &&
                block[0] >= 3 && block[1] == 1)
                layout.loopCount = block[2] | block[3] << 8;
            if (!skipExtensionBlocks(gif.get(), block)) return layout;
        } else if (record == IMAGE_DESC_RECORD_TYPE) {
            int codeSize = 0;
            GifByteType* block = nullptr;
            if (DGifGetImageDesc(gif.get()) == GIF_ERROR ||
                DGifGetCode(gif.get(), &codeSize, &block) == GIF_ERROR)
                return layout;
            while (block)
                if (DGifGetCodeNext(gif.get(), &block) == GIF_ERROR) return layout;
            ++layout.frames;
        }
    }
}

}  // namespace

void GifFileCloser::operator()(GifFileType* gif) const {
    int ignored;
    DGifCloseFile(gif, &ignored);
}

ImageSourceFileGif::ImageSourceFileGif(DataSourceRef dataSource, const Options& options)
    : ImageSourceDecoded(options),
      bytes_(dataSource->getBuffer()),
      reader_{static_cast<const uint8_t*>(bytes_.getData()), size_t(bytes_.getDataSize()), 0} {
    if (reader_.size < 6 ||
        (std::memcmp(reader_.data, "GIF87a", 6) != 0 && std::memcmp(reader_.data, "GIF89a", 6) != 0))
        throw ImageIoNotThisFormatExc("not a GIF file");
    int error = 0;
    gif_.reset(DGifOpen(&reader_, readFromMemory, &error));
    if (!gif_) throw ImageIoFailedLoadExc(std::string("GIF: ") + GifErrorString(error));
    const int width = gif_->SWidth, height = gif_->SHeight;
    refuseUnfillable(width, height, reader_.size, "canvas");
    requireWithinLimits(width, height);  // and enlarged, before a frame is read

    if (options.index < 0)
        throw ImageIoFailedLoadExc("GIF: there is no frame " + std::to_string(options.index));
    for (int32_t frame = 0; frame <= options.index; ++frame) {
        if (frame > 0) disposeFrame();
        if (!readFrame())
            throw ImageIoFailedLoadExc(frame == 0
                                           ? "GIF: no image in the file"
                                           : "GIF: there is no frame " + std::to_string(options.index));
    }
    frameIndex_ = options.index;
    describeTransparency();

    const Layout layout = readLayout(reader_.data, reader_.size);
    setFrameCount(std::max(layout.frames, frameIndex_ + 1));
    loopCount_ = layout.loopCount;
}

bool ImageSourceFileGif::nextFrame() {
    if (frameIndex_ + 1 >= getFrameCount()) return false;
    disposeFrame();
    if (!readFrame())
        throw ImageIoFailedLoadExc("GIF: there is no frame " + std::to_string(frameIndex_ + 1));
    ++frameIndex_;
    describeTransparency();
    return true;
}

bool ImageSourceFileGif::readFrame() {
    GifFileType* gif = gif_.get();
    GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
    for (;;) {
        GifRecordType record;
        if (DGifGetRecordType(gif, &record) == GIF_ERROR) fail(gif);
        if (record == TERMINATE_RECORD_TYPE) return false;
        if (record == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) fail(gif);
            if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4)
                DGifExtensionToGCB(block[0], block + 1, &control);
            if (!skipExtensionBlocks(gif, block)) fail(gif);
            continue;
        }
        if (record == IMAGE_DESC_RECORD_TYPE) break;
    }
    if (DGifGetImageDesc(gif) == GIF_ERROR) fail(gif);
    const GifImageDesc& desc = gif->Image;
    if (desc.Width <= 0 || desc.Height <= 0 || !withinImageLimits(desc.Width, desc.Height))
        throw ImageIoFailedLoadExc("GIF: bad frame size " + std::to_string(desc.Width) + " x " +
                                   std::to_string(desc.Height));
    refuseUnfillable(desc.Width, desc.Height, reader_.size, "frame");
    const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
    const int transparent = control.TransparentColor;
    uint8_t hidden[4] = {0, 0, 0, 0};  // what a transparent pixel over nothing holds
    if (transparent != NO_TRANSPARENT_COLOR) colourOf(map, transparent, hidden);
    const std::unique_ptr<uint8_t[]> indices = readFrameIndices(gif, desc.Width, desc.Height);
    if (!getPixels()) {  // made once the first frame has been read whole
        allocatePixels(gif->SWidth, gif->SHeight, RGB, UINT8, RGBA);
        setPalette(paletteOf(map, transparent));
        std::memcpy(background_, hidden, 4);
        for (int y = 0; y < getHeight(); ++y) fillSpan(getRow(y), getWidth(), background_);
    }

    // Only the part of the frame inside the canvas is drawn, and disposed of later. A frame wholly
    // outside it covers no row either, so no span is ever taken beyond a row's end.
    frameLeft_ = std::clamp(desc.Left, 0, getWidth()), frameTop_ = std::clamp(desc.Top, 0, getHeight());
    frameRight_ = std::clamp(desc.Left + desc.Width, frameLeft_, getWidth());
    frameBottom_ = std::clamp(desc.Top + desc.Height, frameTop_, getHeight());
    if (frameLeft_ == frameRight_) frameBottom_ = frameTop_;
    disposal_ = control.DisposalMode;
    delay_ = control.DelayTime;
    const size_t spanBytes = size_t(frameRight_ - frameLeft_) * 4;
    underFrame_.clear();
    if (disposal_ == DISPOSE_PREVIOUS)
        for (int y = frameTop_; y < frameBottom_; ++y) {
            const uint8_t* span = getRow(y) + size_t(frameLeft_) * 4;
            underFrame_.insert(underFrame_.end(), span, span + spanBytes);
        }
    for (int y = frameTop_; y < frameBottom_; ++y) {
        const uint8_t* in = indices.get() + size_t(y - desc.Top) * size_t(desc.Width);
        uint8_t* out = getRow(y);
        for (int x = frameLeft_; x < frameRight_; ++x) {
            const int index = in[x - desc.Left];
            uint8_t* p = out + size_t(x) * 4;
            if (index == transparent) {
                // Whatever lies beneath shows through; over nothing, the index's own colour.
                if (p[3] == 0) std::memcpy(p, hidden, 4);
                continue;
            }
            colourOf(map, index, p);
            p[3] = 255;
        }
    }
    return true;
}

void ImageSourceFileGif::disposeFrame() {
    const size_t spanBytes = size_t(frameRight_ - frameLeft_) * 4;
    for (int y = frameTop_; y < frameBottom_; ++y) {
        uint8_t* span = getRow(y) + size_t(frameLeft_) * 4;
        if (disposal_ == DISPOSE_BACKGROUND)
            fillSpan(span, frameRight_ - frameLeft_, background_);
        else if (disposal_ == DISPOSE_PREVIOUS)
            std::memcpy(span, underFrame_.data() + size_t(y - frameTop_) * spanBytes, spanBytes);
    }
}

ImageSourceRef ImageSourceFileGif::create(DataSourceRef dataSource, Options options) {
    return std::make_shared<ImageSourceFileGif>(std::move(dataSource), options);
}

}  // namespace loom
