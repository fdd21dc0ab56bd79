// ApngAnimationWriter: an animated PNG written frame by frame, each frame compressed as it comes
// so that only one is held at a time. Every frame is whole (at 0, 0, over nothing, left in place),
// so it shows exactly as given; the first is also the picture viewers without animation show.
//
// Frames are 8-bit RGBA: one form must serve all frames, and a palette would have to know every
// frame's colours before the first is written. On 12-colour sprites through Scale2x a frame takes
// about 1.8 times its palette form, the whole animation about the size of the same GIF.
//
// The file is written safely: into a temporary file beside the path that finish() renames over
// it; left unfinished (a frame refused, a failure), the temporary file goes and an existing file
// stays as it was.
#pragma once

#include <cstdint>
#include <string>

#include "io/DataTarget.h"
#include "io/codec/AnimationWriter.h"

namespace loom {

class ApngAnimationWriter : public AnimationWriter {
public:
    // loopCount: how often the animation repeats, 0 for ever, -1 to play it once.
    ApngAnimationWriter(const std::string& path, int32_t loopCount);
    // Written to target, whose commit() puts the file in place.
    ApngAnimationWriter(DataTargetRef target, int32_t loopCount);

    // Delays up to a minute are kept to the millisecond, longer ones to the hundredth.
    void addFrame(const ImageSourceRef& frame, int32_t delayMs) override;
    void finish() override;

private:
    // The animation control chunk: written first with the frames so far, and again at the end.
    void writeAnimationControl(OStream& out) const;

    DataTargetRef dataTarget_;
    int32_t loopCount_;
    int32_t width_ = 0, height_ = 0;
    uint32_t frames_ = 0;
    uint32_t sequence_ = 0;  // the next fcTL or fdAT chunk's number
    int64_t controlAt_ = 0;  // where the animation control chunk lies
};

}  // namespace loom
