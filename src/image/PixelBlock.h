// PixelBlock: an uncleared block of pixel bytes. Large blocks are 2 MiB-aligned and marked for
// transparent huge pages, so that touching a fresh multi-megabyte result does not cost a page fault
// every 4 KiB.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace loom {

struct PixelBlockFree {
    void operator()(uint8_t* p) const noexcept;
};
using PixelBlock = std::unique_ptr<uint8_t[], PixelBlockFree>;

// Throws std::bad_alloc when the memory cannot be had. A zero size gives a null block.
PixelBlock allocatePixelBlock(size_t bytes);

}  // namespace loom
