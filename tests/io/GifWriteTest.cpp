#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image/Surface.h"
#include "io/ImageFile.h"
#include "io/ImageSourceSurface.h"
#include "io/TempDir.h"
#include "io/codec/AnimationWriter.h"

using namespace loom;
using loom::test::TempDir;

namespace {

// A sprite of `colours` distinct colours; with alpha, colour 0 is transparency hiding a different
// colour at each pixel.
Surface makeSprite(int colours, bool alpha) {
    Surface s(29, 17, alpha);  // room for 257 colours
    for (int32_t y = 0; y < s.getHeight(); ++y)
        for (int32_t x = 0; x < s.getWidth(); ++x) {
            const int c = (y * s.getWidth() + x) % colours;
            uint8_t* p = s.getData(x, y);
            p[0] = uint8_t(c), p[1] = uint8_t(c * 3), p[2] = uint8_t(200 - c / 2);
            if (alpha && c == 0) p[0] = uint8_t(x * 9), p[1] = uint8_t(y * 5), p[3] = 0;
            if (alpha && c != 0) p[3] = 255;
        }
    return s;
}

}  // namespace

TEST(GifWrite, StillKeepsEveryPixelAndTheTransparency) {
    TempDir dir;
    for (bool alpha : {false, true})
        for (int colours : {1, 2, 3, 4, 5, 16, 17, 256}) {
            const Surface original = makeSprite(colours, alpha);
            writeImage(dir / "s.gif", std::make_shared<ImageSourceSurface>(original));
            const Surface loaded(loadImage(dir / "s.gif"));
            ASSERT_EQ(loaded.hasAlpha(), alpha) << colours;
            for (int32_t y = 0; y < original.getHeight(); ++y)
                for (int32_t x = 0; x < original.getWidth(); ++x) {
                    const uint8_t* want = original.getData(x, y);
                    const uint8_t* got = loaded.getData(x, y);
                    const bool transparent = alpha && want[3] == 0;
                    if (loaded.hasAlpha()) {
                        EXPECT_EQ(got[3], transparent ? 0 : 255);
                    }
                    if (!transparent) {
                        EXPECT_EQ(std::vector<uint8_t>(got, got + 3),
                                  std::vector<uint8_t>(want, want + 3))
                            << x << "," << y << " of " << colours << " colours, alpha " << alpha;
                    }
                }
        }
}

TEST(GifWrite, PicturesGifCannotHoldAreRefusedAndTheOldFileKept) {
    Surface translucent = makeSprite(3, true);
    translucent.getData(4, 2)[3] = 128;
    const struct {
        Surface picture;
        const char* reason;
    } cases[] = {
        {makeSprite(257, false), "more than 256 colours"},
        {makeSprite(257, true), "more than 256 colours"},  // transparency takes a colour too
        {translucent, "partly transparent"},
    };
    TempDir dir;
    const std::vector<uint8_t> old = {'o', 'l', 'd'};
    loom::test::writeFile(dir / "keep.gif", old);
    for (const auto& c : cases) {
        try {
            writeImage(dir / "keep.gif", std::make_shared<ImageSourceSurface>(c.picture));
            ADD_FAILURE() << c.reason << ": written";
        } catch (const ImageIoExc& e) {
            const std::string message = e.what();
            EXPECT_NE(message.find(c.reason), std::string::npos) << message;
            EXPECT_NE(message.find("PNG"), std::string::npos) << message;
        }
        EXPECT_EQ(loom::test::readFile(dir / "keep.gif"), old) << c.reason;
        EXPECT_EQ(dir.entries().size(), 1u) << "no temporary file left behind";
    }
}

// A table given with the picture is kept, in its order, while it holds every colour; the first
// colour it lacks (here in the last row) renumbers the rows written by the colours they use.
TEST(GifWrite, ASourceTableIsKeptWhileItHoldsEveryColour) {
    TempDir dir;
    const Palette table = {{9, 9, 9, 255}, {200, 0, 0, 255}, {0, 0, 200, 255}};
    Surface s(4, 3, false);
    for (int32_t y = 0; y < 3; ++y)
        for (int32_t x = 0; x < 4; ++x) {
            const auto& c =
                y == 2 && x == 3 ? Palette::value_type{1, 2, 3, 255} : table[size_t(2 - (x + y) % 2)];
            std::copy(c.begin(), c.begin() + 3, s.getData(x, y));
        }
    for (int32_t rows : {2, 3}) {
        const Surface picture(s.getWidth(), rows, false);
        for (int32_t y = 0; y < rows; ++y)
            std::copy(s.getData(0, y), s.getData(0, y) + 12, picture.getData(0, y));
        writeImage(dir / "t.gif", std::make_shared<ImageSourceSurface>(picture),
                   ImageTarget::Options().setPalette(table));
        const ImageSourceRef written = loadImage(dir / "t.gif");
        const Palette kept(written->getPalette().begin(), written->getPalette().begin() + 3);
        EXPECT_EQ(kept == table, rows == 2) << rows << " rows";
        const Surface loaded(written);
        for (int32_t y = 0; y < rows; ++y)
            for (int32_t x = 0; x < 4; ++x)
                EXPECT_EQ(std::vector<uint8_t>(loaded.getData(x, y), loaded.getData(x, y) + 3),
                          std::vector<uint8_t>(picture.getData(x, y), picture.getData(x, y) + 3))
                    << x << "," << y << " of " << rows << " rows";
    }
}

// GIF holds delays up to 655.35 s: a longer one is shortened to that, and the writer says so.
TEST(GifWrite, DelaysLongerThanGifHoldsAreShortenedAndTold) {
    const std::string most = " to 655350 ms, the longest a GIF holds";
    const struct {
        std::vector<int32_t> delays;
        std::string note;
    } cases[] = {
        {{655354, 100}, ""},  // rounds to the most GIF holds
        {{655355, 100}, "a frame's delay of 655355 ms was shortened" + most},
        {{700000, 100, 2000000000}, "2 frames' delays (up to 2000000000 ms) were shortened" + most},
    };
    TempDir dir;
    for (const auto& c : cases) {
        const auto writer = openAnimationWriter(dir / "long.gif", 0);
        for (int32_t delay : c.delays)
            writer->addFrame(std::make_shared<ImageSourceSurface>(Surface(2, 2, false)), delay);
        writer->finish();
        EXPECT_EQ(writer->note(), c.note);
        const ImageSourceRef written = loadImage(dir / "long.gif");
        EXPECT_EQ(written->getFrameDelayMs(), 655350) << c.note;
    }
}
