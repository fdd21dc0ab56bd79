// The frame cache shared by the three threads that use it in the window: the pipeline's thread
// finds and keeps the frame it makes, the frame made ahead is kept from a FrameAhead, and the main
// thread finds the next frame and starts over on another file. Also built for ThreadSanitizer.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "app/work/FrameAhead.h"
#include "app/work/UpscaledFrameCache.h"

using loom::Surface;
using loom::app::FrameAhead;
using loom::app::UpscaledFrameCache;

namespace {

constexpr int32_t kFrames = 8;

UpscaledFrameCache::Key keyOf(int upscaler, uint64_t file) {
    return {upscaler, loom::PixelMatch::Seen, loom::EdgeRule::Clamp, file};
}

// A frame that tells what it was made for by its size: its index, upscaler (1, 2) and file (1, 2).
Surface madeFor(int32_t i, const UpscaledFrameCache::Key& key) {
    return Surface(1 + i, 1 + key.upscaler + 2 * int(key.file), true);
}

bool isFrameFor(const Surface& found, int32_t i, const UpscaledFrameCache::Key& key) {
    const Surface expected = madeFor(i, key);
    return found.getWidth() == expected.getWidth() && found.getHeight() == expected.getHeight();
}

}  // namespace

// Every frame found is the one made for its index and key, whoever kept it and whatever was
// forgotten meanwhile.
TEST(UpscaledFrameCacheStress, ThreeThreadsFindOnlyTheFramesMadeForWhatTheyAsk) {
    constexpr int kRounds = 20000;
    // Room for a few frames only, so that frames are also refused for the budget.
    UpscaledFrameCache cache(4 * madeFor(kFrames - 1, keyOf(2, 2)).getRowBytes() * 7);
    std::atomic<uint64_t> file{1};
    std::atomic<bool> done{false};
    std::atomic<int> wrong{0}, found{0};

    std::thread pipeline([&] {
        for (int round = 0; round < kRounds; ++round) {
            const int32_t i = round % kFrames;
            const UpscaledFrameCache::Key key = keyOf(1 + round / kFrames % 2, file);
            Surface made = cache.find(i, key);
            if (made && !isFrameFor(made, i, key)) ++wrong;
            if (!made) cache.keep(i, key, madeFor(i, key));
            made = cache.find(i, key);
            if (made) ++found;
            if (made && !isFrameFor(made, i, key)) ++wrong;
        }
        done = true;
    });

    int round = 0;
    {
        FrameAhead ahead;
        for (; !done; ++round) {
            const int32_t next = round % kFrames;
            const UpscaledFrameCache::Key key = keyOf(1 + round % 2, file);
            const Surface frame = cache.find(next, key);
            if (frame && !isFrameFor(frame, next, key)) ++wrong;
            if (!frame && ahead.idle())
                ahead.start([&cache, next, key] { cache.keepAhead(next, key, madeFor(next, key)); });
            if (round % 500 == 499) {
                file = 3 - file;  // another file opened
                cache.keepOnly(file);
            }
        }
    }
    pipeline.join();
    EXPECT_EQ(wrong, 0) << "frames found that were made for another index, upscaler or file";
    EXPECT_GT(found, 0) << "no frame was ever kept";
}
