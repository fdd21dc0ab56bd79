#include <gtest/gtest.h>

#include "io/IconBuilder.h"
#include "io/LoadBytes.h"

using namespace loom;
using namespace loom::test;

namespace {

constexpr int W = 5, H = 3;  // rows of 5 pixels leave padding at every depth

std::vector<uint32_t> indexes(int colours) {
    std::vector<uint32_t> v;
    for (int i = 0; i < W * H; ++i) v.push_back(uint32_t(i * 7 % colours));
    return v;
}

std::vector<uint32_t> palette(int colours) {
    std::vector<uint32_t> v;
    for (int i = 0; i < colours; ++i) v.push_back(uint32_t(i * 0x3A1F09 + 0x102030) & 0xFFFFFF);
    return v;
}

std::vector<bool> ringMask() {
    std::vector<bool> m;
    for (int i = 0; i < W * H; ++i) m.push_back(i % W == 0 || i / W == 2);
    return m;
}

// The pixels a picture must read as: the palette's colour or the pixel's own, transparent where
// its own alpha says or, when it has none, where the mask says.
std::vector<uint32_t> expectedPixels(const BitmapPicture& p) {
    bool ownAlpha = false;
    for (uint32_t v : p.pixels) ownAlpha |= p.bits == 32 && (v >> 24) != 0;
    std::vector<uint32_t> out;
    for (size_t i = 0; i < p.pixels.size(); ++i) {
        const uint32_t v = p.pixels[i];
        uint32_t colour = v & 0xFFFFFF;
        if (p.bits <= 8) colour = v < p.palette.size() ? p.palette[v] : 0;
        uint32_t alpha = 0xFF;
        if (ownAlpha)
            alpha = v >> 24;
        else if (!p.transparent.empty() && p.transparent[i])
            alpha = 0;
        out.push_back(alpha << 24 | colour);
    }
    return out;
}

}  // namespace

TEST(IcoRead, BitmapPicturesOfEveryDepthWithTheirMask) {
    std::vector<uint32_t> opaque, translucent;
    for (int i = 0; i < W * H; ++i) {
        opaque.push_back(uint32_t(i * 0x0B1D27) & 0xFFFFFF);  // alpha all zero: the mask decides
        translucent.push_back(uint32_t(i * 17) << 24 | (uint32_t(i * 0x0B1D27) & 0xFFFFFF));
    }
    const BitmapPicture cases[] = {
        {W, H, 1, palette(2), indexes(2), ringMask()},
        {W, H, 4, palette(16), indexes(16), ringMask()},
        {W, H, 8, palette(3), indexes(5), ringMask()},  // indexes past the palette: black
        {W, H, 24, {}, opaque, ringMask()},
        {W, H, 32, {}, opaque, ringMask()},
        {W, H, 32, {}, translucent, ringMask()},  // its own alpha: the mask is ignored
        {W, H, 8, palette(3), indexes(3)},        // no mask at all: opaque
    };
    for (const BitmapPicture& p : cases) {
        SCOPED_TRACE(std::to_string(p.bits) + " bits" + (p.transparent.empty() ? ", no mask" : ""));
        EXPECT_EQ(argbPixels(Surface(loadBytes(iconFile({bitmapPicture(p)})))), expectedPixels(p));
    }
}

// Four pictures: 2x2, 4x4 at 4 bits, 4x4 at 32 bits, a 3x3 PNG. The most pixels win, then the
// most bits; any can be asked for by its page.
TEST(IcoRead, TheLargestPictureByDefaultAnyByItsPage) {
    Surface png(3, 3, true);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) {
            uint8_t* p = png.getData(x, y);
            p[0] = uint8_t(60 * x), p[1] = uint8_t(60 * y), p[2] = 9, p[3] = x == y ? 0 : 255;
        }
    const BitmapPicture small{2, 2, 8, palette(4), {0, 1, 2, 3}};
    const BitmapPicture sixteen{4, 4, 4, palette(16), std::vector<uint32_t>(16, 5)};
    const BitmapPicture deep{4, 4, 32, {}, std::vector<uint32_t>(16, 0x80123456)};
    for (int type : {1, 2}) {
        const std::string format = type == 1 ? "ICO" : "CUR";
        const auto file = iconFile(
            {bitmapPicture(small), bitmapPicture(sixteen), bitmapPicture(deep), pngPicture(png)}, type);
        const ImageSourceRef chosen = loadBytes(file);
        EXPECT_EQ(chosen->getPageCount(), 4) << format;
        EXPECT_EQ(argbPixels(Surface(chosen)), expectedPixels(deep)) << format;
        EXPECT_EQ(argbPixels(Surface(loadBytes(file, ImageSource::Options().setPage(1)))),
                  expectedPixels(sixteen))
            << format;
        EXPECT_EQ(argbPixels(Surface(loadBytes(file, ImageSource::Options().setPage(3)))),
                  argbPixels(png))
            << format;
        EXPECT_EQ(failureOf(file, ImageSource::Options().setPage(4)),
                  format + ": there is no picture 5: the file holds 4");
    }
}

TEST(IcoRead, BrokenFilesAreRefusedWithAClearMessage) {
    const BitmapPicture p{W, H, 8, palette(3), indexes(3), ringMask()};
    const auto good = iconFile({bitmapPicture(p), bitmapPicture(p)});
    auto outside = good;
    outside[6 + 16 + 12] = 0xF0;  // the second picture's offset past the end
    EXPECT_EQ(failureOf(outside), "ICO: bad directory entry 2");
    EXPECT_EQ(failureOf(std::vector<uint8_t>(good.begin(), good.begin() + 30)),
              "ICO: truncated directory");
    // The first picture's rows cut short (the mask may go: it is optional).
    const auto one = iconFile({bitmapPicture(p)});
    const size_t rowsEnd = 6 + 16 + 40 + 3 * 4 + 8 * H;
    for (size_t cut = 6 + 16 + 40 + 3 * 4; cut < rowsEnd; ++cut) {
        auto shortened = std::vector<uint8_t>(one.begin(), one.begin() + long(cut));
        shortened[6 + 8] = uint8_t(cut - 22);  // the directory says what is there
        ASSERT_EQ(failureOf(shortened), "ICO: truncated data") << cut;
    }
    auto huge = one;
    huge[6 + 16 + 4 + 3] = 0x40;  // 2^30 pixels wide
    EXPECT_EQ(failureOf(huge), "ICO: truncated data");
    auto deep = one;
    deep[6 + 16 + 14] = 16;
    EXPECT_EQ(failureOf(deep), "ICO: unsupported bit depth 16");
    auto png = iconFile({pngPicture(Surface(3, 3, true))});
    png.resize(png.size() - 20);
    png[6 + 8] = uint8_t(png.size() - 22);
    EXPECT_EQ(failureOf(png).rfind("ICO: PNG: ", 0), 0u) << failureOf(png);
}
