// The transforms offered for pinning the image onto the quad. Ids are the radio-group indexes of
// the panel and the values warp() dispatches on.
#pragma once

#include <string>
#include <vector>

namespace loom {

enum TransformId : int { TRANSFORM_NONE = 0, TRANSFORM_PROJECTIVE = 1, TRANSFORM_BILINEAR = 2 };

struct TransformInfo {
    int id;
    const char* name;
};

// "None", "Projective", "Bilinear", in id order.
const std::vector<TransformInfo>& transformCatalogue();
// The id of the transform with this exact name, -1 when there is none.
int findTransform(const std::string& name);

}  // namespace loom
