#include "pipeline/Atlas.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fstream>
#include <limits>
#include <set>
#include <sstream>

#include "image/ImageLimits.h"

namespace loom {

namespace {

using Json = nlohmann::ordered_json;

std::string quotedName(const std::string& name) { return "frame \"" + name + "\""; }

// object[key] as a whole number of int32_t range; exporters write integers, some as 12.0.
int32_t wholeNumber(const Json& object, const char* key, const std::string& where) {
    const auto found = object.find(key);
    if (found == object.end()) throw AtlasExc(where + " has no \"" + key + "\"");
    const double value = found->is_number() ? found->get<double>() : std::nan("");
    if (!std::isfinite(value) || value != std::floor(value) ||
        std::fabs(value) > double(std::numeric_limits<int32_t>::max()))
        throw AtlasExc(where + ": \"" + key + "\" is not a whole number");
    return int32_t(value);
}

const Json& member(const Json& object, const char* key, const std::string& where) {
    const auto found = object.find(key);
    if (found == object.end() || !found->is_object())
        throw AtlasExc(where + " has no \"" + key + "\" object");
    return *found;
}

bool flag(const Json& object, const char* key, const std::string& where) {
    const auto found = object.find(key);
    if (found == object.end()) return false;
    if (!found->is_boolean()) throw AtlasExc(where + ": \"" + key + "\" is not true or false");
    return found->get<bool>();
}

AtlasFrame readFrame(const Json& entry, const std::string& name) {
    const std::string where = quotedName(name);
    if (!entry.is_object()) throw AtlasExc(where + " is not an object");
    const Json& rect = member(entry, "frame", where);
    const std::string rectWhere = where + " frame";
    const int32_t x = wholeNumber(rect, "x", rectWhere), y = wholeNumber(rect, "y", rectWhere);
    const int32_t w = wholeNumber(rect, "w", rectWhere), h = wholeNumber(rect, "h", rectWhere);
    if (x < 0 || y < 0) throw AtlasExc(where + " has a negative position");
    if (w <= 0 || h <= 0)
        throw AtlasExc(where + " has a size of " + std::to_string(w) + " x " + std::to_string(h) +
                       " (at least 1 x 1)");
    AtlasFrame frame;
    frame.name = name;
    frame.rotated = flag(entry, "rotated", where);
    // w and h are the upright frame's: the sheet holds a rotated one h x w.
    const int64_t storedW = frame.rotated ? h : w, storedH = frame.rotated ? w : h;
    if (x + storedW > std::numeric_limits<int32_t>::max() ||
        y + storedH > std::numeric_limits<int32_t>::max())
        throw AtlasExc(where + " lies past any sheet");
    frame.stored = Area(x, y, int32_t(x + storedW), int32_t(y + storedH));
    frame.spriteWidth = w, frame.spriteHeight = h;
    if (!flag(entry, "trimmed", where)) return frame;
    const Json& placed = member(entry, "spriteSourceSize", where);
    const Json& sprite = member(entry, "sourceSize", where);
    frame.offsetX = wholeNumber(placed, "x", where + " spriteSourceSize");
    frame.offsetY = wholeNumber(placed, "y", where + " spriteSourceSize");
    frame.spriteWidth = wholeNumber(sprite, "w", where + " sourceSize");
    frame.spriteHeight = wholeNumber(sprite, "h", where + " sourceSize");
    if (frame.offsetX < 0 || frame.offsetY < 0 || int64_t(frame.offsetX) + w > frame.spriteWidth ||
        int64_t(frame.offsetY) + h > frame.spriteHeight)
        throw AtlasExc(where + ": its spriteSourceSize does not lie inside its sourceSize");
    return frame;
}

// "[json.exception.parse_error.101] parse error at ..." without the library's tag.
std::string withoutTag(const std::string& message) {
    const size_t tagEnd = message.rfind("] ", message.find(' '));
    return tagEnd == std::string::npos ? message : message.substr(tagEnd + 2);
}

std::string sizeText(int32_t w, int32_t h) { return std::to_string(w) + " x " + std::to_string(h); }

// The sprite a frame is cut from, enlarged, must be an image we can make: its declared size is
// only numbers, so it is checked before anything of that size is allocated.
void checkSpriteSize(const AtlasFrame& frame, int factor) {
    const int64_t w = int64_t(frame.spriteWidth) * factor, h = int64_t(frame.spriteHeight) * factor;
    if (withinImageLimits(w, h)) return;
    throw AtlasExc(quotedName(frame.name) + ": its sprite of " +
                   sizeText(frame.spriteWidth, frame.spriteHeight) + " pixels (sourceSize), enlarged " +
                   std::to_string(factor) + "x to " + std::to_string(w) + " x " + std::to_string(h) +
                   ", is larger than the largest image (" + std::to_string(MAX_IMAGE_SIDE) +
                   " pixels a side, " + std::to_string(MAX_IMAGE_PIXELS) + " pixels in all)");
}

bool overlap(const Area& a, const Area& b) {
    return a.x1 < b.x2 && b.x1 < a.x2 && a.y1 < b.y2 && b.y1 < a.y2;
}

// framesOnSheet() but for naming the file.
std::vector<AtlasFrame> framesChecked(const Atlas& atlas, int32_t width, int32_t height, int factor) {
    if (atlas.sheetSize && (atlas.sheetSize->first != width || atlas.sheetSize->second != height))
        throw AtlasExc("the atlas is for a sheet of " +
                       sizeText(atlas.sheetSize->first, atlas.sheetSize->second) +
                       " pixels, the image is " + sizeText(width, height));
    std::vector<AtlasFrame> frames;
    std::set<std::array<int32_t, 4>> seen;
    for (const AtlasFrame& frame : atlas.frames) {
        const Area& r = frame.stored;
        if (r.x2 > width || r.y2 > height)
            throw AtlasExc(quotedName(frame.name) + " reaches outside the " + sizeText(width, height) +
                           " sheet");
        checkSpriteSize(frame, factor);
        if (seen.insert({r.x1, r.y1, r.x2, r.y2}).second) frames.push_back(frame);
    }
    // Left to right: only frames starting before one's right edge can overlap it.
    std::vector<const AtlasFrame*> byLeft;
    for (const AtlasFrame& frame : frames) byLeft.push_back(&frame);
    std::stable_sort(byLeft.begin(), byLeft.end(), [](const AtlasFrame* a, const AtlasFrame* b) {
        return a->stored.x1 < b->stored.x1;
    });
    for (size_t i = 0; i < byLeft.size(); ++i)
        for (size_t j = i + 1; j < byLeft.size() && byLeft[j]->stored.x1 < byLeft[i]->stored.x2; ++j)
            if (overlap(byLeft[i]->stored, byLeft[j]->stored))
                throw AtlasExc(quotedName(byLeft[i]->name) + " and " + quotedName(byLeft[j]->name) +
                               " overlap in the sheet");
    return frames;
}

}  // namespace

Atlas parseAtlas(const std::string& text) {
    Atlas atlas;
    try {
        atlas.document = Json::parse(text);
    } catch (const Json::exception& e) {
        throw AtlasExc("not valid JSON: " + withoutTag(e.what()));
    }
    const Json& document = atlas.document;
    if (!document.is_object()) throw AtlasExc("not an atlas: the JSON is not an object");
    const auto frames = document.find("frames");
    if (frames == document.end() || !(frames->is_object() || frames->is_array()))
        throw AtlasExc("not an atlas: no \"frames\" object or array");
    if (frames->is_object()) {
        for (const auto& [name, entry] : frames->items()) atlas.frames.push_back(readFrame(entry, name));
    } else {
        for (size_t i = 0; i < frames->size(); ++i) {
            const Json& entry = (*frames)[i];
            const auto filename = entry.is_object() ? entry.find("filename") : entry.end();
            const bool named = entry.is_object() && filename != entry.end() && filename->is_string();
            atlas.frames.push_back(
                readFrame(entry, named ? filename->get<std::string>() : "#" + std::to_string(i + 1)));
        }
    }
    if (atlas.frames.empty()) throw AtlasExc("the atlas has no frames");
    const auto meta = document.find("meta");
    if (meta != document.end() && meta->is_object() && meta->contains("size")) {
        const Json& size = member(*meta, "size", "meta");
        atlas.sheetSize = {wholeNumber(size, "w", "meta size"), wholeNumber(size, "h", "meta size")};
    }
    return atlas;
}

Atlas readAtlas(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw AtlasExc("cannot read " + path + ": " + std::strerror(errno));
    std::stringstream text;
    text << in.rdbuf();
    if (in.bad()) throw AtlasExc("cannot read " + path);
    try {
        Atlas atlas = parseAtlas(text.str());
        atlas.path = path;
        return atlas;
    } catch (const AtlasExc& e) {
        throw AtlasExc(path + ": " + e.what());
    }
}

std::vector<AtlasFrame> framesOnSheet(const Atlas& atlas, int32_t width, int32_t height, int factor) {
    try {
        return framesChecked(atlas, width, height, factor);
    } catch (const AtlasExc& e) {
        if (atlas.path.empty()) throw;
        throw AtlasExc(atlas.path + ": " + e.what());
    }
}

}  // namespace loom
