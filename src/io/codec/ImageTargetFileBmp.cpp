#include "io/codec/ImageTargetFileBmp.h"

#include <cstring>
#include <memory>
#include <vector>

#include "io/ImageIoExc.h"

namespace loom {

namespace {

void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v)), out.push_back(uint8_t(v >> 8));
}
void put32(std::vector<uint8_t>& out, uint32_t v) { put16(out, v & 0xFFFF), put16(out, v >> 16); }

}  // namespace

ImageTargetFileBmp::ImageTargetFileBmp(DataTargetRef dataTarget, const ImageSourceRef& source,
                                       const Options& options)
    : ImageTargetEncoded(std::move(dataTarget), source, options) {
    accept(RGB, UINT8, getRequest().alpha ? BGRA : BGR, RowAccess::ONE_AT_A_TIME);
}

void ImageTargetFileBmp::encode(OStream& out) {
    const bool alpha = getSampleOrder() == BGRA;
    const uint32_t headerSize = alpha ? 108 : 40;  // BITMAPV4HEADER or BITMAPINFOHEADER
    const uint64_t rowSize = (uint64_t(getRowBytes()) + 3) & ~uint64_t(3);
    const uint64_t imageSize = rowSize * uint64_t(getHeight());
    const uint64_t fileSize = 14 + headerSize + imageSize;
    if (fileSize > 0xFFFFFFFFu) throw ImageIoFailedLoadExc("BMP: image too large for the format");

    std::vector<uint8_t> header;
    header.push_back('B'), header.push_back('M');
    put32(header, uint32_t(fileSize));
    put32(header, 0);
    put32(header, 14 + headerSize);
    put32(header, headerSize);
    put32(header, uint32_t(getWidth()));
    put32(header, uint32_t(getHeight()));  // positive: rows bottom-up
    put16(header, 1);
    put16(header, alpha ? 32 : 24);
    put32(header, alpha ? 3 : 0);  // BI_BITFIELDS or BI_RGB
    put32(header, uint32_t(imageSize));
    put32(header, 2835), put32(header, 2835);  // 72 dots per inch
    put32(header, 0), put32(header, 0);
    if (alpha) {
        put32(header, 0x00FF0000), put32(header, 0x0000FF00), put32(header, 0x000000FF);
        put32(header, 0xFF000000);
        put32(header, 0x73524742);                      // 'sRGB'
        for (int i = 0; i < 12; ++i) put32(header, 0);  // endpoints and gamma, unused
    }
    out.writeData(header.data(), header.size());
    std::vector<uint8_t> row(size_t(rowSize), 0);
    for (int32_t y = getHeight() - 1; y >= 0; --y) {
        std::memcpy(row.data(), encodedRow(y), size_t(getRowBytes()));
        out.writeData(row.data(), row.size());
    }
}

ImageTargetRef ImageTargetFileBmp::create(DataTargetRef dataTarget, ImageSourceRef source,
                                          Options options, const std::string&) {
    return std::make_shared<ImageTargetFileBmp>(std::move(dataTarget), source, options);
}

}  // namespace loom
