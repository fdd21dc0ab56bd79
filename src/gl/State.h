// Clearing, blending, depth and colour switches of the fixed-function pipeline. Each one changes
// exactly the state it names and leaves it changed.
#pragma once

#include "math/Color.h"

namespace loom {
namespace gl {

// Clears the colour buffer to color and, when clearDepth is set, the depth buffer too; the depth
// mask is switched on first, since a masked depth buffer would otherwise keep its values.
void clearWindow(const ColorA& color = ColorA(0, 0, 0, 1), bool clearDepth = true);

// Blending over the destination by source alpha; premultiplied sources are added as they are.
void enableAlphaBlending(bool premultiplied = false);
void disableAlphaBlending();
// Blending that adds the source, weighted by its alpha, to what is drawn: highlights brighten.
void enableAdditiveBlending();

// Width of the lines drawn from now on, in window pixels.
void setLineWidth(float width);
// The largest texture side this context accepts.
int getMaxTextureSize();

void enableDepthRead(bool enable = true);
void disableDepthRead();
void enableDepthWrite(bool enable = true);
void disableDepthWrite();

// The current colour; it modulates textures and colours untextured shapes.
void setColor(const ColorA& c);

}  // namespace gl
}  // namespace loom
