#include "image/UpscalerCatalogue.h"

#include <strings.h>

#include <stdexcept>
#include <utility>

#include "image/KernelRows.h"

namespace loom {

namespace {

UpscalerInfo mode(int id, const char* name, std::vector<UpscaleStage> recipe) {
    int factor = 1;
    for (const UpscaleStage& stage : recipe) factor *= kernelFactor(stage.kernel);
    return {id, name, factor, std::move(recipe)};
}

}  // namespace

const std::vector<UpscalerInfo>& upscalerCatalogue() {
    using K = Kernel;
    using P = RefinePass;
    static const std::vector<UpscalerInfo> catalogue = {
        mode(0, "None", {}),
        mode(1, "Scale2x", {{K::Scale2x, {}}}),
        mode(2, "Scale3x", {{K::Scale3x, {}}}),
        mode(3, "Scale4x", {{K::Scale2x, {}}, {K::Scale2x, {}}}),
        mode(4, "Eagle2x", {{K::Eagle2x, {}}}),
        mode(5, "Scale2xHQ", {{K::Scale2x, {P::IsolatedPixel, P::Diagonal2x}}}),
        mode(6, "Scale3xHQ", {{K::Scale3x, {P::Corner3x, P::Diagonal3x}}}),
        mode(7, "Scale4xHQ", {{K::Scale2x, {P::IsolatedPixel, P::Diagonal2x}}, {K::Eagle2x, {}}}),
    };
    return catalogue;
}

const UpscalerInfo& upscalerById(int id) {
    const std::vector<UpscalerInfo>& catalogue = upscalerCatalogue();
    if (id < 0 || id >= int(catalogue.size()))
        throw std::invalid_argument("unknown upscaler id " + std::to_string(id));
    return catalogue[size_t(id)];
}

int findUpscaler(const std::string& name) {
    for (const UpscalerInfo& info : upscalerCatalogue())
        if (name == info.name) return info.id;
    for (const UpscalerInfo& info : upscalerCatalogue())
        if (strcasecmp(name.c_str(), info.name) == 0) return info.id;
    return -1;
}

}  // namespace loom
