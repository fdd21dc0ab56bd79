// GifAnimationWriter: an animated GIF written frame by frame, each frame encoded as it comes so
// that only one is held at a time. The file is written safely: into a temporary file beside the
// path that finish() renames over it; left unfinished (a frame refused, a failure), the temporary
// file goes and an existing file stays as it was.
//
// Frames are written whole, each over a cleared canvas (disposal "restore to background"), so a
// frame shows exactly as given: its transparent pixels never show the frame before.
#pragma once

#include <algorithm>
#include <memory>
#include <string>

#include "io/DataTarget.h"
#include "io/ImageSource.h"
#include "io/codec/AnimationWriter.h"
#include "io/codec/GifEncoder.h"

namespace loom {

class GifAnimationWriter : public AnimationWriter {
public:
    // loopCount: how often the animation repeats, 0 for ever, -1 to play it once. Frames whose
    // colours all are in table are written with it (GifIndexedFrame).
    GifAnimationWriter(const std::string& path, int32_t loopCount, Palette table = {});
    // Written to target, whose commit() puts the file in place.
    GifAnimationWriter(DataTargetRef target, int32_t loopCount, Palette table = {});

    // GIF counts in hundredths of a second, at most 65535 of them: the delay is rounded to them,
    // and a longer one (from an APNG or WebP) shortened to the most GIF holds, which note() tells.
    void addFrame(const ImageSourceRef& frame, int32_t delayMs) override;
    static constexpr int64_t MOST_HUNDREDTHS = 65535;
    static int64_t hundredthsOf(int32_t delayMs) { return (int64_t(delayMs) + 5) / 10; }
    static int32_t gifDelay(int32_t delayMs) {
        return int32_t(std::clamp<int64_t>(hundredthsOf(delayMs), 0, MOST_HUNDREDTHS));
    }
    void finish() override;
    std::string note() const override;

private:
    DataTargetRef dataTarget_;  // declared first: outlives the encoder writing to its stream
    int32_t loopCount_;
    Palette table_;
    std::unique_ptr<GifEncoder> encoder_;  // made with the first frame
    int32_t width_ = 0, height_ = 0;
    int32_t shortenedFrames_ = 0;  // of delays longer than GIF holds
    int32_t longestShortenedMs_ = 0;
};

}  // namespace loom
