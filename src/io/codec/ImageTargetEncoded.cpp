#include "io/codec/ImageTargetEncoded.h"

#include "image/ImageLimits.h"
#include "image/SizeCheck.h"
#include "io/ImageIoExc.h"

namespace loom {

ImageTargetEncoded::ImageTargetEncoded(DataTargetRef dataTarget, const ImageSourceRef& source,
                                       const Options& options)
    : dataTarget_(std::move(dataTarget)), options_(options) {
    if (!source) throw ImageIoExc("there is no image to write");
    const ColorModel model = options.keepSourceColorModel ? source->getColorModel() : options.colorModel;
    request_.alpha = source->hasAlpha();
    request_.gray = model == GRAY;
    request_.type = source->getDataType();
    setSize(source->getWidth(), source->getHeight());
}

void ImageTargetEncoded::accept(ColorModel model, DataType type, SampleOrder order, bool allocate) {
    if (!withinImageLimits(getWidth(), getHeight()))
        throw ImageIoFailedLoadExc(ImageTooLargeExc(getWidth(), getHeight()).what());
    const int64_t rowBytes = checkedProduct({getWidth(), channelsOf(order), bytesPerSampleOf(type)});
    rowBytes_ = checkedInt32(rowBytes, "row length");
    setColorModel(model);
    setDataType(type);
    setSampleOrder(order);
    if (allocate) allocateRows();
}

void ImageTargetEncoded::allocateRows() {
    if (!pixels_) pixels_ = allocatePixelBlock(size_t(checkedProduct({rowBytes_, getHeight()})));
}

void ImageTargetEncoded::finalize() {
    try {
        OStreamRef out = dataTarget_->getStream();
        encode(*out);
    } catch (const ImageIoExc&) {
        throw;
    } catch (const std::exception& e) {
        throw ImageIoFailedLoadExc(e.what());
    }
}

}  // namespace loom
