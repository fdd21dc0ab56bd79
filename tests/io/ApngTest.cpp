#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <string>
#include <vector>

#include "image/Surface.h"
#include "io/DecodedPixels.h"
#include "io/ImageFile.h"
#include "io/ImageSourceSurface.h"
#include "io/TempDir.h"
#include "io/codec/AnimationWriter.h"
#include "io/codec/ImageSourceFilePng.h"

using namespace loom;
using loom::test::Pixel;
using loom::test::TempDir;

namespace {

constexpr int CANVAS = 4;
enum Dispose : uint8_t { NONE, BACKGROUND, PREVIOUS };
enum Blend : uint8_t { SOURCE, OVER };

struct FrameSpec {
    int width, height, left, top;
    uint16_t delayNumerator, delayDenominator;
    Dispose dispose;
    Blend blend;
    Pixel (*colour)(int x, int y);  // the frame's own pixels
    int delayMs;                    // what the delay comes to
};

// Frames that overlap, with every disposal and blending: a half-transparent frame over opaque
// pixels and over cleared ones, a transparent pixel over a drawn one.
const std::vector<FrameSpec> FRAMES = {
    {4, 4, 0, 0, 1, 10, NONE, SOURCE,
     [](int x, int y) {
         return Pixel{uint8_t(60 * x), uint8_t(60 * y), 9, 255};
     },
     100},
    {2, 2, 1, 1, 3, 0, PREVIOUS, OVER,
     [](int x, int) {
         return Pixel{0, 250, 0, uint8_t(x ? 128 : 0)};
     },
     30},
    {2, 3, 2, 0, 250, 1000, BACKGROUND, SOURCE,
     [](int x, int y) {
         return Pixel{0, 0, 255, uint8_t(x + y ? 255 : 0)};
     },
     250},
    {3, 2, 1, 1, 1, 3, NONE, OVER,
     [](int x, int y) {
         return Pixel{200, 100, 50, uint8_t(x == y ? 255 : 77)};
     },
     333},
};

void appendBig32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(v >> shift));
}

void appendChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
    appendBig32(out, uint32_t(data.size()));
    std::vector<uint8_t> typed(type, type + 4);
    typed.insert(typed.end(), data.begin(), data.end());
    out.insert(out.end(), typed.begin(), typed.end());
    appendBig32(out, uint32_t(crc32(0, typed.data(), uInt(typed.size()))));
}

std::vector<uint8_t> compressedPixels(const FrameSpec& f) {
    std::vector<uint8_t> raw;
    for (int y = 0; y < f.height; ++y) {
        raw.push_back(0);  // no filter
        for (int x = 0; x < f.width; ++x) {
            const Pixel p = f.colour(x, y);
            raw.insert(raw.end(), p.begin(), p.end());
        }
    }
    std::vector<uint8_t> out(compressBound(uLong(raw.size())));
    uLongf size = uLongf(out.size());
    compress(out.data(), &size, raw.data(), uLong(raw.size()));
    out.resize(size);
    return out;
}

// An RGBA APNG of the frames, byte by byte. The first frame is also the default image, unless a
// separate one is given: an IDAT of its own before the first frame's control.
std::vector<uint8_t> apngOf(const std::vector<FrameSpec>& frames, uint32_t plays, uint32_t announced,
                            const FrameSpec* separateDefault = nullptr) {
    std::vector<uint8_t> file = {137, 'P', 'N', 'G', '\r', '\n', 26, '\n'}, data;
    appendBig32(data, CANVAS), appendBig32(data, CANVAS);
    data.insert(data.end(), {8, 6, 0, 0, 0});
    appendChunk(file, "IHDR", data);
    data.clear(), appendBig32(data, announced), appendBig32(data, plays);
    appendChunk(file, "acTL", data);
    if (separateDefault) appendChunk(file, "IDAT", compressedPixels(*separateDefault));
    uint32_t sequence = 0;
    for (size_t i = 0; i < frames.size(); ++i) {
        const FrameSpec& f = frames[i];
        data.clear();
        for (int v : {int(sequence++), f.width, f.height, f.left, f.top}) appendBig32(data, uint32_t(v));
        data.insert(data.end(),
                    {uint8_t(f.delayNumerator >> 8), uint8_t(f.delayNumerator),
                     uint8_t(f.delayDenominator >> 8), uint8_t(f.delayDenominator), f.dispose, f.blend});
        appendChunk(file, "fcTL", data);
        data.clear();
        const bool isDefault = i == 0 && !separateDefault;
        if (!isDefault) appendBig32(data, sequence++);
        const std::vector<uint8_t> pixels = compressedPixels(f);
        data.insert(data.end(), pixels.begin(), pixels.end());
        appendChunk(file, isDefault ? "IDAT" : "fdAT", data);
    }
    appendChunk(file, "IEND", {});
    return file;
}

