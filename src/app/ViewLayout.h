// Where the unwarped picture goes: zoom screen pixels per source pixel whatever the upscaler's
// factor (the scale divides by the texture's width), never less than one screen pixel per texel,
// centred in the window.
#pragma once

#include "math/Vec2.h"

namespace loom {
namespace app {

struct UnwarpedPlacement {
    float scale;    // screen pixels per texel
    Vec2f topLeft;  // in scaled units: multiply by scale for window pixels
};

UnwarpedPlacement placeUnwarped(float zoom, int sourceWidth, int textureWidth, int textureHeight,
                                int windowWidth, int windowHeight);

}  // namespace app
}  // namespace loom
