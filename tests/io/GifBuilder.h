// Writes GIF files with giflib's encoder from a description, for tests of what our reader makes of
// frames, tables, transparent indexes and disposal modes that no writer of ours produces.
#pragma once

#include <gif_lib.h>

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace loom::test {

struct GifFrameSpec {
    int left = 0, top = 0, width = 0, height = 0;
    std::vector<uint8_t> indices;   // width x height, row by row
    std::vector<uint32_t> colours;  // a local table (0xRRGGBB each), or empty
    int transparent = NO_TRANSPARENT_COLOR;
    int disposal = DISPOSAL_UNSPECIFIED;
};

// Tables are padded to a power of two with black; an empty global table writes none.
inline void writeGif(const std::string& path, int width, int height,
                     const std::vector<uint32_t>& globalColours,
                     const std::vector<GifFrameSpec>& frames) {
    auto table = [](const std::vector<uint32_t>& colours) -> ColorMapObject* {
        if (colours.empty()) return nullptr;
        int size = 2;
        while (size < int(colours.size())) size *= 2;
        std::vector<GifColorType> entries(size_t(size), GifColorType{0, 0, 0});
        for (size_t i = 0; i < colours.size(); ++i)
            entries[i] = {uint8_t(colours[i] >> 16), uint8_t(colours[i] >> 8), uint8_t(colours[i])};
        return GifMakeMapObject(size, entries.data());
    };
    int error = 0;
    GifFileType* gif = EGifOpenFileName(path.c_str(), false, &error);
    if (!gif) throw std::runtime_error("cannot write " + path);
    EGifSetGifVersion(gif, true);
    ColorMapObject* global = table(globalColours);
    bool ok = EGifPutScreenDesc(gif, width, height, 8, 0, global) == GIF_OK;
    for (const GifFrameSpec& f : frames) {
        GraphicsControlBlock control{f.disposal, false, 10, f.transparent};
        GifByteType extension[4];
        const size_t length = EGifGCBToExtension(&control, extension);
        ColorMapObject* local = table(f.colours);
        ok = ok && EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, int(length), extension) == GIF_OK &&
             EGifPutImageDesc(gif, f.left, f.top, f.width, f.height, false, local) == GIF_OK;
        std::vector<GifPixelType> row(size_t(f.width));
        for (int y = 0; ok && y < f.height; ++y) {
            row.assign(f.indices.begin() + y * f.width, f.indices.begin() + (y + 1) * f.width);
            ok = EGifPutLine(gif, row.data(), f.width) == GIF_OK;
        }
        if (local) GifFreeMapObject(local);
    }
    if (global) GifFreeMapObject(global);
    ok = EGifCloseFile(gif, &error) == GIF_OK && ok;
    if (!ok) throw std::runtime_error("giflib could not write " + path);
}

}  // namespace loom::test
