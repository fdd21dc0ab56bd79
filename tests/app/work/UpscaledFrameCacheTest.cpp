#include <gtest/gtest.h>

#include "app/work/UpscaledFrameCache.h"

using loom::Surface;
using loom::app::UpscaledFrameCache;

TEST(UpscaledFrameCache, KeepsWithinTheBudgetAndOneFrameAheadBeyondIt) {
    const Surface frame(4, 4, true);  // 64 bytes
    UpscaledFrameCache cache(2 * 64);
    const UpscaledFrameCache::Key key{2, loom::PixelMatch::Seen, loom::EdgeRule::Clamp, 1};
    cache.keep(0, key, frame);
    cache.keep(1, key, Surface(4, 4, true));
    cache.keep(2, key, Surface(4, 4, true));
    EXPECT_TRUE(cache.find(1, key));
    EXPECT_FALSE(cache.find(2, key)) << "beyond the budget";

    const Surface ahead(4, 4, true);
    cache.keepAhead(2, key, ahead);
    EXPECT_TRUE(cache.find(2, key).sharesPixelsWith(ahead));
    UpscaledFrameCache::Key otherUpscaler = key;
    otherUpscaler.upscaler = 3;
    cache.keepAhead(3, otherUpscaler, Surface(4, 4, true));  // the upscaler changed meanwhile
    EXPECT_FALSE(cache.find(2, key)) << "only one frame is kept ahead";
    EXPECT_TRUE(cache.find(3, otherUpscaler));
    EXPECT_TRUE(cache.find(1, key)) << "a frame made ahead leaves those within the budget alone";
    EXPECT_FALSE(cache.find(1, otherUpscaler));

    cache.keepOnly(2);  // another file
    EXPECT_FALSE(cache.find(0, key));
    EXPECT_FALSE(cache.find(3, key));
}
