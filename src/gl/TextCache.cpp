#include "gl/TextCache.h"

#include "gl/DrawString.h"
#include "gl/TextRaster.h"

namespace loom {
namespace gl {

void TextCache::drawString(const std::string& text, const Vec2f& pos, const ColorA& color,
                           const Font& font) {
    const Font& used = font ? font : defaultTextFont();
    const Key key(text, used.getFace(), toArgb(color));
    auto found = entries_.find(key);
    if (found == entries_.end()) {
        Entry entry;
        entry.font = used;
        const Surface surface = rasterizeText(text, used, color, &entry.descent);
        if (surface) entry.texture = Texture(surface);
        found = entries_.emplace(key, std::move(entry)).first;
    }
    found->second.used = true;
    drawTextTexture(found->second.texture, pos, found->second.descent);
}

void TextCache::endFrame() {
    for (auto it = entries_.begin(); it != entries_.end();) {
        if (it->second.used) {
            it->second.used = false;
            ++it;
        } else {
            it = entries_.erase(it);
        }
    }
}

}  // namespace gl
}  // namespace loom
