#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>

#include "image/Surface.h"
#include "io/FakeImages.h"
#include "io/ImageFile.h"
#include "io/ImageSourceSurface.h"
#include "io/TempDir.h"
#include "io/codec/BuiltInCodecs.h"

using namespace loom;

namespace {

std::string seed(const std::string& name) {
    return std::string(LOOM_SOURCE_DIR) + "/fuzz/seeds/" + name;
}

}  // namespace

// The fuzzer's seeds are small files of every readable format, made by another program; the open
// dialog's filter shows each of them.
TEST(ReadableFormats, EverySeedLoadsAsAnEightPixelSquareAndPassesTheOpenFilter) {
    const std::vector<std::string> filter = builtInReadExtensions();
    int loaded = 0;
    for (const auto& entry : std::filesystem::directory_iterator(seed(""))) {
        SCOPED_TRACE(entry.path().filename().string());
        const Surface s(loadImage(entry.path().string()));
        EXPECT_EQ(s.getWidth(), 8);
        EXPECT_EQ(s.getHeight(), 8);
        EXPECT_NE(std::find(filter.begin(), filter.end(), entry.path().extension().string().substr(1)),
                  filter.end());
        ++loaded;
    }
    EXPECT_GE(loaded, 20);
}

TEST(ReadableFormats, LayoutsFollowTheDecoderTable) {
    const std::map<std::string, ImageIo::SampleOrder> expected = {
        {"gray.jpg", ImageIo::Y},           {"color.jpg", ImageIo::RGB_ORDER},
        {"gray.pgm", ImageIo::Y},           {"color.ppm", ImageIo::RGB_ORDER},
        {"palette.png", ImageIo::RGBA},     {"lossless.webp", ImageIo::RGBA},
        {"lossy.webp", ImageIo::RGB_ORDER}, {"rgba.tif", ImageIo::RGBA},
        {"lossless.wmp", ImageIo::BGRA},
    };
    for (const auto& [name, order] : expected)
        EXPECT_EQ(loadImage(seed(name))->getSampleOrder(), order) << name;
}

// Indexed files give their colour table, so results can keep it; others give none.
TEST(ReadableFormats, IndexedFilesGiveTheirColourTable) {
    const std::map<std::string, bool> indexed = {
        {"palette.png", true}, {"anim.gif", true},  {"pal8.bmp", true},   {"palette.pcx", true},
        {"planar.lbm", true},  {"rgba.png", false}, {"bgr24.bmp", false}, {"image.qoi", false},
    };
    for (const auto& [name, hasTable] : indexed)
        EXPECT_EQ(loadImage(seed(name))->getPalette().empty(), !hasTable) << name;
}

TEST(ReadableFormats, GifFramesAndTransparency) {
    EXPECT_EQ(loadImage(seed("anim.gif"))->getFrameCount(), 2);
    const Surface first(loadImage(seed("anim.gif")));
    const Surface second(loadImage(seed("anim.gif"), ImageSource::Options().setIndex(1)));
    EXPECT_TRUE(first.hasAlpha()) << "the sprite's transparent background survives";
    bool differ = false;
    for (int32_t y = 0; y < 8; ++y)
        differ |= std::memcmp(first.getData(0, y), second.getData(0, y), 32) != 0;
    EXPECT_TRUE(differ) << "frame 1 is the mirrored sprite";
    EXPECT_THROW(loadImage(seed("anim.gif"), ImageSource::Options().setIndex(2)), ImageIoFailedLoadExc);
}

// Rows delivered bottom-up: the PNG writer cannot index them as they come and must fall back to
// gathering full colour, losing nothing.
class BottomUpSource : public ImageSource {
public:
    explicit BottomUpSource(const Surface& s) : surface_(s) {
        setSize(s.getWidth(), s.getHeight());
        setColorModel(RGB);
        setDataType(UINT8);
        setSampleOrder(s.hasAlpha() ? RGBA : RGB_ORDER);
    }
    void load(ImageTargetRef target) override {
        setupRowFunc(*target);
        for (int32_t y = getHeight() - 1; y >= 0; --y) processRow(*target, y, surface_.getData(0, y));
    }

private:
    Surface surface_;
};

TEST(ReadableFormats, PngWriterTakesRowsInAnyOrder) {
    loom::test::TempDir dir;
    Surface s(5, 4, true);
    for (int32_t y = 0; y < 4; ++y)
        for (int32_t x = 0; x < 5; ++x) {
            uint8_t* p = s.getData(x, y);
            p[0] = uint8_t(x * 50), p[1] = uint8_t(y * 60), p[2] = 7, p[3] = uint8_t(255 - x);
        }
    writeImage(dir / "b.png", std::make_shared<BottomUpSource>(s));
    const Surface back(loadImage(dir / "b.png"));
    for (int32_t y = 0; y < 4; ++y)
        EXPECT_EQ(std::memcmp(back.getData(0, y), s.getData(0, y), 20), 0) << y;
}
