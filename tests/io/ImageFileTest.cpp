#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "image/Surface.h"
#include "io/FakeImages.h"
#include "io/ImageFile.h"
#include "io/ImageSourceSurface.h"
#include "io/TempDir.h"

using namespace loom;
using loom::test::TempDir;

namespace {

// A test picture with n distinct colours (n <= 65536), some of them translucent when alpha.
Surface makePicture(int32_t w, int32_t h, bool alpha, int colours) {
    Surface s(w, h, alpha);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            uint8_t* p = s.getData(x, y);
            const int c = (x * 7 + y * 13 + (x / 3) * (y / 2)) % colours;
            p[0] = uint8_t(c * 37), p[1] = uint8_t(c >> 8 ? c >> 8 : c * 11), p[2] = uint8_t(c * 5 + 1);
            if (alpha) p[3] = c % 5 == 0 ? 0 : (c % 7 == 0 ? 128 : 255);
        }
    return s;
}

bool samePixels(const Surface& a, const Surface& b) {
    if (a.getWidth() != b.getWidth() || a.getHeight() != b.getHeight() || a.hasAlpha() != b.hasAlpha())
        return false;
    for (int32_t y = 0; y < a.getHeight(); ++y)
        if (std::memcmp(a.getData(0, y), b.getData(0, y), size_t(a.getWidth()) * a.getPixelInc()) != 0)
            return false;
    return true;
}

std::string pngSuite(const std::string& name) {
    return std::string(LOOM_TESTDATA_DIR) + "/pngsuite/" + name;
}

std::string failureOf(const std::string& path) {
    try {
        Surface s(loadImage(path));
        return "loaded";
    } catch (const ImageIoFailedLoadExc& e) {
        return e.what();
    } catch (const std::exception& e) {
        return std::string("wrong exception: ") + e.what();
    }
}

}  // namespace

TEST(ImageFile, LosslessFormatsRoundTripEveryLayout) {
    TempDir dir;
    for (const std::string ext : {"png", "tif", "tiff", "bmp", "webp", "PNG"})
        for (bool alpha : {false, true})
            for (int colours : {2, 3, 4, 5, 16, 17, 256, 257, 5000}) {
                const Surface original = makePicture(37, 23, alpha, colours);
                const std::string path = dir / ("p." + ext);
                writeImage(path, std::make_shared<ImageSourceSurface>(original));
                const Surface loaded(loadImage(path));
                EXPECT_TRUE(samePixels(original, loaded))
                    << ext << " alpha " << alpha << " colours " << colours;
            }
    EXPECT_EQ(dir.entries().size(), 6u) << "no temporary file left behind";
}

TEST(ImageFile, JpegXrIsLosslessAtFullQualityAndCloseBelow) {
    TempDir dir;
    for (bool alpha : {false, true}) {
        const Surface original = makePicture(33, 21, alpha, 300);
        writeImage(dir / "x.wmp", std::make_shared<ImageSourceSurface>(original),
                   ImageTarget::Options().setQuality(1.0f));
        EXPECT_TRUE(samePixels(original, Surface(loadImage(dir / "x.wmp")))) << "alpha " << alpha;
        writeImage(dir / "y.WMP", std::make_shared<ImageSourceSurface>(original),
                   ImageTarget::Options().setQuality(0.9f));
        const Surface lossy(loadImage(dir / "y.WMP"));
        int worst = 0;
        for (int32_t y = 0; y < 21; ++y)
            for (int32_t i = 0; i < 33 * original.getPixelInc(); ++i)
                worst = std::max(worst,
                                 std::abs(int(original.getData(0, y)[i]) - int(lossy.getData(0, y)[i])));
        EXPECT_LE(worst, 40) << "alpha " << alpha;
    }
    EXPECT_EQ(loadImage(dir / "x.wmp")->getSampleOrder(), ImageIo::BGRA);
}

TEST(ImageFile, JpegKeepsTheImageApproximately) {
    TempDir dir;
    Surface flat(16, 16, false);
    for (int32_t y = 0; y < 16; ++y)
        for (int32_t x = 0; x < 16; ++x) std::memcpy(flat.getData(x, y), "\x40\x80\xC0", 3);
    for (const std::string ext : {"jpg", "jpeg", "jpe"}) {
        writeImage(dir / ("f." + ext), std::make_shared<ImageSourceSurface>(flat),
                   ImageTarget::Options().setQuality(0.9f));
        const Surface loaded(loadImage(dir / ("f." + ext)));
        ASSERT_EQ(loaded.getWidth(), 16);
        EXPECT_NEAR(loaded.getData(5, 5)[0], 0x40, 3);
        EXPECT_NEAR(loaded.getData(5, 5)[2], 0xC0, 3);
    }
    // Higher quality gives a larger file for a detailed picture.
    const Surface detailed = makePicture(64, 64, false, 5000);
    writeImage(dir / "lo.jpg", std::make_shared<ImageSourceSurface>(detailed),
               ImageTarget::Options().setQuality(0.2f));
    writeImage(dir / "hi.jpg", std::make_shared<ImageSourceSurface>(detailed),
               ImageTarget::Options().setQuality(1.0f));
    EXPECT_LT(std::filesystem::file_size(dir / "lo.jpg"), std::filesystem::file_size(dir / "hi.jpg"));
}

