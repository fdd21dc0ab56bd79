// The two defining properties of laid-out upscales, in the reference and the fast paths: a tile
// with wrapped edges upscales to the middle of its 5 x 5 repeat upscaled with clamped edges, and a
// sheet of cells to the sheet assembled from each cell upscaled alone, the rest plain blocks.
#include <gtest/gtest.h>

#include <functional>

#include "PixelTestUtil.h"
#include "image/SheetLayout.h"
#include "image/SurfaceParts.h"
#include "image/Upscale.h"
#include "image/UpscaleFast.h"
#include "image/UpscaleReference.h"
#include "image/UpscalerCatalogue.h"

using namespace loom;
using namespace loom::test;

namespace {

// The upscale of mode by the reference machinery (path empty) or a fast path, laid out.
using Upscaler = std::function<Surface(const Surface&, int mode)>;

std::vector<std::pair<std::string, Upscaler>> everyPath() {
    std::vector<std::pair<std::string, Upscaler>> paths = {
        {"reference", [](const Surface& s, int mode) { return upscaleReference(s, mode); }}};
    for (KernelPath path : availableKernelPaths())
        paths.push_back({kernelPathName(path), [path](const Surface& s, int mode) {
                             return upscaleWith(s, mode, path, PixelMatch::Seen);
                         }});
    return paths;
}

Surface laidOut(const Surface& source, int mode, const SheetLayout& layout, const Upscaler& whole) {
    const int factor = upscalerById(mode).factor;
    return upscaleLaidOut(
        source, factor, layout, [&](const Surface& s) { return whole(s, mode); },
        [&](const Surface& s) { return whole(s, plainBlocksUpscaler(factor)); });
}

// The picture laid edge to edge, columns x rows times.
Surface repeated(const Surface& tile, int columns, int rows) {
    Surface sheet(tile.getWidth() * columns, tile.getHeight() * rows, tile.hasAlpha());
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            pasteArea(tile, tile.getBounds(), sheet, c * tile.getWidth(), r * tile.getHeight());
    return sheet;
}

// Pixel art: outlined blocks over a transparent background, shapes crossing the tile's edges.
Surface pixelArtTile(int w, int h, uint32_t seed) {
    Surface s(w, h, true);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int u = (x + int(seed)) % 7, v = (y + int(seed) * 3) % 5;
            const bool inside = u >= 1 && u <= 4 && v >= 1 && v <= 3;
            const bool edge = inside && (u == 1 || u == 4 || v == 1 || v == 3);
            setPixel(s, x, y, edge ? 0x000000 : inside ? 0x40A040 : 0x000000, inside ? 255 : 0);
        }
    return s;
}

}  // namespace

TEST(SheetLayout, AWrappedTileIsTheMiddleOfItsRepeatAndLiesSeamless) {
    const int sizes[][2] = {{1, 1}, {2, 3}, {4, 4}, {5, 1}, {9, 7}, {40, 36}};
    uint32_t seed = 1;
    for (const auto& [w, h] : sizes)
        for (bool art : {false, true}) {
            const Surface tile =
                art ? pixelArtTile(w, h, seed) : randomPaletteImage(w, h, ChannelOrder::RGBA, 3, seed);
            ++seed;
            for (const auto& [pathName, whole] : everyPath())
                for (const UpscalerInfo& info : upscalerCatalogue()) {
                    if (w == 40 && pathName == "reference") continue;  // the reference is slow
                    const int f = info.factor;
                    SCOPED_TRACE(info.name + " on " + pathName + ", " + std::to_string(w) + "x" +
                                 std::to_string(h));
                    const Surface wrap = laidOut(tile, info.id, {EdgeRule::Wrap, {}}, whole);
                    const Surface clamp5 = whole(repeated(tile, 5, 5), info.id);
                    ASSERT_TRUE(sameImage(
                        wrap, copyArea(clamp5, Area(2 * f * w, 2 * f * h, 3 * f * w, 3 * f * h))));
                    const Surface wrapX = laidOut(tile, info.id, {EdgeRule::WrapX, {}}, whole);
                    const Surface clamp5x1 = whole(repeated(tile, 5, 1), info.id);
                    ASSERT_TRUE(
                        sameImage(wrapX, copyArea(clamp5x1, Area(2 * f * w, 0, 3 * f * w, f * h))));
                    if (w > 9) continue;
                    // Laid 3 x 3 it shows no seam: the middle 3 x 3 of the 7 x 7 repeat.
                    const Surface clamp7 = whole(repeated(tile, 7, 7), info.id);
                    ASSERT_TRUE(
                        sameImage(repeated(wrap, 3, 3),
                                  copyArea(clamp7, Area(2 * f * w, 2 * f * h, 5 * f * w, 5 * f * h))));
                }
        }
}

