// The fast row loops must give exactly the pixels of the per-pixel reference loops.
#include <gtest/gtest.h>

#include <random>

#include "WarpTestSupport.h"
#include "warp/BilinearWarp.h"
#include "warp/ProjectiveWarp.h"

using namespace loom;
using loom::test::firstDifference;
using loom::test::makePatternSurface;

namespace {

using WarpFunction = void (*)(const WarpQuad&, const Surface&, const WarpQuad&, const Surface&);

struct Case {
    WarpQuad destination;
    Surface source;
};

// Random quads of every kind: convex, concave, crossed, nearly degenerate, small and large, with
// corners on whole and fractional positions, and source images of several channel orders.
std::vector<Case> randomCases(int count) {
    std::mt19937 random(20261207);
    std::uniform_real_distribution<float> coordinate(-20.0f, 60.0f);
    std::uniform_int_distribution<int> size(1, 30);
    const int orders[] = {ChannelOrder::RGBA, ChannelOrder::BGRA, ChannelOrder::ARGB,
                          ChannelOrder::RGB,  ChannelOrder::BGR,  ChannelOrder::RGBX};
    std::vector<Case> cases;
    for (int i = 0; i < count; ++i) {
        std::array<Vec2f, 4> corners;
        for (Vec2f& c : corners) {
            c = Vec2f(coordinate(random), coordinate(random));
            if (i % 3 == 0) c = Vec2f(std::round(c.x), std::round(c.y));
        }
        if (i % 7 == 0) corners[2] = corners[1] + (corners[3] - corners[0]);  // parallelogram
        if (i % 11 == 0) corners[3] = corners[2] + Vec2f(1e-3f, 2e-3f);       // nearly degenerate
        if (i % 13 == 0)
            for (Vec2f& c : corners) c *= 6.0f;  // tall enough to be made in several bands of rows
        const int order = orders[i % 6];
        const bool alpha = ChannelOrder(order).hasAlpha();
        cases.push_back(
            {makeWarpQuad(corners), makePatternSurface(size(random), size(random), alpha, order)});
    }
    // Axis-aligned rectangles at integer scalings, where the guarded truncation decides most
    // pixels.
    for (int w = 1; w <= 24; w += 3)
        for (int k = 1; k <= 4; ++k)
            cases.push_back({makeWarpQuad(std::array<Vec2f, 4>{Vec2f(0, 0), Vec2f(float(w), 0),
                                                               Vec2f(float(w), float(w + 1)),
                                                               Vec2f(0, float(w + 1))}),
                             makePatternSurface(w * k, (w + 1) * k, k % 2 == 0)});
    return cases;
}

void expectSameAsReference(WarpFunction fast, WarpFunction reference, const char* name) {
    int index = 0;
    for (const Case& c : randomCases(400)) {
        const WarpQuad sourceQuad =
            quadFromRect(Rectf(0, 0, float(c.source.getWidth()), float(c.source.getHeight())));
        const int32_t w = int32_t(c.destination.bounds.x2 - c.destination.bounds.x1);
        const int32_t h = int32_t(c.destination.bounds.y2 - c.destination.bounds.y1);
        const Surface fastOut(w, h, c.source.hasAlpha());
        const Surface referenceOut(w, h, c.source.hasAlpha());
        fast(c.destination, c.source, sourceQuad, fastOut);
        reference(c.destination, c.source, sourceQuad, referenceOut);
        ASSERT_EQ(firstDifference(fastOut, referenceOut), "") << name << ", case " << index;
        ++index;
    }
}

void projectiveScalar(const WarpQuad& d, const Surface& s, const WarpQuad& q, const Surface& o) {
    warpProjective(d, s, q, o, KernelPath::Scalar);
}
void projectiveAvx2(const WarpQuad& d, const Surface& s, const WarpQuad& q, const Surface& o) {
    warpProjective(d, s, q, o, KernelPath::Avx2);
}
void bilinearScalar(const WarpQuad& d, const Surface& s, const WarpQuad& q, const Surface& o) {
    warpBilinear(d, s, q, o, KernelPath::Scalar);
}
void bilinearAvx2(const WarpQuad& d, const Surface& s, const WarpQuad& q, const Surface& o) {
    warpBilinear(d, s, q, o, KernelPath::Avx2);
}

}  // namespace

TEST(FastLoops, ProjectiveMatchesTheReference) {
    expectSameAsReference(projectiveScalar, warpProjectiveReference, "projective, scalar rows");
    if (bestKernelPath() != KernelPath::Avx2) GTEST_SKIP() << "no AVX2 on this processor";
    expectSameAsReference(projectiveAvx2, warpProjectiveReference, "projective, AVX2 rows");
}

TEST(FastLoops, BilinearMatchesTheReference) {
    expectSameAsReference(bilinearScalar, warpBilinearReference, "bilinear, scalar rows");
    if (bestKernelPath() != KernelPath::Avx2) GTEST_SKIP() << "no AVX2 on this processor";
    expectSameAsReference(bilinearAvx2, warpBilinearReference, "bilinear, AVX2 rows");
}

TEST(FastLoops, OtherOutputOrdersFallBackToTheReference) {
    const Surface source = makePatternSurface(12, 10, true);
    const WarpQuad quad =
        makeWarpQuad(std::array<Vec2f, 4>{Vec2f(0, 0), Vec2f(10, 1), Vec2f(9, 9), Vec2f(1, 8)});
    const WarpQuad sourceQuad = quadFromRect(Rectf(0, 0, 12, 10));
    const Surface fastOut(10, 9, true, ChannelOrder::BGRA);
    const Surface referenceOut(10, 9, true, ChannelOrder::BGRA);
    warpProjective(quad, source, sourceQuad, fastOut);
    warpProjectiveReference(quad, source, sourceQuad, referenceOut);
    EXPECT_EQ(firstDifference(fastOut, referenceOut), "");
}
