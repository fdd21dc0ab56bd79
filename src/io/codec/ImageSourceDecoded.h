// ImageSourceDecoded: the common base of the file decoders. A decoder checks its format's
// signature, describes the image and decodes it whole into one packed pixel block held here;
// load() then hands the rows to the target.
#pragma once

#include <cstdint>
#include <string>

#include "image/PixelBlock.h"
#include "io/Buffer.h"
#include "io/DataSource.h"
#include "io/ImageSource.h"

namespace loom {

class ImageSourceDecoded : public ImageSource {
public:
    void load(ImageTargetRef target) override;

protected:
    // options.scale is kept for allocatePixels.
    explicit ImageSourceDecoded(const Options& options) : scale_(options.scale) {}

    // ImageIoFailedLoadExc naming the size and the limits when width x height, or that enlarged by
    // the caller's scale, passes the image limits: for a size read from a header, before anything
    // is allocated or decoded for it.
    void requireWithinLimits(int64_t width, int64_t height) const;
    // Sets the description and allocates the pixel block after checking the size as
    // requireWithinLimits does, and for overflow; ImageIoFailedLoadExc when empty.
    void allocatePixels(int64_t width, int64_t height, ColorModel model, DataType type,
                        SampleOrder order);
    uint8_t* getRow(int32_t row) { return pixels_.get() + int64_t(row) * rowBytes_; }
    int32_t getRowBytes() const { return rowBytes_; }
    uint8_t* getPixels() { return pixels_.get(); }
    // For 8-bit RGBA or BGRA pixels whose alpha the file gave: many writers leave the channel zero
    // everywhere, which means an opaque picture, so the pixels are then described as RGBX or BGRX.
    void treatAllZeroAlphaAsOpaque();
    // For a block allocated as 8-bit RGBA: RGBA when a pixel is transparent, RGBX otherwise.
    void describeTransparency();

private:
    int32_t scale_;
    PixelBlock pixels_;
    int32_t rowBytes_ = 0;
};

// ImageIoFailedLoadExc "<formatName>: truncated data" unless availableBytes could produce
// producedUnits at mostPerByte a byte: a few bytes of header may promise gigabytes, which are refused
// before anything is allocated for them.
void requireFillable(uint64_t producedUnits, int64_t availableBytes, int64_t mostPerByte,
                     const char* formatName);

// The bytes of dataSource when they begin with signature; otherwise ImageIoNotThisFormatExc
// saying "not a <formatName> file". A data source that cannot be read raises its StreamExc.
Buffer requireSignature(const DataSourceRef& dataSource, const void* signature, size_t size,
                        const char* formatName);

}  // namespace loom
