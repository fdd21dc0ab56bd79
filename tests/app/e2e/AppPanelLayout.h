// Where the application's panel puts its controls: the application's own panel contents on a panel
// laid out without a window, so that the tests press what the user sees without repeating the
// panel's geometry.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>

#include "app/view/QuennetPanel.h"
#include "app/view/ViewLayout.h"
#include "app/work/ProcessingPipeline.h"
#include "framework/AppBasic.h"
#include "params/LevelSliderControl.h"
#include "params/ParamPanel.h"

namespace e2e {

class AppPanelLayout {
public:
    AppPanelLayout() {
        loom::app::addQuennetControls(panel_, zoomLevel_, pipeline_);
        panel_.layout();
    }

    // The hit area of the first control captioned `caption` after the label `section` ("" for the
    // panel's top, "1. Upscaling", "2. Transform"): captions repeat across sections ("None").
    loom::Rectf area(const std::string& section, const std::string& caption) const {
        const loom::params::Control* control = find(section, caption);
        return control ? control->getHitArea() : loom::Rectf();
    }

    // The middle of that hit area, in window pixels.
    std::array<int, 2> middle(const std::string& section, const std::string& caption) const {
        const loom::Rectf a = area(section, caption);
        return {int(a.x1 + a.x2) / 2, int(a.y1 + a.y2) / 2};
    }

    // Where a press on the "Zoom" bar sets this zoom level.
    std::array<int, 2> zoomPoint(float zoom) const {
        const auto* bar = dynamic_cast<const loom::params::LevelSliderControl*>(find("", "Zoom"));
        if (!bar) return {0, 0};
        const loom::Rectf a = bar->getHitArea();
        const float t = float(loom::app::nearestZoomLevel(zoom)) / float(bar->levelCount() - 1);
        return {int(std::lround(a.x1 + t * (a.x2 - a.x1))), int(a.y1 + a.y2) / 2};
    }

    // The panel's right and bottom edges: the picture is fitted beside them.
    loom::Rectf bounds() const { return panel_.getBounds(); }

private:
    const loom::params::Control* find(const std::string& section, const std::string& caption) const {
        bool inSection = section.empty();
        for (const auto& control : panel_.getControls()) {
            if (control->getCaption() == section)
                inSection = true;
            else if (inSection && control->getCaption() == caption)
                return control.get();
        }
        ADD_FAILURE() << "the panel has no \"" << caption << "\" under \"" << section << "\"";
        return nullptr;
    }

    // Never launched: the panel only registers its callbacks with it.
    loom::framework::AppBasic app_;
    int zoomLevel_ = 0;  // the values the controls are bound to, which outlive the panel
    loom::app::ProcessingPipeline pipeline_;
    loom::params::ParamPanel panel_{&app_};
};

}  // namespace e2e
