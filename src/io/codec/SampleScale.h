// Samples of any range brought to 8 bits, rounding to the nearest: v * 255 / max. The hand-read
// formats store 1 to 16-bit samples (BMP bit fields, TGA 5-bit channels, netpbm's maxval); one
// rule for all of them keeps equal colours equal.
#pragma once

#include <cstdint>
#include <vector>

namespace loom {

// v in 0..max, max > 0.
inline uint8_t scaleToByte(uint32_t v, uint32_t max) {
    return uint8_t((uint64_t(v) * 255 + max / 2) / max);
}

// scaleToByte for every v in 0..max, for samples looked up by value.
inline std::vector<uint8_t> byteScaleTable(uint32_t max) {
    std::vector<uint8_t> table(size_t(max) + 1);
    for (uint32_t v = 0; v <= max; ++v) table[v] = scaleToByte(v, max);
    return table;
}

}  // namespace loom
