// The in-place pass loop: one window over the image; at each anchor in raster order load without
// moving, apply the rule, write the whole window back and move one pixel. Each step sees what the
// earlier steps wrote; at the right and bottom borders the clamped duplicates written after an
// edge pixel can undo a change to it, which is part of the defined result.
#include "image/PixelWindow.h"
#include "image/RefineRules.h"
#include "image/UpscaleReference.h"

namespace loom {

namespace {

template <class Rule>
void runInPlacePass(const Surface& image, int size, Rule rule, PixelMatch match) {
    PixelWindow w(image, size, size, 1, 1);
    if (!w.isValid()) return;
    const PixelEquals same(match);
    do {
        w.load(0);
        rule(w, same);
    } while (w.store(1));
}

}  // namespace

void isolatedPixelPassReference(const Surface& image, PixelMatch match) {
    runInPlacePass(image, 3, isolatedPixelRule<PixelWindow>, match);
}

void diagonal2xPassReference(const Surface& image, PixelMatch match) {
    runInPlacePass(image, 4, diagonal2xRule<PixelWindow>, match);
}

void corner3xPassReference(const Surface& image, PixelMatch match) {
    runInPlacePass(image, 3, corner3xRule<PixelWindow>, match);
}

void diagonal3xPassReference(const Surface& image, PixelMatch match) {
    runInPlacePass(image, 3, diagonal3xRule<PixelWindow>, match);
}

}  // namespace loom
