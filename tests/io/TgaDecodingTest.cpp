#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "io/DecodedPixels.h"
#include "io/codec/ImageSourceFileTga.h"

using namespace loom;
using namespace loom::test;

namespace {

using Bytes = std::vector<uint8_t>;

struct TgaLayout {
    uint8_t imageType = 2;
    uint8_t pixelBits = 24;
    uint8_t descriptor = 0;  // alpha bits, right-to-left (0x10), top-down (0x20)
    uint16_t width = 3, height = 2;
    uint8_t mapEntryBits = 0;  // a colour map when not 0
    uint16_t mapFirst = 0;
    Bytes map = {};
    std::string id = {};
};

Bytes tgaFile(const TgaLayout& l, const Bytes& data) {
    const size_t entries = l.mapEntryBits ? l.map.size() / ((l.mapEntryBits + 7) / 8) : 0;
    Bytes file = {uint8_t(l.id.size()),
                  uint8_t(l.mapEntryBits ? 1 : 0),
                  l.imageType,
                  uint8_t(l.mapFirst),
                  uint8_t(l.mapFirst >> 8),
                  uint8_t(entries),
                  uint8_t(entries >> 8),
                  l.mapEntryBits,
                  0,
                  0,
                  0,
                  0,
                  uint8_t(l.width),
                  uint8_t(l.width >> 8),
                  uint8_t(l.height),
                  uint8_t(l.height >> 8),
                  l.pixelBits,
                  l.descriptor};
    for (char c : l.id) file.push_back(uint8_t(c));
    file.insert(file.end(), l.map.begin(), l.map.end());
    file.insert(file.end(), data.begin(), data.end());
    return file;
}

struct TgaCase {
    const char* name;
    TgaLayout layout;
    Bytes data;                   // as stored: for the default origin, the bottom row first
    std::vector<Pixel> expected;  // top row first
    bool alpha;
};

// Truecolour pixels as stored: B, G, R.
const Bytes BGR_ROWS = {255, 255, 255, 0, 0, 0, 3, 2, 1, 0, 0, 255, 0, 255, 0, 255, 0, 0};
const std::vector<Pixel> BGR_PIXELS = {RED, GREEN, BLUE, WHITE, BLACK, {1, 2, 3, 255}};
const Pixel GRAY132 = {132, 132, 132, 255};

}  // namespace

TEST(TgaDecoding, PixelLayoutsGiveTheirPixels) {
    const Bytes rgb24Map = {0, 0, 255, 0, 255, 0, 255, 0, 0};
    const TgaCase cases[] = {
        {"24-bit after an image ID", {2, 24, 0, 3, 2, 0, 0, {}, "id"}, BGR_ROWS, BGR_PIXELS, false},
        {"24-bit, a run-length packet running on into the next row",
         {10, 24},
         {0x83, 0, 0, 255, 0x01, 0, 255, 0, 255, 0, 0},
         {RED, GREEN, BLUE, RED, RED, RED},
         false},
        {"8-bit grey",
         {3, 8},
         {0, 128, 255, 1, 2, 3},
         {{1, 1, 1, 255}, {2, 2, 2, 255}, {3, 3, 3, 255}, BLACK, {128, 128, 128, 255}, WHITE},
         false},
        {"8-bit grey, run-length", {11, 8}, {0x85, 77}, std::vector<Pixel>(6, {77, 77, 77, 255}), false},
        {"24-bit map from index 2; indices outside it are black",
         {1, 8, 0, 3, 2, 24, 2, rgb24Map},
         {2, 3, 4, 0, 5, 4},
         {BLACK, BLACK, BLUE, RED, GREEN, BLUE},
         false},
        {"16-bit map entries with the attribute bit as alpha, run-length",
         {9, 8, 1, 3, 2, 16, 0, littleEndian16({0x7C00, 0x83E0, 0xFFFF})},
         {0x82, 1, 0x02, 0, 2, 1},
         {{255, 0, 0, 0}, WHITE, GREEN, GREEN, GREEN, GREEN},
         true},
        {"32-bit map entries with alpha",
         {1, 8, 8, 3, 2, 32, 0, {0, 0, 255, 255, 0, 255, 0, 128, 255, 0, 0, 0}},
         {0, 1, 2, 2, 1, 0},
         {{0, 0, 255, 0}, {0, 255, 0, 128}, RED, RED, {0, 255, 0, 128}, {0, 0, 255, 0}},
         true},
        {"15-bit: the top bit is no alpha",
         {2, 15, 0},
         littleEndian16({0x4210, 0x7FFF, 0x0000, 0x7C00, 0x83E0, 0x801F}),
         {RED, GREEN, BLUE, GRAY132, WHITE, BLACK},
         false},
        {"16-bit with one alpha bit",
         {2, 16, 1},
         littleEndian16({0xC210, 0x7FFF, 0x8000, 0xFC00, 0x03E0, 0x801F}),
         {RED, {0, 255, 0, 0}, BLUE, GRAY132, {255, 255, 255, 0}, BLACK},
         true},
        {"16-bit without alpha bits: the top bit is ignored",
         {2, 16, 0},
         littleEndian16({0x4210, 0x7FFF, 0x0000, 0x7C00, 0x03E0, 0x801F}),
         {RED, GREEN, BLUE, GRAY132, WHITE, BLACK},
         false},
        {"16-bit with one alpha bit, zero everywhere: opaque",
         {2, 16, 1},
         littleEndian16({0x4210, 0x7FFF, 0x0000, 0x7C00, 0x03E0, 0x001F}),
         {RED, GREEN, BLUE, GRAY132, WHITE, BLACK},
         false},
        {"32-bit with 8 alpha bits",
         {2, 32, 8},
         {255, 255, 255, 0, 0, 0, 0, 255, 3, 2, 1, 9, 0, 0, 255, 255, 0, 255, 0, 128, 255, 0, 0, 255},
         {RED, {0, 255, 0, 128}, BLUE, {255, 255, 255, 0}, BLACK, {1, 2, 3, 9}},
         true},
        {"32-bit with 8 alpha bits, zero everywhere: opaque",
         {2, 32, 8},
         {255, 255, 255, 0, 0, 0, 0, 0, 3, 2, 1, 0, 0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0},
         BGR_PIXELS,
         false},
        {"32-bit without alpha bits: the fourth byte is ignored",
         {2, 32, 0},
         {255, 255, 255, 7, 0, 0, 0, 0, 3, 2, 1, 9, 0, 0, 255, 255, 0, 255, 0, 128, 255, 0, 0, 0},
         BGR_PIXELS,
         false},
    };
    for (const TgaCase& c : cases) {
        SCOPED_TRACE(c.name);
        const DecodedPixels d = decodePixels(ImageSourceFileTga::create, tgaFile(c.layout, c.data));
        EXPECT_EQ(d.width, c.layout.width);
        EXPECT_EQ(d.height, c.layout.height);
        EXPECT_EQ(d.alpha, c.alpha);
        EXPECT_EQ(d.pixels, c.expected);
    }
}

