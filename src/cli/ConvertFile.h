// One file through the same pipeline as the application: decode, upscale, warp onto the quad
// (given in source pixels) when a transform is chosen, encode; for an animation, every frame.
#pragma once

#include <string>

#include "cli/CliOptions.h"

namespace loom::cli {

// Throws a std::exception whose what() says why the file failed. Without options.force an
// existing output is refused before the input is read. An animated input gives an animated
// output when that is a GIF, its first frame otherwise. options.frame picks one picture of a file
// holding several (an error naming how many there are when it holds fewer), and is refused for an
// animation. Returns a note for the user (the frames left out), empty when there is nothing to
// say. With options.atlas, the sheet is upscaled frame by frame and the atlas, scaled, is
// written beside the result (atlasPathFor()); an existing one is refused as the result is.
std::string convertFile(const std::string& inputPath, const std::string& outputPath,
                        const CliOptions& options);

}  // namespace loom::cli
