// upscale() on a chosen instruction-set path, for tests and benchmarks that compare the paths;
// upscale() itself uses the fastest one the processor runs.
#pragma once

#include "image/KernelPath.h"
#include "image/Surface.h"

namespace loom {

Surface upscaleWith(const Surface& source, int mode, KernelPath path);

}  // namespace loom
