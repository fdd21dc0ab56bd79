// The pictures the PNG benchmarks write, made on the spot so no image file is kept in the
// repository: a sheet of outlined sprites over transparency, and the worst case for PNG, random
// pixels of four colours.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

#include "image/Surface.h"

namespace loom::bench {

// Sprites of 32 x 32 pixels, left-right symmetric, in shaded ramps of six hues with a dark
// outline and a half-transparent shadow, over a transparent background: 27 colours.
inline Surface makeSpriteSheet(int32_t size) {
    constexpr int CELL = 32;
    const uint8_t clear[4] = {0, 0, 0, 0}, outline[4] = {24, 16, 32, 255}, shadow[4] = {0, 0, 0, 96};
    const uint8_t hues[6][3] = {{200, 60, 50},  {60, 160, 70},  {50, 90, 200},
                                {220, 190, 60}, {150, 80, 170}, {120, 110, 100}};
    std::mt19937 random(11);
    Surface s(size, size, true);
    for (int32_t y = 0; y < size; ++y)
        for (int32_t x = 0; x < size; ++x) std::memcpy(s.getData(x, y), clear, 4);
    for (int32_t cy = 0; cy + CELL <= size; cy += CELL)
        for (int32_t cx = 0; cx + CELL <= size; cx += CELL) {
            // A blob: rows of random half-widths that change slowly, mirrored about the middle.
            std::array<int, CELL> half{};
            int w = 4 + int(random() % 6);
            const int top = 3 + int(random() % 4), bottom = CELL - 5 - int(random() % 4);
            for (int y = top; y < bottom; ++y)
                half[size_t(y)] = w = std::max(2, std::min(13, w + int(random() % 5) - 2));
            const auto& hue = hues[random() % 6];
            const auto inside = [&](int x, int y) {
                return y >= 0 && y < CELL && std::abs(2 * x - CELL + 1) < 2 * half[size_t(y)];
            };
            for (int y = 0; y < CELL; ++y)
                for (int x = 0; x < CELL; ++x) {
                    uint8_t* p = s.getData(cx + x, cy + y);
                    if (inside(x, y)) {
                        const bool edge = !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) ||
                                          !inside(x, y + 1);
                        const int shade = 4 - (y - top) * 4 / std::max(1, bottom - top) - (x < CELL / 2);
                        for (int c = 0; c < 3; ++c)
                            p[c] = edge ? outline[c] : uint8_t(hue[c] * (std::max(1, shade) + 2) / 6);
                        p[3] = 255;
                    } else if (inside(x - 2, y - 2) && y >= bottom) {
                        std::memcpy(p, shadow, 4);
                    }
                }
        }
    return s;
}

// Outlined blobs in cells of 32 x 32 pixels (a fifth left empty) over a background that is
// transparent or a plain colour: `colours` colours in all, the first the outline, the others
// filling each blob in bands. The PNG size checks' sheets of 2 to 240 colours.
inline Surface makeOutlinedSheet(int32_t size, int colours, bool transparent, uint32_t seed) {
    constexpr int CELL = 32;
    std::mt19937 random(seed);
    std::vector<std::array<uint8_t, 4>> palette;
    for (int i = 0; i < colours - 1; ++i)
        palette.push_back({uint8_t(random()), uint8_t(random()), uint8_t(random()), 255});
    const std::array<uint8_t, 4> background =
        transparent ? std::array<uint8_t, 4>{0, 0, 0, 0} : std::array<uint8_t, 4>{40, 60, 80, 255};
    Surface s(size, size, true);
    for (int32_t y = 0; y < size; ++y)
        for (int32_t x = 0; x < size; ++x) std::memcpy(s.getData(x, y), background.data(), 4);
    for (int32_t cy = 0; cy + CELL <= size; cy += CELL)
        for (int32_t cx = 0; cx + CELL <= size; cx += CELL) {
            if (random() % 5 == 0) continue;
            const size_t base = random() % palette.size();
            std::array<int, CELL> half{};
            int w = 4 + int(random() % 6);
            const int top = 3 + int(random() % 4), bottom = CELL - 5 - int(random() % 4);
            for (int y = top; y < bottom; ++y)
                half[size_t(y)] = w = std::max(2, std::min(13, w + int(random() % 5) - 2));
            const auto inside = [&](int x, int y) {
                return y >= 0 && y < CELL && std::abs(2 * x - CELL + 1) < 2 * half[size_t(y)];
            };
            for (int y = 0; y < CELL; ++y)
                for (int x = 0; x < CELL; ++x) {
                    if (!inside(x, y)) continue;
                    const bool edge =
                        !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
                    const size_t band = base + size_t(y * 5 / CELL + (x >= CELL / 2) + (x * y % 7 == 0));
                    const auto& c = edge ? palette[0] : palette[band % palette.size()];
                    std::memcpy(s.getData(cx + x, cy + y), c.data(), 4);
                }
        }
    return s;
}

// Random pixels of four colours, one of them transparent.
inline Surface makeRandomFourColours(int32_t size) {
    const uint8_t colours[4][4] = {
        {0, 0, 0, 0}, {250, 240, 220, 255}, {90, 40, 120, 255}, {30, 160, 90, 255}};
    std::mt19937 random(5);
    Surface s(size, size, true);
    for (int32_t y = 0; y < size; ++y)
        for (int32_t x = 0; x < size; ++x) std::memcpy(s.getData(x, y), colours[random() % 4], 4);
    return s;
}

}  // namespace loom::bench
