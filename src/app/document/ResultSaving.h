// Saving what the window shows: the result of the document's frame shown, or of every frame when
// the document is animated and the format holds an animation, with the sheet's atlas beside an
// unwarped sheet (both or neither).
#pragma once

#include <string>

#include "app/document/Document.h"
#include "app/work/ProcessingPipeline.h"
#include "app/work/UpscaledFrameCache.h"
#include "warp/CornerQuad.h"

namespace loom::app {

// Writes to path; returns what the status line says of what the file could not keep (only one frame
// of an animation, delays the format cannot hold), "" when nothing. Throws, having written nothing,
// when the save fails. The frames are upscaled through the cache, which keeps them for the window.
std::string saveShownResult(const std::string& path, const Document& document,
                            const ProcessingPipeline& pipeline, const CornerQuad& quad,
                            UpscaledFrameCache& frames);

}  // namespace loom::app
