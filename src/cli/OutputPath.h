// Where the tool writes each result.
#pragma once

#include <string>

namespace loom::cli {

// The output path of inputPath: beside it (named by resultNameFor) when output is empty; inside
// output, under that name, when it is a directory (or when there are several inputs); output
// itself otherwise.
std::string outputPathFor(const std::string& inputPath, const std::string& upscalerName,
                          const std::string& output, bool severalInputs);

}  // namespace loom::cli
