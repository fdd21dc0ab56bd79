// The modes' recipes as row pipelines (RowPipeline.h) over 32-bit pixel rows (RowPlane.h):
//   source rows -> [convert, unless RGBA] -> kernel -> [refinement passes] -> [kernel -> [passes]]...
//               -> result rows (written in place when RGBA, else through a ring and packed to RGB)
// Intermediates (the 2x image of modes 3 and 7) are rings of a few rows, never whole images.
#include <algorithm>
#include <cstring>
#include <memory>
#include <stdexcept>

#include "image/KernelRows.h"
#include "image/RefinePasses.h"
#include "image/RowPipeline.h"
#include "image/SurfaceRows.h"
#include "image/Upscale.h"
#include "image/UpscaleFast.h"
#include "image/UpscalerCatalogue.h"

namespace loom {

namespace {

// Enough slots for the rows in flight between the first stage and the last (at most about a
// dozen with a factor-3 kernel followed by two passes).
constexpr int RING_ROWS = 24;

class ChainBuilder {
public:
    ChainBuilder(KernelPath path, PixelMatch match) : path_(path), same_(match) {}

    // The source as a plane: its own rows when RGBA, else a ring filled by a convert stage.
    // Every output pixel is a copy of a source pixel, so while the source rows read so far share
    // one alpha, so do all rows made from them; each source row is tested as it
    // enters, while it is in cache. One alpha lets whole pixels compare as the match does, unless
    // that alpha is 0 under Seen (every pixel is then alike).
    RowPlane input(const Surface& source) {
        const bool rgba = isRgbaPlane(source);
        const RowPlane out =
            rgba ? withCompareFlag(planeOf(source)) : ring(source.getWidth(), source.getHeight());
        const ChannelOrder& order = source.getChannelOrder();
        if (!rgba || order.hasAlpha()) {
            // The first pixel's alpha, in place in a 32-bit pixel (the source is not empty here).
            const uint32_t first = order.hasAlpha() ? uint32_t(source.getData()[order.alpha]) << 24 : 0;
            if (same_.seen() && source.hasAlpha() && first == 0) wholeCompares_ = false;
            pipeline_.add({source.getHeight(), [](int) { return -1; },
                           [this, source, out, rgba, first](int y) {
                               if (!rgba) readSurfaceRow(source, y, out.row(y), path_);
                               if (wholeCompares_ && source.hasAlpha())
                                   wholeCompares_ = rowHasAlpha(out.row(y), out.width, first, path_);
                           },
                           [](int done) { return done; }});
        }
        return out;
    }

    // A kernel from `in` into `out` (or into a new ring when out is null).
    RowPlane kernel(Kernel k, const RowPlane& in, const RowPlane* out) {
        const int factor = kernelFactor(k), reach = kernelReach(k);
        const RowPlane dst = withCompareFlag(out ? *out : ring(in.width * factor, in.height * factor));
        const KernelRowFn fn = kernelRow(k, path_);
        const int last = in.height - 1;
        pipeline_.add({in.height, [last, reach](int y) { return std::min(y + reach, last); },
                       [in, dst, fn, factor, reach, last, same = same_](int y) {
                           const uint32_t* rows[2 * MAX_KERNEL_REACH + 1];
                           for (int j = -reach; j <= reach; ++j)
                               rows[reach + j] = in.row(std::clamp(y + j, 0, last));
                           uint32_t* outRows[3];
                           for (int j = 0; j < factor; ++j) outRows[j] = dst.row(factor * y + j);
                           fn(rows, in.width, same, outRows);
                       },
                       [factor](int done) { return factor * done; }});
        return dst;
    }

    // Every pixel of `in` as a plain factor x factor block of `out` (or of a new ring).
    RowPlane blocks(int factor, const RowPlane& in, const RowPlane* out) {
        const RowPlane dst = withCompareFlag(out ? *out : ring(in.width * factor, in.height * factor));
        pipeline_.add({in.height, [](int y) { return y; },
                       [in, dst, factor](int y) {
                           uint32_t* first = dst.row(factor * y);
                           const uint32_t* row = in.row(y);
                           for (int x = 0; x < in.width; ++x)
                               std::fill_n(first + factor * x, factor, row[x]);
                           for (int j = 1; j < factor; ++j)
                               std::copy_n(first, size_t(dst.width), dst.row(factor * y + j));
                       },
                       [factor](int done) { return factor * done; }});
        return dst;
    }

