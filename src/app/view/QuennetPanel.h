// The application's panel contents, top to bottom: the zoom slider, the upscaler and
// transform radio groups under their labels, the performance label, the comparison rules under
// "3. Compare" and the "Wrap edges" box (each added last, so that nothing above it moves).
// The application fills its panel with them; a panel filled the same way and laid out without a
// window tells where each control is.
#pragma once

#include "app/work/ProcessingPipeline.h"
#include "params/ParamPanel.h"

namespace loom::app {

// Binds the controls to the zoom (an index into zoomLevels(), starting at 4) and to the pipeline's
// choices, writing their initial values; returns the performance label, whose caption the
// application updates. Both must outlive the panel.
params::LabelControl* addQuennetControls(params::ParamPanel& panel, int& zoomLevel,
                                         ProcessingPipeline& pipeline);

}  // namespace loom::app
