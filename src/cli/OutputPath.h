// Where the tool writes each result.
#pragma once

#include <string>

namespace loom::cli {

// The input's name with the upscaler's name inserted before its extension (hero.png with Scale2x
// gives heroScale2x.png), as the application's save proposes it. A leading dot marks a hidden
// file, not an extension. When the extension cannot be written, the result is a PNG
// (hero.gif gives heroScale2x.png).
std::string resultNameFor(const std::string& inputPath, const std::string& upscalerName);

// The output path of inputPath: beside it when output is empty; inside output when it is a
// directory (or when there are several inputs); output itself otherwise.
std::string outputPathFor(const std::string& inputPath, const std::string& upscalerName,
                          const std::string& output, bool severalInputs);

}  // namespace loom::cli
