#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

#include "io/DecodedPixels.h"
#include "io/codec/ImageSourceFileBmp.h"

using namespace loom;
using namespace loom::test;

namespace {

using Bytes = std::vector<uint8_t>;

void put16(Bytes& b, size_t at, uint32_t v) { b[at] = uint8_t(v), b[at + 1] = uint8_t(v >> 8); }
void put32(Bytes& b, size_t at, uint32_t v) { put16(b, at, v & 0xFFFF), put16(b, at + 2, v >> 16); }

Bytes le32s(std::initializer_list<uint32_t> values) {
    Bytes b;
    for (uint32_t v : values)
        b.push_back(uint8_t(v)), b.push_back(uint8_t(v >> 8)), b.push_back(uint8_t(v >> 16)),
            b.push_back(uint8_t(v >> 24));
    return b;
}

Bytes paletteOf(std::initializer_list<Pixel> colours, size_t entryBytes = 4) {
    Bytes b;
    for (const Pixel& c : colours) {
        b.insert(b.end(), {c[2], c[1], c[0]});
        if (entryBytes == 4) b.push_back(0);
    }
    return b;
}

struct BmpLayout {
    uint32_t headerBytes = 40;  // 12 for OS/2 1.x
    int32_t width = 3;
    uint16_t bits = 0;
    uint32_t compression = 0;
    uint32_t colorsUsed = 0;
    std::array<uint32_t, 4> masks = {};  // written into headers of 52 bytes and more
    uint32_t profileBytes = 0;           // a V5 header's embedded profile, placed before the pixels
};

// File header, info header, then `between` (masks, palette), a profile, and the pixel data.
Bytes bmpFile(const BmpLayout& l, int32_t height, const Bytes& between, const Bytes& pixels) {
    Bytes header(std::max<size_t>(l.headerBytes, 124), 0);
    put32(header, 0, l.headerBytes);
    if (l.headerBytes == 12) {
        put16(header, 4, uint32_t(l.width)), put16(header, 6, uint32_t(height));
        put16(header, 8, 1), put16(header, 10, l.bits);
    } else {
        put32(header, 4, uint32_t(l.width)), put32(header, 8, uint32_t(height));
        put16(header, 12, 1), put16(header, 14, l.bits);
        put32(header, 16, l.compression), put32(header, 32, l.colorsUsed);
        for (size_t i = 0; i < 4; ++i) put32(header, 40 + 4 * i, l.masks[i]);
        if (l.profileBytes) {
            put32(header, 56, 0x4D424544);  // 'MBED'
            put32(header, 112, uint32_t(l.headerBytes + between.size()));
            put32(header, 116, l.profileBytes);
        }
    }
    header.resize(l.headerBytes);
    Bytes file = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    file.insert(file.end(), header.begin(), header.end());
    file.insert(file.end(), between.begin(), between.end());
    file.insert(file.end(), l.profileBytes, 'p');
    put32(file, 10, uint32_t(file.size()));
    file.insert(file.end(), pixels.begin(), pixels.end());
    put32(file, 2, uint32_t(file.size()));
    return file;
}

// Rows given top first, each padded to 4 bytes and stored bottom-up, or top-down as asked.
Bytes storedRows(std::vector<Bytes> rows, bool topDown) {
    if (!topDown) std::reverse(rows.begin(), rows.end());
    Bytes out;
    for (Bytes& row : rows) {
        row.resize((row.size() + 3) / 4 * 4, 0);
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

std::vector<Pixel> upsideDown(const std::vector<Pixel>& pixels, size_t width) {
    std::vector<Pixel> out;
    for (size_t row = pixels.size() / width; row-- > 0;)
        out.insert(out.end(), pixels.begin() + long(row * width),
                   pixels.begin() + long((row + 1) * width));
    return out;
}

struct UncompressedCase {
    const char* name;
    BmpLayout layout;
    Bytes between;
    std::vector<Bytes> rows;  // top first, unpadded
    std::vector<Pixel> expected;
    bool alpha;
};

const Pixel GRAY132 = {132, 132, 132, 255};

}  // namespace

// Every depth and header, stored bottom-up and top-down (OS/2 1.x sizes are unsigned: bottom-up
// only). Rows are 3 pixels wide, so every depth pads its rows.
TEST(BmpDecoding, UncompressedLayoutsGiveTheirPixels) {
    const UncompressedCase cases[] = {
        {"1-bit",
         {40, 3, 1},
         paletteOf({BLACK, WHITE}),
         {{0xA0}, {0x40}},
         {WHITE, BLACK, WHITE, BLACK, WHITE, BLACK},
         false},
        {"2-bit",
         {40, 3, 2},
         paletteOf({RED, GREEN, BLUE, WHITE}),
         {{0x18}, {0xE4}},
         {RED, GREEN, BLUE, WHITE, BLUE, GREEN},
         false},
        {"4-bit with 3 palette entries; index 5 is past them: black",
         {40, 3, 4, 0, 3},
         paletteOf({RED, GREEN, BLUE}),
         {{0x01, 0x20}, {0x52, 0x00}},
         {RED, GREEN, BLUE, BLACK, BLUE, RED},
         false},
        {"8-bit",
         {40, 3, 8, 0, 4},
         paletteOf({RED, GREEN, BLUE, WHITE}),
         {{0, 1, 2}, {3, 255, 0}},
         {RED, GREEN, BLUE, WHITE, BLACK, RED},
         false},
        {"OS/2 1.x, 8-bit with a 3-entry palette",
         {12, 3, 8},
         paletteOf({RED, GREEN, BLUE}, 3),
         {{2, 1, 0}, {0, 0, 1}},
         {BLUE, GREEN, RED, RED, RED, GREEN},
         false},
        {"OS/2 2.x, 16-byte header, 4-bit with 2 entries",
         {16, 3, 4},
         paletteOf({GREEN, BLUE}),
         {{0x01, 0x00}, {0x10, 0x10}},
         {GREEN, BLUE, GREEN, BLUE, GREEN, BLUE},
         false},
        {"OS/2 2.x, 64-byte header, 24-bit",
         {64, 3, 24},
         {},
         {{0, 0, 255, 0, 255, 0, 255, 0, 0}, {255, 255, 255, 0, 0, 0, 1, 2, 3}},
         {RED, GREEN, BLUE, WHITE, BLACK, {3, 2, 1, 255}},
         false},
        {"24-bit with a palette it does not use",
         {40, 3, 24, 0, 2},
         paletteOf({WHITE, WHITE}),
         {{0, 0, 255, 0, 255, 0, 255, 0, 0}, {255, 255, 255, 0, 0, 0, 1, 2, 3}},
         {RED, GREEN, BLUE, WHITE, BLACK, {3, 2, 1, 255}},
         false},
        {"16-bit 5-5-5; the top bit is no alpha",
         {40, 3, 16},
         {},
         {littleEndian16({0x7C00, 0x03E0, 0x001F}), littleEndian16({0x4210, 0x7FFF, 0x8000})},
         {RED, GREEN, BLUE, GRAY132, WHITE, BLACK},
         false},
        {"16-bit 5-6-5 bit fields after a 40-byte header",
         {40, 3, 16, 3},
         le32s({0xF800, 0x07E0, 0x001F}),
         {littleEndian16({0xF800, 0x07E0, 0x001F}), littleEndian16({0x0400, 0xFFFF, 0x0841})},
         {RED, GREEN, BLUE, {0, 130, 0, 255}, WHITE, {8, 8, 8, 255}},
         false},
        {"16-bit 4-4-4-4 with an alpha mask (V4)",
         {108, 3, 16, 3, 0, {0x0F00, 0x00F0, 0x000F, 0xF000}},
         {},
         {littleEndian16({0xFF00, 0x80F0, 0x000F}), littleEndian16({0xFFFF, 0x1888, 0xF000})},
         {RED, {0, 255, 0, 136}, {0, 0, 255, 0}, WHITE, {136, 136, 136, 17}, BLACK},
         true},
        {"32-bit, fourth byte zero everywhere: opaque",
         {40, 3, 32},
         {},
         {{0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0}, {255, 255, 255, 0, 0, 0, 0, 0, 1, 2, 3, 0}},
         {RED, GREEN, BLUE, WHITE, BLACK, {3, 2, 1, 255}},
         false},
        {"32-bit, fourth byte as alpha",
         {40, 3, 32},
         {},
         {{0, 0, 255, 255, 0, 255, 0, 128, 255, 0, 0, 0},
          {255, 255, 255, 255, 0, 0, 0, 255, 1, 2, 3, 7}},
         {RED, {0, 255, 0, 128}, {0, 0, 255, 0}, WHITE, BLACK, {3, 2, 1, 7}},
         true},
        {"32-bit 10-10-10-2 bit fields (V5) after an embedded profile",
         {124, 3, 32, 3, 0, {0x3FF00000, 0x000FFC00, 0x000003FF, 0xC0000000}, 20},
         {},
         {le32s({0xFFF00000, 0x40080000, 0x800003FF}), le32s({0x3FFFFFFF, 0xC0000000, 0xC0701C07})},
         {RED, {0, 128, 0, 85}, {0, 0, 255, 170}, {255, 255, 255, 0}, BLACK, {2, 2, 2, 255}},
         true},
        {"32-bit bit fields (V3), alpha mask zero everywhere: opaque",
         {56, 3, 32, 3, 0, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}},
         {},
         {le32s({0xFF0000, 0xFF00, 0xFF}), le32s({0xFFFFFF, 0, 0x010203})},
         {RED, GREEN, BLUE, WHITE, BLACK, {1, 2, 3, 255}},
         false},
    };
    for (const UncompressedCase& c : cases) {
        // A palette file gives its table, the entries it holds, in its order.
        Palette table;
        const size_t entryBytes = c.layout.headerBytes == 12 ? 3 : 4;
        for (size_t at = 0; c.layout.bits <= 8 && at + entryBytes <= c.between.size(); at += entryBytes)
            table.push_back({c.between[at + 2], c.between[at + 1], c.between[at], 255});
        const Bytes bottomUp =
            bmpFile(c.layout, int32_t(c.rows.size()), c.between, storedRows(c.rows, false));
        EXPECT_EQ(decodeBytes(ImageSourceFileBmp::create, bottomUp)->getPalette(), table) << c.name;
        for (bool topDown : {false, true}) {
            if (topDown && c.layout.headerBytes == 12) continue;
            SCOPED_TRACE(std::string(c.name) + (topDown ? ", top-down" : ", bottom-up"));
            const int32_t rows = int32_t(c.rows.size());
            const Bytes file =
                bmpFile(c.layout, topDown ? -rows : rows, c.between, storedRows(c.rows, topDown));
            const DecodedPixels d = decodePixels(ImageSourceFileBmp::create, file);
            EXPECT_EQ(d.width, c.layout.width);
            EXPECT_EQ(d.height, rows);
            EXPECT_EQ(d.alpha, c.alpha);
            EXPECT_EQ(d.pixels, c.expected);
        }
    }
}

// Pixels the run-length data leaves undrawn are transparent, as browsers show them; a file that
// draws every pixel is opaque.
TEST(BmpDecoding, RunLengthDataDrawsWithEveryEscape) {
    struct RleCase {
        const char* name;
        BmpLayout layout;
        int32_t height;
        Bytes data;
        std::vector<Pixel> expected;  // top first, for bottom-up rows
        bool alpha;
    };
    const Bytes palette = paletteOf({RED, GREEN, BLUE, WHITE});
    const RleCase cases[] = {
        {"RLE8: a run, an odd absolute run clipped at the row's end, end of line, delta, end of picture",
         {40, 4, 8, 1, 4},
         3,
         {2, 1, 0, 3, 2, 3, 0, 0, 0, 0, 0, 2, 1, 1, 1, 3, 0, 1},
         {CLEAR, WHITE, CLEAR, CLEAR, CLEAR, CLEAR, CLEAR, CLEAR, GREEN, GREEN, BLUE, WHITE},
         true},
        {"RLE4: alternating nibbles, an absolute run padded; the last row needs no end mark",
         {40, 5, 4, 2, 4},
         2,
         {0, 5, 0x01, 0x23, 0x00, 0x00, 0, 0, 5, 0x31},
         {WHITE, GREEN, WHITE, GREEN, WHITE, RED, GREEN, BLUE, WHITE, RED},
         false},
    };
    for (const RleCase& c : cases)
        for (bool topDown : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (topDown ? ", top-down" : ", bottom-up"));
            const Bytes file = bmpFile(c.layout, topDown ? -c.height : c.height, palette, c.data);
            const DecodedPixels d = decodePixels(ImageSourceFileBmp::create, file);
            EXPECT_EQ(d.alpha, c.alpha);
            EXPECT_EQ(d.pixels, topDown ? upsideDown(c.expected, size_t(c.layout.width)) : c.expected);
        }
}

