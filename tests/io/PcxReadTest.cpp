#include <gtest/gtest.h>

#include "io/LoadBytes.h"
#include "io/TempDir.h"

using namespace loom;
using namespace loom::test;

namespace {

struct PcxPicture {
    int bits, planes, width, planeBytes;
    std::vector<uint8_t> lines;  // raw, one line (every plane's padded bytes) after the other
    bool vgaPalette;
    int xMin = 0, yMin = 0;
};

// A run-length coded file; runs cross from one line into the next where the bytes allow.
std::vector<uint8_t> pcx(const PcxPicture& picture) {
    const int lineBytes = picture.planeBytes * picture.planes;
    const int height = int(picture.lines.size()) / lineBytes;
    const int xMax = picture.xMin + picture.width - 1, yMax = picture.yMin + height - 1;
    std::vector<uint8_t> bytes(128, 0);
    bytes[0] = 0x0A, bytes[1] = 5, bytes[2] = 1, bytes[3] = uint8_t(picture.bits);
    const int window[4] = {picture.xMin, picture.yMin, xMax, yMax};
    for (int i = 0; i < 4; ++i)
        bytes[4 + 2 * i] = uint8_t(window[i]), bytes[5 + 2 * i] = uint8_t(window[i] >> 8);
    for (int i = 0; i < 16; ++i)  // the header's 16 colours: (16i, 16i + 1, 255 - i)
        bytes[16 + 3 * i] = uint8_t(16 * i), bytes[17 + 3 * i] = uint8_t(16 * i + 1),
                       bytes[18 + 3 * i] = uint8_t(255 - i);
    bytes[65] = uint8_t(picture.planes);
    bytes[66] = uint8_t(picture.planeBytes), bytes[67] = uint8_t(picture.planeBytes >> 8);
    for (size_t i = 0; i < picture.lines.size();) {
        size_t run = 1;
        while (i + run < picture.lines.size() && run < 63 && picture.lines[i + run] == picture.lines[i])
            ++run;
        if (run > 1 || picture.lines[i] >= 0xC0) bytes.push_back(uint8_t(0xC0 | run));
        bytes.push_back(picture.lines[i]);
        i += run;
    }
    if (picture.vgaPalette) {
        bytes.push_back(0x0C);
        for (int i = 0; i < 256; ++i) bytes.insert(bytes.end(), {uint8_t(i), uint8_t(255 - i), 7});
    }
    return bytes;
}

}  // namespace

// Each layout with its padding set to ones, which must not show.
TEST(PcxRead, EveryLayoutRunLengthCoded) {
    const struct {
        const char* name;
        PcxPicture picture;
        std::vector<uint32_t> pixels;
    } cases[] = {
        {"16 colours in 4 planes: indices 0, 5, 15",
         {1, 4, 3, 2, {0x7F, 0xFF, 0x3F, 0xFF, 0x7F, 0xFF, 0x3F, 0xFF}, false},
         {0xFF0001FF, 0xFF5051FA, 0xFFF0F1F0}},
        {"16 colours packed: indices 1, 14, 7",
         {4, 1, 3, 2, {0x1E, 0x7F}, false},
         {0xFF1011FE, 0xFFE0E1F1, 0xFF7071F8}},
        {"256 colours, palette at the end",
         {8, 1, 3, 4, {0, 200, 255, 0xEE}, true},
         {0xFF00FF07, 0xFFC83707, 0xFFFF0007}},
        {"256 colours without a palette: grey",
         {8, 1, 3, 4, {0, 200, 255, 0xEE}, false},
         {0xFF000000, 0xFFC8C8C8, 0xFFFFFFFF}},
        {"24 bits in 3 planes, two lines",
         {8,
          3,
          3,
          4,
          {1, 2, 3, 0xEE, 4, 5, 6, 0xEE, 7, 8, 9, 0xEE, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9},
          false},
         {0xFF010407, 0xFF020508, 0xFF030609, 0xFF090909, 0xFF090909, 0xFF090909}},
        {"a window away from the origin",
         {8, 1, 2, 2, {10, 20}, false, 300, 5},
         {0xFF0A0A0A, 0xFF141414}},
    };
    for (const auto& c : cases) {
        const Surface s(loadBytes(pcx(c.picture)));
        EXPECT_EQ(s.getWidth(), c.picture.width) << c.name;
        EXPECT_EQ(argbPixels(s), c.pixels) << c.name;
    }
}

// Files Pillow wrote, 21 pixels wide (the lines padded to 22 bytes): the PNG Pillow wrote of
// each picture beside it.
TEST(PcxRead, PillowFilesReadAsTheirPngTwins) {
    for (const char* name : {"mono21", "palette21", "rgb21"}) {
        const std::string base = std::string(LOOM_TESTDATA_DIR) + "/pcx/" + name;
        EXPECT_EQ(argbPixels(Surface(loadImage(base + ".pcx"))),
                  argbPixels(Surface(loadImage(base + ".png"))))
            << name;
    }
}

TEST(PcxRead, BrokenFilesAreRefusedWithAClearMessage) {
    const std::vector<uint8_t> good = readFile(std::string(LOOM_TESTDATA_DIR) + "/pcx/rgb21.pcx");
    for (size_t cut = 128; cut < good.size(); ++cut)
        ASSERT_EQ(failureOf(std::vector<uint8_t>(good.begin(), good.begin() + long(cut))),
                  "PCX: truncated data")
            << cut;
    std::vector<uint8_t> huge = pcx({8, 1, 2, 2, {1, 2}, false});
    huge[8] = 0xFE, huge[9] = huge[10] = huge[11] = 0xFF, huge[66] = huge[67] = 0xFF;
    EXPECT_EQ(failureOf(huge), "PCX: truncated data") << "65535 x 65536 pixels from two bytes";
    std::vector<uint8_t> backwards = pcx({8, 1, 2, 2, {1, 2}, false, 10});
    backwards[8] = 2;
    EXPECT_EQ(failureOf(backwards), "PCX: bad header") << "xmax before xmin";
    std::vector<uint8_t> narrow = pcx({8, 1, 2, 2, {1, 2}, false});
    narrow[66] = 1;
    EXPECT_EQ(failureOf(narrow), "PCX: bad header") << "lines shorter than the width";
    EXPECT_EQ(failureOf(pcx({2, 1, 4, 2, {1, 2}, false})),
              "PCX: unsupported layout (1 planes of 2 bits)");
}
