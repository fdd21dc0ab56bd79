// ShownPictures: the textures the window draws, nearest-neighbour magnified: the result, the upscale
// it was warped from (the preview's picture while the quad moves) and the previous picture, shown
// while space is held: the file's own picture right after the first file opened, afterwards the
// result the last change of settings replaced. Main thread only (they are textures).
#pragma once

#include "gl/Texture.h"
#include "image/Surface.h"

namespace loom::app {

class ShownPictures {
public:
    // The texture for result, made from upscaled: the upscale's own when they are one picture
    // already shown. Throws, changing nothing, when it cannot be made (too large for the GPU).
    gl::Texture textureFor(const Surface& upscaled, const Surface& result) const;
    // Shows result with its texture. A big upscale of a warped result is uploaded later, by
    // uploadPending(): one big upload a frame.
    void show(const Surface& upscaled, const Surface& result, const gl::Texture& texture);
    // The next result shown is of another frame of the animation, which replaces no picture:
    // space keeps showing the one the last change of settings replaced.
    void nextIsAnotherFrame() { frameChanged_ = true; }
    // The picture of a file being opened, shown on space until a result replaces one.
    void opened(const gl::Texture& picture) { previous_ = picture; }
    // Uploads the preview's picture left by show(); kept as it was when too large.
    void uploadPending();

    const gl::Texture& result() const { return result_; }
    const gl::Texture& previous() const { return previous_; }
    const gl::Texture& upscaled() const { return upscaled_; }

private:
    gl::Texture previous_;
    gl::Texture result_;
    gl::Texture upscaled_;
    Surface upscaledPixels_;  // the upscaled texture's
    Surface pendingUpscale_;  // the upscale of the result shown, when not uploaded yet
    bool frameChanged_ = false;
};

}  // namespace loom::app