// Each picture is written in the smallest exact form for its colours and reads back unchanged.
TEST(ImageFile, PngTakesTheSmallestExactFormAndKeepsEveryPixel) {
    struct Case {
        const char* what;
        int colours;
        std::function<std::array<uint8_t, 4>(int)> colour;  // of colour number i
        int depth, colorType;
    };
    const auto opaque = [](int i) {
        return std::array<uint8_t, 4>{uint8_t(i * 37), uint8_t(i), 9, 255};
    };
    const auto holes = [](int i) {
        return std::array<uint8_t, 4>{uint8_t(i * 37), uint8_t(i), 9, uint8_t(i % 3 ? 255 : i * 5)};
    };
    const auto gray = [](int i) {
        return std::array<uint8_t, 4>{uint8_t(i), uint8_t(i), uint8_t(i), 255};
    };
    const auto grayAlpha = [](int i) {
        return std::array<uint8_t, 4>{uint8_t(i), uint8_t(i), uint8_t(i), uint8_t(i / 256 * 80 + 1)};
    };
    const auto many = [](int i) { return std::array<uint8_t, 4>{uint8_t(i), uint8_t(i >> 8), 7, 255}; };
    const auto manyAlpha = [](int i) {
        return std::array<uint8_t, 4>{uint8_t(i), uint8_t(i >> 8), 7, uint8_t(i * 3)};
    };
    const Case cases[] = {
        {"2 colours", 2, opaque, 1, 3},
        {"4 with transparency", 4, holes, 2, 3},
        {"16 with transparency", 16, holes, 4, 3},
        {"200 with transparency", 200, holes, 8, 3},
        {"10 grays", 10, gray, 4, 3},
        {"100 grays", 100, gray, 8, 0},
        {"gray and alpha", 600, grayAlpha, 8, 4},
        {"5000 colours", 5000, many, 8, 2},
        {"5000 with alpha", 5000, manyAlpha, 8, 6},
    };
    TempDir dir;
    for (const Case& c : cases) {
        Surface original(37, 23, true);  // an odd width leaves part of the last byte of a row
        for (int32_t y = 0; y < 23; ++y)
            for (int32_t x = 0; x < 37; ++x) {
                const auto rgba = c.colour((x + 37 * y) * 7919 % c.colours);
                std::memcpy(original.getData(x, y), rgba.data(), 4);
            }
        writeImage(dir / "p.png", std::make_shared<ImageSourceSurface>(original));
        const auto bytes = loom::test::readFile(dir / "p.png");
        EXPECT_EQ(bytes[24], c.depth) << c.what;
        EXPECT_EQ(bytes[25], c.colorType) << c.what;
        EXPECT_TRUE(
            samePixels(original, Surface(loadImage(dir / "p.png"), SurfaceConstraintsDefault(), true)))
            << c.what;
    }

    // 16-bit gray through the source/target layer keeps every bit.
    std::vector<uint16_t> samples = {0, 1, 256, 65535, 12345, 54321};
    auto wide = std::make_shared<loom::test::FakeSource>(3, 2, ImageIo::GRAY, ImageIo::UINT16,
                                                         ImageIo::Y, loom::test::bytesOf(samples));
    writeImage(dir / "g16.png", wide);
    ImageSourceRef back = loadImage(dir / "g16.png");
    EXPECT_EQ(back->getDataType(), ImageIo::UINT16);
    EXPECT_EQ(back->getSampleOrder(), ImageIo::Y);
    auto target =
        std::make_shared<loom::test::FakeTarget>(3, 2, ImageIo::GRAY, ImageIo::UINT16, ImageIo::Y);
    back->load(target);
    EXPECT_EQ(target->samples<uint16_t>(), samples);
}

