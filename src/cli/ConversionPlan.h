// What a run converts: every input file with the path its result goes to.
#pragma once

#include <string>
#include <vector>

#include "cli/CliOptions.h"

namespace loom::cli {

struct Conversion {
    std::string input;
    std::string output;
    // Set when the file fails before it is tried: the folder could not be read, or the result
    // would land where an earlier input's does.
    std::string error;
};

struct ConversionPlan {
    std::vector<Conversion> conversions;
    // Several inputs or a folder among them: results that exist are skipped, progress is shown
    // and a summary ends the run.
    bool batch = false;
    // The -o folder of a batch, made before the first file; "" when there is none.
    std::string outputFolder;
    // Said on stderr before the run (listInputFiles' notes).
    std::vector<std::string> notes;
};

// Lists the input folders' images and names every result (outputPathFor, under its subfolder in
// a batch's -o folder). Without -o, results land beside their sources, so an image found in a
// folder beside another whose name it is plus an upscaler's (heroScale2x.png beside hero.png) is
// an earlier run's result and is left out: a batch can run twice. Throws CliUsageExc when a batch's -o
// names a file, or, when missing, has an image file's extension.
ConversionPlan planConversions(const CliOptions& options);

}  // namespace loom::cli
