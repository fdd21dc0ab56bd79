// The bytes of the panel's pixel font (assets/font/QuennetPixel.ttf), compiled into the program
// by the build (EmbedBytes.cmake), so the panel needs no file at run time.
#pragma once

#include <cstdint>

namespace loom::params {

extern const unsigned char embeddedFontData[];
extern const int32_t embeddedFontSize;

}  // namespace loom::params