TEST(ImageFile, MemorySourcesLoadLikeFiles) {
    TempDir dir;
    const Surface original = makePicture(9, 7, true, 40);
    for (const std::string ext : {"png", "tif", "bmp", "webp"}) {
        writeImage(dir / ("m." + ext), std::make_shared<ImageSourceSurface>(original));
        auto bytes = loom::test::readFile(dir / ("m." + ext));
        const Surface loaded(loadImage(makeBufferSource(Buffer(bytes.data(), int32_t(bytes.size())))));
        EXPECT_TRUE(samePixels(original, loaded)) << ext;
    }
}

TEST(ImageFile, PngSuiteInterlacedTwinsDecodeAlike) {
    int compared = 0;
    for (const auto& entry : std::filesystem::directory_iterator(pngSuite("primary"))) {
        const std::string name = entry.path().filename();
        if (name.rfind("basi", 0) != 0) continue;
        const Surface interlaced(loadImage(entry.path().string()));
        const Surface plain(loadImage(pngSuite("primary/basn" + name.substr(4))));
        EXPECT_TRUE(samePixels(interlaced, plain)) << name;
        ++compared;
    }
    EXPECT_GE(compared, 8);
}

TEST(ImageFile, PngSuiteLayoutsAreDescribedAsDecoded) {
    struct Case {
        const char* file;
        ImageIo::DataType type;
        ImageIo::SampleOrder order;
    };
    const Case cases[] = {
        {"primary/basn0g01.png", ImageIo::UINT8, ImageIo::Y},
        {"primary/basn4a08.png", ImageIo::UINT8, ImageIo::YA},
        {"primary/basn3p08.png", ImageIo::UINT8, ImageIo::RGB_ORDER},
        {"primary/tbbn3p08.png", ImageIo::UINT8, ImageIo::RGBA},  // palette with transparency
        {"primary/basn6a08.png", ImageIo::UINT8, ImageIo::RGBA},
        {"16bit/basn0g16.png", ImageIo::UINT16, ImageIo::Y},
        {"16bit/basn6a16.png", ImageIo::UINT16, ImageIo::RGBA},
        {"16bit/basn2c16.png", ImageIo::UINT16, ImageIo::RGB_ORDER},
    };
    for (const Case& c : cases) {
        ImageSourceRef s = loadImage(pngSuite(c.file));
        EXPECT_EQ(s->getDataType(), c.type) << c.file;
        EXPECT_EQ(s->getSampleOrder(), c.order) << c.file;
    }
    const Surface transparentPalette(loadImage(pngSuite("primary/tbbn3p08.png")));
    EXPECT_TRUE(transparentPalette.hasAlpha());
    EXPECT_EQ(transparentPalette.getData(0, 0)[3], 0) << "the transparent entry stays transparent";
}

TEST(ImageFile, BrokenFilesFailWithAReason) {
    for (const auto& entry : std::filesystem::directory_iterator(pngSuite("corrupt"))) {
        const std::string reason = failureOf(entry.path().string());
        EXPECT_NE(reason, "loaded") << entry.path();
        EXPECT_EQ(reason.find("wrong exception"), std::string::npos) << entry.path() << ": " << reason;
    }
    for (const auto& entry : std::filesystem::directory_iterator(pngSuite("iphone")))
        EXPECT_NE(failureOf(entry.path().string()), "loaded") << entry.path();

    TempDir dir;
    loom::test::writeFile(dir / "empty.png", {});
    EXPECT_EQ(failureOf(dir / "empty.png"), "the file is empty");
    loom::test::writeFile(dir / "text.png", {'h', 'e', 'l', 'l', 'o', '\n'});
    EXPECT_EQ(failureOf(dir / "text.png"), "not an image in a known format");
    EXPECT_NE(failureOf(dir / "missing.png").find("No such file"), std::string::npos);
    EXPECT_NE(failureOf(dir.path()).find("Is a directory"), std::string::npos);
}

TEST(ImageFile, TruncatedFilesOfEveryFormatFail) {
    TempDir dir;
    const Surface original = makePicture(40, 40, true, 300);
    for (const std::string ext : {"png", "tif", "bmp", "webp", "jpg", "wmp"}) {
        writeImage(dir / ("t." + ext), std::make_shared<ImageSourceSurface>(original));
        auto bytes = loom::test::readFile(dir / ("t." + ext));
        for (size_t keep : {size_t(1), size_t(10), bytes.size() / 3, bytes.size() / 2}) {
            std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + long(keep));
            loom::test::writeFile(dir / "cut", cut);
            const std::string reason = failureOf(dir / "cut");
            EXPECT_NE(reason, "loaded") << ext << " cut to " << keep;
            EXPECT_EQ(reason.find("wrong exception"), std::string::npos) << reason;
        }
    }
}

