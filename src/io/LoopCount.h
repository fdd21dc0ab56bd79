// Our loop count, as GIF's: how often an animation repeats after its first showing (0 for ever,
// -1 when it plays once). APNG and WebP count the showings instead (0 for ever, 1 once).
#pragma once

#include <algorithm>
#include <cstdint>

namespace loom {

inline int32_t repeatsFromShowings(uint32_t showings) {
    if (showings == 0) return 0;
    if (showings == 1) return -1;
    return int32_t(std::min<uint32_t>(showings - 1, INT32_MAX));
}

inline uint32_t showingsFromRepeats(int32_t repeats) {
    if (repeats < 0) return 1;
    return repeats == 0 ? 0 : uint32_t(repeats) + 1;
}

}  // namespace loom
