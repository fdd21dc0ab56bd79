// writeResult(): how the tool and the application encode a result.
#pragma once

#include <string>

#include "image/Surface.h"
#include "pipeline/ResultOptions.h"

namespace loom {

// Writes result in the format of path's extension at options.quality. An extension without a
// writer raises ImageIoUnknownExtensionExc before anything is touched; a failed write leaves
// an existing file as it was.
void writeResult(const std::string& path, const Surface& result, const ResultOptions& options);

}  // namespace loom
