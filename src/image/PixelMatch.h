// When the upscalers count two pixels as equal. By default only their colours are compared, so
// pixels differing only in alpha are equal (a transparent pixel matches the colour it hides);
// artists who want a change of alpha to count as an edge ask for ColourAndAlpha. Either way a
// written pixel is a whole copy, alpha included, of the pixel whose colour was chosen.
#pragma once

namespace loom {

enum class PixelMatch { Colour, ColourAndAlpha };

}  // namespace loom
