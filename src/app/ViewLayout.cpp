#include "app/ViewLayout.h"

namespace loom {
namespace app {

UnwarpedPlacement placeUnwarped(float zoom, int sourceWidth, int textureWidth, int textureHeight,
                                int windowWidth, int windowHeight) {
    const float s = zoom * (float(sourceWidth) / float(textureWidth));
    const float k = s > 1.0f ? s : 1.0f;
    return {k, Vec2f((float(windowWidth) / k - float(textureWidth)) * 0.5f,
                     (float(windowHeight) / k - float(textureHeight)) * 0.5f)};
}

}  // namespace app
}  // namespace loom
