// Overflow-checked size arithmetic for pixel blocks: every width x height x bytes computation goes
// through here before anything is allocated.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <stdexcept>
#include <string>

namespace loom {

// The product of non-negative factors; throws std::length_error when one is negative or the
// product leaves int64.
inline int64_t checkedProduct(std::initializer_list<int64_t> factors) {
    int64_t result = 1;
    for (int64_t f : factors) {
        if (f < 0) throw std::length_error("negative image dimension: " + std::to_string(f));
        if (f != 0 && result > INT64_MAX / f) throw std::length_error("image size overflows");
        result *= f;
    }
    return result;
}

// value as int32; throws std::length_error naming what when it does not fit.
inline int32_t checkedInt32(int64_t value, const char* what) {
    if (value < INT32_MIN || value > INT32_MAX)
        throw std::length_error(std::string(what) + " too large: " + std::to_string(value));
    return static_cast<int32_t>(value);
}

}  // namespace loom
