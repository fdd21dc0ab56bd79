#include "warp/TransformCatalogue.h"

namespace loom {

const std::vector<TransformInfo>& transformCatalogue() {
    static const std::vector<TransformInfo> catalogue = {
        {TRANSFORM_NONE, "None"},
        {TRANSFORM_PROJECTIVE, "Projective"},
        {TRANSFORM_BILINEAR, "Bilinear"},
    };
    return catalogue;
}

int findTransform(const std::string& name) {
    for (const TransformInfo& info : transformCatalogue())
        if (name == info.name) return info.id;
    return -1;
}

}  // namespace loom
