// PngFilters: PNG's five row filters, which store each byte as its difference from a prediction
// made of its neighbours to the left, above and above-left.
#pragma once

#include <cstddef>
#include <cstdint>

namespace loom {

enum class PngFilter : uint8_t { NONE = 0, SUB = 1, UP = 2, AVERAGE = 3, PAETH = 4 };

// Filters size bytes of row (above: the previous row unfiltered, zeros for the first) into out;
// bpp: bytes a pixel, at least 1.
void filterRow(PngFilter filter, const uint8_t* row, const uint8_t* above, size_t size, int bpp,
               uint8_t* out);
// The usual estimate of how well a filtered row compresses: the sum of its bytes taken as signed,
// smaller being better.
uint64_t filteredCost(const uint8_t* filtered, size_t size);

}  // namespace loom
