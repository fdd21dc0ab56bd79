// ImageTargetEncoded: the common base of the file encoders. Rows are gathered into one packed
// block in the layout the encoder accepted, unless the source keeps its rows in memory (a surface)
// and the encoder can read them there: then no copy of the image is made. finalize() encodes into
// the data target's stream. Every failure on the way is an ImageIoFailedLoadExc with the reason.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "image/PixelBlock.h"
#include "io/DataTarget.h"
#include "io/ImageSource.h"
#include "io/ImageTarget.h"
#include "io/Stream.h"

namespace loom {

class ImageTargetEncoded : public ImageTarget {
public:
    // The gathered row, or the row of scratch that a row read in place is converted into.
    void* getRowPointer(int32_t row) override;
    void finalize() override;
    bool wantsRowsPushed() const override { return !inPlaceSource_; }

    // How an encoder can take the rows of a source that keeps them in memory.
    enum class RowAccess {
        GATHERED,       // only from the gathered block
        ONE_AT_A_TIME,  // one row after another through encodedRow(), converted as they are read
        WHOLE,          // the whole image at once through rowsInPlace(), when already in its layout
        OWN,            // pushed to the encoder's own getRowPointer(), which keeps them its own way
    };

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
    // Sets the accepted layout, and allocates the row block unless access lets the encoder read
    // the source's rows in place.
    void accept(ColorModel model, DataType type, SampleOrder order,
                RowAccess access = RowAccess::GATHERED);
    // Row y in the accepted layout: read in place (converted into a row of scratch when the
    // layouts differ) or from the gathered block. Valid until the next call.
    const uint8_t* encodedRow(int32_t y) const;
    // The rows in the accepted layout: in place when accepted WHOLE and the source has them so,
    // else the gathered block.
    ImageSource::RowsInPlace rowsInPlace() const;
    int32_t getRowBytes() const { return rowBytes_; }

    // Writes the encoded file to out.
    virtual void encode(OStream& out) = 0;

private:
    DataTargetRef dataTarget_;
    ImageSourceRef source_;
    ImageSourceRef inPlaceSource_;  // set when the rows are read there rather than gathered
    Request request_;
    Options options_;
    PixelBlock pixels_;
    int32_t rowBytes_ = 0;
    std::vector<uint8_t> convertedRow_;  // where a row read in place is converted
};

}  // namespace loom
