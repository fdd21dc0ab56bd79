#include "io/codec/ImageSourceFilePng.h"

#include <png.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "image/ImageLimits.h"
#include "image/PixelBlock.h"
#include "image/SizeCheck.h"
#include "io/ImageIoExc.h"
#include "io/codec/EndianBytes.h"
#include "io/codec/ImageSourceFileApng.h"

namespace loom {

namespace {

// Everything the libpng calls touch lives here, outside the function that calls setjmp, so a
// long jump out of libpng skips no C++ object.
struct PngReadState {
    const uint8_t* data = nullptr;
    size_t size = 0;
    size_t position = 0;
    std::string error;
};

void readCallback(png_structp png, png_bytep out, png_size_t count) {
    auto* state = static_cast<PngReadState*>(png_get_io_ptr(png));
    if (count > state->size - state->position) png_error(png, "truncated data");
    std::memcpy(out, state->data + state->position, count);
    state->position += count;
}

void errorCallback(png_structp png, png_const_charp message) {
    static_cast<PngReadState*>(png_get_error_ptr(png))->error = message;
    png_longjmp(png, 1);
}

void warningCallback(png_structp, png_const_charp) {}

// The size in the header chunk, which always comes first, is checked before libpng reads on.
// scale: how many times the caller will enlarge the picture on each side.
void refuseHugeHeader(const uint8_t* data, size_t size, int32_t scale) {
    if (size < 29 || std::memcmp(data + 12, "IHDR", 4) != 0) return;  // libpng will complain
    const int64_t width = bigEndian32(data + 16), height = bigEndian32(data + 20);
    try {
        checkImageLimits(width, height, scale);
    } catch (const ImageTooLargeExc& e) {
        throw ImageIoFailedLoadExc(e.what());
    }
    // Deflate packs at most 1032 bytes into one, so a file far smaller than its pixels need is
    // cut short: said now rather than after filling a large image.
    const int64_t leastBitsPerPixel = std::max(1, int(data[24]));  // one sample of the bit depth
    const int64_t rawBytes = (width * leastBitsPerPixel + 7) / 8 * height + height;
    if (rawBytes / 1032 > int64_t(size)) throw ImageIoFailedLoadExc("PNG: truncated data");
}

struct PngReadDeleter {
    png_structp png;
    png_infop info;
    ~PngReadDeleter() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
};

}  // namespace

// The libpng calls, each a plain function as setjmp requires.
class PngDecoding {
public:
    static bool readInfo(png_structp png, png_infop info) {
        if (setjmp(png_jmpbuf(png))) return false;
        png_read_info(png, info);
        return true;
    }
    static bool setTransforms(png_structp png, png_infop info) {
        if (setjmp(png_jmpbuf(png))) return false;
        png_uint_32 width, height;
        int depth, colorType, interlace;
        png_get_IHDR(png, info, &width, &height, &depth, &colorType, &interlace, nullptr, nullptr);
        if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
        if (colorType == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(png);
        if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
        if (depth == 16) png_set_swap(png);  // samples in the machine's byte order
        png_set_interlace_handling(png);
        png_read_update_info(png, info);
        return true;
    }
    static bool readRow(png_structp png, png_bytep row) {
        if (setjmp(png_jmpbuf(png))) return false;
        png_read_row(png, row, nullptr);
        return true;
    }
    static bool readImage(png_structp png, png_bytepp rows) {
        if (setjmp(png_jmpbuf(png))) return false;
        png_read_image(png, rows);
        return true;
    }
    // Chunks after the pixels carry nothing we use; a broken tail does not spoil the image.
    static void readEnd(png_structp png) {
        if (setjmp(png_jmpbuf(png))) return;
        png_read_end(png, nullptr);
    }
};

namespace {

// A PNG opened over its bytes, header read and checked, transforms set: ready for the rows.
class PngReader {
public:
    explicit PngReader(const Buffer& bytes)
        : guard_{png_create_read_struct(PNG_LIBPNG_VER_STRING, &state_, errorCallback, warningCallback),
                 nullptr} {
        state_.data = static_cast<const uint8_t*>(bytes.getData());
        state_.size = size_t(bytes.getDataSize());
        if (!guard_.png) throw ImageIoFailedLoadExc("PNG: out of memory");
        guard_.info = png_create_info_struct(guard_.png);
        if (!guard_.info) throw ImageIoFailedLoadExc("PNG: out of memory");
        png_set_read_fn(guard_.png, &state_, readCallback);
        // The size is checked by our own limits, before libpng sizes its row buffers.
        png_set_user_limits(guard_.png, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
        if (!PngDecoding::readInfo(guard_.png, guard_.info)) fail();
        const int64_t width = png_get_image_width(guard_.png, guard_.info);
        const int64_t height = png_get_image_height(guard_.png, guard_.info);
        if (!withinImageLimits(width, height))
            throw ImageIoFailedLoadExc(ImageTooLargeExc(width, height).what());
        palette_ = readPalette();
        if (!PngDecoding::setTransforms(guard_.png, guard_.info)) fail();
    }
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;

    png_structp png() const { return guard_.png; }
    png_infop info() const { return guard_.info; }
    bool interlaced() const {
        return png_get_interlace_type(guard_.png, guard_.info) != PNG_INTERLACE_NONE;
    }
    [[noreturn]] void fail() const { throw ImageIoFailedLoadExc("PNG: " + state_.error); }

    // PLTE with tRNS's alphas, for a palette image; empty for any other.
    const Palette& palette() const { return palette_; }

private:
    // Read before the transforms, which make the image's colour type RGB or RGBA.
    Palette readPalette() const {
        Palette table;
        png_colorp colours = nullptr;
        int count = 0;
        if (png_get_color_type(guard_.png, guard_.info) != PNG_COLOR_TYPE_PALETTE ||
            !png_get_PLTE(guard_.png, guard_.info, &colours, &count))
            return table;
        png_bytep alphas = nullptr;
        int alphaCount = 0;
        png_get_tRNS(guard_.png, guard_.info, &alphas, &alphaCount, nullptr);
        for (int i = 0; i < count; ++i)
            table.push_back({colours[i].red, colours[i].green, colours[i].blue,
                             i < alphaCount && alphas ? alphas[i] : uint8_t(255)});
        return table;
    }

    PngReadState state_;
    PngReadDeleter guard_;
    Palette palette_;
};

}  // namespace

ImageSourceFilePng::ImageSourceFilePng(DataSourceRef dataSource, Options options) {
    static const uint8_t signature[8] = {137, 'P', 'N', 'G', '\r', '\n', 26, '\n'};
    bytes_ = requireSignature(dataSource, signature, sizeof(signature), "PNG");
    refuseHugeHeader(static_cast<const uint8_t*>(bytes_.getData()), size_t(bytes_.getDataSize()),
                     options.scale);
    PngReader reader(bytes_);
    const png_uint_32 width = png_get_image_width(reader.png(), reader.info());
    const png_uint_32 height = png_get_image_height(reader.png(), reader.info());
    const int channels = png_get_channels(reader.png(), reader.info());
    const int depth = png_get_bit_depth(reader.png(), reader.info());
    static const SampleOrder orders[5] = {SO_UNKNOWN, Y, YA, RGB_ORDER, RGBA};
    if (channels < 1 || channels > 4 || (depth != 8 && depth != 16))
        throw ImageIoFailedLoadExc("PNG: unsupported pixel layout");
    if (width == 0 || height == 0) throw ImageIoFailedLoadExc("the image has no pixels");
    setSize(int32_t(width), int32_t(height));
    setColorModel(channels >= 3 ? RGB : GRAY);
    setDataType(depth == 16 ? UINT16 : UINT8);
    setSampleOrder(orders[channels]);
    setPalette(reader.palette());
    rowBytes_ = checkedInt32(checkedProduct({width, channels, depth / 8}), "row length");
}

void ImageSourceFilePng::load(ImageTargetRef target) {
    PngReader reader(bytes_);
    setupRowFunc(*target);
    if (!reader.interlaced()) {
        // Row by row straight into the target: no copy of the whole image.
        std::vector<uint8_t> row(static_cast<size_t>(rowBytes_));
        for (int32_t y = 0; y < getHeight(); ++y) {
            if (!PngDecoding::readRow(reader.png(), row.data())) reader.fail();
            processRow(*target, y, row.data());
        }
    } else {
        // Interlaced passes revisit every row: gather the image first.
        PixelBlock pixels = allocatePixelBlock(size_t(checkedProduct({rowBytes_, getHeight()})));
        std::vector<png_bytep> rows(static_cast<size_t>(getHeight()));
        for (int32_t y = 0; y < getHeight(); ++y)
            rows[size_t(y)] = pixels.get() + size_t(y) * size_t(rowBytes_);
        if (!PngDecoding::readImage(reader.png(), rows.data())) reader.fail();
        for (int32_t y = 0; y < getHeight(); ++y) processRow(*target, y, rows[size_t(y)]);
    }
    PngDecoding::readEnd(reader.png());
}

ImageSourceRef ImageSourceFilePng::create(DataSourceRef dataSource, Options options) {
    if (ImageSourceFileApng::isAnimated(dataSource->getBuffer()))
        return std::make_shared<ImageSourceFileApng>(std::move(dataSource), options);
    return std::make_shared<ImageSourceFilePng>(std::move(dataSource), options);
}

}  // namespace loom
