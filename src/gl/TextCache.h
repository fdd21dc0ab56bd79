// TextCache: drawString with memory. A caption drawn every frame is rasterised and uploaded once
// and its texture reused while it stays on screen; what is drawn is exactly what drawString draws.
// Entries not drawn during a frame are dropped at the frame's end, so a caption that keeps
// changing (a timing label) holds one texture at a time. Textures belong to the OpenGL context
// that was current when they were made: a cache must not outlive its context or move between
// contexts.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <tuple>

#include "gl/Font.h"
#include "gl/Texture.h"
#include "math/Color.h"
#include "math/Vec2.h"

namespace loom {
namespace gl {

class TextCache {
public:
    // Like drawString(text, pos, color, font), which it stands for; a null font means the default
    // text font.
    void drawString(const std::string& text, const Vec2f& pos, const ColorA& color, const Font& font);
    // Forgets the entries that no drawString used since the previous call.
    void endFrame();

    size_t size() const { return entries_.size(); }

private:
    // Text, the font record (each entry keeps its font alive, so the address stays unique) and
    // the colour as its bytes.
    using Key = std::tuple<std::string, const void*, uint32_t>;
    struct Entry {
        Font font;
        Texture texture;
        float descent = 0.0f;
        bool used = true;
    };
    std::map<Key, Entry> entries_;
};

}  // namespace gl
}  // namespace loom
