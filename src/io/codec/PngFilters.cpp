#include "io/codec/PngFilters.h"

#include <cstdlib>
#include <cstring>

namespace loom {

namespace {

uint8_t paeth(int left, int up, int upLeft) {
    const int p = left + up - upLeft;
    const int pa = std::abs(p - left), pb = std::abs(p - up), pc = std::abs(p - upLeft);
    return uint8_t(pa <= pb && pa <= pc ? left : pb <= pc ? up : upLeft);
}

}  // namespace

void filterRow(PngFilter filter, const uint8_t* row, const uint8_t* above, size_t size, int bpp,
               uint8_t* out) {
    const size_t step = size_t(bpp);
    switch (filter) {
        case PngFilter::NONE: std::memcpy(out, row, size); return;
        case PngFilter::SUB:
            for (size_t i = 0; i < size; ++i) out[i] = uint8_t(row[i] - (i >= step ? row[i - step] : 0));
            return;
        case PngFilter::UP:
            for (size_t i = 0; i < size; ++i) out[i] = uint8_t(row[i] - above[i]);
            return;
        case PngFilter::AVERAGE:
            for (size_t i = 0; i < size; ++i)
                out[i] = uint8_t(row[i] - ((i >= step ? row[i - step] : 0) + above[i]) / 2);
            return;
        case PngFilter::PAETH:
            for (size_t i = 0; i < size; ++i)
                out[i] = uint8_t(row[i] - (i >= step ? paeth(row[i - step], above[i], above[i - step])
                                                     : paeth(0, above[i], 0)));
            return;
    }
}

uint64_t filteredCost(const uint8_t* filtered, size_t size) {
    uint64_t sum = 0;
    for (size_t i = 0; i < size; ++i) sum += uint64_t(std::abs(int(int8_t(filtered[i]))));
    return sum;
}

}  // namespace loom
