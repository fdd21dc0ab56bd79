// The command line of the quennet tool, parsed into options. Usage errors raise CliUsageExc,
// which the tool reports with exit status 2.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "base/Exception.h"
#include "math/Vec2.h"
#include "pipeline/ResultOptions.h"

namespace loom::cli {

class CliUsageExc : public Exception {
public:
    using Exception::Exception;
};

struct CliOptions {
    int upscaler = 1;            // Scale2x
    bool upscalerGiven = false;  // -u was given, for a program whose default differs
    int transform = 0;           // None
    ResultOptions result;        // --compare and --quality
    // Corners in source pixels: top-left, top-right, bottom-right, bottom-left. Unset: the image.
    std::optional<std::array<Vec2f, 4>> quad;
    // --frame: which picture of a file holding several (an icon's sizes), 1 for the first in
    // file order. Unset: the reader's choice.
    std::optional<int> frame;
    // --tag: only the frames of this tag of an Aseprite file. Empty: every frame.
    std::string tag;
    // --atlas: the sheet's JSON atlas; its frames are upscaled one by one and a scaled copy of it
    // is written beside the result. Empty: none.
    std::string atlas;
    std::string output;  // a file for one input file, else a folder; empty: beside the input
    bool force = false;
    bool recursive = false;  // input folders' subfolders too
    bool verbose = false;    // a line for every file written
    int jobs = 0;            // 0: one per core
    bool list = false;
    bool help = false;
    bool version = false;
    std::vector<std::string> inputs;
};

// Parses argv[1..argc-1]. Throws CliUsageExc with a one-line message, also when there is no input
// and inputsRequired.
CliOptions parseCliOptions(int argc, const char* const* argv, bool inputsRequired = true);

// The text of --help.
std::string cliUsageText();

}  // namespace loom::cli
