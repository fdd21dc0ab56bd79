#include "io/codec/ImageSourceFileTiff.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "io/ImageIoExc.h"
#include "io/codec/TiffMemoryFile.h"

namespace loom {

namespace {

bool hasTiffSignature(const uint8_t* data, size_t size) {
    if (size < 4) return false;
    return (data[0] == 'I' && data[1] == 'I' && (data[2] == 42 || data[2] == 43) && data[3] == 0) ||
           (data[0] == 'M' && data[1] == 'M' && data[2] == 0 && (data[3] == 42 || data[3] == 43));
}

struct TiffLayout {
    uint16_t bits = 0, samples = 0, photometric = 0, planar = 0, extra = 0, sampleFormat = 0;
    uint16_t* extraTypes = nullptr;
};

// Gray or RGB, with or without one unassociated alpha, 8 or 16 bits, interleaved strips: read
// as stored, every bit kept. Everything else goes through libtiff's RGBA rendering.
bool isPlainLayout(TIFF* tiff, const TiffLayout& l) {
    const bool colour = l.photometric == PHOTOMETRIC_RGB && (l.samples == 3 || l.samples == 4);
    const bool gray = l.photometric == PHOTOMETRIC_MINISBLACK && (l.samples == 1 || l.samples == 2);
    const bool alphaOk =
        l.extra == 0 || (l.extra == 1 && l.extraTypes && l.extraTypes[0] == EXTRASAMPLE_UNASSALPHA);
    const bool expectedExtra = l.extra == ((l.samples == 4 || l.samples == 2) ? 1 : 0);
    return (colour || gray) && alphaOk && expectedExtra && (l.bits == 8 || l.bits == 16) &&
           l.planar == PLANARCONFIG_CONTIG && l.sampleFormat == SAMPLEFORMAT_UINT && !TIFFIsTiled(tiff);
}

// libtiff's rendering hands out colours multiplied by alpha, whether the file stored them so or
// libtiff multiplied them itself; the tool compares exact colours, so divide back, rounding.
// Where alpha is 0 the colour is lost and stays as rendered.
void unpremultiply(uint8_t* rgba, size_t pixels) {
    for (uint8_t* p = rgba; p != rgba + pixels * 4; p += 4) {
        const unsigned alpha = p[3];
        if (alpha == 0 || alpha == 255) continue;
        for (int c = 0; c < 3; ++c) p[c] = uint8_t(std::min(255u, (p[c] * 255u + alpha / 2) / alpha));
    }
}

}  // namespace

ImageSourceFileTiff::ImageSourceFileTiff(DataSourceRef dataSource, const Options& options)
    : ImageSourceDecoded(options) {
    Buffer bytes = dataSource->getBuffer();
    const auto* data = static_cast<const uint8_t*>(bytes.getData());
    const size_t size = size_t(bytes.getDataSize());
    if (!hasTiffSignature(data, size)) throw ImageIoNotThisFormatExc("not a TIFF file");
    TiffMemoryFile file(data, size);
    auto fail = [&](const char* fallback) {
        throw ImageIoFailedLoadExc("TIFF: " +
                                   (file.error().empty() ? std::string(fallback) : file.error()));
    };
    TIFF* tiff = file.tiff();
    if (!tiff) fail("cannot read the header");
    if (options.index < 0 || (options.index > 0 && !TIFFSetDirectory(tiff, tdir_t(options.index))))
        throw ImageIoFailedLoadExc("TIFF: there is no page " + std::to_string(options.index));
    uint32_t width = 0, height = 0;
    TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height);
    TiffLayout l;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &l.bits);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &l.samples);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_PLANARCONFIG, &l.planar);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLEFORMAT, &l.sampleFormat);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_EXTRASAMPLES, &l.extra, &l.extraTypes);
    if (!TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &l.photometric)) l.photometric = 0xFFFF;

    if (isPlainLayout(tiff, l)) {
        static const SampleOrder orders[5] = {SO_UNKNOWN, Y, YA, RGB_ORDER, RGBA};
        allocatePixels(width, height, l.samples >= 3 ? RGB : GRAY, l.bits == 16 ? UINT16 : UINT8,
                       orders[l.samples]);
        if (TIFFScanlineSize64(tiff) != uint64_t(getRowBytes())) fail("inconsistent row size");
        for (uint32_t y = 0; y < height; ++y)
            if (TIFFReadScanline(tiff, getRow(int32_t(y)), y, 0) < 0) fail("cannot decode the image");
        return;
    }
    char reason[1024] = "";
    if (!TIFFRGBAImageOK(tiff, reason)) throw ImageIoFailedLoadExc(std::string("TIFF: ") + reason);
    allocatePixels(width, height, RGB, UINT8, l.extra > 0 ? RGBA : RGBX);
    // The raster's 32-bit words hold red in their low byte: bytes R, G, B, A on this machine.
    if (!TIFFReadRGBAImageOriented(tiff, width, height, reinterpret_cast<uint32_t*>(getPixels()),
                                   ORIENTATION_TOPLEFT, 1))
        fail("cannot decode the image");
    if (l.extra > 0) unpremultiply(getPixels(), size_t(width) * height);
}

ImageSourceRef ImageSourceFileTiff::create(DataSourceRef dataSource, Options options) {
    return std::make_shared<ImageSourceFileTiff>(std::move(dataSource), options);
}

}  // namespace loom
