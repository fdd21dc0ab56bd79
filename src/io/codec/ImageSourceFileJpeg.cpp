#include "io/codec/ImageSourceFileJpeg.h"

#include <memory>
#include <vector>

#include "io/ImageIoExc.h"
#include "io/codec/JpegErrors.h"

namespace loom {

// The libjpeg calls, in plain functions that hold no C++ objects across setjmp.
struct JpegDecoding {
    static bool readHeader(jpeg_decompress_struct& cinfo, JpegErrorManager& errors, const uint8_t* data,
                           unsigned long size) {
        if (setjmp(errors.jump)) return false;
        jpeg_mem_src(&cinfo, data, size);
        jpeg_read_header(&cinfo, TRUE);
        if (cinfo.jpeg_color_space == JCS_GRAYSCALE)
            cinfo.out_color_space = JCS_GRAYSCALE;
        else if (cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK)
            cinfo.out_color_space = JCS_CMYK;
        else
            cinfo.out_color_space = JCS_RGB;
        jpeg_calc_output_dimensions(&cinfo);
        return true;
    }
    static bool readRows(jpeg_decompress_struct& cinfo, JpegErrorManager& errors,
                         ImageSourceFileJpeg& image, uint8_t* cmykRow) {
        if (setjmp(errors.jump)) return false;
        jpeg_start_decompress(&cinfo);
        while (cinfo.output_scanline < cinfo.output_height) {
            const int32_t y = int32_t(cinfo.output_scanline);
            JSAMPROW row = cmykRow ? cmykRow : image.getRow(y);
            jpeg_read_scanlines(&cinfo, &row, 1);
            if (cmykRow)
                cmykToRgb(cmykRow, image.getRow(y), int32_t(cinfo.output_width), cinfo.saw_Adobe_marker);
        }
        jpeg_finish_decompress(&cinfo);
        return true;
    }
    // Adobe's files store CMYK inverted; others plainly.
    static void cmykToRgb(const uint8_t* in, uint8_t* out, int32_t width, bool inverted) {
        for (int32_t x = 0; x < width; ++x, in += 4, out += 3) {
            const int c = inverted ? in[0] : 255 - in[0], m = inverted ? in[1] : 255 - in[1];
            const int y = inverted ? in[2] : 255 - in[2], k = inverted ? in[3] : 255 - in[3];
            out[0] = uint8_t(c * k / 255);
            out[1] = uint8_t(m * k / 255);
            out[2] = uint8_t(y * k / 255);
        }
    }
};

namespace {

struct DecompressGuard {
    jpeg_decompress_struct cinfo;
    ~DecompressGuard() { jpeg_destroy_decompress(&cinfo); }
};

}  // namespace

ImageSourceFileJpeg::ImageSourceFileJpeg(DataSourceRef dataSource, const Options& options)
    : ImageSourceDecoded(options) {
    static const uint8_t signature[3] = {0xFF, 0xD8, 0xFF};
    Buffer bytes = requireSignature(dataSource, signature, sizeof(signature), "JPEG");
    JpegErrorManager errors;
    DecompressGuard guard;
    guard.cinfo.err = installJpegErrors(errors);
    jpeg_create_decompress(&guard.cinfo);
    if (!JpegDecoding::readHeader(guard.cinfo, errors, static_cast<const uint8_t*>(bytes.getData()),
                                  static_cast<unsigned long>(bytes.getDataSize())))
        throw ImageIoFailedLoadExc(std::string("JPEG: ") + errors.message);
    // With Huffman coding every block of a scan takes at least a bit, and a scan holds at least
    // width x height / 1024 blocks (sampling factors are at most 4): a size the file could never
    // fill is garbage, refused before the pixels are made. Arithmetic coding can go below a bit.
    const uint64_t blocks = uint64_t(guard.cinfo.image_width) * guard.cinfo.image_height / 1024;
    if (!guard.cinfo.arith_code && blocks > uint64_t(bytes.getDataSize()) * 8)
        throw ImageIoFailedLoadExc(
            "JPEG: not a valid picture: its " + std::to_string(guard.cinfo.image_width) + " x " +
            std::to_string(guard.cinfo.image_height) + " pixels are more than its " +
            std::to_string(bytes.getDataSize()) + " bytes could hold");
    const bool gray = guard.cinfo.out_color_space == JCS_GRAYSCALE;
    const bool cmyk = guard.cinfo.out_color_space == JCS_CMYK;
    allocatePixels(guard.cinfo.output_width, guard.cinfo.output_height, gray ? GRAY : RGB, UINT8,
                   gray ? Y : RGB_ORDER);
    std::vector<uint8_t> cmykRow(cmyk ? size_t(guard.cinfo.output_width) * 4 : 0);
    if (!JpegDecoding::readRows(guard.cinfo, errors, *this, cmyk ? cmykRow.data() : nullptr))
        throw ImageIoFailedLoadExc(std::string("JPEG: ") + errors.message);
}

ImageSourceRef ImageSourceFileJpeg::create(DataSourceRef dataSource, Options options) {
    return std::make_shared<ImageSourceFileJpeg>(std::move(dataSource), options);
}

}  // namespace loom
