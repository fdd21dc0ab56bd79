// Fuzz target: any bytes through the registrar's decoders and into a Surface. Every outcome but a
// clean image or an exception is a finding.
#include <cstddef>
#include <cstdint>
#include <exception>

#include "image/Surface.h"
#include "io/DataSource.h"
#include "io/ImageFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        auto source =
            loom::makeBufferSource(loom::Buffer(const_cast<uint8_t*>(data), static_cast<int32_t>(size)));
        loom::ImageSource::Options options;
        // The last byte picks a frame now and then, so multi-frame paths are reached too.
        if (size > 0 && data[size - 1] < 4) options.setIndex(data[size - 1]);
        loom::Surface surface(loom::loadImage(source, options));
        (void)surface;
    } catch (const std::exception&) {
    }
    return 0;
}
