#include "app/view/ShownPictures.h"

#include <iostream>

#include "app/notices/ErrorReport.h"
#include "app/view/NearestTexture.h"

namespace loom::app {

gl::Texture ShownPictures::textureFor(const Surface& upscaled, const Surface& result) const {
    const bool warped = !result.sharesPixelsWith(upscaled);
    return !warped && upscaled.sharesPixelsWith(upscaledPixels_) ? upscaled_
                                                                 : makeNearestTexture(result);
}

void ShownPictures::show(const Surface& upscaled, const Surface& result, const gl::Texture& texture) {
    if (result.sharesPixelsWith(upscaled)) {
        upscaled_ = texture;
        upscaledPixels_ = upscaled;
        pendingUpscale_ = Surface();
    } else if (!upscaled.sharesPixelsWith(upscaledPixels_)) {
        pendingUpscale_ = upscaled;
    }
    if (result_ && !frameChanged_) previous_ = result_;
    frameChanged_ = false;
    result_ = texture;
}

void ShownPictures::uploadPending() {
    if (!pendingUpscale_) return;
    try {
        upscaled_ = makeNearestTexture(pendingUpscale_);
        upscaledPixels_ = pendingUpscale_;
    } catch (const std::exception& e) {
        // Too large to show: the preview keeps the upscale it had, stretched alike over the quad.
        std::cerr << "QuennetApp: no preview of the new upscale: " << describeFailure(e) << '\n';
    }
    pendingUpscale_ = Surface();
}

}  // namespace loom::app
