#include "app/view/QuennetPanel.h"

#include <string>
#include <vector>

#include "app/view/ViewLayout.h"
#include "image/UpscalerCatalogue.h"
#include "warp/TransformCatalogue.h"

namespace loom::app {

namespace {

// A catalogue's names in row order, so that a radio box's index is its row's id (ids are indexes).
template <class Info>
std::vector<std::string> namesOf(const std::vector<Info>& catalogue) {
    std::vector<std::string> names;
    for (const Info& info : catalogue) names.push_back(info.name);
    return names;
}

}  // namespace

params::LabelControl* addQuennetControls(params::ParamPanel& panel, int& zoomLevel,
                                         ProcessingPipeline& pipeline) {
    // The zoom bar's own caption heads the panel: with every upscaler's row, a "View" heading
    // would push the last control into the status line of a 480-pixel-high window.
    panel.addLevelParam("Zoom", &zoomLevel, zoomLevelNames(), nearestZoomLevel(4.0f));
    panel.addLabel("1. Upscaling");
    panel.addRadioGroup(namesOf(upscalerCatalogue()), &pipeline.upscaler, 0);
    panel.addLabel("2. Transform");
    panel.addRadioGroup(namesOf(transformCatalogue()), &pipeline.transform, 0);
    params::LabelControl* perfLabel = panel.addLabel("Perf: 0 ms");
    panel.addLabel("3. Compare");
    panel.addRadioGroup({PIXEL_MATCH_NAMES.begin(), PIXEL_MATCH_NAMES.end()}, &pipeline.compare,
                        int(PixelMatch::Seen));
    panel.addBoolParam("Wrap edges", &pipeline.wrapEdges, false, params::BoolVarControl::CHECK_BOX);
    return perfLabel;
}

}  // namespace loom::app
