#include "PictureCheck.h"

#include <algorithm>
#include <set>

namespace e2e {

namespace {

const std::array<uint8_t, 3> kCheckerDark = {153, 153, 153}, kCheckerLight = {204, 204, 204};
constexpr int kCheckerSquare = 8;

// Calls visit(screen x, screen y, picture x, picture y) for every screen pixel of the rectangle,
// each pixel centre mapped back into the picture stretched over it; false when the rectangle does
// not fit on the screen or either image is missing.
template <typename Visit>
bool visitPlaced(const Image& screen, const Image& picture, int left, int top, int width, int height,
                 Visit visit) {
    if (screen.empty() || picture.empty() || left < 0 || top < 0 || left + width > screen.width ||
        top + height > screen.height)
        return false;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            visit(left + x, top + y, int((x + 0.5) * picture.width / width),
                  int((y + 0.5) * picture.height / height));
    return true;
}

}  // namespace

bool isBackground(const Image& screen, int x, int y) {
    if (screen.empty() || x < 0 || y < 0 || x >= screen.width || y >= screen.height) return false;
    const auto c = screen.rgb(x, y);
    return c[0] == c[1] && c[1] == c[2] && (c[0] == 25 || c[0] == 26);
}

long mismatches(const Image& screen, const Image& picture, int left, int top, int scale) {
    return stretchedMismatches(screen, picture, left, top, picture.width * scale,
                               picture.height * scale);
}

long stretchedMismatches(const Image& screen, const Image& picture, int left, int top, int width,
                         int height) {
    long bad = 0;
    const bool placed =
        visitPlaced(screen, picture, left, top, width, height, [&](int sx, int sy, int px, int py) {
            if (picture.alpha(px, py) != 0 && screen.rgb(sx, sy) != picture.rgb(px, py)) ++bad;
        });
    return placed ? bad : -1;
}

long checkerMismatches(const Image& screen, const Image& picture, int left, int top, int scale) {
    long notGrey = 0, darkOnEven = 0, darkOnOdd = 0;
    const bool placed = visitPlaced(screen, picture, left, top, picture.width * scale,
                                    picture.height * scale, [&](int sx, int sy, int px, int py) {
                                        if (picture.alpha(px, py) != 0) return;
                                        const auto c = screen.rgb(sx, sy);
                                        if (c != kCheckerDark && c != kCheckerLight) {
                                            ++notGrey;
                                            return;
                                        }
                                        const bool evenSquare =
                                            (sx / kCheckerSquare + sy / kCheckerSquare) % 2 == 0;
                                        ++((c == kCheckerDark) == evenSquare ? darkOnEven : darkOnOdd);
                                    });
    return placed ? notGrey + std::min(darkOnEven, darkOnOdd) : -1;
}

long madeUpColours(const Image& screen, const Image& picture, int left, int top, int width, int height) {
    std::set<std::array<uint8_t, 3>> shown = {kCheckerDark, kCheckerLight};
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            if (picture.alpha(x, y) != 0) shown.insert(picture.rgb(x, y));
    long madeUp = 0;
    for (int y = top; y < top + height && y < screen.height; ++y)
        for (int x = left; x < left + width && x < screen.width; ++x)
            madeUp += shown.count(screen.rgb(x, y)) ? 0 : 1;
    return madeUp;
}

long differingPixels(const Image& a, const Image& b) {
    if (a.width != b.width || a.height != b.height || a.channels != b.channels) return -1;
    long bad = 0;
    const size_t n = size_t(a.channels);
    for (size_t i = 0; i < a.pixels.size(); i += n)
        for (size_t c = 0; c < n; ++c)
            if (a.pixels[i + c] != b.pixels[i + c]) {
                ++bad;
                break;
            }
    return bad;
}

long changedPixels(const Image& before, const Image& after, int left, int top, int width, int height) {
    if (before.width != after.width || before.height != after.height) return -1;
    long changed = 0;
    for (int y = top; y < top + height && y < before.height; ++y)
        for (int x = left; x < left + width && x < before.width; ++x)
            if (before.rgb(x, y) != after.rgb(x, y)) ++changed;
    return changed;
}

}  // namespace e2e