    void refine(RefinePass pass, const RowPlane& plane) {
        const int below = refineWindowSize(pass) - 2;  // rows the window reaches below its anchor
        const int last = plane.height - 1;
        pipeline_.add(
            {plane.height, [below, last](int y) { return std::min(y + below, last); },
             [pass, plane, path = path_, same = same_](int y) { refineRow(pass, plane, y, path, same); },
             // A step at anchor row y may write row y - 1, never a row above it.
             [](int done) { return std::max(done - 1, 0); }});
    }

    // Packs the plane into the result unless it is the result's own rows.
    void output(const RowPlane& plane, const Surface& result) {
        if (plane.base == result.getData()) return;
        pipeline_.add(
            {result.getHeight(), [](int y) { return y; },
             [plane, result, path = path_](int y) { writeSurfaceRow(plane.row(y), result, y, path); },
             [](int done) { return done; }});
    }

    // Where the last kernel should write: the result itself when RGBA, else null (a ring).
    static const RowPlane* resultPlane(const Surface& result, RowPlane& storage) {
        if (!isRgbaPlane(result)) return nullptr;
        storage = planeOf(result);
        return &storage;
    }

    void run() { pipeline_.run(); }

private:
    RowPlane ring(int width, int height) {
        rings_.push_back(std::make_unique<RowRing>(width, height, RING_ROWS));
        return withCompareFlag(rings_.back()->plane());
    }

    RowPlane withCompareFlag(RowPlane plane) const {
        plane.wholeComparesSoFar = &wholeCompares_;
        return plane;
    }

    KernelPath path_;
    PixelEquals same_;
    bool wholeCompares_ = true;
    RowPipeline pipeline_;
    std::vector<std::unique_ptr<RowRing>> rings_;
};

// The modes without a recipe: every pixel a plain factor x factor block (factor 1: a copy).
void plainBlocks(const Surface& source, int factor, const Surface& result, KernelPath path) {
    if (factor == 1 && source.getChannelOrder() == result.getChannelOrder() &&
        source.getRowBytes() == result.getRowBytes()) {
        std::memcpy(result.getData(), source.getData(),
                    size_t(result.getRowBytes()) * size_t(result.getHeight()));
        return;
    }
    ChainBuilder chain(path, PixelMatch::Colour);  // blocks compare nothing
    RowPlane storage;
    const RowPlane* direct = ChainBuilder::resultPlane(result, storage);
    RowPlane plane = chain.input(source);
    if (factor > 1) plane = chain.blocks(factor, plane, direct);
    chain.output(plane, result);
    chain.run();
}

}  // namespace

Surface upscaleWith(const Surface& source, int mode, KernelPath path, PixelMatch match) {
    const UpscalerInfo& info = upscalerById(mode);
    if (!source) return Surface();
    // The whole result is refused before anything (an intermediate included) is allocated.
    Surface result = makeScaledSurface(source, info.factor);
    upscaleInto(source, mode, result, path, match);
    return result;
}

void upscaleInto(const Surface& source, int mode, const Surface& result, KernelPath path,
                 PixelMatch match) {
    const UpscalerInfo& info = upscalerById(mode);
    if (!source || !result) throw std::invalid_argument("upscaleInto: no source or no result");
    const int factor = info.factor;
    if (result.getWidth() != source.getWidth() * factor ||
        result.getHeight() != source.getHeight() * factor ||
        result.getChannelOrder().code != (source.hasAlpha() ? ChannelOrder::RGBA : ChannelOrder::RGB) ||
        result.getRowBytes() != result.getWidth() * result.getPixelInc())
        throw std::invalid_argument("upscaleInto: the result does not fit the source and mode");
    if (result.getWidth() == 0 || result.getHeight() == 0) return;
    if (info.recipe.empty()) return plainBlocks(source, factor, result, path);
    ChainBuilder chain(path, match);
    RowPlane storage;
    const RowPlane* direct = ChainBuilder::resultPlane(result, storage);
    RowPlane plane = chain.input(source);
    for (size_t i = 0; i < info.recipe.size(); ++i) {
        const bool last = i + 1 == info.recipe.size();
        plane = chain.kernel(info.recipe[i].kernel, plane, last ? direct : nullptr);
        for (RefinePass pass : info.recipe[i].passes) chain.refine(pass, plane);
    }
    chain.output(plane, result);
    chain.run();
}

}  // namespace loom
