#include "cli/ConvertFile.h"

#include <filesystem>
#include <stdexcept>

#include "image/Upscale.h"
#include "image/UpscalerCatalogue.h"
#include "image/io/ImageFile.h"
#include "image/io/ImageIoRegistrar.h"
#include "image/io/ImageSourceSurface.h"
#include "platform/Paths.h"
#include "warp/TransformCatalogue.h"
#include "warp/WarpUpscaled.h"

namespace loom::cli {

void convertFile(const std::string& inputPath, const std::string& outputPath, const CliOptions& options) {
    const std::string extension = getPathExtension(outputPath);
    if (!ImageIoRegistrar::Inst::get().hasTarget(extension))
        throw ImageIoExceptionUnknownExtension("cannot write images of type \"" + extension + "\"");
    std::error_code ignored;
    if (!options.force && std::filesystem::exists(outputPath, ignored))
        throw std::runtime_error(outputPath + " exists (use --force to overwrite)");

    Surface result;
    {
        // The decoded source and the surfaces in between go as soon as the next one is made.
        Surface source(loadImage(inputPath));
        const float w = float(source.getWidth());
        const float h = float(source.getHeight());
        result = upscale(source, options.upscaler, options.match);
        if (!result) throw std::runtime_error("the upscaler gave no image");
        source = Surface();
        if (options.transform != TRANSFORM_NONE) {
            const std::array<Vec2f, 4> corners =
                options.quad ? *options.quad
                             : std::array<Vec2f, 4>{Vec2f(0, 0), Vec2f(w, 0), Vec2f(w, h), Vec2f(0, h)};
            result = warpUpscaled(options.transform, result, corners,
                                  upscalerCatalogue()[size_t(options.upscaler)].factor);
        }
    }
    ImageTarget::Options targetOptions;
    targetOptions.setQuality(options.quality);
    writeImage(outputPath, std::make_shared<ImageSourceSurface>(result), targetOptions);
}

}  // namespace loom::cli
