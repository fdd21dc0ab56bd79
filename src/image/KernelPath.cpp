#include "image/KernelPath.h"

namespace loom {

namespace {
bool hasAvx2() {
#if defined(__x86_64__) || defined(__i386__)
    static const bool avx2 = __builtin_cpu_supports("avx2");
    return avx2;
#else
    return false;
#endif
}
}  // namespace

KernelPath bestKernelPath() { return hasAvx2() ? KernelPath::Avx2 : KernelPath::Scalar; }

std::vector<KernelPath> availableKernelPaths() {
    if (hasAvx2()) return {KernelPath::Scalar, KernelPath::Avx2};
    return {KernelPath::Scalar};
}

const char* kernelPathName(KernelPath path) { return path == KernelPath::Avx2 ? "avx2" : "scalar"; }

}  // namespace loom