TEST(ImageFile, HugeHeadersAreRefusedBeforeAllocating) {
    // A valid PNG header declaring 200000 x 3 pixels, and nothing after it.
    std::vector<uint8_t> png = {137, 'P', 'N', 'G',  '\r', '\n', 26, '\n', 0, 0, 0, 13, 'I', 'H', 'D',
                                'R', 0,   3,   0x0D, 0x40, 0,    0,  0,    3, 8, 6, 0,  0,   0};
    png.insert(png.end(), {0, 0, 0, 0});  // CRC patched below
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 12; i < 29; ++i) {
        crc ^= png[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    crc ^= 0xFFFFFFFFu;
    png[29] = uint8_t(crc >> 24), png[30] = uint8_t(crc >> 16), png[31] = uint8_t(crc >> 8),
    png[32] = uint8_t(crc);
    TempDir dir;
    loom::test::writeFile(dir / "huge.png", png);
    EXPECT_EQ(failureOf(dir / "huge.png"),
              "image too large: 200000 x 3 pixels (the most is 32768 on a side and 268435456 in all)");

    // A BMP header declaring 30000 x 30000 pixels (900 million).
    std::vector<uint8_t> bmp(54, 0);
    bmp[0] = 'B', bmp[1] = 'M', bmp[10] = 54, bmp[14] = 40;
    bmp[18] = 0x30, bmp[19] = 0x75, bmp[22] = 0x30, bmp[23] = 0x75, bmp[26] = 1, bmp[28] = 24;
    loom::test::writeFile(dir / "huge.bmp", bmp);
    EXPECT_NE(failureOf(dir / "huge.bmp").find("image too large: 30000 x 30000"), std::string::npos)
        << failureOf(dir / "huge.bmp");

    // A 35-byte GIF whose 32768 x 8192 canvas holds one 1 x 1 frame.
    EXPECT_EQ(
        failureOf(std::string(LOOM_SOURCE_DIR) + "/fuzz/regressions/gif-huge-canvas-one-pixel-frame"),
        "GIF: not a valid picture: its 32768 x 8192 canvas is more than its 35 bytes could fill");
}

// A caller that will enlarge the picture says by how much: a result past the limits is refused
// from the header, in every reader, at exactly the limit (4 x 1 enlarged 8192 times is 32768 wide).
TEST(ImageFile, APictureWhoseResultPassesTheLimitsIsRefusedBeforeDecoding) {
    TempDir dir;
    const Surface picture = makePicture(4, 1, false, 4);
    for (const std::string ext : {"png", "tif", "bmp", "webp", "jpg", "gif", "wmp"}) {
        const std::string path = dir / ("t." + ext);
        writeImage(path, std::make_shared<ImageSourceSurface>(picture));
        EXPECT_EQ(loadImage(path, ImageSource::Options().setScale(8192))->getWidth(), 4) << ext;
        try {
            loadImage(path, ImageSource::Options().setScale(8193));
            ADD_FAILURE() << ext << " enlarged past the limits was read";
        } catch (const ImageIoFailedLoadExc& e) {
            EXPECT_NE(std::string(e.what()).find("result too large: 4 x 1 pixels enlarged 8193 times "
                                                 "would be 32772 x 8193 pixels (the most is 32768"),
                      std::string::npos)
                << ext << ": " << e.what();
        }
    }
}

TEST(ImageFile, SurfaceFromSourceFollowsTheAlphaRule) {
    auto bgra = std::make_shared<loom::test::FakeSource>(
        1, 1, ImageIo::RGB, ImageIo::UINT8, ImageIo::BGRA, std::vector<uint8_t>{1, 2, 3, 4});
    const Surface fromBgra(bgra);
    EXPECT_EQ(fromBgra.getChannelOrder().code, ChannelOrder::RGBA);
    EXPECT_EQ(std::vector<uint8_t>(fromBgra.getData(), fromBgra.getData() + 4),
              (std::vector<uint8_t>{3, 2, 1, 4}));

    auto gray = std::make_shared<loom::test::FakeSource>(1, 1, ImageIo::GRAY, ImageIo::UINT8, ImageIo::Y,
                                                         std::vector<uint8_t>{77});
    const Surface fromGray(gray);
    EXPECT_EQ(fromGray.getChannelOrder().code, ChannelOrder::RGB);
    EXPECT_EQ(std::vector<uint8_t>(fromGray.getData(), fromGray.getData() + 3),
              (std::vector<uint8_t>{77, 77, 77}));

    const Surface forcedAlpha(gray, SurfaceConstraintsDefault(), true);
    EXPECT_EQ(forcedAlpha.getData()[3], 255);
    const Surface droppedAlpha(bgra, SurfaceConstraintsDefault(), false);
    EXPECT_FALSE(droppedAlpha.hasAlpha());
}
