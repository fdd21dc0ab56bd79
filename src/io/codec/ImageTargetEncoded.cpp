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
    source_ = source;
    request_.alpha = source->hasAlpha();
    request_.gray = model == GRAY;
    request_.type = source->getDataType();
    setSize(source->getWidth(), source->getHeight());
}

void ImageTargetEncoded::accept(ColorModel model, DataType type, SampleOrder order, RowAccess access) {
    if (!withinImageLimits(getWidth(), getHeight()))
        throw ImageIoFailedLoadExc(ImageTooLargeExc(getWidth(), getHeight()).what());
    const int64_t rowBytes = checkedProduct({getWidth(), channelsOf(order), bytesPerSampleOf(type)});
    rowBytes_ = checkedInt32(rowBytes, "row length");
    setColorModel(model);
    setDataType(type);
    setSampleOrder(order);
    const bool sameLayout = source_->getColorModel() == model && source_->getDataType() == type &&
                            source_->getSampleOrder() == order;
    const bool inPlace = source_->getRowsInPlace().data && (access == RowAccess::ONE_AT_A_TIME ||
                                                            (access == RowAccess::WHOLE && sameLayout));
    if (access == RowAccess::OWN) {
        // nothing to hold here
    } else if (inPlace) {
        inPlaceSource_ = source_;
        if (!sameLayout) convertedRow_.resize(size_t(rowBytes_));
    } else {
        pixels_ = allocatePixelBlock(size_t(checkedProduct({rowBytes_, getHeight()})));
    }
    source_.reset();
}

void* ImageTargetEncoded::getRowPointer(int32_t row) {
    return inPlaceSource_ ? convertedRow_.data() : pixels_.get() + int64_t(row) * rowBytes_;
}

const uint8_t* ImageTargetEncoded::encodedRow(int32_t y) const {
    if (!inPlaceSource_) return pixels_.get() + int64_t(y) * rowBytes_;
    const ImageSource::RowsInPlace rows = inPlaceSource_->getRowsInPlace();
    if (convertedRow_.empty()) return rows.data + int64_t(y) * rows.rowBytes;
    // Converting writes through getRowPointer into convertedRow_, scratch that is no part of
    // what this target holds.
    inPlaceSource_->loadRowInPlace(const_cast<ImageTargetEncoded&>(*this), y);
    return convertedRow_.data();
}

ImageSource::RowsInPlace ImageTargetEncoded::rowsInPlace() const {
    if (inPlaceSource_) return inPlaceSource_->getRowsInPlace();
    return {pixels_.get(), rowBytes_};
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
