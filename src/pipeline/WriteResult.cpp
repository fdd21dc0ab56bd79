#include "pipeline/WriteResult.h"

#include "io/ImageFile.h"
#include "io/ImageSourceSurface.h"

namespace loom {

void writeResult(const std::string& path, const Surface& result, const ResultOptions& options) {
    ImageTarget::Options targetOptions;
    targetOptions.setQuality(options.quality);
    writeImage(path, std::make_shared<ImageSourceSurface>(result), targetOptions);
}

}  // namespace loom
