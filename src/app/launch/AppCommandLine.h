// quennetapp [options] [FILE]: the window starts with quennet's choices of upscaler, transform,
// comparison rule, edges, cells and atlas, and opens FILE.
#pragma once

#include <string>

#include "image/PixelMatch.h"
#include "image/SheetLayout.h"

namespace loom::app {

struct AppStart {
    std::string file;  // "" for none
    int upscaler = 0;  // None until the user picks one
    int transform = 0;
    PixelMatch match = PixelMatch::Seen;
    SheetLayout layout;
    std::string atlas;  // the file's JSON atlas, when named
    bool help = false;
    bool version = false;
};

// Throws cli::CliUsageExc with a one-line message for an option the window does not take, more
// than one file, or what quennet itself refuses.
AppStart parseAppCommandLine(int argc, const char* const* argv);

std::string appUsageText();

}  // namespace loom::app
