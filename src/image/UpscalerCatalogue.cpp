#include "image/UpscalerCatalogue.h"

#include <strings.h>

namespace loom {

const std::vector<UpscalerInfo>& upscalerCatalogue() {
    static const std::vector<UpscalerInfo> catalogue = {
        {0, "None", 1},      {1, "Scale2x", 2},   {2, "Scale3x", 3},   {3, "Scale4x", 4},
        {4, "Eagle2x", 2},   {5, "Scale2xHQ", 2}, {6, "Scale3xHQ", 3}, {7, "Scale4xHQ", 4},
    };
    return catalogue;
}

int findUpscaler(const std::string& name) {
    for (const UpscalerInfo& info : upscalerCatalogue())
        if (name == info.name) return info.id;
    for (const UpscalerInfo& info : upscalerCatalogue())
        if (strcasecmp(name.c_str(), info.name) == 0) return info.id;
    return -1;
}

}  // namespace loom
