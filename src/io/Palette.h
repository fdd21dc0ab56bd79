// Palette: the colour table of an indexed picture, as red, green, blue and alpha, in the file's
// order. Games swap palettes by index, so a result whose colours all are in its source's table
// is written with that table, in that order.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace loom {

using Palette = std::vector<std::array<uint8_t, 4>>;

}  // namespace loom
