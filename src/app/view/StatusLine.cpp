#include "app/view/StatusLine.h"

#include "gl/Draw.h"
#include "gl/DrawString.h"
#include "gl/State.h"
#include "gl/TextRaster.h"
#include "gl/Texture.h"
#include "params/PanelStyle.h"
#include "params/ParamPanel.h"

namespace loom::app {

void drawStatusLine(const std::vector<std::string>& parts, int windowHeight) {
    std::string line;
    for (const std::string& part : parts)
        if (!part.empty()) line += (line.empty() ? "" : "   ") + part;
    if (line.empty()) return;
    float descent = 0.0f;
    const Surface text =
        gl::rasterizeText(line, params::ParamPanel::getFont(), ColorA(1, 1, 1, 1), &descent);
    if (!text) return;
    const gl::Texture texture(text);
    const Vec2f at(8.0f, float(windowHeight) - 20.0f);
    gl::disableDepthRead();  // the panel turns it back on, and the text lies on the strip's depth
    const Rectf drawn(at.x, at.y - descent, at.x + float(text.getWidth()),
                      at.y - descent + float(text.getHeight()));
    gl::enableAlphaBlending();
    gl::setColor(params::backColor);
    gl::drawSolidRect(Rectf(drawn.x1 - 4.0f, drawn.y1 - 2.0f, drawn.x2 + 4.0f, drawn.y2 + 2.0f));
    gl::setColor(ColorA(1, 1, 1, 1));
    gl::drawTextTexture(texture, at, descent);
    gl::disableAlphaBlending();
}

}  // namespace loom::app
