#include <gtest/gtest.h>

#include <cstring>

#include "io/LoadBytes.h"

using namespace loom;
using namespace loom::test;

namespace {

constexpr int WIDTH = 21, HEIGHT = 2;  // ILBM rows pad to 32 pixels, PBM rows to 22 bytes

struct IffPicture {
    const char* type;  // "ILBM" or "PBM "
    int planes;
    bool compressed;
    int colours;  // CMAP entries, colourOf(i) each
    int masking = 0, transparent = 0;
    uint32_t viewMode = 0;  // a CAMG chunk when not 0
};

uint32_t colourOf(int i) {
    return uint32_t(i * 37 & 255) << 16 | uint32_t(i * 91 & 255) << 8 | uint32_t(255 - i);
}

// The value of pixel (x, y): an index, or 0xRRGGBB with 24 planes.
uint32_t valueAt(const IffPicture& picture, int x, int y) {
    if (picture.planes == 24) return uint32_t(x * 11 + y) * 0x010203u & 0xFFFFFF;
    return uint32_t(x + 7 * y) % (1u << picture.planes);
}

bool maskShows(int x, int y) { return (x + y) % 3 != 0; }

void putBigEndian(std::vector<uint8_t>& out, uint32_t v, int bytes) {
    for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8) out.push_back(uint8_t(v >> shift));
}

void putChunk(std::vector<uint8_t>& out, const char* id, const std::vector<uint8_t>& data) {
    out.insert(out.end(), id, id + 4);
    putBigEndian(out, uint32_t(data.size()), 4);
    out.insert(out.end(), data.begin(), data.end());
    if (data.size() % 2) out.push_back(0);
}

std::vector<uint8_t> byteRun1(const std::vector<uint8_t>& row) {
    std::vector<uint8_t> out;
    for (size_t i = 0; i < row.size();) {
        size_t run = 1;
        while (i + run < row.size() && run < 128 && row[i + run] == row[i]) ++run;
        if (run > 1) {
            out.insert(out.end(), {uint8_t(1 - int(run)), row[i]});
            i += run;
            continue;
        }
        size_t literal = 1;
        while (i + literal < row.size() && literal < 128 &&
               (i + literal + 1 >= row.size() || row[i + literal + 1] != row[i + literal]))
            ++literal;
        out.push_back(uint8_t(literal - 1));
        out.insert(out.end(), row.begin() + long(i), row.begin() + long(i + literal));
        i += literal;
    }
    return out;
}

// Planes and padding filled with ones past the width, so padding that leaks into the picture shows.
std::vector<uint8_t> rowOf(const IffPicture& picture, int y) {
    if (picture.type[0] == 'P') {
        std::vector<uint8_t> row;
        for (int x = 0; x < WIDTH; ++x) row.push_back(uint8_t(valueAt(picture, x, y)));
        row.push_back(0xFF);
        return row;
    }
    const int planeBytes = (WIDTH + 15) / 16 * 2;
    const int planes = picture.planes + (picture.masking == 1 ? 1 : 0);
    std::vector<uint8_t> row(size_t(planeBytes * planes), 0xFF);
    for (int p = 0; p < planes; ++p)
        for (int x = 0; x < WIDTH; ++x) {
            const bool bit = p < picture.planes ? valueAt(picture, x, y) >> p & 1 : maskShows(x, y);
            if (!bit) row[size_t(p * planeBytes + x / 8)] &= uint8_t(~(0x80 >> (x % 8)));
        }
    return row;
}

std::vector<uint8_t> iff(const IffPicture& picture) {
    std::vector<uint8_t> header;
    for (int v : {WIDTH, HEIGHT, 0, 0}) putBigEndian(header, uint32_t(v), 2);
    header.insert(header.end(),
                  {uint8_t(picture.planes), uint8_t(picture.masking), uint8_t(picture.compressed), 0});
    putBigEndian(header, uint32_t(picture.transparent), 2);
    header.insert(header.end(), {1, 1, 0, WIDTH, 0, HEIGHT});
    std::vector<uint8_t> colours, body;
    for (int i = 0; i < picture.colours; ++i) putBigEndian(colours, colourOf(i), 3);
    for (int y = 0; y < HEIGHT; ++y) {
        const std::vector<uint8_t> row =
            picture.compressed ? byteRun1(rowOf(picture, y)) : rowOf(picture, y);
        body.insert(body.end(), row.begin(), row.end());
    }
    std::vector<uint8_t> form(picture.type, picture.type + 4);
    putChunk(form, "BMHD", header);
    putChunk(form, "ANNO", {'h', 'i', '!'});  // unknown, odd length
    putChunk(form, "CMAP", colours);
    if (picture.viewMode) {
        std::vector<uint8_t> camg;
        putBigEndian(camg, picture.viewMode, 4);
        putChunk(form, "CAMG", camg);
    }
    putChunk(form, "BODY", body);
    std::vector<uint8_t> file = {'F', 'O', 'R', 'M'};
    putBigEndian(file, uint32_t(form.size()), 4);
    file.insert(file.end(), form.begin(), form.end());
    return file;
}

