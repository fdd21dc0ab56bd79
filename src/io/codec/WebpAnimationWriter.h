// WebpAnimationWriter: an animated WebP written frame by frame, every frame lossless and exact
// (fully transparent pixels keep their colour), as pixel art wants. libwebp's animation encoder
// keeps what it needs of each frame as it comes and assembles the file at the end. The file is
// written safely: into a temporary file beside the path that finish() renames over it; left
// unfinished (a frame refused, a failure), the temporary file goes and an existing file stays.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "io/DataTarget.h"
#include "io/ImageSource.h"
#include "io/codec/AnimationWriter.h"

struct WebPAnimEncoder;

namespace loom {

struct WebpAnimEncoderDeleter {
    void operator()(WebPAnimEncoder* encoder) const;
};

class WebpAnimationWriter : public AnimationWriter {
public:
    // loopCount: how often the animation repeats, 0 for ever, -1 to play it once.
    WebpAnimationWriter(const std::string& path, int32_t loopCount);
    // Written to target, whose commit() puts the file in place.
    WebpAnimationWriter(DataTargetRef target, int32_t loopCount);

    void addFrame(const ImageSourceRef& frame, int32_t delayMs) override;
    void finish() override;

private:
    DataTargetRef dataTarget_;
    int32_t loopCount_;
    std::unique_ptr<WebPAnimEncoder, WebpAnimEncoderDeleter> encoder_;  // made with the first frame
    int32_t width_ = 0, height_ = 0;
    int32_t startMs_ = 0;  // when the next frame starts showing, from the animation's start
};

}  // namespace loom
