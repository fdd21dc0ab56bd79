// Writes ICO and CUR files from a description: BMP-style pictures built here byte by byte, PNG
// pictures by our PNG writer.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "image/Surface.h"
#include "io/ImageFile.h"
#include "io/ImageSourceSurface.h"
#include "io/TempDir.h"

namespace loom::test {

struct BitmapPicture {
    int width, height, bits;
    std::vector<uint32_t> palette;       // 0xRRGGBB; written as the header's colour count
    std::vector<uint32_t> pixels;        // row by row from the top: indexes, or 0xAARRGGBB
    std::vector<bool> transparent = {};  // the mask, row by row from the top; empty: none
};

inline void putLittleEndian(std::vector<uint8_t>& out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

// The header (height doubled for the mask), the palette, the rows bottom-up padded to 4 bytes,
// then the mask's rows likewise; padding bits are ones, so that leaking padding shows.
inline std::vector<uint8_t> bitmapPicture(const BitmapPicture& p) {
    std::vector<uint8_t> out;
    for (uint32_t v : {40u, uint32_t(p.width), uint32_t(p.height * 2)}) putLittleEndian(out, v, 4);
    putLittleEndian(out, 1, 2);
    putLittleEndian(out, uint32_t(p.bits), 2);
    for (uint32_t v : {0u, 0u, 0u, 0u, uint32_t(p.palette.size()), 0u}) putLittleEndian(out, v, 4);
    for (uint32_t c : p.palette) putLittleEndian(out, c, 4);  // blue, green, red, 0
    const size_t stride = size_t(p.width * p.bits + 31) / 32 * 4,
                 maskStride = size_t(p.width + 31) / 32 * 4;
    for (int y = p.height - 1; y >= 0; --y) {
        std::vector<uint8_t> row(stride, 0xFF);
        for (int x = 0; x < p.width; ++x) {
            const uint32_t v = p.pixels[size_t(y * p.width + x)];
            if (p.bits <= 8) {
                const int shift = 8 - p.bits * (x % (8 / p.bits) + 1);
                uint8_t& byte = row[size_t(x * p.bits / 8)];
                byte = uint8_t((byte & ~(((1 << p.bits) - 1) << shift)) | v << shift);
            } else {
                for (int i = 0; i < p.bits / 8; ++i)
                    row[size_t(x * p.bits / 8 + i)] = uint8_t(v >> (8 * i));
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    for (int y = p.height - 1; y >= 0 && !p.transparent.empty(); --y) {
        std::vector<uint8_t> row(maskStride, 0xFF);
        for (int x = 0; x < p.width; ++x)
            if (!p.transparent[size_t(y * p.width + x)])
                row[size_t(x / 8)] &= uint8_t(~(0x80 >> (x % 8)));
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

inline std::vector<uint8_t> pngPicture(const Surface& s) {
    TempDir dir;
    writeImage(dir / "p.png", std::make_shared<ImageSourceSurface>(s));
    return readFile(dir / "p.png");
}

// type 1: ICO, 2: CUR. The directory's size fields are left at 0, as many writers leave them.
inline std::vector<uint8_t> iconFile(const std::vector<std::vector<uint8_t>>& pictures, int type = 1) {
    std::vector<uint8_t> out;
    for (uint32_t v : {0u, uint32_t(type), uint32_t(pictures.size())}) putLittleEndian(out, v, 2);
    uint32_t offset = uint32_t(6 + 16 * pictures.size());
    for (const auto& picture : pictures) {
        for (uint32_t v : {0u, 0u, 0u, 0u}) putLittleEndian(out, v, 2);
        putLittleEndian(out, uint32_t(picture.size()), 4);
        putLittleEndian(out, offset, 4);
        offset += uint32_t(picture.size());
    }
    for (const auto& picture : pictures) out.insert(out.end(), picture.begin(), picture.end());
    return out;
}

}  // namespace loom::test
