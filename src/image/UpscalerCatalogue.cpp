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

UpscalerInfo nearest(int id, int factor) {
    return {id, "Nearest" + std::to_string(factor) + "x", factor, {}};
}

int findIn(const std::vector<UpscalerInfo>& modes, const std::string& name) {
    for (const UpscalerInfo& info : modes)
        if (name == info.name) return info.id;
    for (const UpscalerInfo& info : modes)
        if (strcasecmp(name.c_str(), info.name.c_str()) == 0) return info.id;
    return -1;
}

// The catalogue, then the plain-block sizes it does not hold.
const std::vector<UpscalerInfo>& allUpscalers() {
    static const std::vector<UpscalerInfo> all = [] {
        std::vector<UpscalerInfo> modes = upscalerCatalogue();
        for (int factor = 2; factor <= MAX_NEAREST_FACTOR; ++factor)
            if (findIn(upscalerCatalogue(), "Nearest" + std::to_string(factor) + "x") < 0)
                modes.push_back(nearest(int(modes.size()), factor));
        return modes;
    }();
    return all;
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
        nearest(8, 2),
        nearest(9, 3),
        nearest(10, 4),
        mode(11, "MMPX2x", {{K::Mmpx2x, {}}}),
        mode(12, "MMPX4x", {{K::Mmpx2x, {}}, {K::Mmpx2x, {}}}),
    };
    return catalogue;
}

const UpscalerInfo& upscalerById(int id) {
    const std::vector<UpscalerInfo>& modes = allUpscalers();
    if (id < 0 || id >= int(modes.size()))
        throw std::invalid_argument("unknown upscaler id " + std::to_string(id));
    return modes[size_t(id)];
}

int plainBlocksUpscaler(int factor) {
    return factor == 1 ? 0 : findUpscaler("Nearest" + std::to_string(factor) + "x");
}

int findUpscaler(const std::string& name) {
    const int id = findIn(upscalerCatalogue(), name);
    return id >= 0 ? id : findIn(allUpscalers(), name);
}

}  // namespace loom