// What each pixel must read as, from the description.
std::vector<uint32_t> expectedPixels(const IffPicture& picture) {
    std::vector<uint32_t> pixels;
    for (int y = 0; y < HEIGHT; ++y)
        for (int x = 0; x < WIDTH; ++x) {
            const uint32_t v = valueAt(picture, x, y);
            uint32_t colour = 0;
            if (picture.planes == 24)
                colour = (v & 0xFF) << 16 | (v & 0xFF00) | v >> 16;  // red is the lowest planes
            else if (int(v) < picture.colours)
                colour = colourOf(int(v));
            else if (picture.viewMode == 0x80 && v >= 32)
                colour = colourOf(int(v) - 32) >> 1 & 0x7F7F7F;  // extra half-brite
            bool shows = picture.masking != 1 || maskShows(x, y);
            if (picture.masking == 2) shows = int(v) != picture.transparent;
            pixels.push_back(uint32_t(shows ? 0xFF : 0) << 24 | colour);
        }
    return pixels;
}

}  // namespace

TEST(IffRead, PlanarAndChunkyPicturesOfAnOddWidth) {
    const IffPicture cases[] = {
        {"ILBM", 3, false, 8},       {"ILBM", 3, true, 8},
        {"PBM ", 8, true, 256},      {"PBM ", 8, false, 256},
        {"ILBM", 5, true, 3},         // entries past the colour map's end are black
        {"ILBM", 4, true, 16, 2, 2},  // index 2 transparent
        {"ILBM", 2, true, 4, 1},      // a mask plane after the colour planes
        {"ILBM", 24, true, 0},       {"ILBM", 6, true, 32, 0, 0, 0x80},  // extra half-brite
    };
    for (const IffPicture& picture : cases) {
        SCOPED_TRACE(std::string(picture.type) + " " + std::to_string(picture.planes) + " planes" +
                     (picture.compressed ? ", ByteRun1" : "") + ", masking " +
                     std::to_string(picture.masking));
        const ImageSourceRef source = loadBytes(iff(picture));
        EXPECT_EQ(source->getSampleOrder(), picture.masking ? ImageIo::RGBA : ImageIo::RGBX);
        EXPECT_EQ(argbPixels(Surface(source)), expectedPixels(picture));
    }
}

TEST(IffRead, BrokenFilesAreRefusedWithAClearMessage) {
    const std::vector<uint8_t> good = iff({"ILBM", 3, true, 8});
    const size_t body = size_t(std::search(good.begin(), good.end(), "BODY", "BODY" + 4) - good.begin());
    const size_t bodyEnd = body + 8 + (good[body + 6] << 8 | good[body + 7]);
    for (size_t cut = body + 8; cut < bodyEnd; ++cut)
        ASSERT_EQ(failureOf(std::vector<uint8_t>(good.begin(), good.begin() + long(cut))),
                  "ILBM: truncated data")
            << cut;
    EXPECT_EQ(failureOf(std::vector<uint8_t>(good.begin(), good.begin() + 30)), "ILBM: bad header");
    EXPECT_EQ(failureOf(std::vector<uint8_t>(good.begin(), good.begin() + long(body))),
              "ILBM: no BODY chunk");
    std::vector<uint8_t> huge = good;
    huge[20] = huge[21] = huge[22] = huge[23] = 0xFF;
    EXPECT_EQ(failureOf(huge), "ILBM: truncated data") << "65535 x 65535 pixels from a small body";
    EXPECT_EQ(failureOf(iff({"ILBM", 6, false, 16, 0, 0, 0x800})),
              "ILBM: hold-and-modify pictures are not supported");
    EXPECT_EQ(failureOf(iff({"PBM ", 4, false, 16})), "PBM: unsupported number of planes (4)");
}
