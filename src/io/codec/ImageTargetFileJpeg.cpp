#include "io/codec/ImageTargetFileJpeg.h"

#include <cmath>
#include <cstdlib>
#include <memory>

#include "io/ImageIoExc.h"
#include "io/codec/JpegErrors.h"

namespace loom {

namespace {

struct CompressGuard {
    jpeg_compress_struct cinfo;
    unsigned char* output = nullptr;
    unsigned long outputSize = 0;
    ~CompressGuard() {
        jpeg_destroy_compress(&cinfo);
        std::free(output);
    }
};

bool compress(CompressGuard& guard, JpegErrorManager& errors, const ImageTargetFileJpeg& image,
              const uint8_t* (*rowOf)(const ImageTargetFileJpeg&, int32_t), int quality, bool gray) {
    if (setjmp(errors.jump)) return false;
    jpeg_mem_dest(&guard.cinfo, &guard.output, &guard.outputSize);
    guard.cinfo.image_width = JDIMENSION(image.getWidth());
    guard.cinfo.image_height = JDIMENSION(image.getHeight());
    guard.cinfo.input_components = gray ? 1 : 3;
    guard.cinfo.in_color_space = gray ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&guard.cinfo);
    jpeg_set_quality(&guard.cinfo, quality, TRUE);
    jpeg_start_compress(&guard.cinfo, TRUE);
    while (guard.cinfo.next_scanline < guard.cinfo.image_height) {
        JSAMPROW row = const_cast<uint8_t*>(rowOf(image, int32_t(guard.cinfo.next_scanline)));
        jpeg_write_scanlines(&guard.cinfo, &row, 1);
    }
    jpeg_finish_compress(&guard.cinfo);
    return true;
}

}  // namespace

ImageTargetFileJpeg::ImageTargetFileJpeg(DataTargetRef dataTarget, const ImageSourceRef& source,
                                         const Options& options)
    : ImageTargetEncoded(std::move(dataTarget), source, options) {
    const bool gray = getRequest().gray && !getRequest().alpha;
    accept(gray ? GRAY : RGB, UINT8, gray ? Y : RGB_ORDER, RowAccess::ONE_AT_A_TIME);
}

void ImageTargetFileJpeg::encode(OStream& out) {
    if (getWidth() == 0 || getHeight() == 0 || getWidth() > 65500 || getHeight() > 65500)
        throw ImageIoFailedLoadExc("JPEG: cannot store an image of " + std::to_string(getWidth()) +
                                   " x " + std::to_string(getHeight()) + " pixels");
    const int quality = std::max(1, std::min(100, int(std::lround(getOptions().quality * 100.0f))));
    JpegErrorManager errors;
    CompressGuard guard;
    guard.cinfo.err = installJpegErrors(errors);
    jpeg_create_compress(&guard.cinfo);
    auto rowOf = [](const ImageTargetFileJpeg& image, int32_t y) { return image.encodedRow(y); };
    if (!compress(guard, errors, *this, rowOf, quality, getColorModel() == GRAY))
        throw ImageIoFailedLoadExc(std::string("JPEG: ") + errors.message);
    out.writeData(guard.output, guard.outputSize);
}

ImageTargetRef ImageTargetFileJpeg::create(DataTargetRef dataTarget, ImageSourceRef source,
                                           Options options, const std::string&) {
    return std::make_shared<ImageTargetFileJpeg>(std::move(dataTarget), source, options);
}

}  // namespace loom
