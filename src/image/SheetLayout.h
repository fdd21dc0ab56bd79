// How a picture is laid out for upscaling: its edges (clamped, as one picture, or wrapped, as a
// seamless tile laid edge to edge, in both directions or one), and optionally a grid of cells each
// upscaled as a picture of its own (a tileset or a sprite sheet whose sprites touch).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "image/Surface.h"
#include "math/Rect.h"

namespace loom {

enum class EdgeRule { Clamp, Wrap, WrapX, WrapY };

// Cells of width x height source pixels, gap pixels apart, margin pixels from the sheet's top
// and left edges, as tileset tools describe sheets.
struct CellGrid {
    int32_t width = 0, height = 0, gap = 0, margin = 0;
};

struct SheetLayout {
    EdgeRule edges = EdgeRule::Clamp;
    std::optional<CellGrid> cells;
};

// The cells lying whole inside a width x height sheet, row by row.
std::vector<Area> cellsOf(const CellGrid& grid, int32_t width, int32_t height);

// What of a width x height sheet lies past the last whole cell ("" when nothing): "the last 3
// columns and 5 rows". Tileset tools ignore those pixels; the upscale enlarges them as plain blocks.
std::string leftoverOf(const CellGrid& grid, int32_t width, int32_t height);

// An upscale of whole pictures with clamped edges: one mode on one path.
using WholeUpscale = std::function<Surface(const Surface&)>;

// The source upscaled as the layout says, by `whole`, whose factor is `factor`; `blocks` makes the
// plain factor x factor blocks of the pixels no cell covers. A wrapped edge sees the pixels at the
// opposite edge: the result is the middle of the clamped upscale of the picture laid 5 x 5 (only
// its rows or columns for WrapX or WrapY), upscaled with enough of it around (two whole copies
// for pictures up to 32 pixels across, 64 pixels beyond). Each cell is upscaled as a picture of
// its own, its edges wrapped within it under a wrap rule; cells are made on every core, so `whole`
// may run on several threads at once.
Surface upscaleLaidOut(const Surface& source, int factor, const SheetLayout& layout,
                       const WholeUpscale& whole, const WholeUpscale& blocks);

}  // namespace loom
