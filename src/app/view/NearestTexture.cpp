#include "app/view/NearestTexture.h"

#include <stdexcept>
#include <string>

#include "gl/State.h"

namespace loom {
namespace app {

gl::Texture makeNearestTexture(const Surface& surface) {
    const int maxSide = gl::getMaxTextureSize();
    if (surface.getWidth() > maxSide || surface.getHeight() > maxSide)
        throw std::runtime_error("the picture is " + std::to_string(surface.getWidth()) + " x " +
                                 std::to_string(surface.getHeight()) +
                                 " pixels, more than this display can show (" + std::to_string(maxSide) +
                                 " pixels on a side)");
    // Nearest when minified too: below zoom 1 the view shows fewer pixels than the result has, and
    // linear filtering would mix neighbouring colours, and the colour a transparent pixel hides,
    // into the picture.
    gl::Texture::Format format;
    format.minFilter = GL_NEAREST;
    format.magFilter = GL_NEAREST;
    return gl::Texture(surface, format);
}

}  // namespace app
}  // namespace loom
