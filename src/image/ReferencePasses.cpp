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
void runInPlacePass(const Surface& image, int size, Rule rule) {
    PixelWindow w(image, size, size, 1, 1);
    if (!w.isValid()) return;
    do {
        w.load(0);
        rule(w);
    } while (w.store(1));
}

}  // namespace

void isolatedPixelPassReference(const Surface& image) {
    runInPlacePass(image, 3, isolatedPixelRule<PixelWindow>);
}

void diagonal2xPassReference(const Surface& image) {
    runInPlacePass(image, 4, diagonal2xRule<PixelWindow>);
}

void corner3xPassReference(const Surface& image) {
    runInPlacePass(image, 3, corner3xRule<PixelWindow>);
}

void diagonal3xPassReference(const Surface& image) {
    runInPlacePass(image, 3, diagonal3xRule<PixelWindow>);
}

}  // namespace loom
