// A hostile sheet and atlas, a few hundred bytes in all: a 4 x 4 sheet whose one frame claims to
// be trimmed from a sprite of 24000 x 24000 pixels. An atlas's sizes are only numbers, so this
// one must be refused before anything of the sprite's size is allocated.
#pragma once

#include <fstream>
#include <memory>
#include <string>

#include "image/Surface.h"
#include "io/ImageFile.h"
#include "io/ImageSourceSurface.h"

namespace loom::test {

// Writes the sheet (a PNG, any extension loom writes) and its atlas.
inline void writeHugeSpriteAtlas(const std::string& sheetPath, const std::string& atlasPath) {
    Surface sheet(4, 4, true);
    for (int32_t y = 0; y < 4; ++y)
        for (int32_t x = 0; x < 4; ++x) {
            uint8_t* p = sheet.getData(x, y);
            p[0] = uint8_t(60 * x), p[1] = uint8_t(60 * y), p[2] = 200, p[3] = 255;
        }
    writeImage(sheetPath, std::make_shared<ImageSourceSurface>(sheet));
    std::ofstream(atlasPath, std::ios::binary)
        << R"({"frames": {"hero": {"frame": {"x": 0, "y": 0, "w": 4, "h": 4}, "trimmed": true, )"
           R"("spriteSourceSize": {"x": 0, "y": 0, "w": 4, "h": 4}, )"
           R"("sourceSize": {"w": 24000, "h": 24000}}}, "meta": {"size": {"w": 4, "h": 4}}})";
}

}  // namespace loom::test
