#include "PictureCheck.h"

namespace e2e {

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
    if (screen.empty() || picture.empty() || left < 0 || top < 0 || left + width > screen.width ||
        top + height > screen.height)
        return -1;
    long bad = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int px = int((x + 0.5) * picture.width / width);
            const int py = int((y + 0.5) * picture.height / height);
            if (picture.alpha(px, py) == 0) continue;
            if (screen.rgb(left + x, top + y) != picture.rgb(px, py)) ++bad;
        }
    }
    return bad;
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

long changedPixels(const Image& before, const Image& after, int left, int top, int width,
                   int height) {
    if (before.width != after.width || before.height != after.height) return -1;
    long changed = 0;
    for (int y = top; y < top + height && y < before.height; ++y)
        for (int x = left; x < left + width && x < before.width; ++x)
            if (before.rgb(x, y) != after.rgb(x, y)) ++changed;
    return changed;
}

}  // namespace e2e
