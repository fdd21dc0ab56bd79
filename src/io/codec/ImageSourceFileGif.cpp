#include "io/codec/ImageSourceFileGif.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "image/ImageLimits.h"
#include "io/ImageIoExc.h"

namespace loom {

namespace {

struct MemoryReader {
    const uint8_t* data;
    size_t size;
    size_t position;
};

int readFromMemory(GifFileType* gif, GifByteType* out, int count) {
    auto* reader = static_cast<MemoryReader*>(gif->UserData);
    const size_t n = std::min(size_t(count < 0 ? 0 : count), reader->size - reader->position);
    std::memcpy(out, reader->data + reader->position, n);
    reader->position += n;
    return int(n);
}

struct GifCloser {
    void operator()(GifFileType* gif) const {
        int ignored;
        DGifCloseFile(gif, &ignored);
    }
};

[[noreturn]] void fail(const GifFileType* gif) {
    const char* reason = GifErrorString(gif->Error);
    throw ImageIoFailedLoadExc(std::string("GIF: ") + (reason ? reason : "decoding failed"));
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

}  // namespace

ImageSourceFileGif::ImageSourceFileGif(DataSourceRef dataSource, Options options) {
    Buffer bytes = dataSource->getBuffer();
    const auto* data = static_cast<const uint8_t*>(bytes.getData());
    const size_t size = size_t(bytes.getDataSize());
    if (size < 6 || (std::memcmp(data, "GIF87a", 6) != 0 && std::memcmp(data, "GIF89a", 6) != 0))
        throw ImageIoNotThisFormatExc("not a GIF file");
    MemoryReader reader{data, size, 0};
    int error = 0;
    std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&reader, readFromMemory, &error));
    if (!gif) throw ImageIoFailedLoadExc(std::string("GIF: ") + GifErrorString(error));

    const int width = gif->SWidth, height = gif->SHeight;
    if (!withinImageLimits(width, height))
        throw ImageIoFailedLoadExc(std::string("GIF: ") + ImageTooLargeExc(width, height).what());
    bool canvasReady = false;       // made once the first frame has been read whole
    std::vector<uint8_t> previous;  // the canvas before a frame that restores it afterwards

    GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
    int frame = 0;
    bool found = false;
    for (;;) {
        GifRecordType record;
        if (DGifGetRecordType(gif.get(), &record) == GIF_ERROR) fail(gif.get());
        if (record == TERMINATE_RECORD_TYPE) break;
        if (record == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif.get(), &code, &block) == GIF_ERROR) fail(gif.get());
            if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4)
                DGifExtensionToGCB(block[0], block + 1, &control);
            while (block)
                if (DGifGetExtensionNext(gif.get(), &block) == GIF_ERROR) fail(gif.get());
            continue;
        }
        if (record != IMAGE_DESC_RECORD_TYPE) continue;
        if (DGifGetImageDesc(gif.get()) == GIF_ERROR) fail(gif.get());
        const GifImageDesc& desc = gif->Image;
        if (desc.Width <= 0 || desc.Height <= 0 || !withinImageLimits(desc.Width, desc.Height))
            throw ImageIoFailedLoadExc("GIF: bad frame size " + std::to_string(desc.Width) + " x " +
                                       std::to_string(desc.Height));
        const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
        if (!map) throw ImageIoFailedLoadExc("GIF: frame without colours");
        const std::unique_ptr<uint8_t[]> indices = readFrameIndices(gif.get(), desc.Width, desc.Height);
        if (!canvasReady) {
            allocatePixels(width, height, RGB, UINT8, RGBA);
            std::memset(getPixels(), 0, size_t(getRowBytes()) * size_t(height));
            canvasReady = true;
        }

        if (frame < options.index && control.DisposalMode == DISPOSE_PREVIOUS)
            previous.assign(getPixels(), getPixels() + size_t(getRowBytes()) * size_t(height));
        // Draw the frame's opaque pixels inside the canvas.
        const int x0 = std::max(0, desc.Left), y0 = std::max(0, desc.Top);
        const int x1 = std::min(width, desc.Left + desc.Width),
                  y1 = std::min(height, desc.Top + desc.Height);
        for (int y = y0; y < y1; ++y) {
            const uint8_t* in = indices.get() + size_t(y - desc.Top) * size_t(desc.Width);
            uint8_t* out = getRow(y);
            for (int x = x0; x < x1; ++x) {
                const int index = in[x - desc.Left];
                if (index == control.TransparentColor) continue;
                uint8_t* p = out + size_t(x) * 4;
                if (index < map->ColorCount) {
                    p[0] = map->Colors[index].Red, p[1] = map->Colors[index].Green;
                    p[2] = map->Colors[index].Blue;
                } else {
                    p[0] = p[1] = p[2] = 0;  // an index past the colour table: black
                }
                p[3] = 255;
            }
        }
        if (frame == options.index) {
            found = true;
            break;
        }
        // A frame lying off the canvas has nothing to clear.
        if (control.DisposalMode == DISPOSE_BACKGROUND && x1 > x0) {
            for (int y = y0; y < y1; ++y)
                std::memset(getRow(y) + size_t(x0) * 4, 0, size_t(x1 - x0) * 4);
        } else if (control.DisposalMode == DISPOSE_PREVIOUS && !previous.empty()) {
            std::memcpy(getPixels(), previous.data(), previous.size());
        }
        control = GraphicsControlBlock{DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
        ++frame;
    }
    if (!found)
        throw ImageIoFailedLoadExc(options.index == 0
                                       ? "GIF: no image in the file"
                                       : "GIF: there is no frame " + std::to_string(options.index));
    bool transparent = false;
    for (int y = 0; y < height && !transparent; ++y)
        for (int x = 0; x < width; ++x)
            if (getRow(y)[size_t(x) * 4 + 3] != 255) {
                transparent = true;
                break;
            }
    if (!transparent) setSampleOrder(RGBX);
}

ImageSourceRef ImageSourceFileGif::create(DataSourceRef dataSource, Options options) {
    return std::make_shared<ImageSourceFileGif>(std::move(dataSource), options);
}

}  // namespace loom
