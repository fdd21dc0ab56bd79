// ResultWithAtlasTarget: the file target of a result that has an atlas, so that the two are
// written both or neither. The atlas goes at once to a temporary file beside its path
// (atlasPathFor()); commit() puts it in place just before the result, and takes it away again
// (when no atlas was there before) if the result cannot follow. Dropped without commit(), it
// leaves both paths as they were and no temporary file.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "io/DataTarget.h"

namespace loom {

class ResultWithAtlasTarget : public DataTargetPath {
public:
    // The atlas's strings that are not UTF-8 (meta.image names the result as given, in whatever
    // bytes) are written with U+FFFD in place of their invalid bytes. StreamExc when the atlas's
    // temporary file cannot be written.
    ResultWithAtlasTarget(const std::string& resultPath, const nlohmann::ordered_json& atlas);
    void commit() override;

private:
    DataTargetPathRef atlas_;
};

}  // namespace loom
