#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <stdexcept>

#include "WarpTestSupport.h"
#include "image/ImageLimits.h"
#include "warp/PixelAccess.h"
#include "warp/TransformCatalogue.h"
#include "warp/Warp.h"

using namespace loom;
using loom::test::makePatternSurface;

namespace {

WarpQuad rectangleQuad(float width, float height) {
    return makeWarpQuad(
        std::array<Vec2f, 4>{Vec2f(0, 0), Vec2f(width, 0), Vec2f(width, height), Vec2f(0, height)});
}

// Checks that output pixel (x, y) holds source pixel (x * num / den, y * num / den), integer
// division, for every pixel; returns the first mismatch or "".
std::string sampledAtScale(const Surface& output, const Surface& source, int num, int den) {
    for (int32_t y = 0; y < output.getHeight(); ++y)
        for (int32_t x = 0; x < output.getWidth(); ++x)
            if (!(readPixelClamped(output, x, y) ==
                  readPixelClamped(source, x * num / den, y * num / den)))
                return "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
    return "";
}

bool isClear(const Surface& s, int32_t x, int32_t y) {
    const Rgba c = readPixelClamped(s, x, y);
    return c.r == 0 && c.g == 0 && c.b == 0 && (c.a == 0 || !s.hasAlpha());
}

}  // namespace

TEST(TransformCatalogue, NamesAndIds) {
    const auto& catalogue = transformCatalogue();
    ASSERT_EQ(catalogue.size(), 3u);
    EXPECT_STREQ(catalogue[0].name, "None");
    EXPECT_STREQ(catalogue[1].name, "Projective");
    EXPECT_STREQ(catalogue[2].name, "Bilinear");
    for (int i = 0; i < 3; ++i) EXPECT_EQ(catalogue[i].id, i);
    EXPECT_EQ(findTransform("Projective"), 1);
    EXPECT_EQ(findTransform("projective"), -1) << "names match exactly";
    EXPECT_EQ(findTransform(""), -1);
}

TEST(WarpQuad, BuildersMeasureFromTheBoundingRectangle) {
    const WarpQuad q =
        makeWarpQuad(std::array<Vec2f, 4>{Vec2f(10, 5), Vec2f(30, 8), Vec2f(25, 40), Vec2f(4, 20)});
    EXPECT_EQ(q.bounds, Rectf(4, 5, 30, 40));
    EXPECT_EQ(q.corners[0], Vec2f(6, 0));
    EXPECT_EQ(q.corners[3], Vec2f(0, 15));

    const WarpQuad r = quadFromRect(Rectf(2, 3, 12, 8));
    EXPECT_EQ(r.bounds, Rectf(2, 3, 12, 8));
    EXPECT_EQ(r.corners[1], Vec2f(10, 0));
    EXPECT_EQ(r.corners[2], Vec2f(10, 5));
}

TEST(Warp, NoneSharesTheSourcePixels) {
    const Surface source = makePatternSurface(8, 6, true);
    const Surface result = warp(TRANSFORM_NONE, source, rectangleQuad(3, 3));
    EXPECT_TRUE(result.sharesPixelsWith(source));
}

TEST(Warp, OutputSizeAndAlphaFollowTheQuadAndSource) {
    const Surface withAlpha = makePatternSurface(20, 16, true);
    const Surface result = warp(TRANSFORM_PROJECTIVE, withAlpha, rectangleQuad(10.9f, 8.2f));
    EXPECT_EQ(result.getWidth(), 10) << "truncated toward zero";
    EXPECT_EQ(result.getHeight(), 8);
    EXPECT_TRUE(result.hasAlpha());

    Surface premultiplied = makePatternSurface(4, 4, true);
    premultiplied.setPremultiplied(true);
    EXPECT_TRUE(warp(TRANSFORM_BILINEAR, premultiplied, rectangleQuad(3, 3)).isPremultiplied());

    const Surface noAlpha = makePatternSurface(20, 16, false, ChannelOrder::BGR);
    const Surface rgb = warp(TRANSFORM_BILINEAR, noAlpha, rectangleQuad(10, 8));
    EXPECT_FALSE(rgb.hasAlpha());
    EXPECT_EQ(rgb.getChannelOrder().code, ChannelOrder::RGB);
    EXPECT_EQ(sampledAtScale(rgb, noAlpha, 2, 1), "") << "channels reordered into RGB";
}

