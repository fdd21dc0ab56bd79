#include "warp/InverseBilinear.h"

namespace loom {

PatchParameters<float> inverseBilinear(const WarpQuad& quad, float px, float py) {
    return inverseBilinearIn<float>(quad.corners, px, py);
}

}  // namespace loom
