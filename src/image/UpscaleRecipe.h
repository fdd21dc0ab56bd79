// What an upscaling mode is made of: kernels that enlarge an image, each followed by refinement
// passes that rework the kernel's output in place. The catalogue gives every mode its stages;
// the fast and the reference upscalers both run them from there.
#pragma once

#include <vector>

namespace loom {

enum class Kernel { Scale2x, Scale3x, Eagle2x, Mmpx2x };

enum class RefinePass { IsolatedPixel, Diagonal2x, Corner3x, Diagonal3x };

struct UpscaleStage {
    Kernel kernel;
    std::vector<RefinePass> passes;  // in order, on the kernel's output
};

}  // namespace loom
