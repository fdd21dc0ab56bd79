#include "cli/OutputPath.h"

#include <filesystem>

#include "io/Paths.h"
#include "pipeline/ResultName.h"

namespace loom::cli {

std::string outputPathFor(const std::string& inputPath, const std::string& upscalerName,
                          const std::string& output, bool severalInputs) {
    const std::string besideInput = resultNameFor(inputPath, upscalerName);
    if (output.empty()) return besideInput;
    std::error_code ignored;
    const bool intoDirectory =
        severalInputs || output.back() == '/' || std::filesystem::is_directory(output, ignored);
    if (!intoDirectory) return output;
    const std::string name = besideInput.substr(getPathDirectory(besideInput).size());
    return output.back() == '/' ? output + name : output + "/" + name;
}

}  // namespace loom::cli
