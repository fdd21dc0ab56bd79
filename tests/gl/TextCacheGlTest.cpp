// The caption cache draws exactly what drawString draws, and keeps only what is still drawn.
#include <gtest/gtest.h>

#include <vector>

#include "GlWindowFixture.h"
#include "gl/DrawString.h"
#include "gl/TextCache.h"
#include "io/DataSource.h"

using namespace loom;
using namespace loom::gl;

namespace {

Font pixelFont() {
    return Font(openFileSource(std::string(LOOM_SOURCE_DIR) + "/assets/font/QuennetPixel.ttf"), 10);
}

}  // namespace

class TextCacheGlTest : public GlWindowFixture {
protected:
    std::vector<Rgba> window() {
        std::vector<Rgba> pixels;
        for (int y = 0; y < HEIGHT; ++y)
            for (int x = 0; x < WIDTH; ++x) pixels.push_back(pixelAt(x, y));
        return pixels;
    }
};

TEST_F(TextCacheGlTest, CachedTextLooksExactlyLikeDrawString) {
    const Font font = pixelFont();
    gl::enableAlphaBlending(false);
    gl::drawString("Zoom 2x", Vec2f(3, 7), ColorA(1, 0.5f, 0.25f, 1), font);
    gl::drawString("Perf", Vec2f(5, 30), ColorA(1, 1, 1, 0.5f), font);
    const std::vector<Rgba> direct = window();

    gl::clearWindow(ColorA(0, 0, 0, 1), true);
    gl::TextCache cache;
    for (int frame = 0; frame < 2; ++frame) {  // the second frame reuses both textures
        gl::clearWindow(ColorA(0, 0, 0, 1), true);
        cache.drawString("Zoom 2x", Vec2f(3, 7), ColorA(1, 0.5f, 0.25f, 1), font);
        cache.drawString("Perf", Vec2f(5, 30), ColorA(1, 1, 1, 0.5f), font);
        cache.endFrame();
        EXPECT_EQ(window(), direct) << "frame " << frame;
        EXPECT_EQ(cache.size(), 2u);
    }
}

TEST_F(TextCacheGlTest, EntriesNotDrawnInAFrameAreDropped) {
    const Font font = pixelFont();
    gl::TextCache cache;
    cache.drawString("Perf: 1 ms", Vec2f(0, 10), ColorA(1, 1, 1, 1), font);
    cache.drawString("View", Vec2f(0, 20), ColorA(1, 1, 1, 1), font);
    cache.endFrame();
    cache.drawString("Perf: 2 ms", Vec2f(0, 10), ColorA(1, 1, 1, 1), font);
    cache.drawString("View", Vec2f(0, 20), ColorA(1, 1, 1, 1), font);
    cache.drawString("View", Vec2f(0, 20), ColorA(1, 0, 0, 1), font);  // another colour
    EXPECT_EQ(cache.size(), 4u);
    cache.endFrame();
    EXPECT_EQ(cache.size(), 3u) << "the old timing text is gone";
    cache.endFrame();
    EXPECT_EQ(cache.size(), 0u);
}
