#include "image/PixelBlock.h"

#include <sys/mman.h>

#include <cstdlib>
#include <new>

namespace loom {

namespace {
constexpr size_t HUGE_PAGE = size_t(2) << 20;
}

void PixelBlockFree::operator()(uint8_t* p) const noexcept { std::free(p); }

PixelBlock allocatePixelBlock(size_t bytes) {
    if (bytes == 0) return PixelBlock();
    void* p = nullptr;
    if (bytes >= HUGE_PAGE) {
        if (posix_memalign(&p, HUGE_PAGE, bytes) != 0) throw std::bad_alloc();
        // Only a hint: a kernel without transparent huge pages simply ignores it.
        madvise(p, bytes, MADV_HUGEPAGE);
    } else {
        if (posix_memalign(&p, 64, bytes) != 0) throw std::bad_alloc();
    }
    return PixelBlock(static_cast<uint8_t*>(p));
}

}  // namespace loom