TEST(BmpDecoding, BrokenFilesAreRefusedWithTheReason) {
    const Bytes palette = paletteOf({RED, GREEN});
    const Bytes rows24 =
        storedRows({{0, 0, 255, 0, 255, 0, 255, 0, 0}, {1, 2, 3, 4, 5, 6, 7, 8, 9}}, false);
    const Bytes whole24 = bmpFile({40, 3, 24}, 2, {}, rows24);
    auto withOffset = [](Bytes file, uint32_t offset) { return put32(file, 10, offset), file; };
    struct Refusal {
        const char* name;
        Bytes file;
        const char* message;
    };
    const Refusal refusals[] = {
        {"the last row one byte short of its pixels (its padding may go)",
         cutTo(whole24, whole24.size() - 4), "BMP: truncated data"},
        {"run-length data ending early", bmpFile({40, 3, 8, 1, 2}, 2, palette, {3, 1, 0, 0, 2, 1}),
         "BMP: truncated data"},
        {"a 1000 x 1000 run-length picture in 4 bytes",
         bmpFile({40, 1000, 8, 1, 2}, 1000, palette, {0, 0, 0, 1}), "BMP: truncated data"},
        {"header cut short", cutTo(whole24, 30), "BMP: truncated data"},
        {"unknown compression", bmpFile({40, 3, 24, 7}, 2, {}, rows24), "BMP: unknown compression 7"},
        {"embedded JPEG", bmpFile({40, 3, 0, 4}, 2, {}, rows24),
         "BMP: embedded JPEG data is not supported"},
        {"RLE8 of 4 bits", bmpFile({40, 3, 4, 1}, 2, palette, {0, 1}),
         "BMP: unsupported bit depth 4 for compression 1"},
        {"3 bits", bmpFile({40, 3, 3}, 2, palette, rows24), "BMP: unsupported bit depth 3"},
        {"unknown header size", bmpFile({100, 3, 24}, 2, {}, rows24), "BMP: unknown header size 100"},
        {"negative width", bmpFile({40, -3, 24}, 2, {}, rows24), "BMP: bad width -3"},
        {"pixel data offset inside the header", withOffset(whole24, 20),
         "BMP: bad pixel data offset 20"},
    };
    for (const Refusal& r : refusals)
        EXPECT_EQ(failureOf(ImageSourceFileBmp::create, r.file), r.message) << r.name;
    EXPECT_THROW(decodeBytes(ImageSourceFileBmp::create, bytesOf("BA not a bitmap")),
                 ImageIoNotThisFormatExc);
}