TEST(SheetLayout, EachCellIsUpscaledAloneAndTheRestBecomesPlainBlocks) {
    // Cells narrower than a SIMD chunk and wider (12 and 13 columns); a sheet tall enough to be made
    // in bands on two threads, a cell straddling the bands' border.
    const struct {
        CellGrid grid;
        int32_t height;
    } sheets[] = {{{3, 2, 0, 0}, 27},   {{4, 3, 1, 2}, 27},   {{2, 2, 2, 1}, 27},
                  {{12, 13, 1, 1}, 27}, {{13, 12, 0, 0}, 27}, {{5, 13, 1, 1}, 131}};
    uint32_t seed = 50;
    for (const auto& [grid, height] : sheets)
        for (EdgeRule edges : {EdgeRule::Clamp, EdgeRule::Wrap}) {
            const Surface sheet = randomPaletteImage(41, height, ChannelOrder::RGBA, 3, seed++);
            const std::vector<Area> cells = cellsOf(grid, 41, height);
            ASSERT_FALSE(cells.empty());
            for (const auto& [pathName, whole] : everyPath())
                for (const UpscalerInfo& info : upscalerCatalogue()) {
                    const int f = info.factor;
                    SCOPED_TRACE(info.name + " on " + pathName + ", cells " +
                                 std::to_string(grid.width) + "x" + std::to_string(grid.height));
                    Surface expected = whole(sheet, plainBlocksUpscaler(f));
                    for (const Area& cell : cells) {
                        const Surface alone =
                            laidOut(copyArea(sheet, cell), info.id, {edges, {}}, whole);
                        pasteArea(alone, alone.getBounds(), expected, f * cell.x1, f * cell.y1);
                    }
                    ASSERT_TRUE(sameImage(laidOut(sheet, info.id, {edges, grid}, whole), expected));
                }
            ASSERT_TRUE(sameImage(upscale(sheet, 7, PixelMatch::Seen, {edges, grid}),
                                  laidOut(sheet, 7, {edges, grid}, everyPath()[0].second)))
                << "the entry point lays out as the reference does";
        }
}

TEST(SheetLayout, PixelsPastTheLastWholeCellAreNamed) {
    const struct {
        CellGrid grid;
        int32_t w, h;
        const char* leftover;
    } cases[] = {
        {{16, 16, 0, 0}, 64, 64, ""},
        {{16, 16, 0, 0}, 67, 64, "the last 3 columns"},
        {{16, 16, 0, 0}, 64, 65, "the last row"},
        {{16, 16, 0, 0}, 70, 84, "the last 6 columns and 4 rows"},
        {{16, 16, 2, 1}, 1 + 3 * 16 + 2 * 2 + 1, 18, ""},  // a margin on both sides
        {{16, 16, 0, 0}, 10, 64, "the last 10 columns"},   // no whole cell across
    };
    for (const auto& c : cases) EXPECT_EQ(leftoverOf(c.grid, c.w, c.h), c.leftover) << c.w << "x" << c.h;
    EXPECT_THROW(cellsOf({0, 16, 0, 0}, 64, 64), std::invalid_argument);
}
