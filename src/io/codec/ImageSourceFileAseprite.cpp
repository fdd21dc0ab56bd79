#include "io/codec/ImageSourceFileAseprite.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "image/ImageLimits.h"
#include "io/ImageIoExc.h"
#include "io/codec/EndianBytes.h"

namespace loom {

namespace {

// zlib's deflate makes at most 1032 bytes of one compressed byte.
constexpr int64_t MOST_BYTES_PER_COMPRESSED_BYTE = 1032;

[[noreturn]] void fail(const std::string& reason) { throw ImageIoFailedLoadExc("Aseprite: " + reason); }

// The frames a tag plays, in its direction (a ping-pong once each way, its ends shown once).
std::vector<int32_t> framesOfTag(const AsepriteFile& file, const std::string& name) {
    std::vector<int32_t> frames;
    if (name.empty()) {
        for (int32_t f = 0; f < int32_t(file.frames.size()); ++f) frames.push_back(f);
        return frames;
    }
    const auto tag = std::find_if(file.tags.begin(), file.tags.end(),
                                  [&](const AsepriteTag& t) { return t.name == name; });
    if (tag == file.tags.end()) {
        std::string names;
        for (const AsepriteTag& t : file.tags) names += (names.empty() ? "\"" : ", \"") + t.name + "\"";
        fail("no tag \"" + name + "\" (" +
             (names.empty() ? "the file has no tags" : "its tags: " + names) + ")");
    }
    if (tag->from > tag->to || tag->to >= file.frames.size())
        fail("tag \"" + name + "\" names frames the file lacks");
    for (int32_t f = tag->from; f <= tag->to; ++f) frames.push_back(f);
    const bool pingPong =
        tag->direction == AsepriteTag::PING_PONG || tag->direction == AsepriteTag::PING_PONG_REVERSE;
    if (pingPong)
        for (int32_t f = tag->to - 1; f > tag->from; --f) frames.push_back(f);
    if (tag->direction == AsepriteTag::REVERSE || tag->direction == AsepriteTag::PING_PONG_REVERSE)
        std::reverse(frames.begin(), frames.end());
    return frames;
}

// Inflates exactly expected bytes, which the caller has checked against the image limits.
std::vector<uint8_t> inflate(const uint8_t* data, size_t size, size_t expected, const char* what) {
    requireFillable(expected, int64_t(size), MOST_BYTES_PER_COMPRESSED_BYTE, "Aseprite");
    std::vector<uint8_t> out(expected);
    uLongf made = uLongf(expected);
    if (uncompress(out.data(), &made, data, uLong(size)) != Z_OK || made != expected)
        fail(std::string("bad compressed ") + what);
    return out;
}

// A cel's or tileset's pixel count, refused beyond the image limits before anything is made.
size_t checkedPixels(int64_t width, int64_t height, const char* what) {
    if (!withinImageLimits(width, height))
        fail(std::string(what) + " too large: " + std::to_string(width) + " x " +
             std::to_string(height));
    return size_t(width * height);
}

// One pixel of the file's colour mode as RGBA. The transparent index shows nothing except on the
// background layer, which is opaque.
void toRgba(const AsepriteFile& file, const uint8_t* pixel, bool background, uint8_t* rgba) {
    if (file.bytesPerPixel == 4) {
        std::memcpy(rgba, pixel, 4);
    } else if (file.bytesPerPixel == 2) {
        rgba[0] = rgba[1] = rgba[2] = pixel[0];
        rgba[3] = pixel[1];
    } else if (pixel[0] < file.palette.size()) {
        std::memcpy(rgba, file.palette[pixel[0]].data(), 4);
        if (background)
            rgba[3] = 255;
        else if (pixel[0] == file.transparentIndex)
            rgba[3] = 0;
    } else {  // an index past the palette: black, as the editor shows a missing colour
        rgba[0] = rgba[1] = rgba[2] = 0;
        rgba[3] = background || pixel[0] != file.transparentIndex ? 255 : 0;
    }
}

}  // namespace

ImageSourceFileAseprite::ImageSourceFileAseprite(DataSourceRef dataSource, const Options& options)
    : ImageSourceDecoded(options), bytes_(dataSource->getBuffer()) {
    const auto* data = static_cast<const uint8_t*>(bytes_.getData());
    const size_t size = size_t(bytes_.getDataSize());
    if (!looksLikeAseprite(data, size)) throw ImageIoNotThisFormatExc("not an Aseprite file");
    file_ = parseAseprite(data, size);
    if (file_.frames.empty()) fail("no frames");
    subtreeEnd_.resize(file_.layers.size());
    for (size_t i = 0; i < file_.layers.size(); ++i) {
        size_t end = i + 1;
        while (end < file_.layers.size() && file_.layers[end].childLevel > file_.layers[i].childLevel)
            ++end;
        subtreeEnd_[i] = end;
    }
    frames_ = framesOfTag(file_, options.tag);
    allocatePixels(file_.width, file_.height, RGB, UINT8, RGBA);
    if (file_.pixelWidth != 0 && file_.pixelHeight != 0)
        setPixelAspectRatio(float(file_.pixelWidth) / float(file_.pixelHeight));
    if (file_.bytesPerPixel == 1) {
        Palette palette = file_.palette;
        if (file_.transparentIndex < palette.size()) palette[file_.transparentIndex][3] = 0;
        setPalette(std::move(palette));
    }
    setFrameCount(int32_t(frames_.size()));
    compose(frames_[0]);
    if (frames_.size() == 1) describeTransparency();
}

ImageSourceRef ImageSourceFileAseprite::create(DataSourceRef dataSource, Options options) {
    return std::make_shared<ImageSourceFileAseprite>(std::move(dataSource), options);
}

bool ImageSourceFileAseprite::nextFrame() {
    if (position_ + 1 >= frames_.size()) return false;
    compose(frames_[++position_]);
    return true;
}

int32_t ImageSourceFileAseprite::getFrameDelayMs() const {
    return file_.frames[size_t(frames_[position_])].durationMs;
}

void ImageSourceFileAseprite::compose(int32_t frame) {
    std::memset(getPixels(), 0, size_t(getRowBytes()) * size_t(getHeight()));
    drawLayers(0, file_.layers.size(), frame, getPixels());
}

void ImageSourceFileAseprite::drawLayers(size_t first, size_t end, int32_t frame, uint8_t* canvas) {
    for (size_t i = first; i < end; i = subtreeEnd_[i]) {
        const AsepriteLayer& layer = file_.layers[i];
        if (!(layer.flags & AsepriteLayer::VISIBLE) || (layer.flags & AsepriteLayer::REFERENCE))
            continue;
        if (layer.type != AsepriteLayer::GROUP) {
            if (const AsepriteCel* cel = celOf(i, frame)) drawCel(layer, *cel, canvas);
            continue;
        }
        if (!(file_.flags & AsepriteFile::GROUPS_COMPOSED_APART)) {
            drawLayers(i + 1, subtreeEnd_[i], frame, canvas);
            continue;
        }
        // The group is composed on its own, then laid on as one picture.
        const size_t bytes = size_t(getRowBytes()) * size_t(getHeight());
        std::vector<uint8_t> group(bytes, 0);
        drawLayers(i + 1, subtreeEnd_[i], frame, group.data());
        for (size_t p = 0; p < bytes; p += 4)
            blendPixel(canvas + p, group.data() + p, layer.opacity, layer.blendMode);
    }
}

const AsepriteCel* ImageSourceFileAseprite::celOf(size_t layer, int32_t frame) const {
    const auto find = [&](int32_t f) -> const AsepriteCel* {
        const std::vector<AsepriteCel>& cels = file_.frames[size_t(f)].cels;
        const auto cel = std::find_if(cels.rbegin(), cels.rend(),
                                      [&](const AsepriteCel& c) { return c.layer == layer; });
        return cel == cels.rend() ? nullptr : &*cel;
    };
    const AsepriteCel* cel = find(frame);
    if (!cel || cel->type != AsepriteCel::LINKED) return cel;
    const AsepriteCel* linked =
        cel->linkedFrame < file_.frames.size() ? find(cel->linkedFrame) : nullptr;
    if (!linked || linked->type == AsepriteCel::LINKED)
        fail("frame " + std::to_string(frame + 1) + " links to a cel frame " +
             std::to_string(cel->linkedFrame + 1) + " does not hold");
    return linked;
}

void ImageSourceFileAseprite::drawCel(const AsepriteLayer& layer, const AsepriteCel& cel,
                                      uint8_t* canvas) {
    const size_t bpp = size_t(file_.bytesPerPixel);
    if (cel.type == AsepriteCel::COMPRESSED_TILEMAP) {
        if (layer.type != AsepriteLayer::TILEMAP) fail("tilemap cel on layer \"" + layer.name + "\"");
        drawTilemap(layer, cel, canvas);
        return;
    }
    const size_t expected = checkedPixels(cel.width, cel.height, "cel") * bpp;
    std::vector<uint8_t> inflated;
    const uint8_t* pixels = cel.data;
    if (cel.type == AsepriteCel::COMPRESSED) {
        inflated = inflate(cel.data, cel.size, expected, "cel");
        pixels = inflated.data();
    } else if (cel.size < expected) {
        fail("truncated data");
    }
    drawPixels(layer, cel, pixels, cel.width, cel.height, canvas);
}

void ImageSourceFileAseprite::drawPixels(const AsepriteLayer& layer, const AsepriteCel& cel,
                                         const uint8_t* pixels, int32_t width, int32_t height,
                                         uint8_t* canvas) const {
    const bool valid = file_.flags & AsepriteFile::LAYER_OPACITY_VALID;
    const uint32_t opacity = mulDiv255(valid ? layer.opacity : 255, cel.opacity);
    const bool background = layer.flags & AsepriteLayer::BACKGROUND;
    const size_t bpp = size_t(file_.bytesPerPixel);
    // Only the part inside the canvas is drawn.
    const int64_t left = std::max<int64_t>(cel.x, 0),
                  right = std::min<int64_t>(int64_t(cel.x) + width, getWidth());
    const int64_t top = std::max<int64_t>(cel.y, 0),
                  bottom = std::min<int64_t>(int64_t(cel.y) + height, getHeight());
    for (int64_t y = top; y < bottom; ++y)
        for (int64_t x = left; x < right; ++x) {
            uint8_t rgba[4];
            toRgba(file_, pixels + (size_t(y - cel.y) * size_t(width) + size_t(x - cel.x)) * bpp,
                   background, rgba);
            blendPixel(canvas + (size_t(y) * size_t(getWidth()) + size_t(x)) * 4, rgba, opacity,
                       layer.blendMode);
        }
}

void ImageSourceFileAseprite::drawTilemap(const AsepriteLayer& layer, const AsepriteCel& cel,
                                          uint8_t* canvas) {
    const auto tileset = std::find_if(file_.tilesets.begin(), file_.tilesets.end(),
                                      [&](const AsepriteTileset& t) { return t.id == layer.tileset; });
    if (tileset == file_.tilesets.end() || !tileset->data)
        fail("layer \"" + layer.name + "\" uses a tileset the file does not hold");
    const size_t bpp = size_t(file_.bytesPerPixel);
    const int64_t tw = tileset->tileWidth, th = tileset->tileHeight;
    const size_t tileBytes = size_t(tw * th) * bpp;
    const std::vector<uint8_t> tiles =
        inflate(tileset->data, tileset->size,
                checkedPixels(tw, th * int64_t(tileset->count), "tileset") * bpp, "tileset");
    const std::vector<uint8_t> map =
        inflate(cel.data, cel.size, checkedPixels(cel.width, cel.height, "tilemap") * 4, "tilemap");
    const int64_t width = cel.width * tw, height = cel.height * th;
    std::vector<uint8_t> pixels(checkedPixels(width, height, "tilemap") * bpp, 0);
    if (file_.bytesPerPixel == 1) std::fill(pixels.begin(), pixels.end(), file_.transparentIndex);
    for (int64_t ty = 0; ty < cel.height; ++ty)
        for (int64_t tx = 0; tx < cel.width; ++tx) {
            const uint32_t value = littleEndian32(map.data() + size_t(ty * cel.width + tx) * 4);
            const uint32_t id = value & cel.tileIdMask;
            if (id == 0) continue;  // the empty tile
            if (id >= tileset->count) fail("tile " + std::to_string(id) + " beyond its tileset");
            const bool diagonal = value & cel.flipDiagonalMask, flipX = value & cel.flipXMask,
                       flipY = value & cel.flipYMask;
            for (int64_t py = 0; py < th; ++py)
                for (int64_t px = 0; px < tw; ++px) {
                    int64_t sx = diagonal ? py : px, sy = diagonal ? px : py;
                    if (flipX) sx = tw - 1 - sx;
                    if (flipY) sy = th - 1 - sy;
                    if (sx >= tw || sy >= th) continue;  // a non-square tile turned
                    std::memcpy(pixels.data() +
                                    (size_t(ty * th + py) * size_t(width) + size_t(tx * tw + px)) * bpp,
                                tiles.data() + id * tileBytes + size_t(sy * tw + sx) * bpp, bpp);
                }
        }
    drawPixels(layer, cel, pixels.data(), int32_t(width), int32_t(height), canvas);
}

}  // namespace loom
