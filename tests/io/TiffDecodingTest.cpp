#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "image/Surface.h"
#include "io/DataSource.h"
#include "io/ImageFile.h"
#include "io/codec/TiffMemoryFile.h"

using namespace loom;

namespace {

using Pixel = std::array<uint8_t, 4>;

struct AlphaLayout {
    const char* name;
    bool tiled;
    uint16_t planar;
    uint16_t alphaKind;  // EXTRASAMPLE_UNASSALPHA or EXTRASAMPLE_ASSOCALPHA
};

// A 4x4 RGBA TIFF whose pixels are straight, translucent on even columns and opaque on odd ones;
// with associated alpha the colours are stored multiplied by alpha, as such a file holds them.
std::vector<uint8_t> writeTiff(const AlphaLayout& layout, const Pixel& translucent,
                               const Pixel& opaque) {
    constexpr uint32_t side = 4, tile = 16;  // libtiff wants tiles of a multiple of 16
    TiffMemoryFile file;
    TIFF* tiff = file.tiff();
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, side);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, side);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, uint16_t(4));
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, uint16_t(8));
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, layout.planar);
    const uint16_t extra[1] = {layout.alphaKind};
    TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, uint16_t(1), extra);
    Pixel stored = translucent;
    if (layout.alphaKind == EXTRASAMPLE_ASSOCALPHA)
        for (int c = 0; c < 3; ++c) stored[c] = uint8_t((translucent[c] * translucent[3] + 127) / 255);
    auto sample = [&](uint32_t x, int c) { return x % 2 ? opaque[c] : stored[c]; };
    if (layout.tiled) {
        TIFFSetField(tiff, TIFFTAG_TILEWIDTH, tile);
        TIFFSetField(tiff, TIFFTAG_TILELENGTH, tile);
        std::vector<uint8_t> pixels(tile * tile * 4, 0);
        for (uint32_t y = 0; y < side; ++y)
            for (uint32_t x = 0; x < side; ++x)
                for (int c = 0; c < 4; ++c) pixels[(y * tile + x) * 4 + c] = sample(x, c);
        TIFFWriteTile(tiff, pixels.data(), 0, 0, 0, 0);
    } else {
        const int planes = layout.planar == PLANARCONFIG_SEPARATE ? 4 : 1;
        for (int plane = 0; plane < planes; ++plane)
            for (uint32_t y = 0; y < side; ++y) {
                std::vector<uint8_t> row;
                for (uint32_t x = 0; x < side; ++x)
                    for (int c = 0; c < 4; ++c)
                        if (planes == 1 || c == plane) row.push_back(sample(x, c));
                TIFFWriteScanline(tiff, row.data(), y, uint16_t(plane));
            }
    }
    TIFFWriteDirectory(tiff);
    file.close();
    return file.bytes();
}

}  // namespace

// Layouts that libtiff renders to RGBA come back multiplied by alpha; the pixel tool compares exact
// colours, so the decoder must hand out straight alpha. libtiff renders (200, 100, 50) at alpha 128
// as (100, 50, 25), and 199 would render the same, so dividing back gives (199, 100, 50): at this
// alpha a round trip through premultiplied colours can promise no better than one step.
TEST(TiffDecoding, AlphaLayoutsLoadAsStraightAlpha) {
    const Pixel translucent = {200, 100, 50, 128}, opaque = {10, 20, 30, 255};
    const AlphaLayout layouts[] = {
        {"tiled, unassociated", true, PLANARCONFIG_CONTIG, EXTRASAMPLE_UNASSALPHA},
        {"planar, unassociated", false, PLANARCONFIG_SEPARATE, EXTRASAMPLE_UNASSALPHA},
        {"strips, associated", false, PLANARCONFIG_CONTIG, EXTRASAMPLE_ASSOCALPHA},
        {"tiled, associated", true, PLANARCONFIG_CONTIG, EXTRASAMPLE_ASSOCALPHA},
        {"strips, unassociated (read as stored)", false, PLANARCONFIG_CONTIG, EXTRASAMPLE_UNASSALPHA},
    };
    for (const AlphaLayout& layout : layouts) {
        SCOPED_TRACE(layout.name);
        std::vector<uint8_t> bytes = writeTiff(layout, translucent, opaque);
        ImageSourceRef source = loadImage(makeBufferSource(Buffer(bytes.data(), int32_t(bytes.size()))));
        EXPECT_FALSE(source->isPremultiplied());
        const Surface loaded(source);
        ASSERT_TRUE(loaded.hasAlpha());
        for (int32_t y = 0; y < 4; ++y)
            for (int32_t x = 0; x < 4; ++x) {
                const Pixel& expected = x % 2 ? opaque : translucent;
                const uint8_t* got = loaded.getData(x, y);
                EXPECT_EQ(got[3], expected[3]) << x << "," << y;
                for (int c = 0; c < 3; ++c)
                    EXPECT_NEAR(got[c], expected[c], 1) << x << "," << y << " channel " << c;
            }
    }
}
