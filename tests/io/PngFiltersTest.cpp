#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "image/Surface.h"
#include "io/DataTarget.h"
#include "io/ImageFile.h"
#include "io/TempDir.h"
#include "io/codec/PngChunks.h"
#include "io/codec/PngFilters.h"
#include "io/codec/ZlibPieces.h"

using namespace loom;
using loom::test::TempDir;

// Rows filtered with each filter, in a file of our own chunks, read back by libpng as they were.
TEST(PngFilters, EveryFilterDecodesToTheRows) {
    constexpr int32_t W = 13, H = 9;
    TempDir dir;
    std::mt19937 random(2);
    std::vector<uint8_t> pixels(size_t(W * H * 3));
    for (auto& b : pixels) b = uint8_t(random() % 4 * 70);
    for (int f = 0; f < 5; ++f) {
        const DataTargetPathRef file = openFileTarget(dir / "f.png");
        OStream& out = *file->getStream();
        writePngSignature(out);
        uint8_t header[13] = {0, 0, 0, W, 0, 0, 0, H, 8, 2, 0, 0, 0};  // 8-bit RGB
        writePngChunk(out, "IHDR", header, sizeof(header));
        std::vector<uint8_t> filtered, above(W * 3, 0);
        for (int32_t y = 0; y < H; ++y) {
            const uint8_t* row = pixels.data() + y * W * 3;
            filtered.push_back(uint8_t(f));
            filtered.resize(filtered.size() + W * 3);
            filterRow(PngFilter(f), row, above.data(), W * 3, 3,
                      filtered.data() + filtered.size() - W * 3);
            above.assign(row, row + W * 3);
        }
        ZlibPieces zlib({6}, [&](const uint8_t* d, size_t n) { writePngChunk(out, "IDAT", d, n); });
        zlib.add(filtered, true);
        writePngChunk(out, "IEND", nullptr, 0);
        file->commit();

        const Surface decoded(loadImage(dir / "f.png"));
        ASSERT_EQ(decoded.getWidth(), W);
        for (int32_t y = 0; y < H; ++y)
            EXPECT_EQ(std::memcmp(decoded.getData(0, y), pixels.data() + y * W * 3, W * 3), 0)
                << "filter " << f << " row " << y;
    }
}
