// writeResult(): how the tool and the application encode a result.
#pragma once

#include <string>

#include "image/Surface.h"
#include "io/DataTarget.h"
#include "pipeline/ResultOptions.h"

namespace loom {

// Writes result in the format of path's extension at options.quality. An extension without a
// writer raises ImageIoUnknownExtensionExc before anything is touched; a failed write leaves
// an existing file as it was. Returns what the user should know about the file written ("" when
// nothing): a format without transparency given a result that is partly transparent says what
// became of those pixels.
std::string writeResult(const std::string& path, const Surface& result, const ResultOptions& options);

// The same written to target (its path's extension chooses the format), whose commit() puts the
// file in place: a ResultWithAtlasTarget writes the sheet's atlas with it.
std::string writeResult(const DataTargetRef& target, const Surface& result,
                        const ResultOptions& options);

}  // namespace loom
