#include "pipeline/ResultName.h"

#include "io/Paths.h"
#include "io/codec/BuiltInCodecs.h"

namespace loom {

std::string resultNameFor(const std::string& sourcePath, const std::string& upscalerName) {
    const size_t dot = findExtensionDot(sourcePath);
    const std::string extension = dot < sourcePath.size() ? sourcePath.substr(dot + 1) : "";
    const std::string stem = sourcePath.substr(0, dot) + upscalerName;
    if (builtInCodecs().hasTarget(extension)) return stem + "." + extension;
    return stem + ".png";
}

}  // namespace loom
