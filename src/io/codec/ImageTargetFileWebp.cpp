#include "io/codec/ImageTargetFileWebp.h"

#include <webp/encode.h>

#include <cstring>
#include <memory>

#include "io/ImageIoExc.h"
#include "io/codec/WebpLossless.h"

namespace loom {

namespace {

struct PictureGuard {
    WebPPicture picture;
    WebPMemoryWriter writer;
    PictureGuard() {
        std::memset(&picture, 0, sizeof(picture));  // safe to free before initialisation
        WebPMemoryWriterInit(&writer);
    }
    ~PictureGuard() {
        WebPPictureFree(&picture);
        WebPMemoryWriterClear(&writer);
    }
};

}  // namespace

ImageTargetFileWebp::ImageTargetFileWebp(DataTargetRef dataTarget, const ImageSourceRef& source,
                                         const Options& options)
    : ImageTargetEncoded(std::move(dataTarget), source, options) {
    accept(RGB, UINT8, getRequest().alpha ? RGBA : RGB_ORDER, RowAccess::WHOLE);
}

void ImageTargetFileWebp::encode(OStream& out) {
    if (getWidth() < 1 || getHeight() < 1 || getWidth() > WEBP_MAX_DIMENSION ||
        getHeight() > WEBP_MAX_DIMENSION)
        throw ImageIoFailedLoadExc("WebP: cannot store an image of " + std::to_string(getWidth()) +
                                   " x " + std::to_string(getHeight()) + " pixels");
    WebPConfig config = losslessWebpConfig();
    PictureGuard guard;
    if (!WebPPictureInit(&guard.picture)) throw ImageIoFailedLoadExc("WebP: library version mismatch");
    guard.picture.use_argb = 1;
    guard.picture.width = getWidth();
    guard.picture.height = getHeight();
    guard.picture.writer = WebPMemoryWrite;
    guard.picture.custom_ptr = &guard.writer;
    const ImageSource::RowsInPlace rows = rowsInPlace();
    const int stride = int(rows.rowBytes);
    const bool imported = getSampleOrder() == RGBA
                              ? WebPPictureImportRGBA(&guard.picture, rows.data, stride)
                              : WebPPictureImportRGB(&guard.picture, rows.data, stride);
    if (!imported) throw ImageIoFailedLoadExc("WebP: out of memory");
    if (!WebPEncode(&config, &guard.picture))
        throw ImageIoFailedLoadExc("WebP: encoding failed (error " +
                                   std::to_string(int(guard.picture.error_code)) + ")");
    out.writeData(guard.writer.mem, guard.writer.size);
}

ImageTargetRef ImageTargetFileWebp::create(DataTargetRef dataTarget, ImageSourceRef source,
                                           Options options, const std::string&) {
    return std::make_shared<ImageTargetFileWebp>(std::move(dataTarget), source, options);
}

}  // namespace loom
