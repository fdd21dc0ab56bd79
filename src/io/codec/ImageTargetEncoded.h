// ImageTargetEncoded: the common base of the file encoders. Rows are gathered into one packed
// block in the layout the encoder accepted; finalize() encodes the block into the data target's
// stream. Every failure on the way is an ImageIoFailedLoadExc with the reason.
#pragma once

#include <cstdint>
#include <string>

#include "image/PixelBlock.h"
#include "io/DataTarget.h"
#include "io/ImageSource.h"
#include "io/ImageTarget.h"
#include "io/Stream.h"

namespace loom {

class ImageTargetEncoded : public ImageTarget {
public:
    void* getRowPointer(int32_t row) override { return pixels_.get() + int64_t(row) * rowBytes_; }
    void finalize() override;

protected:
    // What the source would like written, by the request rule: alpha kept when the source has
    // it, gray when the (kept or chosen) colour model is GRAY, and the source's sample type.
    struct Request {
        bool alpha;
        bool gray;
        DataType type;
    };
    ImageTargetEncoded(DataTargetRef dataTarget, const ImageSourceRef& source, const Options& options);

    const Request& getRequest() const { return request_; }
    const Options& getOptions() const { return options_; }
    // Sets the accepted layout and, unless told otherwise, allocates the row block.
    void accept(ColorModel model, DataType type, SampleOrder order, bool allocateRows = true);
    // The row block, for an encoder that accepted without it and needs it after all.
    void allocateRows();
    bool hasRows() const { return pixels_ != nullptr; }
    uint8_t* getRow(int32_t row) { return pixels_.get() + int64_t(row) * rowBytes_; }
    const uint8_t* getRow(int32_t row) const { return pixels_.get() + int64_t(row) * rowBytes_; }
    int32_t getRowBytes() const { return rowBytes_; }

    // Writes the encoded file to out.
    virtual void encode(OStream& out) = 0;

private:
    DataTargetRef dataTarget_;
    Request request_;
    Options options_;
    PixelBlock pixels_;
    int32_t rowBytes_ = 0;
};

}  // namespace loom
