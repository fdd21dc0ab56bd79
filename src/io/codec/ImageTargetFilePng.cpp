#include "io/codec/ImageTargetFilePng.h"

#include "io/codec/PngChunks.h"
#include "io/codec/PngImageData.h"
#include "io/codec/PngRowFormat.h"

namespace loom {

ImageTargetFilePng::ImageTargetFilePng(DataTargetRef dataTarget, const ImageSourceRef& source,
                                       const Options& options)
    : ImageTargetEncoded(std::move(dataTarget), source, options) {
    const Request& r = getRequest();
    const ColorModel model = r.alpha || !r.gray ? RGB : GRAY;
    const DataType type = r.type == UINT8 ? UINT8 : UINT16;
    const SampleOrder order = r.alpha ? RGBA : (model == GRAY ? Y : RGB_ORDER);
    // The rows are surveyed and then encoded, so they are read twice: in place they need no
    // conversion on either pass.
    accept(model, type, order, RowAccess::WHOLE);
}

const uint8_t* ImageTargetFilePng::sourceRow(int32_t row) const {
    const ImageSource::RowsInPlace rows = rowsInPlace();
    return rows.data + int64_t(row) * rows.rowBytes;
}

void ImageTargetFilePng::encode(OStream& out) {
    PngRowFormat format(
        getSampleOrder(), getDataType(), getWidth(), getHeight(),
        [this](int32_t y) { return sourceRow(y); }, getOptions().palette);
    writePngSignature(out);
    writePngHeader(out, getWidth(), getHeight(), format);
    writePngRows(
        format, getHeight(), [this](int32_t y) { return sourceRow(y); },
        [&out](const uint8_t* data, size_t size) { writePngChunk(out, "IDAT", data, size); });
    writePngChunk(out, "IEND", nullptr, 0);
}

ImageTargetRef ImageTargetFilePng::create(DataTargetRef dataTarget, ImageSourceRef source,
                                          Options options, const std::string&) {
    return std::make_shared<ImageTargetFilePng>(std::move(dataTarget), source, options);
}

}  // namespace loom
