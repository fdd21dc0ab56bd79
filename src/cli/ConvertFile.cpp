#include "cli/ConvertFile.h"

#include <array>
#include <filesystem>
#include <stdexcept>
#include <utility>

#include "io/ImageFile.h"
#include "io/Paths.h"
#include "io/codec/BuiltInCodecs.h"
#include "pipeline/MakeResult.h"
#include "pipeline/WriteResult.h"

namespace loom::cli {

void convertFile(const std::string& inputPath, const std::string& outputPath,
                 const CliOptions& options) {
    const std::string extension = getPathExtension(outputPath);
    if (!builtInCodecs().hasTarget(extension))
        throw ImageIoUnknownExtensionExc("cannot write images of type \"" + extension + "\"");
    std::error_code ignored;
    if (!options.force && std::filesystem::exists(outputPath, ignored))
        throw std::runtime_error(outputPath + " exists (use --force to overwrite)");

    Surface source(loadImage(inputPath));
    const float w = float(source.getWidth());
    const float h = float(source.getHeight());
    const std::array<Vec2f, 4> quad =
        options.quad ? *options.quad
                     : std::array<Vec2f, 4>{Vec2f(0, 0), Vec2f(w, 0), Vec2f(w, h), Vec2f(0, h)};
    // Handing over the only handle lets the decoded source go as soon as it is upscaled.
    const Surface result =
        makeResult(std::move(source), options.upscaler, options.transform, quad, options.result);
    writeResult(outputPath, result, options.result);
}

}  // namespace loom::cli
