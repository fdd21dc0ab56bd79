#include "platform/codec/ImageSourceFileTiff.h"

#include <cstring>
#include <memory>

#include "image/io/ImageIoException.h"
#include "platform/codec/TiffMemoryFile.h"

namespace loom {

namespace {

bool hasTiffSignature(const uint8_t* data, size_t size) {
    if (size < 4) return false;
    return (data[0] == 'I' && data[1] == 'I' && (data[2] == 42 || data[2] == 43) && data[3] == 0) ||
           (data[0] == 'M' && data[1] == 'M' && data[2] == 0 && (data[3] == 42 || data[3] == 43));
}

}  // namespace

ImageSourceFileTiff::ImageSourceFileTiff(DataSourceRef dataSource, Options options) {
    Buffer bytes = dataSource->getBuffer();
    const auto* data = static_cast<const uint8_t*>(bytes.getData());
    const size_t size = size_t(bytes.getDataSize());
    if (!hasTiffSignature(data, size)) throw ImageIoExceptionNotThisFormat("not a TIFF file");
    TiffMemoryFile file(data, size);
    auto fail = [&](const char* fallback) {
        throw ImageIoExceptionFailedLoad("TIFF: " + (file.error().empty() ? std::string(fallback) : file.error()));
    };
    if (!file.tiff()) fail("cannot read the header");
    if (options.index < 0 || (options.index > 0 && !TIFFSetDirectory(file.tiff(), tdir_t(options.index))))
        throw ImageIoExceptionFailedLoad("TIFF: there is no page " + std::to_string(options.index));
    uint32_t width = 0, height = 0;
    TIFFGetField(file.tiff(), TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(file.tiff(), TIFFTAG_IMAGELENGTH, &height);
    uint16_t extraSamples = 0;
    uint16_t* extraTypes = nullptr;
    TIFFGetFieldDefaulted(file.tiff(), TIFFTAG_EXTRASAMPLES, &extraSamples, &extraTypes);
    char reason[1024] = "";
    if (!TIFFRGBAImageOK(file.tiff(), reason)) throw ImageIoExceptionFailedLoad(std::string("TIFF: ") + reason);

    allocatePixels(width, height, RGB, UINT8, extraSamples > 0 ? RGBA : RGBX);
    // The raster's 32-bit words hold red in their low byte: bytes R, G, B, A on this machine.
    if (!TIFFReadRGBAImageOriented(file.tiff(), width, height, reinterpret_cast<uint32_t*>(getPixels()),
                                   ORIENTATION_TOPLEFT, 1))
        fail("cannot decode the image");
}

ImageSourceRef ImageSourceFileTiff::create(DataSourceRef dataSource, Options options) {
    return std::make_shared<ImageSourceFileTiff>(std::move(dataSource), options);
}

}  // namespace loom
