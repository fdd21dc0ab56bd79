#include "io/codec/ImageTargetFileGif.h"

#include <gif_lib.h>

#include "io/codec/GifEncoder.h"

namespace loom {

ImageTargetFileGif::ImageTargetFileGif(DataTargetRef dataTarget, const ImageSourceRef& source,
                                       const Options& options)
    : ImageTargetEncoded(std::move(dataTarget), source, options), frame_(*source, options.palette) {
    accept(RGB, UINT8, frame_.getSampleOrder(), RowAccess::OWN);
}

void ImageTargetFileGif::finalize() {
    frame_.finalize();
    ImageTargetEncoded::finalize();
}

void ImageTargetFileGif::encode(OStream& out) {
    GifEncoder encoder(out, getWidth(), getHeight());
    encoder.putFrame(frame_, 0, DISPOSAL_UNSPECIFIED);
    encoder.finish();
}

ImageTargetRef ImageTargetFileGif::create(DataTargetRef dataTarget, ImageSourceRef source,
                                          Options options, const std::string&) {
    return std::make_shared<ImageTargetFileGif>(std::move(dataTarget), source, options);
}

}  // namespace loom