TEST(Warp, UnmovedQuadSamplesEveryOtherEnlargedPixel) {
    // The exact mapping lands on enlarged pixel (2x, 2y); single-precision rounding used to land
    // a hair short and shift the image by one pixel for sizes such as 20 x 20.
    for (int h = 1; h <= 40; ++h) {
        for (int w = 1; w <= 40; ++w) {
            const Surface enlarged = makePatternSurface(2 * w, 2 * h, (w + h) % 2 == 0);
            const WarpQuad quad = rectangleQuad(float(w), float(h));
            for (int id : {TRANSFORM_PROJECTIVE, TRANSFORM_BILINEAR}) {
                const Surface out = warp(id, enlarged, quad);
                ASSERT_EQ(out.getWidth(), w);
                ASSERT_EQ(out.getHeight(), h);
                ASSERT_EQ(sampledAtScale(out, enlarged, 2, 1), "")
                    << "transform " << id << ", image " << w << " x " << h;
            }
        }
    }
}

TEST(Warp, ExactIntegerScalingsSampleWholePixels) {
    for (int k = 1; k <= 5; ++k) {
        for (int size : {3, 7, 10, 20, 33}) {
            // Reduction: the source is k times the quad.
            const Surface big = makePatternSurface(size * k, size * k + k, true);
            const WarpQuad small = rectangleQuad(float(size), float(size + 1));
            // Magnification: the quad is k times the source; pixel x samples x / k.
            const Surface little = makePatternSurface(size, size + 2, false);
            const WarpQuad large = rectangleQuad(float(size * k), float((size + 2) * k));
            for (int id : {TRANSFORM_PROJECTIVE, TRANSFORM_BILINEAR}) {
                EXPECT_EQ(sampledAtScale(warp(id, big, small), big, k, 1), "")
                    << "transform " << id << " reduces by " << k << ", size " << size;
                EXPECT_EQ(sampledAtScale(warp(id, little, large), little, 1, k), "")
                    << "transform " << id << " enlarges by " << k << ", size " << size;
            }
        }
    }
}

TEST(Warp, OutsideATrapezoidIsBlackAndTransparent) {
    const Surface source = makePatternSurface(40, 40, true);
    // Top edge 40 wide, bottom edge 20 wide, centred.
    const WarpQuad trapezoid =
        makeWarpQuad(std::array<Vec2f, 4>{Vec2f(0, 0), Vec2f(40, 0), Vec2f(30, 40), Vec2f(10, 40)});
    for (int id : {TRANSFORM_PROJECTIVE, TRANSFORM_BILINEAR}) {
        const Surface out = warp(id, source, trapezoid);
        ASSERT_EQ(out.getWidth(), 40);
        EXPECT_TRUE(isClear(out, 0, 38)) << "bottom-left triangle, transform " << id;
        EXPECT_TRUE(isClear(out, 39, 38)) << "bottom-right triangle, transform " << id;
        EXPECT_FALSE(isClear(out, 20, 20)) << "inside, transform " << id;
        EXPECT_EQ(readPixelClamped(out, 0, 0), readPixelClamped(source, 0, 0));
        // Every row: outside pixels only at the ends, inside pixels between the slanted edges.
        for (int32_t y = 0; y < 40; ++y) {
            const float left = y * 10.0f / 40.0f;
            for (int32_t x = 0; x < 40; ++x) {
                if (x < left - 1.0f || x > 40 - left + 1.0f) {
                    EXPECT_TRUE(isClear(out, x, y)) << x << ", " << y << ", transform " << id;
                } else if (x > left + 1.0f && x < 40 - left - 1.0f) {
                    EXPECT_GE(readPixelClamped(out, x, y).a, 192)
                        << "alpha copied from the source at " << x << ", " << y;
                }
            }
        }
    }
}

TEST(Warp, DegenerateQuadsGiveCleanResults) {
    const Surface source = makePatternSurface(16, 16, true);
    // Corners 1, 2 and 3 on one line: the square-to-quad division by zero gives no finite mapping.
    const WarpQuad collinear =
        makeWarpQuad(std::array<Vec2f, 4>{Vec2f(0, 10), Vec2f(10, 0), Vec2f(20, 0), Vec2f(30, 0)});
    const Surface projective = warp(TRANSFORM_PROJECTIVE, source, collinear);
    ASSERT_EQ(projective.getWidth(), 30);
    ASSERT_EQ(projective.getHeight(), 10);
    for (int32_t y = 0; y < 10; ++y)
        for (int32_t x = 0; x < 30; ++x) ASSERT_TRUE(isClear(projective, x, y)) << x << ", " << y;
    EXPECT_NO_THROW(warp(TRANSFORM_BILINEAR, source, collinear));

    const Vec2f p(7.5f, 3.25f);
    const WarpQuad point = makeWarpQuad(std::array<Vec2f, 4>{p, p, p, p});
    for (int id : {TRANSFORM_PROJECTIVE, TRANSFORM_BILINEAR}) {
        const Surface out = warp(id, source, point);
        EXPECT_EQ(out.getWidth(), 0);
        EXPECT_EQ(out.getHeight(), 0);
    }

    // All corners on one slanted line: a zero-area quad with a non-empty bounding rectangle.
    const WarpQuad line =
        makeWarpQuad(std::array<Vec2f, 4>{Vec2f(0, 0), Vec2f(4, 3), Vec2f(8, 6), Vec2f(12, 9)});
    for (int id : {TRANSFORM_PROJECTIVE, TRANSFORM_BILINEAR}) {
        const Surface out = warp(id, source, line);
        EXPECT_EQ(out.getWidth(), 12);
        EXPECT_TRUE(isClear(out, 11, 0)) << "off the line, transform " << id;
    }
}

