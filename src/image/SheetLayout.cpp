#include "image/SheetLayout.h"

#include <algorithm>
#include <stdexcept>

#include "image/SurfaceParts.h"
#include "image/Upscale.h"

namespace loom {

namespace {

// The copies around a wrapped picture of this size that keep its middle as the 5 x 5 repeat's.
int32_t wrapPad(int32_t size) { return size <= 32 ? 2 * size : 64; }

// The picture upscaled by whole with its edges wrapped as the rule says.
Surface upscaleWrapped(const Surface& picture, int factor, EdgeRule edges, const WholeUpscale& whole) {
    if (edges == EdgeRule::Clamp) return whole(picture);
    const int32_t padX = edges == EdgeRule::WrapY ? 0 : wrapPad(picture.getWidth());
    const int32_t padY = edges == EdgeRule::WrapX ? 0 : wrapPad(picture.getHeight());
    const Surface padded = whole(wrapPadded(picture, padX, padY));
    return copyArea(padded, Area(factor * padX, factor * padY, factor * (padX + picture.getWidth()),
                                 factor * (padY + picture.getHeight())));
}

int32_t cellCount(int32_t size, int32_t cell, int32_t gap, int32_t margin) {
    if (size - margin < cell) return 0;
    return (size - margin + gap) / (cell + gap);
}

}  // namespace

std::vector<Area> cellsOf(const CellGrid& grid, int32_t width, int32_t height) {
    if (grid.width <= 0 || grid.height <= 0 || grid.gap < 0 || grid.margin < 0)
        throw std::invalid_argument("cells need a positive size, and gap and margin of 0 or more");
    std::vector<Area> cells;
    const int32_t columns = cellCount(width, grid.width, grid.gap, grid.margin);
    const int32_t rows = cellCount(height, grid.height, grid.gap, grid.margin);
    for (int32_t row = 0; row < rows; ++row)
        for (int32_t column = 0; column < columns; ++column) {
            const int32_t x = grid.margin + column * (grid.width + grid.gap);
            const int32_t y = grid.margin + row * (grid.height + grid.gap);
            cells.emplace_back(x, y, x + grid.width, y + grid.height);
        }
    return cells;
}

std::string leftoverOf(const CellGrid& grid, int32_t width, int32_t height) {
    const int32_t columns = cellCount(width, grid.width, grid.gap, grid.margin);
    const int32_t rows = cellCount(height, grid.height, grid.gap, grid.margin);
    const int32_t restX =
        columns ? width - (grid.margin + columns * (grid.width + grid.gap) - grid.gap) : width;
    const int32_t restY =
        rows ? height - (grid.margin + rows * (grid.height + grid.gap) - grid.gap) : height;
    // A gap or a margin after the last cell is part of the grid, not left over.
    const int32_t border = std::max(grid.gap, grid.margin);
    const int32_t leftX = restX > border || columns == 0 ? restX : 0;
    const int32_t leftY = restY > border || rows == 0 ? restY : 0;
    auto count = [](int32_t n, const char* what) {
        return n == 1 ? std::string(what) : std::to_string(n) + " " + what + "s";
    };
    if (leftX > 0 && leftY > 0)
        return "the last " + count(leftX, "column") + " and " + count(leftY, "row");
    if (leftX > 0) return "the last " + count(leftX, "column");
    if (leftY > 0) return "the last " + count(leftY, "row");
    return {};
}

Surface upscaleLaidOut(const Surface& source, int factor, const SheetLayout& layout,
                       const WholeUpscale& whole, const WholeUpscale& blocks) {
    if (!source) return Surface();
    if (!layout.cells) return upscaleWrapped(source, factor, layout.edges, whole);
    Surface result = blocks(source);
    for (const Area& cell : cellsOf(*layout.cells, source.getWidth(), source.getHeight())) {
        const Surface upscaled = upscaleWrapped(copyArea(source, cell), factor, layout.edges, whole);
        pasteArea(upscaled, upscaled.getBounds(), result, factor * cell.x1, factor * cell.y1);
    }
    return result;
}

}  // namespace loom
