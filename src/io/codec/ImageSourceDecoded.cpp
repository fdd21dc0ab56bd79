#include "io/codec/ImageSourceDecoded.h"

#include <cstring>

#include "image/ImageLimits.h"
#include "image/SizeCheck.h"
#include "io/ImageIoExc.h"

namespace loom {

void ImageSourceDecoded::requireWithinLimits(int64_t width, int64_t height) const {
    try {
        checkImageLimits(width, height, scale_);
    } catch (const ImageTooLargeExc& e) {
        throw ImageIoFailedLoadExc(e.what());
    }
}

void ImageSourceDecoded::allocatePixels(int64_t width, int64_t height, ColorModel model, DataType type,
                                        SampleOrder order) {
    requireWithinLimits(width, height);
    if (width == 0 || height == 0)
        throw ImageIoFailedLoadExc("the image has no pixels (" + std::to_string(width) + " x " +
                                   std::to_string(height) + ")");
    const int64_t rowBytes = checkedProduct({width, channelsOf(order), bytesPerSampleOf(type)});
    const int64_t bytes = checkedProduct({rowBytes, height});
    pixels_ = allocatePixelBlock(size_t(bytes));
    rowBytes_ = checkedInt32(rowBytes, "row length");
    setSize(int32_t(width), int32_t(height));
    setColorModel(model);
    setDataType(type);
    setSampleOrder(order);
}

void ImageSourceDecoded::treatAllZeroAlphaAsOpaque() {
    const uint8_t* pixel = getPixels();
    const uint8_t* end = pixel + int64_t(getRowBytes()) * getHeight();
    for (; pixel != end; pixel += 4)
        if (pixel[3] != 0) return;
    setSampleOrder(getSampleOrder() == BGRA ? BGRX : RGBX);
}

void ImageSourceDecoded::load(ImageTargetRef target) {
    setupRowFunc(*target);
    for (int32_t row = 0; row < getHeight(); ++row) processRow(*target, row, getRow(row));
}

void ImageSourceDecoded::describeTransparency() {
    for (int32_t y = 0; y < getHeight(); ++y) {
        const uint8_t* row = getRow(y);
        for (int32_t x = 0; x < getWidth(); ++x)
            if (row[size_t(x) * 4 + 3] != 255) {
                setSampleOrder(RGBA);
                return;
            }
    }
    setSampleOrder(RGBX);
}

void requireFillable(uint64_t producedUnits, int64_t availableBytes, int64_t mostPerByte,
                     const char* formatName) {
    if (availableBytes < 0 || producedUnits > uint64_t(availableBytes) * uint64_t(mostPerByte))
        throw ImageIoFailedLoadExc(std::string(formatName) + ": truncated data");
}

Buffer requireSignature(const DataSourceRef& dataSource, const void* signature, size_t size,
                        const char* formatName) {
    Buffer bytes = dataSource->getBuffer();
    if (size_t(bytes.getDataSize()) < size || std::memcmp(bytes.getData(), signature, size) != 0)
        throw ImageIoNotThisFormatExc(std::string("not a ") + formatName + " file");
    return bytes;
}

}  // namespace loom