// The canvases a viewer shows, composed here pixel by pixel.
std::vector<std::vector<Pixel>> composed(const std::vector<FrameSpec>& frames) {
    std::vector<Pixel> canvas(CANVAS * CANVAS, loom::test::CLEAR);
    std::vector<std::vector<Pixel>> shown;
    for (const FrameSpec& f : frames) {
        const std::vector<Pixel> before = canvas;
        for (int y = 0; y < f.height; ++y)
            for (int x = 0; x < f.width; ++x) {
                Pixel& d = canvas[size_t((f.top + y) * CANVAS + f.left + x)];
                const Pixel s = f.colour(x, y);
                if (f.blend == SOURCE || s[3] == 255 || d[3] == 0) {
                    d = s;
                } else if (s[3] > 0) {
                    EXPECT_EQ(d[3], 255) << "the frames blend only over opaque or cleared pixels";
                    for (int c = 0; c < 3; ++c)
                        d[size_t(c)] =
                            uint8_t((s[size_t(c)] * s[3] + d[size_t(c)] * (255 - s[3])) / 255);
                }
            }
        shown.push_back(canvas);
        for (int y = 0; y < f.height; ++y)
            for (int x = 0; x < f.width; ++x) {
                const size_t i = size_t((f.top + y) * CANVAS + f.left + x);
                if (f.dispose == BACKGROUND) canvas[i] = loom::test::CLEAR;
                if (f.dispose == PREVIOUS) canvas[i] = before[i];
            }
    }
    return shown;
}

std::vector<Pixel> pixelsOf(const ImageSourceRef& source) {
    const Surface s(source, SurfaceConstraintsDefault(), true);
    std::vector<Pixel> pixels;
    for (int32_t y = 0; y < s.getHeight(); ++y)
        for (int32_t x = 0; x < s.getWidth(); ++x) {
            const uint8_t* p = s.getData(x, y);
            pixels.push_back({p[0], p[1], p[2], p[3]});
        }
    return pixels;
}

// Every frame as composed, its delay and the looping.
void expectAnimation(const ImageSourceRef& source, int32_t loopCount) {
    const std::vector<std::vector<Pixel>> shown = composed(FRAMES);
    ASSERT_EQ(source->getFrameCount(), int32_t(FRAMES.size()));
    EXPECT_EQ(source->getLoopCount(), loopCount);
    for (size_t f = 0; f < FRAMES.size(); ++f) {
        EXPECT_EQ(pixelsOf(source), shown[f]) << "frame " << f;
        EXPECT_EQ(source->getFrameDelayMs(), FRAMES[f].delayMs) << "frame " << f;
        EXPECT_EQ(source->nextFrame(), f + 1 < FRAMES.size());
    }
}

}  // namespace

TEST(Apng, FramesAreComposedAndKeptThroughWriting) {
    TempDir dir;
    // Shown 3 times is repeated twice; 1 is once; 0 for ever.
    for (auto [plays, repeats] : {std::pair{3u, 2}, std::pair{1u, -1}, std::pair{0u, 0}}) {
        loom::test::writeFile(dir / "in.png", apngOf(FRAMES, plays, uint32_t(FRAMES.size())));
        const ImageSourceRef input = loadImage(dir / "in.png");
        expectAnimation(input, repeats);

        const ImageSourceRef again = loadImage(dir / "in.png");
        const auto writer = openAnimationWriter(dir / "out.png", again->getLoopCount());
        ASSERT_TRUE(writer);
        do writer->addFrame(again, again->getFrameDelayMs());
        while (again->nextFrame());
        writer->finish();
        expectAnimation(loadImage(dir / "out.png"), repeats);
    }
}

// The default image shows only where animations do not play: the frames are the fcTL ones, the
// first drawn from the first fdAT.
TEST(Apng, ASeparateDefaultImageIsNoFrame) {
    const FrameSpec grey = {
        CANVAS, CANVAS, 0, 0, 1, 1, NONE, SOURCE, [](int, int) {
                                return Pixel{128, 128, 128, 255}; },
        1000};
    expectAnimation(loom::test::decodeBytes(ImageSourceFilePng::create,
                                            apngOf(FRAMES, 0, uint32_t(FRAMES.size()), &grey)),
                    0);
}

TEST(Apng, AStillPictureGainsNoAnimationChunk) {
    TempDir dir;
    writeImage(dir / "still.png", std::make_shared<ImageSourceSurface>(Surface(3, 2, true)));
    const std::vector<uint8_t> bytes = loom::test::readFile(dir / "still.png");
    const std::string acTL = "acTL";
    EXPECT_EQ(std::search(bytes.begin(), bytes.end(), acTL.begin(), acTL.end()), bytes.end());
    EXPECT_EQ(loadImage(dir / "still.png")->getFrameCount(), 1);
}

TEST(Apng, BrokenAnimationsAreRefusedSayingWhy) {
    const std::vector<uint8_t> good = apngOf(FRAMES, 0, uint32_t(FRAMES.size()));
    const std::string fdAT = "fdAT";
    const size_t lastData =
        size_t(std::find_end(good.begin(), good.end(), fdAT.begin(), fdAT.end()) - good.begin());
    std::vector<uint8_t> badCrc = good;
    badCrc[lastData + 8] ^= 1;
    std::vector<FrameSpec> outside = FRAMES;
    outside[2].left = 3;
    const struct {
        std::vector<uint8_t> bytes;
        std::string message;
    } cases[] = {
        {badCrc, "PNG: damaged fdAT chunk (its CRC does not match)"},
        {apngOf(outside, 0, uint32_t(FRAMES.size())),
         "PNG: frame 3 (2 x 3 at 3, 0) lies outside the 4 x 4 canvas"},
        {apngOf(FRAMES, 0, 3), "PNG: more frames than the 3 announced"},
        {apngOf(FRAMES, 0, 5), "PNG: the animation announces 5 frames but holds 4"},
        {loom::test::cutTo(good, lastData + 10), "PNG: truncated fdAT chunk"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(loom::test::failureOf(ImageSourceFilePng::create, c.bytes), c.message);
}
