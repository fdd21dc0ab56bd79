// The renderer's default view: one unit per window pixel, origin top-left, y down.
#include <gtest/gtest.h>

#include "framework/RendererGl.h"

using namespace loom;
using namespace loom::framework;

namespace {

// Window position (x, y) on the z = 0 plane to normalised device coordinates.
Vec3f toDevice(int width, int height, float x, float y) {
    Matrix44f m =
        RendererGl::windowProjection(width, height) * RendererGl::windowModelView(width, height);
    return m.transformPoint(Vec3f(x, y, 0.0f));
}

}  // namespace

TEST(WindowMatrices, TheWindowsCornersLandOnTheViewportsCorners) {
    for (auto size : {std::pair<int, int>(640, 480), {800, 600}, {1, 1}, {1920, 200}}) {
        int w = size.first;
        int h = size.second;
        Vec3f topLeft = toDevice(w, h, 0, 0);
        Vec3f bottomRight = toDevice(w, h, float(w), float(h));
        EXPECT_NEAR(topLeft.x, -1.0f, 1e-5f) << w << "x" << h;
        EXPECT_NEAR(topLeft.y, 1.0f, 1e-5f) << "y grows downwards";
        EXPECT_NEAR(bottomRight.x, 1.0f, 1e-5f);
        EXPECT_NEAR(bottomRight.y, -1.0f, 1e-5f);
        EXPECT_GT(topLeft.z, -1.0f) << "the z = 0 plane lies between the clip planes";
        EXPECT_LT(topLeft.z, 1.0f);
    }
    // The centre of the bottom-right pixel of an 800 x 600 window.
    Vec3f pixel = toDevice(800, 600, 799.5f, 599.5f);
    EXPECT_NEAR((pixel.x + 1) * 400, 799.5f, 1e-3f);
    EXPECT_NEAR((1 - pixel.y) * 300, 599.5f, 1e-3f);
}

TEST(WindowMatrices, AntiAliasingLevelsAskForTheirSampleCounts) {
    const int samples[] = {0, 2, 4, 6, 8, 16, 32};
    for (int level = 0; level <= 6; ++level)
        EXPECT_EQ(RendererGl::samplesForLevel(level), samples[level]);
    EXPECT_EQ(RendererGl::samplesForLevel(-1), 0);
    EXPECT_EQ(RendererGl(RendererGl::AA_NONE).getAntiAliasing(), 0);
    EXPECT_EQ(RendererGl().getAntiAliasing(), RendererGl::AA_MSAA_16) << "the search starts at 16";
}
