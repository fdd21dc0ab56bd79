#include "io/codec/ImageTargetFileTiff.h"

#include <cstring>
#include <memory>
#include <vector>

#include "io/ImageIoExc.h"
#include "io/codec/TiffMemoryFile.h"

namespace loom {

ImageTargetFileTiff::ImageTargetFileTiff(DataTargetRef dataTarget, const ImageSourceRef& source,
                                         const Options& options)
    : ImageTargetEncoded(std::move(dataTarget), source, options) {
    const Request& r = getRequest();
    accept(r.alpha || !r.gray ? RGB : GRAY, r.type == UINT8 ? UINT8 : UINT16,
           r.alpha ? RGBA : (r.gray ? Y : RGB_ORDER), RowAccess::ONE_AT_A_TIME);
}

void ImageTargetFileTiff::encode(OStream& out) {
    TiffMemoryFile file;
    TIFF* tiff = file.tiff();
    auto fail = [&] {
        throw ImageIoFailedLoadExc("TIFF: " +
                                   (file.error().empty() ? std::string("cannot write") : file.error()));
    };
    if (!tiff) fail();
    const uint16_t channels = uint16_t(channelsOf(getSampleOrder()));
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, uint32_t(getWidth()));
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, uint32_t(getHeight()));
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, channels);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, uint16_t(getDataType() == UINT16 ? 16 : 8));
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC,
                 getColorModel() == GRAY ? PHOTOMETRIC_MINISBLACK : PHOTOMETRIC_RGB);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
    TIFFSetField(tiff, TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL);
    if (hasAlpha()) {
        const uint16_t extra[1] = {EXTRASAMPLE_UNASSALPHA};
        TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, uint16_t(1), extra);
    }
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tiff, 0));
    // libtiff's predictor works in the buffer it is given: never the source's own rows.
    std::vector<uint8_t> row(static_cast<size_t>(getRowBytes()));
    for (int32_t y = 0; y < getHeight(); ++y) {
        std::memcpy(row.data(), encodedRow(y), row.size());
        if (TIFFWriteScanline(tiff, row.data(), uint32_t(y), 0) < 0) fail();
    }
    if (!TIFFWriteDirectory(tiff)) fail();
    file.close();
    if (!file.error().empty()) fail();
    out.writeData(file.bytes().data(), file.bytes().size());
}

ImageTargetRef ImageTargetFileTiff::create(DataTargetRef dataTarget, ImageSourceRef source,
                                           Options options, const std::string&) {
    return std::make_shared<ImageTargetFileTiff>(std::move(dataTarget), source, options);
}

}  // namespace loom
