// AnimationWriter: an animation written frame by frame in a format that holds animations, safely
// (a failure leaves an existing file as it was). openAnimationWriter() picks the format by the
// path's extension.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "io/DataTarget.h"
#include "io/ImageSource.h"
#include "io/Palette.h"

namespace loom {

class AnimationWriter {
public:
    virtual ~AnimationWriter() = default;
    // Adds a frame shown for delayMs milliseconds; every frame has the first one's size.
    // ImageIoExc saying why when the format cannot hold it.
    virtual void addFrame(const ImageSourceRef& frame, int32_t delayMs) = 0;
    // Completes the file and puts it in place; ImageIoExc when no frame was added.
    virtual void finish() = 0;
    // What the file could not hold as given, said for the user ("a frame's delay of ... was
    // shortened ..."); empty when it holds everything.
    virtual std::string note() const { return {}; }
};

// A writer for the path's format (loopCount: 0 for ever, -1 to play once; palette: the source's
// colour table, kept where it holds every colour), or null when the format holds no animation.
std::unique_ptr<AnimationWriter> openAnimationWriter(const std::string& path, int32_t loopCount,
                                                     const Palette& palette = {});

// The same written to target, whose commit() puts the file in place: the format is its path's.
std::unique_ptr<AnimationWriter> openAnimationWriter(DataTargetRef target, int32_t loopCount,
                                                     const Palette& palette = {});

}  // namespace loom
