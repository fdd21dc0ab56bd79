#include "pipeline/ResultWithAtlasTarget.h"

#include <filesystem>

#include "pipeline/ScaledAtlas.h"

namespace loom {

ResultWithAtlasTarget::ResultWithAtlasTarget(const std::string& resultPath,
                                             const nlohmann::ordered_json& atlas)
    : DataTargetPath(resultPath), atlas_(openFileTarget(atlasPathFor(resultPath))) {
    const std::string text =
        atlas.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
    atlas_->getStream()->writeData(text.data(), text.size());
}

void ResultWithAtlasTarget::commit() {
    const std::string& atlasPath = atlas_->getFilePath();
    std::error_code ignored;
    const bool atlasWasThere =
        std::filesystem::exists(std::filesystem::symlink_status(atlasPath, ignored));
    atlas_->commit();
    try {
        DataTargetPath::commit();
    } catch (...) {
        if (!atlasWasThere) std::filesystem::remove(atlasPath, ignored);
        throw;
    }
}

}  // namespace loom
