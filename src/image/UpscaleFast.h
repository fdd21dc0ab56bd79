// upscale() on a chosen instruction-set path, for tests and benchmarks that compare the paths;
// upscale() itself uses the fastest one the processor runs.
#pragma once

#include "image/KernelPath.h"
#include "image/PixelMatch.h"
#include "image/Surface.h"

namespace loom {

Surface upscaleWith(const Surface& source, int mode, KernelPath path,
                    PixelMatch match = PixelMatch::Seen);

// upscale() into an existing result of makeScaledSurface(source, factor of mode), for callers that
// reuse one output. Throws std::invalid_argument for an unknown mode, a null source or result, or
// a result of another size or order.
void upscaleInto(const Surface& source, int mode, const Surface& result, KernelPath path,
                 PixelMatch match = PixelMatch::Seen);

}  // namespace loom
