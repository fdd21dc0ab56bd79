#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "app/document/Animation.h"
#include "io/ImageSourceSurface.h"

using loom::ImageSourceSurface;
using loom::Surface;
using loom::app::Animation;

namespace {

// One-pixel frames with the given delays.
class FramesWithDelays : public ImageSourceSurface {
public:
    explicit FramesWithDelays(std::vector<int32_t> delays)
        : ImageSourceSurface(Surface(1, 1, false)), delays_(std::move(delays)) {}
    bool nextFrame() override {
        if (index_ + 1 >= delays_.size()) return false;
        ++index_;
        return true;
    }
    int32_t getFrameDelayMs() const override { return delays_[index_]; }

private:
    std::vector<int32_t> delays_;
    size_t index_ = 0;
};

}  // namespace

// Delays under 20 ms play as 100 ms, as browsers do; 20 ms and longer as given.
TEST(Animation, DelaysUnderTwentyMillisecondsPlayAsATenthOfASecond) {
    const struct {
        int32_t fileMs;
        double playsSeconds;
    } cases[] = {{0, 0.100}, {19, 0.100}, {20, 0.020}, {21, 0.021}};
    for (const auto& c : cases) {
        Animation animation(Surface(1, 1, false), std::make_shared<FramesWithDelays>(
                                                      std::vector<int32_t>{c.fileMs, c.fileMs}));
        animation.show(0, 0.0);
        EXPECT_FALSE(animation.advance(c.playsSeconds - 0.001)) << c.fileMs << " ms";
        EXPECT_TRUE(animation.advance(c.playsSeconds)) << c.fileMs << " ms";
        EXPECT_EQ(animation.fileDelayMs(0), c.fileMs);
    }
}
