#include "image/SheetLayout.h"

#include <algorithm>
#include <stdexcept>

#include "image/RowBands.h"
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

// The spans of [0, size) that no cell covers along one axis, given the cells' spans in order.
std::vector<std::pair<int32_t, int32_t>> spansBetween(
    const std::vector<std::pair<int32_t, int32_t>>& cells, int32_t size) {
    std::vector<std::pair<int32_t, int32_t>> free;
    int32_t at = 0;
    for (const auto& [from, to] : cells) {
        if (from > at) free.emplace_back(at, from);
        at = std::max(at, to);
    }
    if (at < size) free.emplace_back(at, size);
    return free;
}

// The parts of a width x height sheet that no cell of the grid covers, as rectangles.
std::vector<Area> areasBetweenCells(const CellGrid& grid, int32_t width, int32_t height) {
    std::vector<std::pair<int32_t, int32_t>> columns, rows;
    for (const Area& cell : cellsOf(grid, width, height)) {
        if (cell.y1 == grid.margin) columns.emplace_back(cell.x1, cell.x2);
        if (cell.x1 == grid.margin) rows.emplace_back(cell.y1, cell.y2);
    }
    std::vector<Area> areas;
    for (const auto& [y1, y2] : spansBetween(rows, height)) areas.emplace_back(0, y1, width, y2);
    for (const auto& [y1, y2] : rows)
        for (const auto& [x1, x2] : spansBetween(columns, width)) areas.emplace_back(x1, y1, x2, y2);
    return areas;
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
    Surface result = makeScaledSurface(source, factor);
    for (const Area& area : areasBetweenCells(*layout.cells, source.getWidth(), source.getHeight())) {
        const Surface plain = blocks(copyArea(source, area));
        pasteArea(plain, plain.getBounds(), result, factor * area.x1, factor * area.y1);
    }
    // Cells are pictures of their own: bands of them, each cell in the band of its top row, need no
    // coordination, and a big sheet's many cells are made on every core.
    const std::vector<Area> cells = cellsOf(*layout.cells, source.getWidth(), source.getHeight());
    forRowBands(source.getHeight(), [&](int32_t y0, int32_t y1) {
        for (const Area& cell : cells) {
            if (cell.y1 < y0 || cell.y1 >= y1) continue;
            const Surface upscaled = upscaleWrapped(copyArea(source, cell), factor, layout.edges, whole);
            pasteArea(upscaled, upscaled.getBounds(), result, factor * cell.x1, factor * cell.y1);
        }
    });
    return result;
}

}  // namespace loom