// The same stored pixels P0 P1 / P2 P3, from each of the four corners the descriptor can name.
TEST(TgaDecoding, EveryOriginPlacesTheRowsAndColumns) {
    const Pixel p0 = RED, p1 = GREEN, p2 = BLUE, p3 = WHITE;
    const Bytes stored = {0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255};
    const struct {
        const char* name;
        uint8_t descriptor;
        std::vector<Pixel> expected;
    } origins[] = {
        {"bottom-left", 0x00, {p2, p3, p0, p1}},
        {"bottom-right", 0x10, {p3, p2, p1, p0}},
        {"top-left", 0x20, {p0, p1, p2, p3}},
        {"top-right", 0x30, {p1, p0, p3, p2}},
    };
    for (const auto& o : origins) {
        for (uint8_t type : {2, 10}) {
            const Bytes data =
                type == 2 ? stored : Bytes{0x03, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255};
            const TgaLayout layout{type, 24, o.descriptor, 2, 2};
            EXPECT_EQ(decodePixels(ImageSourceFileTga::create, tgaFile(layout, data)).pixels, o.expected)
                << o.name << (type == 10 ? ", run-length" : ", raw");
        }
    }
}

TEST(TgaDecoding, BrokenFilesAreRefusedWithTheReason) {
    const Bytes whole = tgaFile({2, 24}, BGR_ROWS);
    const Bytes mapped = tgaFile({1, 8, 0, 3, 2, 24, 0, Bytes(9, 1)}, Bytes(6, 0));
    const struct {
        const char* name;
        Bytes file;
        const char* message;
    } refusals[] = {
        {"raw pixels a byte short", cutTo(whole, whole.size() - 1), "TGA: truncated data"},
        {"run-length data ending early", tgaFile({10, 24}, {0x83, 0, 0, 255, 0x01, 0, 255, 0}),
         "TGA: truncated data"},
        {"a 1000 x 1000 run-length picture in 8 bytes",
         tgaFile({11, 8, 0, 1000, 1000}, {0xFF, 1, 0xFF, 2, 0xFF, 3, 0xFF, 4}), "TGA: truncated data"},
        {"a colour map cut short", cutTo(mapped, 22), "TGA: truncated data"},
    };
    for (const auto& r : refusals)
        EXPECT_EQ(failureOf(ImageSourceFileTga::create, r.file), r.message) << r.name;
}

// TGA has no signature: anything whose header fields do not all make sense is another format's
// data, which the registrar may still give to the next decoder.
TEST(TgaDecoding, ImplausibleHeadersAreNotTga) {
    const struct {
        const char* name;
        Bytes file;
    } foreign[] = {
        {"text", bytesOf("a line of text, long enough for a header\n")},
        {"shorter than a header", Bytes(17, 0)},
        {"colour-mapped without a map", tgaFile({1, 8}, Bytes(6, 0))},
        {"24-bit grey", tgaFile({3, 24}, BGR_ROWS)},
        {"unknown image type", tgaFile({4, 24}, BGR_ROWS)},
        {"interleaved rows", tgaFile({2, 24, 0x40}, BGR_ROWS)},
        {"no width", tgaFile({2, 24, 0, 0, 2}, {})},
    };
    for (const auto& f : foreign)
        EXPECT_THROW(decodeBytes(ImageSourceFileTga::create, f.file), ImageIoNotThisFormatExc) << f.name;
}
