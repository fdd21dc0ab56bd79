// Which instruction set the fast upscalers and warps use. Chosen once at run time from what the
// processor offers; tests run every path the machine supports and compare them.
#pragma once

#include <vector>

namespace loom {

enum class KernelPath { Scalar, Avx2 };

// The fastest path this processor runs.
KernelPath bestKernelPath();
// Every path this processor runs, the scalar one first.
std::vector<KernelPath> availableKernelPaths();
const char* kernelPathName(KernelPath path);

}  // namespace loom
