#include "platform/codec/ImageSourceFilePng.h"

#include <png.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "image/ImageLimits.h"
#include "image/io/ImageIoException.h"

namespace loom {

namespace {

// Everything the libpng calls touch lives here, outside the function that calls setjmp, so a
// long jump out of libpng skips no C++ object.
struct PngReadState {
    const uint8_t* data = nullptr;
    size_t size = 0;
    size_t position = 0;
    std::string error;
    std::vector<png_bytep> rows;
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

uint32_t bigEndian32(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

// The size in the header chunk, which always comes first, is checked before libpng reads on.
void refuseHugeHeader(const uint8_t* data, size_t size) {
    if (size < 29 || std::memcmp(data + 12, "IHDR", 4) != 0) return;  // libpng will complain
    const int64_t width = bigEndian32(data + 16), height = bigEndian32(data + 20);
    if (!withinImageLimits(width, height))
        throw ImageIoExceptionFailedLoad(ImageTooLargeExc(width, height).what());
    // Deflate packs at most 1032 bytes into one, so a file far smaller than its pixels need is
    // cut short: said now rather than after filling a large image.
    const int64_t leastBitsPerPixel = std::max(1, int(data[24]));  // one sample of the bit depth
    const int64_t rawBytes = (width * leastBitsPerPixel + 7) / 8 * height + height;
    if (rawBytes / 1032 > int64_t(size)) throw ImageIoExceptionFailedLoad("PNG: truncated data");
}

struct PngReadDeleter {
    png_structp png;
    png_infop info;
    ~PngReadDeleter() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
};

}  // namespace

// The steps between the header and the rows; a plain function, as setjmp requires.
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
    static bool readRows(png_structp png, png_bytepp rows) {
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

ImageSourceFilePng::ImageSourceFilePng(DataSourceRef dataSource, Options) {
    static const uint8_t signature[8] = {137, 'P', 'N', 'G', '\r', '\n', 26, '\n'};
    Buffer bytes = requireSignature(dataSource, signature, sizeof(signature), "PNG");
    refuseHugeHeader(static_cast<const uint8_t*>(bytes.getData()), size_t(bytes.getDataSize()));
    PngReadState state;
    state.data = static_cast<const uint8_t*>(bytes.getData());
    state.size = size_t(bytes.getDataSize());

    PngReadDeleter guard{png_create_read_struct(PNG_LIBPNG_VER_STRING, &state, errorCallback,
                                                warningCallback),
                         nullptr};
    if (!guard.png) throw ImageIoExceptionFailedLoad("PNG: out of memory");
    guard.info = png_create_info_struct(guard.png);
    if (!guard.info) throw ImageIoExceptionFailedLoad("PNG: out of memory");
    png_set_read_fn(guard.png, &state, readCallback);
    // The size is checked by our own limits, before libpng sizes its row buffers.
    png_set_user_limits(guard.png, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
    if (!PngDecoding::readInfo(guard.png, guard.info))
        throw ImageIoExceptionFailedLoad("PNG: " + state.error);
    const int64_t declaredWidth = png_get_image_width(guard.png, guard.info);
    const int64_t declaredHeight = png_get_image_height(guard.png, guard.info);
    if (!withinImageLimits(declaredWidth, declaredHeight))
        throw ImageIoExceptionFailedLoad(ImageTooLargeExc(declaredWidth, declaredHeight).what());
    if (!PngDecoding::setTransforms(guard.png, guard.info))
        throw ImageIoExceptionFailedLoad("PNG: " + state.error);

    const png_uint_32 width = png_get_image_width(guard.png, guard.info);
    const png_uint_32 height = png_get_image_height(guard.png, guard.info);
    const int channels = png_get_channels(guard.png, guard.info);
    const int depth = png_get_bit_depth(guard.png, guard.info);
    static const ChannelOrder orders[5] = {CO_UNKNOWN, Y, YA, RGB_ORDER, RGBA};
    if (channels < 1 || channels > 4 || (depth != 8 && depth != 16))
        throw ImageIoExceptionFailedLoad("PNG: unsupported pixel layout");
    allocatePixels(width, height, channels >= 3 ? RGB : GRAY, depth == 16 ? UINT16 : UINT8,
                   orders[channels]);

    state.rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y) state.rows[y] = getRow(int32_t(y));
    if (!PngDecoding::readRows(guard.png, state.rows.data()))
        throw ImageIoExceptionFailedLoad("PNG: " + state.error);
    PngDecoding::readEnd(guard.png);
}

ImageSourceRef ImageSourceFilePng::create(DataSourceRef dataSource, Options options) {
    return std::make_shared<ImageSourceFilePng>(std::move(dataSource), options);
}

}  // namespace loom
