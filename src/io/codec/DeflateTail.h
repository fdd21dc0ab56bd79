// DeflateTail: where the last block of a raw deflate stream starts and where it ends, found by
// walking its blocks. Knowing both, a stream compressed on its own can be made to go on with
// another (see ZlibPieces).
#pragma once

#include <cstddef>
#include <cstdint>

namespace loom {

struct DeflateTail {
    size_t lastBlockBit;  // the final block's first header bit, BFINAL
    size_t endBit;        // one past the final block's end-of-block code
};

// Throws std::runtime_error when data is not a complete deflate stream.
DeflateTail findDeflateTail(const uint8_t* data, size_t size);

}  // namespace loom