TEST(Warp, RefusesHugeQuadsAndUnknownIds) {
    const Surface source = makePatternSurface(4, 4, true);
    EXPECT_THROW(warp(TRANSFORM_PROJECTIVE, source, rectangleQuad(1e6f, 1e6f)), ImageTooLargeExc);
    EXPECT_THROW(warp(TRANSFORM_BILINEAR, source, rectangleQuad(40000, 2)), ImageTooLargeExc);
    EXPECT_THROW(warp(TRANSFORM_BILINEAR, source, rectangleQuad(3e38f, 3e38f)), ImageTooLargeExc);
    EXPECT_THROW(warp(3, source, rectangleQuad(4, 4)), std::invalid_argument);
    EXPECT_THROW(warp(TRANSFORM_PROJECTIVE, Surface(), rectangleQuad(4, 4)), std::invalid_argument);
}

TEST(Warp, BilinearTrapezoidsWithFractionalCornersHaveNoHoles) {
    // Top and bottom edges parallel: the patch equation's quadratic term is zero, and rounding
    // leaves a residue of it at some pixels. Those must still find their source pixel.
    const Surface source = makePatternSurface(64, 64, true);
    int holes = 0;
    for (int i = 0; i < 40; ++i) {
        const float x1 = 40.1f + i * 0.37f, x2 = 30.2f + i * 0.11f, x3 = 10.05f - i * 0.13f;
        const float height = 40.3f + i * 0.29f;
        const WarpQuad trapezoid = makeWarpQuad(
            std::array<Vec2f, 4>{Vec2f(0, 0), Vec2f(x1, 0), Vec2f(x2, height), Vec2f(x3, height)});
        const Surface out = warp(TRANSFORM_BILINEAR, source, trapezoid);
        const float left0 = std::min(0.0f, x3);
        for (int32_t y = 1; y + 1 < out.getHeight(); ++y) {
            const float t = y / height;
            const float left = t * x3 - left0, right = x1 + t * (x2 - x1) - left0;
            for (int32_t x = int32_t(left) + 2; x + 2 < right; ++x) holes += isClear(out, x, y);
        }
    }
    EXPECT_EQ(holes, 0);
}

TEST(Warp, PaddedSourceRowsAndNonFiniteCorners) {
    // Rows padded to a multiple of 4 bytes: BGR, 5 pixels = 15 bytes, stride 16.
    Surface padded(5, 4, false, SurfaceConstraintsTextRaster());
    ASSERT_EQ(padded.getRowBytes(), 16);
    for (int32_t y = 0; y < 4; ++y)
        for (int32_t x = 0; x < 5; ++x)
            writePixelClamped(padded, x, y, Rgba{uint8_t(x * 40), uint8_t(y * 60), 7, 255});
    for (int id : {TRANSFORM_PROJECTIVE, TRANSFORM_BILINEAR}) {
        const Surface out = warp(id, padded, rectangleQuad(10, 8));
        EXPECT_EQ(sampledAtScale(out, padded, 1, 2), "") << "transform " << id;
    }

    const float nan = std::numeric_limits<float>::quiet_NaN();
    const WarpQuad broken =
        makeWarpQuad(std::array<Vec2f, 4>{Vec2f(nan, 0), Vec2f(10, nan), Vec2f(10, 10), Vec2f(0, 10)});
    for (int id : {TRANSFORM_PROJECTIVE, TRANSFORM_BILINEAR}) {
        Surface out;
        EXPECT_NO_THROW(out = warp(id, padded, broken));
        for (int32_t y = 0; y < out.getHeight(); ++y)
            for (int32_t x = 0; x < out.getWidth(); ++x)
                EXPECT_TRUE(isClear(out, x, y)) << "a non-finite mapping is outside";
    }
}
