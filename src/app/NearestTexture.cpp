#include "app/NearestTexture.h"

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
                                 " pixels, more than this display can show (" +
                                 std::to_string(maxSide) + " pixels on a side)");
    gl::Texture texture(surface);
    texture.setMagFilter(GL_NEAREST);
    return texture;
}

}  // namespace app
}  // namespace loom
