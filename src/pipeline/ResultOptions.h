// How a result is made and written; the command-line tool and the application share the defaults.
#pragma once

#include "image/PixelMatch.h"
#include "image/SheetLayout.h"
#include "io/Palette.h"

namespace loom {

struct ResultOptions {
    PixelMatch match = PixelMatch::Seen;  // which pixels the upscaler counts as equal
    SheetLayout layout;                   // wrapped edges, cells
    float quality = 0.9f;                 // 0 to 1, for formats with a quality setting
    Palette palette;  // the source's colour table, kept by indexed formats when the result fits it
};

}  // namespace loom
